// Brazilian number and date texts: patterns, rounding, the decimal comma, dd/mm/yyyy.
#include <gtest/gtest.h>

#include "toolkit/exceptions.h"
#include "toolkit/formats.h"

namespace {

using namespace tk;

TEST(FormatFloat, ThousandsPointAndDecimalComma) {
    EXPECT_EQ(FormatFloat("#,##0.00", 1234.5), "1.234,50");
    EXPECT_EQ(FormatFloat("#,##0.00", 999999999), "999.999.999,00");
    EXPECT_EQ(FormatFloat("#,##0.00", 0), "0,00");
    EXPECT_EQ(FormatFloat("#,##0.00", -1234567.891), "-1.234.567,89");
    EXPECT_EQ(FormatFloat("#,##0.00", 12), "12,00");
}

TEST(FormatFloat, RoundsHalfAwayFromZeroOnTheDecimalValue) {
    EXPECT_EQ(FormatFloat("0.00", 12.345), "12,35");  // just below .345 in binary
    EXPECT_EQ(FormatFloat("0.00", -12.345), "-12,35");
    EXPECT_EQ(FormatFloat("0.00", 1.005), "1,01");
    EXPECT_EQ(FormatFloat("0.00", 9.995), "10,00");
    EXPECT_EQ(FormatFloat("0.00", 0.004), "0,00");
    EXPECT_EQ(FormatFloat("0.00", -0.004), "0,00");  // no "-0,00"
    EXPECT_EQ(FormatFloat("0", 2.5), "3");
    EXPECT_EQ(FormatFloat("0", -2.5), "-3");
}

TEST(FormatFloat, OptionalDigitsAndLiterals) {
    EXPECT_EQ(FormatFloat("0.##", 1.5), "1,5");
    EXPECT_EQ(FormatFloat("0.##", 2), "2");
    EXPECT_EQ(FormatFloat("#.##", 0.5), ",5");
    EXPECT_EQ(FormatFloat("000", 7), "007");
    EXPECT_EQ(FormatFloat("0.00 %", 12.5), "12,50 %");
    EXPECT_EQ(FormatFloat("0.00;(0.00)", -3), "(3,00)");
    EXPECT_EQ(FormatFloat("0.00;;zero", 0.001), "zero");
    EXPECT_EQ(FormatFloat("", 12.5), "12,5");
}

TEST(FloatToStr, ShortestWithComma) {
    EXPECT_EQ(FloatToStr(12.5), "12,5");
    EXPECT_EQ(FloatToStr(1000000), "1000000");
    EXPECT_EQ(FloatToStr(-0.25), "-0,25");
    EXPECT_EQ(FloatToStr(0), "0");
    EXPECT_EQ(StrToFloat(FloatToStr(0.1 + 0.2)), 0.1 + 0.2);
}

TEST(StrToFloat, AcceptsOnlySignDigitsAndOneComma) {
    EXPECT_EQ(TryStrToFloat("12,5"), 12.5);
    EXPECT_EQ(TryStrToFloat("  -7 "), -7.0);
    EXPECT_EQ(TryStrToFloat("5,"), 5.0);
    EXPECT_EQ(TryStrToFloat(",5"), 0.5);
    for (const char* bad : {"1.5", "", "-", ",", "1,2,3", "1-", "1 2", "abc", "1e5"})
        EXPECT_EQ(TryStrToFloat(bad), std::nullopt) << bad;
    EXPECT_THROW(StrToFloat("x"), EConvertError);
}

TEST(Dates, DayMonthYear) {
    EXPECT_EQ(FormatDate(wire::DateTime::fromYmd(2025, 3, 9)), "09/03/2025");
    EXPECT_EQ(TryStrToDate("9/3/2025"), wire::DateTime::fromYmd(2025, 3, 9));
    EXPECT_EQ(TryStrToDate(" 29/02/2024 "), wire::DateTime::fromYmd(2024, 2, 29));
    for (const char* bad : {"29/02/2025", "32/01/2025", "01/13/2025", "01/01/25", "2025-01-01", "", "1/1", "01/01/2025/1",
                            "001/01/2025"})
        EXPECT_EQ(TryStrToDate(bad), std::nullopt) << bad;
}

}  // namespace
