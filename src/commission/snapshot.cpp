#include "commission/snapshot.h"

#include <algorithm>

namespace commission {

const Table* Snapshot::find(double number) const {
    const auto t = std::find_if(tables.begin(), tables.end(), [&](const Table& x) { return x.number == number; });
    return t == tables.end() ? nullptr : &*t;
}

const Table* Snapshot::on(long long day) const {
    const auto t = std::find_if(tables.begin(), tables.end(),
                                [&](const Table& x) { return x.firstDay <= day && day <= x.lastDay; });
    return t == tables.end() ? nullptr : &*t;
}

}  // namespace commission
