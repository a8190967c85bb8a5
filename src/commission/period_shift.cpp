#include "commission/period_shift.h"

#include <algorithm>

#include "wire/datetime.h"

namespace commission {

namespace {

int lastDayOf(int year, int month) {
    for (int d = 31;; --d)
        if (wire::DateTime::isValidDate(year, month, d)) return d;
}

}  // namespace

long long addMonths(long long day, int months) {
    const auto at = wire::DateTime::fromDays(day);
    const int index = at.year() * 12 + (at.month() - 1) + months;
    const int year = index / 12 - (index < 0 && index % 12 != 0 ? 1 : 0);
    const int month = index - year * 12 + 1;
    const int d = std::min(at.day(), lastDayOf(year, month));
    return wire::DateTime::fromYmd(year, month, d).days();
}

PeriodShift::PeriodShift(long long from, long long to) : days_(to - from) {
    const auto a = wire::DateTime::fromDays(from);
    const auto b = wire::DateTime::fromDays(to);
    const int months = (b.year() - a.year()) * 12 + (b.month() - a.month());
    if (addMonths(from, months) == to) {
        byMonths_ = true;
        months_ = months;
    }
}

long long PeriodShift::apply(long long day) const { return byMonths_ ? addMonths(day, months_) : day + days_; }

}  // namespace commission
