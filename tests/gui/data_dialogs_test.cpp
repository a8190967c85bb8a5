// The search and find dialogs over a data set, without a server: which rows the filter
// keeps, which row a pick names, and where a find lands.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QTableWidget>
#include <QTest>

#include "gui/dialogs/data_dialogs.h"
#include "toolkit/tclientdataset.h"

namespace guitest {
namespace {

struct People {
    People() {
        nr.Visible = false;
        name.DisplayLabel = "Nome";
        cds.SetData({{{"NR", wire::FieldType::Float, 0}, {"NAME", wire::FieldType::String, 10}},
                     {{1.0, std::string("Ana")},
                      {2.0, std::string("Bruno")},
                      {3.0, std::string("Carla")},
                      {4.0, std::string("Mariana")}}});
    }
    tk::TComponent owner{nullptr, "frm"};
    tk::TClientDataSet cds{&owner, "cds"};
    tk::TField nr{cds, "NR", wire::FieldType::Float};
    tk::TField name{cds, "NAME", wire::FieldType::String, 10};
};

int shownRows(QTableWidget& rows) {
    int n = 0;
    for (int r = 0; r < rows.rowCount(); ++r) n += rows.isRowHidden(r) ? 0 : 1;
    return n;
}

TEST(SearchDialog, FilterKeepsMatchingRowsAndThePickNamesTheSetsRow) {
    People p;
    gui::SearchDialog dialog(p.cds, "Pessoas", nullptr);
    EXPECT_EQ(dialog.rows().columnCount(), 1);  // the hidden field is not listed
    EXPECT_EQ(dialog.rows().horizontalHeaderItem(0)->text().toStdString(), "Nome");
    EXPECT_EQ(dialog.chosenRecNo(), 1);

    QTest::keyClicks(&dialog.filter(), "ANA");
    EXPECT_EQ(shownRows(dialog.rows()), 2);
    EXPECT_EQ(dialog.chosenRecNo(), 1);
    QTest::keyClick(&dialog.filter(), Qt::Key_Down);
    EXPECT_EQ(dialog.chosenRecNo(), 4);  // Bruno and Carla are skipped
    QTest::keyClick(&dialog.filter(), Qt::Key_Down);
    EXPECT_EQ(dialog.chosenRecNo(), 4);
    QTest::keyClick(&dialog.filter(), Qt::Key_Up);
    EXPECT_EQ(dialog.chosenRecNo(), 1);

    QTest::keyClicks(&dialog.filter(), "x");
    EXPECT_EQ(shownRows(dialog.rows()), 0);
    EXPECT_EQ(dialog.chosenRecNo(), 0);
}

TEST(FindDialog, NextMatchStartsAfterTheCurrentRowAndWraps) {
    People p;
    p.cds.SetRecNo(4);
    gui::FindDialog dialog(p.cds, nullptr);
    ASSERT_EQ(dialog.field().count(), 1);
    QTest::keyClicks(&dialog.text(), "an");
    EXPECT_EQ(dialog.nextMatch(), 1);
    p.cds.SetRecNo(1);
    EXPECT_EQ(dialog.nextMatch(), 4);
    dialog.text().setText("zz");
    EXPECT_EQ(dialog.nextMatch(), 0);
}

}  // namespace
}  // namespace guitest
