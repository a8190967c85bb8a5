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

wire::DataPacket cargoRules() {
    wire::DataPacket p;
    p.fields = {{"NRCOMISSAOCARGOOREV", wire::FieldType::Float, 0},
                {"IDCARGOVEND", wire::FieldType::String, 1},
                {"NRCOMISSAOOREV", wire::FieldType::Float, 0}};
    p.rows = {{3.0, std::string("V"), 1.0}, {4.0, std::string("S"), 1.0}, {5.0, wire::Null{}, 1.0}};
    return p;
}

TEST(StoredText, FindsTheRowByItsNumber) {
    EXPECT_EQ(rules::StoredText(cargoRules(), "NRCOMISSAOCARGOOREV", 4, "IDCARGOVEND"), "S");
    EXPECT_EQ(rules::StoredText(cargoRules(), "NRCOMISSAOCARGOOREV", 3, "IDCARGOVEND"), "V");
}

TEST(StoredText, NoRowNoFieldOrNullGiveNothingOrEmpty) {
    EXPECT_EQ(rules::StoredText(cargoRules(), "NRCOMISSAOCARGOOREV", 9, "IDCARGOVEND"), std::nullopt);
    EXPECT_EQ(rules::StoredText(cargoRules(), "NRCOMISSAOCARGOOREV", 3, "NOSUCHFIELD"), std::nullopt);
    EXPECT_EQ(rules::StoredText(cargoRules(), "NRCOMISSAOCARGOOREV", 5, "IDCARGOVEND"), "");
}

}  // namespace
