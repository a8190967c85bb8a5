// What the user types for a sale to simulate, read as the server takes it.
#include "host/commission_questions.h"

#include <gtest/gtest.h>

namespace host {
namespace {

double valueOf(const std::string& typed) {
    return ReadSale("15/01/2025", "31/01/2025", "1", "V", typed, {{"001", "Venda"}}).value;
}

// One decimal is tenths: "1,5" is 1,50, not 1,05.
TEST(ReadSaleTest, AValueWithOneDecimalIsInTenths) {
    EXPECT_EQ(valueOf("1,5"), 1.5);
    EXPECT_EQ(valueOf("0,5"), 0.5);
    EXPECT_EQ(valueOf("-2,5"), -2.5);
    EXPECT_EQ(valueOf("1.234,05"), 1234.05);
}

}  // namespace
}  // namespace host
