// How the dates under a table move when the table is copied to another period.
#pragma once

namespace commission {

// The move from one table's start to another's. Days are counted from 1970-01-01.
class PeriodShift {
public:
    // By whole months when `to` is `from` moved by whole months (a day past the end of the
    // target month landing on its last day, so 31/01 to 28/02 is one month); else by the days
    // between the two.
    PeriodShift(long long from, long long to);

    bool byMonths() const { return byMonths_; }
    int months() const { return months_; }
    long long days() const { return days_; }

    // `day` moved the same way: by months with the end-of-month clamp (29/02/2024 plus twelve
    // months is 28/02/2025), or by days.
    long long apply(long long day) const;

private:
    bool byMonths_ = false;
    int months_ = 0;
    long long days_ = 0;
};

// `day` moved by `months` whole months, clamped to the last day of the month it lands in.
long long addMonths(long long day, int months);

}  // namespace commission
