// Fixed-position masks: literals filled in, digits in order, refusals leave the text alone.
#include <gtest/gtest.h>

#include "toolkit/edit_mask.h"

namespace {

using tk::EditMask;

std::string typeAll(const EditMask& mask, std::string text, std::u32string keys) {
    for (char32_t k : keys)
        if (auto r = mask.Type(text, k)) text = *r;
    return text;
}

TEST(EditMask, DateMaskStartsFromItsBlankTemplate) {
    EditMask mask("!99/99/9999;1; ");
    EXPECT_EQ(mask.Blank(), "  /  /    ");
    EXPECT_TRUE(mask.IsBlank(mask.Blank()));
    EXPECT_EQ(mask.FieldText(mask.Blank()), "") << "nothing typed clears the field";
}

TEST(EditMask, DigitsFillPositionsInOrderSkippingLiterals) {
    EditMask mask("!99/99/9999;1; ");
    EXPECT_EQ(typeAll(mask, mask.Blank(), U"0105"), "01/05/    ");
    EXPECT_EQ(typeAll(mask, mask.Blank(), U"01052025"), "01/05/2025");
    EXPECT_EQ(mask.FieldText("01/05/2025"), "01/05/2025");
}

TEST(EditMask, SlashAtALiteralOnlyStepsOverIt) {
    EditMask mask("!99/99/9999;1; ");
    EXPECT_EQ(typeAll(mask, mask.Blank(), U"01/05/2025"), "01/05/2025");
    EXPECT_EQ(mask.Type("01/  /    ", U'/'), "01/  /    ");
}

TEST(EditMask, RefusedCharactersLeaveTheTextAlone) {
    EditMask mask("!99/99/9999;1; ");
    EXPECT_FALSE(mask.Type("1 /  /    ", U'/')) << "a slash where a digit belongs";
    EXPECT_FALSE(mask.Type(mask.Blank(), U'a'));
    EXPECT_FALSE(mask.Type(mask.Blank(), U'é'));
    EXPECT_FALSE(mask.Type("01/05/2025", U'1')) << "no free position left";
}

TEST(EditMask, BackspaceBlanksTheLastFilledPosition) {
    EditMask mask("!99/99/9999;1; ");
    EXPECT_EQ(mask.Backspace("01/05/2   "), "01/05/    ");
    EXPECT_EQ(mask.Backspace("01/0 /    "), "01/  /    ");
    EXPECT_EQ(mask.Backspace(mask.Blank()), mask.Blank());
    EXPECT_EQ(typeAll(mask, "01/  /    ", U"7"), "01/7 /    ");
}

TEST(EditMask, TextOfAnotherShapeStartsOver) {
    EditMask mask("!99/99/9999;1; ");
    EXPECT_EQ(mask.Conform("1/5/2025"), mask.Blank());
    EXPECT_EQ(mask.Conform("01/05/2025"), "01/05/2025");
    EXPECT_FALSE(mask.IsBlank("1/5/2025"));
}

TEST(EditMask, LiteralsDroppedWhenNotSavedAndEscapesAreLiterals) {
    EditMask cep("00000\\-000;0;_");
    EXPECT_EQ(cep.Blank(), "_____-___");
    std::string text = typeAll(cep, cep.Blank(), U"12345678");
    EXPECT_EQ(text, "12345-678");
    EXPECT_EQ(cep.FieldText(text), "12345678");
    EditMask code("LL-99;1;_");
    EXPECT_EQ(typeAll(code, code.Blank(), U"a1bC7"), "ab-7_");
}

TEST(EditMask, EmptyMaskHasNoPositions) {
    EXPECT_TRUE(EditMask("").Empty());
    EXPECT_FALSE(EditMask("!99/99/9999;1; ").Empty());
}

}  // namespace
