// Field values and texts: null, conversions, cutting, edit and display formats, handlers.
#include <gtest/gtest.h>

#include "data_test_support.h"
#include "toolkit/exceptions.h"

namespace {

using namespace tk;
using tkdata::ymd;

class FieldText : public ::testing::Test, protected tkdata::Fixture {
protected:
    FieldText() {
        cds.SetData(tkdata::packet({{1234.5, std::string("Ana"), ymd(2025, 3, 9)}}));
        cds.Edit();
    }
};

TEST_F(FieldText, NullIsDistinctFromZeroAndEmpty) {
    nr.Clear();
    name.Clear();
    EXPECT_TRUE(nr.IsNull());
    EXPECT_EQ(nr.AsFloat(), 0.0);
    EXPECT_EQ(nr.Text(), "");
    EXPECT_EQ(name.AsString(), "");
    nr.SetAsFloat(0);
    name.SetAsString("");
    EXPECT_FALSE(nr.IsNull());
    EXPECT_FALSE(name.IsNull());
    EXPECT_EQ(nr.AsString(), "0");
    EXPECT_EQ(dt.AsDateTime(), ymd(2025, 3, 9));
    dt.Clear();
    EXPECT_EQ(dt.AsDateTime(), wire::DateTime{});
}

TEST_F(FieldText, OldValueIsTheValueTheEditBeganWith) {
    name.SetAsString("Bia");
    EXPECT_EQ(name.OldValue(), wire::Value(std::string("Ana")));
    cds.Post();
    EXPECT_EQ(name.OldValue(), wire::Value(std::string("Bia"))) << "outside edit it is the value";
}

TEST_F(FieldText, SettersNeedEditOrInsertState) {
    cds.Post();
    EXPECT_THROW(nr.SetAsFloat(1), EDatabaseError);
    EXPECT_THROW(name.SetText("x"), EDatabaseError);
    EXPECT_EQ(nr.AsFloat(), 1234.5);
}

TEST_F(FieldText, StringsAreCutToTheirSizeInCharacters) {
    name.SetAsString("Conceição Aparecida");
    EXPECT_EQ(name.AsString(), "Conceição ");
    name.SetValue(12.5);
    EXPECT_EQ(name.AsString(), "12,5");
}

TEST_F(FieldText, FloatTextsReadTheDecimalComma) {
    nr.SetText("12,5");
    EXPECT_EQ(nr.AsFloat(), 12.5);
    nr.SetAsString(" -3 ");
    EXPECT_EQ(nr.AsFloat(), -3.0);
    nr.SetText("");
    EXPECT_TRUE(nr.IsNull());
    EXPECT_THROW(nr.SetText("12.5"), EConvertError);
    EXPECT_THROW(nr.SetText("1,2,3"), EConvertError);
    EXPECT_TRUE(nr.IsNull());  // a refused text changes nothing
}

TEST_F(FieldText, EditAndDisplayFormats) {
    EXPECT_EQ(nr.Text(), "1234,5");
    EXPECT_EQ(nr.DisplayText(), "1234,5");
    nr.DisplayFormat = "#,##0.00";
    EXPECT_EQ(nr.DisplayText(), "1.234,50");
    EXPECT_EQ(nr.Text(), "1.234,50");  // no edit format: the display format serves
    nr.EditFormat = "0.00";
    EXPECT_EQ(nr.Text(), "1234,50");
    nr.SetAsFloat(12.345);
    EXPECT_EQ(nr.GetEditText(), "12,35");
    // The edit text reads back as the same value.
    nr.SetText(nr.Text());
    EXPECT_EQ(nr.AsFloat(), 12.35);
}

TEST_F(FieldText, DatesAsDayMonthYear) {
    EXPECT_EQ(dt.Text(), "09/03/2025");
    EXPECT_EQ(dt.DisplayText(), "09/03/2025");
    dt.SetText("1/2/2026");
    EXPECT_EQ(dt.AsDateTime(), ymd(2026, 2, 1));
    dt.SetText("01/02/2026 13:45");
    EXPECT_EQ(dt.Text(), "01/02/2026 13:45:00");
    EXPECT_THROW(dt.SetText("31/02/2026"), EConvertError);
    EXPECT_THROW(dt.SetText("2026-02-01"), EConvertError);
    dt.SetText(" ");
    EXPECT_TRUE(dt.IsNull());
}

TEST_F(FieldText, OnGetTextAndOnSetTextReplaceTheConversions) {
    name.OnGetText = [](TField& f, std::string& text, bool display) {
        text = (display ? "show:" : "edit:") + f.AsString();
    };
    name.OnSetText = [](TField& f, const std::string& text) {
        if (text == "Vendedor") f.SetAsString("V");
    };
    EXPECT_EQ(name.Text(), "edit:Ana");
    EXPECT_EQ(name.DisplayText(), "show:Ana");
    name.SetText("Vendedor");
    EXPECT_EQ(name.AsString(), "V");
    name.SetText("other");  // the handler ignores it
    EXPECT_EQ(name.AsString(), "V");
}

TEST_F(FieldText, DisplayTextAtReadsOtherRowsThroughTheHandler) {
    cds.Post();
    cds.Append();
    name.SetAsString("Bia");
    cds.Post();
    name.OnGetText = [](TField& f, std::string& text, bool) { text = "<" + f.AsString() + ">"; };
    EXPECT_EQ(cds.DisplayTextAt(1, name), "<Ana>");
    EXPECT_EQ(cds.DisplayTextAt(2, name), "<Bia>");
    EXPECT_EQ(cds.DisplayTextAt(3, name), "");
    EXPECT_EQ(cds.RecNo(), 2);
    EXPECT_EQ(name.AsString(), "Bia");
}

TEST_F(FieldText, ValuesOfOtherTypesConvertOrFail) {
    name.SetAsString("7,25");
    EXPECT_EQ(name.AsFloat(), 7.25);
    name.SetAsString("abc");
    EXPECT_THROW(name.AsFloat(), EConvertError);
    // Dates as numbers count days since 30/12/1899, both ways.
    nr.SetValue(ymd(2025, 1, 1));
    EXPECT_EQ(nr.AsFloat(), 45658.0);
    EXPECT_EQ(dt.AsFloat(), 45725.0);
    dt.SetAsFloat(45658.5);
    EXPECT_EQ(dt.AsDateTime(), wire::DateTime::fromYmd(2025, 1, 1, 12));
}

TEST_F(FieldText, FieldChangesReachTheLinks) {
    std::string seen;
    dts.OnDataChange = [&](TObject&, TField* f) { seen += f ? f->FieldName() + "," : "-,"; };
    nr.SetAsFloat(3);
    name.SetText("Z");
    EXPECT_EQ(seen, "NR,NAME,");
    EXPECT_TRUE(cds.Modified());
}

}  // namespace
