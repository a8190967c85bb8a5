#include <gtest/gtest.h>

#include "wire/value.h"

using wire::render;

TEST(Render, FloatsAreShortestWithPoint) {
    EXPECT_EQ(render(1.0), "1");
    EXPECT_EQ(render(12.35), "12.35");
    EXPECT_EQ(render(0.1 + 0.2), "0.30000000000000004");
    EXPECT_EQ(render(-2.5), "-2.5");
    EXPECT_EQ(render(-0.0), "0");
    EXPECT_EQ(render(100000000.0), "100000000");
    EXPECT_EQ(render(0.001), "0.001");
}

TEST(Render, NullTextAndDates) {
    EXPECT_EQ(render(wire::Null{}), "");
    EXPECT_EQ(render(std::string("Tabela 2025")), "Tabela 2025");
    EXPECT_EQ(render(wire::DateTime::fromYmd(2025, 1, 31)), "2025-01-31");
    EXPECT_EQ(render(wire::DateTime::fromYmd(2025, 1, 31, 0, 0, 1)), "2025-01-31T00:00:01");
}
