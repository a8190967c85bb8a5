// The framework's check and conversion routines.
#include <gtest/gtest.h>

#include "framework/consiste.h"
#include "framework_env.h"
#include "toolkit/exceptions.h"
#include "toolkit/tdbgrid.h"
#include "toolkit/tform.h"

using fw::Consiste::Ajusta;
using fw::Consiste::EmptyString;
using fw::Consiste::RoundDec;

namespace {

TEST(RoundDec, HalvesGoAwayFromZeroOnTheDecimalValue) {
    // 2.675 is stored as 2.67499999999999982236431605997495353221893310546875.
    EXPECT_EQ(RoundDec(2.675, 2), 2.68);
    EXPECT_EQ(RoundDec(1.005, 2), 1.01);
    EXPECT_EQ(RoundDec(0.125, 2), 0.13);
    EXPECT_EQ(RoundDec(1234567.895, 2), 1234567.9);
    EXPECT_EQ(RoundDec(-2.675, 2), -2.68);
    EXPECT_EQ(RoundDec(-0.005, 2), -0.01);
}

TEST(RoundDec, OtherValuesGoToTheNearest) {
    EXPECT_EQ(RoundDec(2.674, 2), 2.67);
    EXPECT_EQ(RoundDec(2.6749, 2), 2.67);
    EXPECT_EQ(RoundDec(-2.6751, 2), -2.68);
    EXPECT_EQ(RoundDec(10.0, 2), 10.0);
    EXPECT_EQ(RoundDec(0.0, 2), 0.0);
    EXPECT_EQ(RoundDec(0.1 + 0.2, 2), 0.3);
    EXPECT_EQ(RoundDec(2.5, 0), 3.0);
    EXPECT_EQ(RoundDec(-2.5, 0), -3.0);
}

TEST(Ajusta, PadsShortCodesWithZerosOnTheLeft) {
    EXPECT_EQ(Ajusta("7", 3), "007");
    EXPECT_EQ(Ajusta("12", 3), "012");
    EXPECT_EQ(Ajusta("123", 3), "123");
    EXPECT_EQ(Ajusta(" 7 ", 3), "007");
}

TEST(Ajusta, LongCodesKeepTheirLastCharactersAndEmptyStaysEmpty) {
    EXPECT_EQ(Ajusta("01234", 3), "234");
    EXPECT_EQ(Ajusta("", 3), "");
    EXPECT_EQ(Ajusta("   ", 3), "");
}

TEST(EmptyString, BlankTextIsEmpty) {
    EXPECT_TRUE(EmptyString(""));
    EXPECT_TRUE(EmptyString("   "));
    EXPECT_TRUE(EmptyString("\t "));
    EXPECT_FALSE(EmptyString(" a "));
    EXPECT_FALSE(EmptyString("0"));
}

TEST(DateMask, AnUntouchedMaskIsEmptyOnceTheSlashesAreRemoved) {
    const std::string mask = fw::Consiste::DateMask();
    EXPECT_EQ(mask, "!99/99/9999;1; ");
    // What the mask shows before anything is typed: its literals and blanks.
    std::string untouched = "  /  /    ";
    std::erase(untouched, '/');
    EXPECT_TRUE(EmptyString(untouched));
}

class ConsisteWithUI : public ::testing::Test {
protected:
    fwtest::FrameworkEnv env;
};

TEST_F(ConsisteWithUI, MensErroShowsAndAbortsOnlyWhenAsked) {
    EXPECT_THROW(fw::Consiste::MensErro("Cargo deve ser informado.", true), tk::EAbort);
    EXPECT_NO_THROW(fw::Consiste::MensErro("Aviso.", false));
    EXPECT_EQ(env.ui.log, (std::vector<std::string>{"message: Cargo deve ser informado.", "message: Aviso."}));
}

TEST_F(ConsisteWithUI, CheckResultServGivesTheDataOfAGoodReply) {
    wire::DataPacket packet{{{"NR", wire::FieldType::Float, 0}}, {{1.0}, {2.0}}};
    EXPECT_EQ(fw::Consiste::CheckResultServ({packet}, true, 0), packet);
    // A Set method answers with no data: an empty packet, no failure.
    EXPECT_EQ(fw::Consiste::CheckResultServ({std::nullopt}, true, 0), wire::DataPacket{});
    EXPECT_TRUE(env.ui.log.empty());
}

// A one-row set with a date and a number, and a grid over it on a focused form.
class GridFixture : public ConsisteWithUI {
protected:
    GridFixture() {
        grid.SetDataSource(&source);
        grid.AddColumn("DTVALIDADEINI");
        grid.AddColumn("VRINICIAL");
        grid.AddColumn("NR").Visible = false;
        valor.EditFormat = "0.00";
        cds.SetData(wire::DataPacket{{data.Def(), valor.Def(), nr.Def()},
                                     {{wire::DateTime::fromYmd(2025, 1, 10), 12.5, 1.0}}});
    }
    tk::TForm form{nullptr, "frmTeste"};
    tk::TClientDataSet cds{&form, "cdsTeste"};
    tk::TField data{cds, "DTVALIDADEINI", wire::FieldType::DateTime};
    tk::TField valor{cds, "VRINICIAL", wire::FieldType::Float};
    tk::TField nr{cds, "NR", wire::FieldType::Float};
    tk::TDataSource source{&form, "dtsTeste", &cds};
    tk::TDBGrid grid{&form, "dbgTeste", &form};
};

TEST_F(GridFixture, IndiceColFindsTheColumnByExactFieldName) {
    EXPECT_EQ(fw::Consiste::IndiceCol(grid, "DTVALIDADEINI"), 0);
    EXPECT_EQ(fw::Consiste::IndiceCol(grid, "NR"), 2);  // hidden columns count
    EXPECT_EQ(fw::Consiste::IndiceCol(grid, "vrinicial"), -1);
    EXPECT_EQ(fw::Consiste::IndiceCol(grid, "NADA"), -1);
}

TEST_F(GridFixture, DateSetTextStoresARealDate) {
    cds.Edit();
    fw::Consiste::DateSetText(data, "15/03/2025");
    EXPECT_EQ(data.AsDateTime(), wire::DateTime::fromYmd(2025, 3, 15));
    fw::Consiste::DateSetText(data, "29/02/2024");
    EXPECT_EQ(data.AsDateTime(), wire::DateTime::fromYmd(2024, 2, 29));
    EXPECT_TRUE(env.ui.log.empty());
}

TEST_F(GridFixture, DateSetTextRefusesADayThatDoesNotExist) {
    cds.Edit();
    for (const char* bad : {"31/02/2025", "29/02/2025", "00/01/2025", "15/13/2025", "ab/cd/efgh", "15/03/25"}) {
        SCOPED_TRACE(bad);
        env.ui.log.clear();
        EXPECT_THROW(fw::Consiste::DateSetText(data, bad), tk::EAbort);
        ASSERT_EQ(env.ui.log.size(), 1u);
        EXPECT_NE(env.ui.log[0].find("Data inválida"), std::string::npos) << env.ui.log[0];
        EXPECT_NE(env.ui.log[0].find(bad), std::string::npos) << env.ui.log[0];
        EXPECT_EQ(data.AsDateTime(), wire::DateTime::fromYmd(2025, 1, 10));
    }
    EXPECT_EQ(cds.State(), tk::TDataSetState::dsEdit);
}

TEST_F(GridFixture, DateSetTextClearsOnAnUntouchedMask) {
    cds.Edit();
    fw::Consiste::DateSetText(data, "  /  /    ");
    EXPECT_TRUE(data.IsNull());
}

TEST_F(GridFixture, GridTextReadsTheFieldUntilSomethingIsTyped) {
    ASSERT_TRUE(form.FocusControl(&grid));
    grid.UserSelectColumn(1);
    EXPECT_EQ(fw::Consiste::GridText(grid, "VRINICIAL", false), "12,50");
    // A fresh cell: the keystroke replaces the whole text, so nothing precedes it.
    EXPECT_EQ(fw::Consiste::GridText(grid, "VRINICIAL", true), "");
    // Another column than the selected one reads its field in both modes.
    EXPECT_EQ(fw::Consiste::GridText(grid, "DTVALIDADEINI", false), "10/01/2025");
    EXPECT_EQ(fw::Consiste::GridText(grid, "DTVALIDADEINI", true), "10/01/2025");
    EXPECT_EQ(fw::Consiste::GridText(grid, "NADA", false), "");
}

TEST_F(GridFixture, GridTextReadsTheEditorWhileTyping) {
    ASSERT_TRUE(form.FocusControl(&grid));
    grid.UserSelectColumn(1);
    grid.UserType(U'3');
    grid.UserType(U'4');
    EXPECT_EQ(fw::Consiste::GridText(grid, "VRINICIAL", false), "34");
    EXPECT_EQ(fw::Consiste::GridText(grid, "VRINICIAL", true), "34");
    EXPECT_DOUBLE_EQ(valor.AsFloat(), 12.5);  // not written yet
}

TEST_F(GridFixture, RefreshGridWritesTheFocusedGridsEditor) {
    ASSERT_TRUE(form.FocusControl(&grid));
    grid.UserSelectColumn(1);
    grid.UserType(U'7');
    fw::Consiste::RefreshGrid(form);
    EXPECT_DOUBLE_EQ(valor.AsFloat(), 7.0);
    EXPECT_EQ(cds.State(), tk::TDataSetState::dsEdit);
}

TEST_F(GridFixture, RefreshGridWithoutAFocusedGridDoesNothing) {
    EXPECT_NO_THROW(fw::Consiste::RefreshGrid(form));
    EXPECT_EQ(cds.State(), tk::TDataSetState::dsBrowse);
}

}  // namespace
