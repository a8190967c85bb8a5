// Promotion window tests and the search for a rule's own stored copy.
#include "rules/rule_conflicts.h"

#include <gtest/gtest.h>

namespace {

using wire::DateTime;

DateTime day(int m, int d, int y = 2025) { return DateTime::fromYmd(y, m, d); }

TEST(WithinPeriod, BoundsAreIncludedAndOneDayOutsideOnEitherEndFails) {
    const auto first = day(1, 1), last = day(12, 31);
    EXPECT_TRUE(rules::WithinPeriod(first, last, first, last));
    EXPECT_TRUE(rules::WithinPeriod(first, last, day(6, 1), day(6, 1)));
    EXPECT_FALSE(rules::WithinPeriod(first, last, day(12, 31, 2024), day(1, 31)));
    EXPECT_FALSE(rules::WithinPeriod(first, last, day(12, 1), day(1, 1, 2026)));
    // A time of day past the last day's midnight lies outside: values are compared whole.
    EXPECT_FALSE(rules::WithinPeriod(first, last, day(12, 1), DateTime::fromYmd(2025, 12, 31, 10)));
}

TEST(WindowsOverlap, TouchingEndsOverlapOneDayApartDoNot) {
    EXPECT_TRUE(rules::WindowsOverlap(day(1, 31), day(2, 15), day(1, 1), day(1, 31)));
    EXPECT_TRUE(rules::WindowsOverlap(day(1, 1), day(1, 1), day(1, 1), day(1, 31)));
    EXPECT_FALSE(rules::WindowsOverlap(day(2, 1), day(2, 15), day(1, 1), day(1, 31)));
    EXPECT_FALSE(rules::WindowsOverlap(day(1, 1), day(1, 31), day(2, 1), day(2, 15)));
}

TEST(WindowsOverlap, ContainmentEitherWayOverlaps) {
    EXPECT_TRUE(rules::WindowsOverlap(day(1, 10), day(1, 20), day(1, 1), day(1, 31)));
    EXPECT_TRUE(rules::WindowsOverlap(day(1, 1), day(1, 31), day(1, 10), day(1, 20)));
}

}  // namespace
