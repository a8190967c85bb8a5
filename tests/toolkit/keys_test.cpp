// Virtual key codes of typed characters.
#include <gtest/gtest.h>

#include "toolkit/keys.h"

TEST(VirtualKeyOf, LettersDigitsAndPunctuation) {
    EXPECT_EQ(tk::virtualKeyOf(U'a'), 'A');
    EXPECT_EQ(tk::virtualKeyOf(U'Z'), 'Z');
    EXPECT_EQ(tk::virtualKeyOf(U'7'), '7');
    EXPECT_EQ(tk::virtualKeyOf(U'\b'), tk::VK_BACK);
    EXPECT_EQ(tk::virtualKeyOf(U'\r'), tk::VK_RETURN);
    EXPECT_EQ(tk::virtualKeyOf(U','), 188);
    EXPECT_EQ(tk::virtualKeyOf(U'-'), 189);
    EXPECT_EQ(tk::virtualKeyOf(U'.'), 190);
    EXPECT_EQ(tk::virtualKeyOf(U'ç'), 0);
}
