// Key filters of the rule grids: what a code column and a pick-list column let through.
#include <gtest/gtest.h>

#include "rules/scope_list.h"
#include "toolkit/keys.h"

namespace {

char32_t digitFilter(char32_t key) {
    rules::KeepDigitKey(key);
    return key;
}
char32_t pickListFilter(char32_t key) {
    rules::KeepPickListKey(key);
    return key;
}

TEST(RuleGridKeyFilter, CodeColumnTakesDigitsAndBackspaceOnly) {
    EXPECT_EQ(digitFilter(U'0'), U'0');
    EXPECT_EQ(digitFilter(U'9'), U'9');
    EXPECT_EQ(digitFilter(tk::VK_BACK), tk::VK_BACK);
    EXPECT_EQ(digitFilter(U'a'), 0u);
    EXPECT_EQ(digitFilter(U' '), 0u);
    EXPECT_EQ(digitFilter(U','), 0u);
    EXPECT_EQ(digitFilter(tk::VK_RETURN), 0u);
}

TEST(RuleGridKeyFilter, PickListColumnTakesEnterOnly) {
    EXPECT_EQ(pickListFilter(tk::VK_RETURN), tk::VK_RETURN);
    EXPECT_EQ(pickListFilter(U'V'), 0u);
    EXPECT_EQ(pickListFilter(U'1'), 0u);
    EXPECT_EQ(pickListFilter(tk::VK_BACK), 0u);
}

}  // namespace
