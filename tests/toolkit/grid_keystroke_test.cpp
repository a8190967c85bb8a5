// The grid's keystroke path: key events, edit state, the in-place editor and when its
// text reaches the field.
#include <gtest/gtest.h>

#include "toolkit/exceptions.h"
#include "toolkit/tapplication.h"
#include "toolkit/tdbgrid.h"
#include "toolkit/tdbnavigator.h"
#include "toolkit/tform.h"
#include "toolkit/tpagecontrol.h"
#include "toolkit_test_support.h"

namespace {

using namespace tk;
using wire::FieldType;

class GridTest : public ::testing::Test {
protected:
    GridTest() {
        grid.SetDataSource(&dts);
        grid.AddColumn("NAME", 120);
        grid.AddColumn("NR").ReadOnly = true;
        grid.AddColumn("HIDDEN").Visible = false;
        grid.AddColumn("DT");
        dt.EditMask = "!99/99/9999;1; ";
        cds.Open();
        addRow("Ana", 1);
        addRow("Bruno", 2);
        cds.First();
        grid.OnColExit = [this](TObject&) { trace("colexit " + grid.SelectedField()->FieldName() + "=" + grid.SelectedField()->AsString()); };
        grid.OnColEnter = [this](TObject&) { trace("colenter " + grid.SelectedField()->FieldName()); };
        grid.OnExit = [this](TObject&) { trace(std::string("exit ") + stateName(cds.State())); };
        cds.BeforeEdit = [this](TClientDataSet&) { trace("BeforeEdit"); };
        cds.BeforeInsert = [this](TClientDataSet&) { trace("BeforeInsert"); };
        cds.AfterPost = [this](TClientDataSet&) { trace("AfterPost NAME=" + name.AsString()); };
        cds.AfterCancel = [this](TClientDataSet&) { trace("AfterCancel"); };
        form.FocusControl(&grid);
        trace.clear();
    }
    void addRow(const std::string& n, double nr) {
        cds.Append();
        name.SetAsString(n);
        this->nr.SetAsFloat(nr);
        cds.Post();
    }
    void type(const std::u32string& keys) {
        for (char32_t k : keys) grid.UserType(k);
    }
    std::string editor() const {
        return grid.EditorText() + (grid.EditorModified() ? " modified" : "") + (grid.EditorSelectsAll() ? " fresh" : "");
    }

    TForm form{nullptr, "frm"};
    TClientDataSet cds{&form, "cds"};
    TField name{cds, "NAME", FieldType::String, 10};
    TField nr{cds, "NR", FieldType::Float};
    TField hidden{cds, "HIDDEN", FieldType::String, 5};
    TField dt{cds, "DT", FieldType::DateTime};
    TDataSource dts{&form, "dts", &cds};
    TDBGrid grid{&form, "grid", &form};
    TDBGrid other{&form, "other", &form};
    tktest::Trace trace;
};

TEST_F(GridTest, CharacterDroppedByOnKeyPressLeavesNoTrace) {
    int presses = 0;
    grid.OnKeyPress = [&](TObject&, char32_t& k) {
        ++presses;
        if (k == U'x') k = 0;
    };
    grid.UserType(U'x');
    EXPECT_EQ(presses, 1);
    EXPECT_EQ(cds.State(), TDataSetState::dsBrowse);
    EXPECT_EQ(editor(), "Ana fresh");
    EXPECT_EQ(trace.str(), "");
    grid.UserType(U'y');
    EXPECT_EQ(editor(), "y modified") << "the drop did not use up the fresh cell";
}

TEST_F(GridTest, AbortInOnKeyDownDropsTheCharacterBeforeOnKeyPress) {
    std::uint16_t seen = 0;
    grid.OnKeyDown = [&](TObject&, std::uint16_t& key, TShiftState) {
        seen = key;
        Abort();
    };
    grid.OnKeyPress = [&](TObject&, char32_t&) { trace("keypress"); };
    grid.UserType(U'a');
    EXPECT_EQ(seen, virtualKeyOf(U'a'));
    EXPECT_EQ(cds.State(), TDataSetState::dsBrowse);
    EXPECT_EQ(editor(), "Ana fresh");
    EXPECT_EQ(trace.str(), "");
}

TEST_F(GridTest, AcceptedCharacterStartsEditAndReplacesTheFreshCell) {
    type(U"Zé");
    EXPECT_EQ(cds.State(), TDataSetState::dsEdit);
    EXPECT_EQ(trace.str(), "BeforeEdit");
    EXPECT_EQ(editor(), "Zé modified");
    EXPECT_EQ(name.AsString(), "Ana") << "the field waits for a move, a post or an exit";
    EXPECT_EQ(grid.CellText(1, 0), "Zé");
    EXPECT_EQ(grid.CellText(2, 0), "Bruno");
}

TEST_F(GridTest, TypedTextReachesTheFieldBeforeOnColExit) {
    type(U"Bia");
    grid.UserKey(VK_TAB);
    EXPECT_EQ(trace.str(), "BeforeEdit, colexit NAME=Bia, colenter NR");
    EXPECT_EQ(grid.SelectedIndex(), 1);
    EXPECT_EQ(name.AsString(), "Bia");
}

TEST_F(GridTest, ColumnMovesSkipHiddenColumnsBothWays) {
    grid.UserKey(VK_RIGHT);
    EXPECT_EQ(grid.SelectedIndex(), 1);
    grid.UserKey(VK_TAB);
    EXPECT_EQ(grid.SelectedIndex(), 3);
    grid.UserKey(VK_RIGHT);
    EXPECT_EQ(grid.SelectedIndex(), 3) << "Right does not wrap";
    EXPECT_EQ(cds.RecNo(), 1);
    grid.UserKey(VK_TAB, ssShift);
    EXPECT_EQ(grid.SelectedIndex(), 1);
    grid.UserSelectColumn(2);
    EXPECT_EQ(grid.SelectedIndex(), 1) << "a hidden column cannot be clicked";
}

// Past the last column Tab posts what was typed into the row being left and goes on at
// the next row's first column; the last row keeps its cell, no row is appended.
TEST_F(GridTest, TabWrapsToTheNeighbouringRowAndNeverAppends) {
    grid.UserSelectColumn(3);
    trace.clear();
    type(U"01052025");
    grid.UserKey(VK_TAB);
    EXPECT_EQ(trace.str(), "BeforeEdit, colexit DT=01/05/2025, AfterPost NAME=Ana, colenter NAME");
    EXPECT_EQ(cds.RecNo(), 2);
    EXPECT_EQ(grid.SelectedIndex(), 0);
    EXPECT_TRUE(dt.IsNull()) << "the date went to the first row";
    grid.UserKey(VK_TAB, ssShift);
    EXPECT_EQ(cds.RecNo(), 1);
    EXPECT_EQ(grid.SelectedIndex(), 3);
    grid.UserSelectColumn(0);
    grid.UserKey(VK_TAB, ssShift);
    EXPECT_EQ(cds.RecNo(), 1) << "nothing before the first row";
    EXPECT_EQ(grid.SelectedIndex(), 0);

    grid.UserSelectRow(2);
    grid.UserSelectColumn(3);
    grid.UserKey(VK_TAB);
    EXPECT_EQ(cds.RecNo(), 2);
    EXPECT_EQ(grid.SelectedIndex(), 3);
    EXPECT_EQ(cds.RecordCount(), 2);
    EXPECT_EQ(cds.State(), TDataSetState::dsBrowse);
}

TEST_F(GridTest, AbortInOnColExitKeepsTheColumn) {
    grid.OnColExit = [this](TObject&) {
        trace("colexit NAME=" + name.AsString());
        Abort();
    };
    type(U"Bia");
    EXPECT_THROW(grid.UserKey(VK_TAB), EAbort);
    EXPECT_EQ(grid.SelectedIndex(), 0);
    EXPECT_EQ(trace.str(), "BeforeEdit, colexit NAME=Bia");
    EXPECT_EQ(cds.State(), TDataSetState::dsEdit);
}

TEST_F(GridTest, AbortInOnExitKeepsTheFocusOnTheGrid) {
    grid.OnExit = [this](TObject&) {
        trace("exit NAME=" + name.AsString());
        grid.SetFocus();  // a check taking the focus back to its field
        Abort();
    };
    other.OnEnter = [this](TObject&) { trace("enter other"); };
    type(U"Bia");
    EXPECT_THROW(other.SetFocus(), EAbort);
    EXPECT_EQ(form.ActiveControl(), &grid);
    EXPECT_EQ(trace.str(), "BeforeEdit, exit NAME=Bia");
    EXPECT_EQ(cds.State(), TDataSetState::dsEdit);
}

TEST_F(GridTest, LeavingTheGridCancelsAnInsertWithNothingEntered) {
    grid.UserKey(VK_INSERT);
    ASSERT_EQ(cds.State(), TDataSetState::dsInsert);
    trace.clear();
    EXPECT_TRUE(other.SetFocus());
    EXPECT_EQ(trace.str(), "AfterCancel, exit browse");
    EXPECT_EQ(cds.RecordCount(), 2);
}

TEST_F(GridTest, LeavingTheGridKeepsAnInsertWithTypedText) {
    grid.UserKey(VK_INSERT);
    type(U"Caio");
    trace.clear();
    EXPECT_TRUE(other.SetFocus());
    EXPECT_EQ(trace.str(), "exit insert");
    EXPECT_EQ(name.AsString(), "Caio");
}

TEST_F(GridTest, WithoutCancelOnExitAnEmptyInsertStays) {
    grid.CancelOnExit = false;
    grid.UserKey(VK_INSERT);
    other.SetFocus();
    EXPECT_EQ(cds.State(), TDataSetState::dsInsert);
}

TEST_F(GridTest, PostWritesThePendingText) {
    type(U"Bia");
    cds.Post();
    EXPECT_EQ(trace.str(), "BeforeEdit, AfterPost NAME=Bia");
    EXPECT_EQ(editor(), "Bia fresh");
}

TEST_F(GridTest, RowMoveWritesTheTextThenPostsThroughTheBrowseCheck) {
    type(U"Bia");
    grid.UserKey(VK_DOWN);
    EXPECT_EQ(trace.str(), "BeforeEdit, AfterPost NAME=Bia");
    EXPECT_EQ(cds.RecNo(), 2);
    EXPECT_EQ(editor(), "Bruno fresh");
    grid.UserSelectRow(1);
    EXPECT_EQ(cds.RecNo(), 1);
    EXPECT_EQ(editor(), "Bia fresh");
}

TEST_F(GridTest, EscapeCancelsEvenWhenTheFilterDropsItsCharacter) {
    grid.OnKeyPress = [](TObject&, char32_t& k) { k = 0; };
    cds.Insert();
    grid.UserKey(VK_ESCAPE);
    EXPECT_EQ(cds.State(), TDataSetState::dsBrowse);
}

TEST_F(GridTest, FirstEscapeUndoesTheCellOnlyTheNextCancelsTheRow) {
    grid.UserKey(VK_INSERT);
    type(U"Caio");
    grid.UserSelectColumn(3);
    type(U"0105");
    grid.UserKey(VK_ESCAPE);
    EXPECT_EQ(cds.State(), TDataSetState::dsInsert);
    EXPECT_EQ(name.AsString(), "Caio");
    EXPECT_EQ(editor(), " fresh");
    grid.UserKey(VK_ESCAPE);
    EXPECT_EQ(cds.State(), TDataSetState::dsBrowse);
    EXPECT_EQ(cds.RecordCount(), 2);
    EXPECT_EQ(name.AsString(), "Ana");
}

TEST_F(GridTest, CtrlDeleteAsksThenDeletesThroughTheSet) {
    tktest::RecordingUI ui;
    TApplication app{ui};
    TApplication::SetInstance(&app);
    cds.AfterDelete = [this](TClientDataSet&) { trace("AfterDelete"); };
    ui.answer = false;
    grid.UserKey(VK_DELETE, ssCtrl);
    EXPECT_EQ(cds.RecordCount(), 2);
    ui.answer = true;
    grid.UserKey(VK_DELETE, ssCtrl);
    EXPECT_EQ(ui.log, (std::vector<std::string>{"confirm ExcluirRegistro", "confirm ExcluirRegistro"}));
    EXPECT_EQ(trace.str(), "AfterDelete");
    EXPECT_EQ(cds.RecordCount(), 1);
    EXPECT_EQ(name.AsString(), "Bruno");
    grid.UserKey(VK_DELETE);
    EXPECT_EQ(cds.RecordCount(), 1) << "plain Delete works in the cell";
    TApplication::SetInstance(nullptr);
}

TEST_F(GridTest, EnterWritesTheTextAndTheNextKeystrokeReplacesIt) {
    type(U"Bia");
    grid.UserKey(VK_RETURN);
    EXPECT_EQ(name.AsString(), "Bia");
    EXPECT_EQ(cds.State(), TDataSetState::dsEdit);
    EXPECT_EQ(editor(), "Bia fresh");
}

TEST_F(GridTest, BackspaceClearsAFreshCellThenRemovesWholeCharacters) {
    grid.UserKey(VK_BACK);
    EXPECT_EQ(editor(), " modified");
    EXPECT_EQ(cds.State(), TDataSetState::dsEdit);
    type(U"ção");
    grid.UserKey(VK_BACK);
    grid.UserKey(VK_BACK);
    EXPECT_EQ(editor(), "ç modified");
    grid.UserType(8);
    grid.UserKey(VK_BACK);
    EXPECT_EQ(editor(), " modified");
}

TEST_F(GridTest, BackspaceDroppedByOnKeyPressDoesNothing) {
    grid.OnKeyPress = [](TObject&, char32_t& k) { k = 0; };
    grid.UserKey(VK_BACK);
    EXPECT_EQ(cds.State(), TDataSetState::dsBrowse);
    EXPECT_EQ(editor(), "Ana fresh");
}

TEST_F(GridTest, ReadOnlyColumnFieldOrGridDropsCharacters) {
    grid.SetSelectedIndex(1);
    grid.UserType(U'7');
    EXPECT_EQ(cds.State(), TDataSetState::dsBrowse);
    grid.SetSelectedIndex(0);
    name.ReadOnly = true;
    grid.UserType(U'7');
    name.ReadOnly = false;
    grid.ReadOnly = true;
    grid.UserType(U'7');
    EXPECT_EQ(cds.State(), TDataSetState::dsBrowse);
    EXPECT_EQ(editor(), "Ana fresh");
}

TEST_F(GridTest, TypingIntoAnEmptySetAppendsARow) {
    cds.SetData({{{"NAME", FieldType::String, 10}, {"NR", FieldType::Float, 0}, {"HIDDEN", FieldType::String, 5},
                  {"DT", FieldType::DateTime, 0}},
                 {}});
    grid.UserType(U'Q');
    EXPECT_EQ(cds.State(), TDataSetState::dsInsert);
    EXPECT_EQ(cds.RecordCount(), 1);
    EXPECT_EQ(editor(), "Q modified");
}

TEST_F(GridTest, KeysNeedTheFocus) {
    other.SetFocus();
    EXPECT_THROW(grid.UserType(U'a'), std::logic_error);
    EXPECT_EQ(cds.State(), TDataSetState::dsBrowse);
}

TEST_F(GridTest, DateMaskTypingFillsTheTemplate) {
    grid.UserSelectColumn(3);
    trace.clear();
    type(U"1/");
    EXPECT_EQ(editor(), "1 /  /     modified") << "a slash where a digit belongs is dropped";
    grid.UserKey(VK_BACK);
    type(U"01/05/2025");
    EXPECT_EQ(editor(), "01/05/2025 modified");
    grid.UserType(U'9');
    EXPECT_EQ(editor(), "01/05/2025 modified") << "a full mask takes nothing more";
    grid.UserKey(VK_TAB, ssShift);
    EXPECT_EQ(dt.Text(), "01/05/2025");
    EXPECT_EQ(grid.SelectedIndex(), 1);
}

TEST_F(GridTest, PartlyTypedDateIsRefusedAndTheColumnStays) {
    grid.UserSelectColumn(3);
    type(U"0105");
    EXPECT_ANY_THROW(grid.UserKey(VK_TAB, ssShift));
    EXPECT_EQ(grid.SelectedIndex(), 3);
    EXPECT_EQ(editor(), "01/05/     modified fresh") << "the refused text stays in view, whole selected";
    grid.UserKey(VK_BACK);
    EXPECT_EQ(editor(), "  /  /     modified") << "and the next keystroke replaces it";
    grid.UserKey(VK_RETURN);
    EXPECT_TRUE(dt.IsNull()) << "a blank template clears the date";
}

TEST_F(GridTest, PickListChoiceEntersTheEditorWithoutKeyFilters) {
    grid.Columns()[0].PickList = {"Vendedor", "Gerente"};
    grid.OnKeyPress = [](TObject&, char32_t& k) { k = 0; };
    grid.UserPick("Gerente");
    EXPECT_EQ(cds.State(), TDataSetState::dsEdit);
    EXPECT_EQ(editor(), "Gerente modified");
    EXPECT_THROW(grid.UserPick("Diretor"), std::invalid_argument);
    // A filter that drops every character still cannot trap the user in the column.
    grid.UserKey(VK_TAB);
    EXPECT_NE(grid.SelectedIndex(), 0);
    EXPECT_EQ(name.AsString(), "Gerente");
}

TEST_F(GridTest, EditButtonAndCtrlEnterRunOnlyForEllipsisColumns) {
    grid.OnEditButtonClick = [this](TObject&) { trace("button"); };
    grid.OnKeyPress = [this](TObject&, char32_t&) { trace("keypress"); };
    grid.UserEditButton();
    grid.UserKey(VK_RETURN, ssCtrl);
    EXPECT_FALSE(grid.ShowsEditButton());
    grid.Columns()[0].ButtonStyle = TColumnButtonStyle::cbsEllipsis;
    EXPECT_TRUE(grid.ShowsEditButton());
    grid.UserEditButton();
    grid.UserKey(VK_RETURN, ssCtrl);
    EXPECT_EQ(trace.str(), "button, button");
}

TEST_F(GridTest, ProgramColumnChoiceWritesTheTextWithoutColumnEvents) {
    type(U"Bia");
    grid.SetSelectedIndex(3);
    EXPECT_EQ(trace.str(), "BeforeEdit");
    EXPECT_EQ(name.AsString(), "Bia");
    EXPECT_EQ(grid.SelectedField(), &dt);
    EXPECT_THROW(grid.SetSelectedIndex(9), std::out_of_range);
}

TEST_F(GridTest, DataEventsResetTheEditor) {
    cds.Edit();
    name.SetAsString("Bel");
    EXPECT_EQ(editor(), "Bel fresh") << "a program's change shows in an untouched editor";
    type(U"Carolina Maria");
    EXPECT_EQ(editor(), "Carolina M modified") << "no more than the field's ten characters";
    name.SetAsString("Dora");
    EXPECT_EQ(editor(), "Dora fresh") << "a program's change replaces what was typed";
    cds.Cancel();
    EXPECT_EQ(editor(), "Ana fresh");
    cds.Next();
    EXPECT_EQ(editor(), "Bruno fresh");
}

TEST_F(GridTest, FocusControlOfAFieldSelectsItsColumnAndTakesTheFocus) {
    other.SetFocus();
    dt.FocusControl();
    EXPECT_EQ(form.ActiveControl(), &grid);
    EXPECT_EQ(grid.SelectedField(), &dt);
    EXPECT_EQ(trace.str(), "exit browse") << "no column events for a program's choice";
}

TEST_F(GridTest, FocusControlSelectsTheColumnInEveryGridThatCannotTakeTheFocus) {
    TPageControl pgc{&form, "pgc", &form};
    TTabSheet one{&form, "one", pgc, "1"};
    TTabSheet two{&form, "two", pgc, "2"};
    TDBGrid paged{&form, "paged", &two};
    paged.SetDataSource(&dts);
    paged.AddColumn("NAME");
    paged.AddColumn("NR");
    other.SetFocus();
    grid.SetEnabled(false);
    nr.FocusControl();
    EXPECT_EQ(grid.SelectedField(), &nr);
    EXPECT_EQ(paged.SelectedField(), &nr);
    EXPECT_EQ(form.ActiveControl(), &other);
    grid.SetEnabled(true);
    pgc.SetActivePage(&two);
    name.FocusControl();
    EXPECT_EQ(form.ActiveControl(), &grid) << "the first grid that can take the focus has it";
}

TEST_F(GridTest, FocusControlOfAFieldInAHiddenColumnFocusesTheGridOnly) {
    other.SetFocus();
    hidden.FocusControl();
    EXPECT_EQ(form.ActiveControl(), &grid);
    EXPECT_EQ(grid.SelectedIndex(), 0);
}

TEST_F(GridTest, NavigatorMovesTheSetThenRunsOnClick) {
    TDBNavigator nav{&form, "dbn", &form};
    nav.DataSource = &dts;
    nav.OnClick = [this](TObject&, TNavigateBtn) { trace("click at " + std::to_string(cds.RecNo())); };
    type(U"Bia");
    EXPECT_TRUE(nav.UserClick(TNavigateBtn::nbLast));
    EXPECT_EQ(trace.str(), "BeforeEdit, AfterPost NAME=Bia, click at 2");
    EXPECT_FALSE(nav.CanFocus());
    nav.SetEnabled(false);
    EXPECT_FALSE(nav.UserClick(TNavigateBtn::nbFirst));
    EXPECT_EQ(cds.RecNo(), 2);
}

}  // namespace
