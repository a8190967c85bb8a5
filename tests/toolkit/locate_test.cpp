// Locate: matching by value per field type, case-insensitive texts, several keys, nulls.
#include <gtest/gtest.h>

#include "data_test_support.h"
#include "toolkit/exceptions.h"

namespace {

using namespace tk;
using tkdata::ymd;

class Locate : public ::testing::Test, protected tkdata::Fixture {
protected:
    Locate() {
        cds.SetData(tkdata::packet({
            {0.1 + 0.2, std::string("João"), ymd(2025, 1, 1)},
            {1500.75, std::string("MARIA"), ymd(2025, 6, 30)},
            {2.0, std::string("ÉRICA"), wire::Null{}},
            {2.0, wire::Null{}, ymd(2025, 6, 30)},
            {wire::Null{}, std::string("Zé"), ymd(2024, 12, 31)},
        }));
    }
};

TEST_F(Locate, FloatsMatchByValue) {
    EXPECT_TRUE(cds.Locate("NR", {1500.75}, loCaseInsensitive));
    EXPECT_EQ(cds.RecNo(), 2);
    EXPECT_TRUE(cds.Locate("NR", {0.1 + 0.2}, 0));
    EXPECT_EQ(cds.RecNo(), 1);
    EXPECT_FALSE(cds.Locate("NR", {1500.0}, 0));
    EXPECT_EQ(cds.RecNo(), 1);
    // A text key reads with the decimal comma.
    EXPECT_TRUE(cds.Locate("NR", {std::string("1500,75")}, 0));
    EXPECT_EQ(cds.RecNo(), 2);
}

TEST_F(Locate, DatesMatchByValue) {
    EXPECT_TRUE(cds.Locate("DT", {ymd(2024, 12, 31)}, 0));
    EXPECT_EQ(cds.RecNo(), 5);
    EXPECT_TRUE(cds.Locate("DT", {std::string("30/06/2025")}, 0));
    EXPECT_EQ(cds.RecNo(), 2);
    EXPECT_FALSE(cds.Locate("DT", {wire::DateTime::fromYmd(2025, 1, 1, 12)}, 0));
}

TEST_F(Locate, TextsCaseInsensitiveOnlyWhenAsked) {
    EXPECT_FALSE(cds.Locate("NAME", {std::string("maria")}, 0));
    EXPECT_TRUE(cds.Locate("NAME", {std::string("maria")}, loCaseInsensitive));
    EXPECT_EQ(cds.RecNo(), 2);
    EXPECT_TRUE(cds.Locate("NAME", {std::string("JOÃO")}, loCaseInsensitive));
    EXPECT_EQ(cds.RecNo(), 1);
    EXPECT_TRUE(cds.Locate("NAME", {std::string("érica")}, loCaseInsensitive));
    EXPECT_EQ(cds.RecNo(), 3);
    EXPECT_FALSE(cds.Locate("NAME", {std::string("Erica")}, loCaseInsensitive));  // accents count
    EXPECT_FALSE(cds.Locate("NAME", {std::string("MAR")}, loCaseInsensitive));
    EXPECT_TRUE(cds.Locate("NAME", {std::string("MAR")}, loCaseInsensitive | loPartialKey));
    EXPECT_EQ(cds.RecNo(), 2);
}

TEST_F(Locate, SeveralKeysMustAllMatchAndNullMatchesNull) {
    EXPECT_TRUE(cds.Locate("NR;DT", {2.0, ymd(2025, 6, 30)}, loCaseInsensitive));
    EXPECT_EQ(cds.RecNo(), 4);
    EXPECT_TRUE(cds.Locate("NR; NAME", {2.0, wire::Null{}}, 0));
    EXPECT_EQ(cds.RecNo(), 4);
    EXPECT_TRUE(cds.Locate("NR;DT", {2.0, wire::Null{}}, 0));
    EXPECT_EQ(cds.RecNo(), 3);
    EXPECT_TRUE(cds.Locate("NR", {wire::Null{}}, 0));
    EXPECT_EQ(cds.RecNo(), 5);
    EXPECT_FALSE(cds.Locate("NR", {0.0}, 0));  // null is not 0
}

TEST_F(Locate, ChecksBrowseModeFirst) {
    cds.Append();
    nr.SetAsFloat(77);
    EXPECT_TRUE(cds.Locate("NR", {77.0}, 0));  // the modified insert was posted first
    EXPECT_EQ(cds.State(), TDataSetState::dsBrowse);
    EXPECT_EQ(cds.RecNo(), 6);
}

TEST_F(Locate, BadKeysAreErrors) {
    EXPECT_THROW(cds.Locate("NOPE", {1.0}, 0), EDatabaseError);
    EXPECT_THROW(cds.Locate("NR;DT", {1.0}, 0), EDatabaseError);
    EXPECT_FALSE(cds.Locate("NR", {std::string("abc")}, 0));  // cannot be a number: no row
}

}  // namespace
