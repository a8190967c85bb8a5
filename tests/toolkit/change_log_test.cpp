// The change log: what Delta reports for each sequence of edits, and how it is undone or merged.
#include <gtest/gtest.h>

#include "data_test_support.h"

namespace {

using namespace tk;
using tkdata::render;
using tkdata::rows;

class ChangeLog : public ::testing::Test, protected tkdata::Fixture {
protected:
    ChangeLog() { cds.SetData(tkdata::threeRows()); }
    void editName(int recNo, const std::string& text) {
        cds.SetRecNo(recNo);
        cds.Edit();
        name.SetAsString(text);
        cds.Post();
    }
    static constexpr const char* kLoaded = "1|Ana|2025-01-01; 2|Bruno|2025-02-01; 3|Carla|2025-03-01";
};

TEST_F(ChangeLog, FreshlyLoadedSetHasNoChanges) {
    EXPECT_EQ(cds.ChangeCount(), 0);
    EXPECT_TRUE(cds.Delta().changes.empty());
    EXPECT_EQ(cds.Delta().fields, tkdata::defs());
}

TEST_F(ChangeLog, InsertThenEditIsOneInsert) {
    cds.Append();
    nr.SetAsFloat(4);
    name.SetAsString("Davi");
    cds.Post();
    editName(4, "Davi Lima");
    EXPECT_EQ(cds.ChangeCount(), 1);
    EXPECT_EQ(render(cds.Delta()), "insert new=4|Davi Lima|");
}

TEST_F(ChangeLog, InsertThenDeleteIsNothing) {
    cds.Insert();
    nr.SetAsFloat(4);
    cds.Post();
    cds.Delete();
    EXPECT_EQ(cds.ChangeCount(), 0);
    EXPECT_EQ(render(cds.Delta()), "");
    EXPECT_EQ(rows(cds), kLoaded);
}

TEST_F(ChangeLog, EditsOfABaseRowAreOneUpdateAgainstTheLoadedValues) {
    editName(2, "Beto");
    editName(2, "Bento");
    EXPECT_EQ(render(cds.Delta()), "update old=2|Bruno|2025-02-01 new=2|Bento|2025-02-01");
}

TEST_F(ChangeLog, EditWithoutChangeLogsNothing) {
    cds.Edit();
    cds.Post();
    editName(1, "Ana");
    EXPECT_EQ(cds.ChangeCount(), 0);
}

TEST_F(ChangeLog, DeleteOfABaseRowCarriesItsLoadedValues) {
    editName(3, "Carol");
    cds.Delete();
    cds.First();
    cds.Delete();
    EXPECT_EQ(render(cds.Delta()), "delete old=3|Carla|2025-03-01; delete old=1|Ana|2025-01-01");
}

TEST_F(ChangeLog, ChangesAreReportedInTheOrderMade) {
    editName(2, "Beto");
    cds.First();
    cds.Insert();
    nr.SetAsFloat(0);
    cds.Post();
    cds.Last();
    cds.Delete();
    EXPECT_EQ(render(cds.Delta()),
              "update old=2|Bruno|2025-02-01 new=2|Beto|2025-02-01; insert new=0||; delete old=3|Carla|2025-03-01");
    EXPECT_EQ(cds.ChangeCount(), 3);
}

TEST_F(ChangeLog, RowBeingEditedReportsItsStoredValues) {
    editName(1, "Aninha");
    cds.Edit();
    name.SetAsString("typing...");
    EXPECT_EQ(render(cds.Delta()), "update old=1|Ana|2025-01-01 new=1|Aninha|2025-01-01");
    cds.Cancel();
    cds.Insert();  // a row not yet posted is not a change
    EXPECT_EQ(cds.ChangeCount(), 1);
    EXPECT_EQ(cds.GetData().rows.size(), 3u);
}

TEST_F(ChangeLog, CancelUpdatesRemovesInserts) {
    cds.Append();
    nr.SetAsFloat(4);
    cds.Post();
    cds.CancelUpdates();
    EXPECT_EQ(rows(cds), kLoaded);
    EXPECT_EQ(cds.RecNo(), 3);  // the cursor stays on a valid row
    EXPECT_EQ(cds.ChangeCount(), 0);
}

TEST_F(ChangeLog, CancelUpdatesRestoresEdits) {
    editName(2, "Beto");
    editName(3, "Carol");
    cds.CancelUpdates();
    EXPECT_EQ(rows(cds), kLoaded);
    EXPECT_EQ(cds.RecNo(), 3);
}

TEST_F(ChangeLog, CancelUpdatesBringsDeletedRowsBackInPlace) {
    editName(2, "Beto");
    cds.Delete();  // an edited row deleted: its loaded values come back
    cds.First();
    cds.Delete();
    cds.Insert();
    nr.SetAsFloat(9);
    cds.Post();
    cds.CancelUpdates();
    EXPECT_EQ(rows(cds), kLoaded);
    EXPECT_EQ(render(cds.Delta()), "");
}

TEST_F(ChangeLog, CancelUpdatesLeavesEditState) {
    cds.Edit();
    name.SetAsString("x");
    cds.CancelUpdates();
    EXPECT_EQ(cds.State(), TDataSetState::dsBrowse);
    EXPECT_EQ(rows(cds), kLoaded);
    cds.Insert();
    cds.CancelUpdates();
    EXPECT_EQ(cds.State(), TDataSetState::dsBrowse);
    EXPECT_EQ(rows(cds), kLoaded);
}

TEST_F(ChangeLog, MergeMakesCurrentRowsTheBase) {
    editName(1, "Aninha");
    cds.Last();
    cds.Delete();
    cds.MergeChangeLog();
    EXPECT_EQ(cds.ChangeCount(), 0);
    EXPECT_EQ(render(cds.Delta()), "");

    editName(1, "Ana Paula");
    EXPECT_EQ(render(cds.Delta()), "update old=1|Aninha|2025-01-01 new=1|Ana Paula|2025-01-01");
    cds.CancelUpdates();
    EXPECT_EQ(rows(cds), "1|Aninha|2025-01-01; 2|Bruno|2025-02-01");
}

TEST_F(ChangeLog, WithoutLoggingChangesBecomeTheBase) {
    cds.LogChanges = false;
    editName(1, "Aninha");
    cds.Insert();
    nr.SetAsFloat(0);
    cds.Post();
    cds.Last();
    cds.Delete();
    EXPECT_EQ(cds.ChangeCount(), 0);
    cds.LogChanges = true;
    cds.Last();
    cds.Delete();  // Bruno
    cds.CancelUpdates();
    EXPECT_EQ(rows(cds), "0||; 1|Aninha|2025-01-01; 2|Bruno|2025-02-01");
}

TEST_F(ChangeLog, InsertsBetweenRowsComeBackInOrderAfterManyUndos) {
    // Many inserts at one place exhaust the gap between two rows; order must survive.
    cds.SetRecNo(2);
    for (int i = 0; i < 40; ++i) {
        cds.Insert();
        nr.SetAsFloat(100 + i);
        cds.Post();
    }
    cds.MergeChangeLog();
    cds.SetRecNo(41);  // the row just before Bruno
    cds.Delete();
    cds.SetRecNo(2);
    for (int i = 0; i < 40; ++i) {
        cds.Insert();
        nr.SetAsFloat(500 + i);
        cds.Post();
    }
    cds.CancelUpdates();
    ASSERT_EQ(cds.RecordCount(), 43);
    EXPECT_EQ(cds.ValueAt(1, 0), wire::Value(1.0));
    for (int r = 2; r <= 41; ++r) EXPECT_EQ(cds.ValueAt(r, 0), wire::Value(100.0 + 41 - r)) << r;
    EXPECT_EQ(cds.ValueAt(42, 0), wire::Value(2.0));
}

TEST_F(ChangeLog, ReloadEmptiesTheLog) {
    editName(1, "x");
    cds.SetData(tkdata::threeRows());
    EXPECT_EQ(cds.ChangeCount(), 0);
}

}  // namespace
