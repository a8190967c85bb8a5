// Where a new validity period stops being free against a stored one, and which of the two
// refusals it gets.
#include <gtest/gtest.h>

#include "rules/comissao_period.h"

namespace {

using rules::ComparePeriods;
using rules::Period;
using rules::PeriodClash;

Period days(int y1, int m1, int d1, int y2, int m2, int d2) {
    return {wire::DateTime::fromYmd(y1, m1, d1), wire::DateTime::fromYmd(y2, m2, d2)};
}

const Period kStored2024 = days(2024, 1, 1, 2024, 12, 31);

TEST(ComissaoPeriod, PeriodsWithNoCommonDayAreFree) {
    EXPECT_EQ(ComparePeriods(days(2025, 1, 1, 2025, 12, 31), kStored2024), PeriodClash::none);
    EXPECT_EQ(ComparePeriods(days(2023, 1, 1, 2023, 12, 31), kStored2024), PeriodClash::none);
}

TEST(ComissaoPeriod, TouchingEndsShareThatDay) {
    EXPECT_EQ(ComparePeriods(days(2024, 12, 31, 2025, 6, 30), kStored2024), PeriodClash::shares);
    EXPECT_EQ(ComparePeriods(days(2023, 6, 1, 2024, 1, 1), kStored2024), PeriodClash::shares);
}

TEST(ComissaoPeriod, OnlyAPeriodPastBothEndsSpansTheStoredOne) {
    EXPECT_EQ(ComparePeriods(days(2023, 12, 1, 2025, 1, 31), kStored2024), PeriodClash::spans);
    // Reaching past one end only, or sharing an end day, is not spanning.
    EXPECT_EQ(ComparePeriods(days(2024, 1, 1, 2025, 1, 31), kStored2024), PeriodClash::shares);
    EXPECT_EQ(ComparePeriods(days(2023, 12, 1, 2024, 12, 31), kStored2024), PeriodClash::shares);
    EXPECT_EQ(ComparePeriods(kStored2024, kStored2024), PeriodClash::shares);
    EXPECT_EQ(ComparePeriods(days(2024, 3, 1, 2024, 4, 30), kStored2024), PeriodClash::shares);
}

TEST(ComissaoPeriod, OneDayPeriods) {
    const Period day = days(2024, 5, 5, 2024, 5, 5);
    EXPECT_EQ(ComparePeriods(day, day), PeriodClash::shares);
    EXPECT_EQ(ComparePeriods(days(2024, 5, 4, 2024, 5, 6), day), PeriodClash::spans);
    EXPECT_EQ(ComparePeriods(days(2024, 5, 6, 2024, 5, 6), day), PeriodClash::none);
}

}  // namespace
