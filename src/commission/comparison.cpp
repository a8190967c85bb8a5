#include "commission/comparison.h"

#include <stdexcept>

namespace commission {

Comparison::Comparison(const Engine& engine, double tableNumber)
    : engine_(engine), table_(engine.snapshot().find(tableNumber)) {
    if (!table_) throw std::invalid_argument("no table numbered so");
    for (const Table& t : engine.snapshot().tables) shifts_.emplace_back(t.firstDay, table_->firstDay);
}

Sale Comparison::moved(Sale sale, const Table* own) const {
    if (!own || own == table_) return sale;
    const PeriodShift& shift = shifts_[static_cast<std::size_t>(own - engine_.snapshot().tables.data())];
    sale.eventDay = shift.apply(sale.eventDay);
    sale.closingDay = shift.apply(sale.closingDay);
    return sale;
}

}  // namespace commission
