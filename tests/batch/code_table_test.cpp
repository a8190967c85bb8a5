// The salespeople's totals table as it grows: every code keeps its own value through each
// doubling, codes that differ only by leading zeros stay apart.
#include <gtest/gtest.h>

#include <string>

#include "batch/code_table.h"

TEST(CodeTable, KeepsEveryCodesValueThroughEachGrowth) {
    batch::CodeTable<long long> table;
    for (int round = 0; round < 3; ++round)
        for (int code = 0; code < 5000; ++code) table[std::to_string(code)] += code;
    table["007"] += 1;
    ASSERT_EQ(table.entries().size(), 5001u);
    for (int code = 0; code < 5000; ++code) {
        ASSERT_EQ(table.entries()[static_cast<std::size_t>(code)].code, std::to_string(code));
        ASSERT_EQ(table[std::to_string(code)], 3LL * code) << code;
    }
    EXPECT_EQ(table["007"], 1);
    EXPECT_EQ(table.entries().size(), 5001u);
}
