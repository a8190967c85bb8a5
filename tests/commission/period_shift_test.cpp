// How a copied table's dates move: by whole months with the end-of-month clamp when the new
// start is the old one moved by months, else by days.
#include <gtest/gtest.h>

#include "commission/period_shift.h"
#include "wire/datetime.h"

using commission::PeriodShift;

namespace {

long long day(int y, int m, int d) { return wire::DateTime::fromYmd(y, m, d).days(); }

}  // namespace

TEST(PeriodShift, AYearOnMovesByMonthsAndClampsAtTheEndOfTheMonth) {
    const PeriodShift year(day(2024, 1, 1), day(2025, 1, 1));
    ASSERT_TRUE(year.byMonths());
    EXPECT_EQ(12, year.months());
    EXPECT_EQ(day(2025, 2, 28), year.apply(day(2024, 2, 29)));
    EXPECT_EQ(day(2025, 3, 1), year.apply(day(2024, 3, 1)));  // not 366 days on
    EXPECT_EQ(day(2025, 12, 31), year.apply(day(2024, 12, 31)));

    // Into a leap year and across a year end, by months.
    const PeriodShift quarter(day(2023, 11, 1), day(2024, 2, 1));
    ASSERT_TRUE(quarter.byMonths());
    EXPECT_EQ(day(2024, 2, 29), quarter.apply(day(2023, 11, 30)));
    EXPECT_EQ(day(2024, 4, 30), quarter.apply(day(2024, 1, 31)));
    EXPECT_EQ(day(2024, 2, 29), PeriodShift(day(2024, 3, 1), day(2024, 2, 1)).apply(day(2024, 3, 31)));

    // 31/01 to 29/02 is one month, by the same clamp.
    EXPECT_TRUE(PeriodShift(day(2024, 1, 31), day(2024, 2, 29)).byMonths());
}

TEST(PeriodShift, AnyOtherStartMovesByTheDaysBetween) {
    const PeriodShift shift(day(2024, 1, 1), day(2024, 1, 15));
    ASSERT_FALSE(shift.byMonths());
    EXPECT_EQ(14, shift.days());
    EXPECT_EQ(day(2024, 3, 14), shift.apply(day(2024, 2, 29)));
    EXPECT_FALSE(PeriodShift(day(2024, 1, 30), day(2024, 2, 28)).byMonths());
}
