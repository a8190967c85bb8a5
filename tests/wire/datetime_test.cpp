#include "wire/datetime.h"

#include <gtest/gtest.h>

using wire::DateTime;

TEST(DateTime, CivilRoundTripAcrossLeapYearsAndEpoch) {
    for (int y : {1, 1899, 1900, 1969, 1970, 2000, 2024, 2100, 9999})
        for (int m = 1; m <= 12; ++m)
            for (int d : {1, 28}) {
                const auto t = DateTime::fromYmd(y, m, d, 13, 5, 9);
                EXPECT_EQ(t.year(), y);
                EXPECT_EQ(t.month(), m);
                EXPECT_EQ(t.day(), d);
                EXPECT_EQ(t.hour(), 13);
                EXPECT_EQ(t.minute(), 5);
                EXPECT_EQ(t.second(), 9);
            }
    EXPECT_EQ(DateTime::fromYmd(1970, 1, 1).seconds(), 0);
    EXPECT_EQ(DateTime::fromYmd(1969, 12, 31, 23, 59, 59).seconds(), -1);
    EXPECT_EQ(DateTime::fromSeconds(-1).iso(), "1969-12-31T23:59:59");
}

TEST(DateTime, ImpossibleDaysAreRefused) {
    EXPECT_TRUE(DateTime::isValidDate(2024, 2, 29));
    EXPECT_FALSE(DateTime::isValidDate(2025, 2, 29));
    EXPECT_FALSE(DateTime::isValidDate(1900, 2, 29));
    EXPECT_TRUE(DateTime::isValidDate(2000, 2, 29));
    EXPECT_FALSE(DateTime::isValidDate(2025, 4, 31));
    EXPECT_FALSE(DateTime::isValidDate(2025, 13, 1));
    EXPECT_FALSE(DateTime::isValidDate(2025, 0, 1));
    EXPECT_THROW(DateTime::fromYmd(2025, 2, 31), std::invalid_argument);
    EXPECT_THROW(DateTime::fromYmd(2025, 1, 1, 24), std::invalid_argument);
}

TEST(DateTime, ParsesOnlyTheExactIsoShape) {
    auto t = DateTime::parseIso("2025-03-01T08:30:00");
    ASSERT_TRUE(t);
    EXPECT_EQ(t->iso(), "2025-03-01T08:30:00");
    EXPECT_EQ(t->brazilianDate(), "01/03/2025");
    EXPECT_TRUE(t->hasTime());
    EXPECT_FALSE(DateTime::parseIso("2025-03-01T00:00:00")->hasTime());
    for (const char* bad : {"2025-03-01", "2025-03-01 08:30:00", "2025-02-30T00:00:00", "2025-03-01T24:00:00",
                            "2025-3-01T08:30:00", "2025-03-01T08:30:0x", "", "2025-03-01T08:30:00Z"})
        EXPECT_FALSE(DateTime::parseIso(bad)) << bad;
}

TEST(DateTime, OrdersByInstant) {
    EXPECT_LT(DateTime::fromYmd(2025, 1, 1), DateTime::fromYmd(2025, 1, 1, 0, 0, 1));
    EXPECT_EQ(DateTime::fromYmd(2025, 1, 1), *DateTime::parseIso("2025-01-01T00:00:00"));
}
