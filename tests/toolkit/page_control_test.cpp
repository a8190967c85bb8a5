// Pages: the focus leaves the old page before it hides, aborts keep the page, disabled tabs.
#include <gtest/gtest.h>

#include "toolkit/exceptions.h"
#include "toolkit/tdbgrid.h"
#include "toolkit/tform.h"
#include "toolkit/tpagecontrol.h"
#include "toolkit_test_support.h"

namespace {

using namespace tk;

class PageControlTest : public ::testing::Test {
protected:
    PageControlTest() {
        for (TControl* c : std::initializer_list<TControl*>{&gridOut, &pgc, &tsh1, &tsh2, &gridB, &gridC}) {
            c->OnEnter = [this](TObject& s) { trace("enter " + s.Name()); };
            c->OnExit = [this](TObject& s) { trace("exit " + s.Name()); };
        }
        pgc.OnChange = [this](TObject&) { trace("change " + pgc.ActivePage()->Name()); };
    }
    TForm form{nullptr, "frm"};
    TDBGrid gridOut{&form, "gridOut", &form};
    TPageControl pgc{&form, "pgc", &form};
    TTabSheet tsh1{&form, "tsh1", pgc, "One"};
    TTabSheet tsh2{&form, "tsh2", pgc, "Two"};
    TDBGrid gridB{&form, "gridB", &tsh1};
    TDBGrid gridC{&form, "gridC", &tsh2};
    tktest::Trace trace;
};

TEST_F(PageControlTest, FirstPageIsActiveAndOnlyTheActivePageShows) {
    EXPECT_EQ(pgc.ActivePage(), &tsh1);
    EXPECT_EQ(tsh2.PageIndex(), 1);
    EXPECT_TRUE(gridB.Showing());
    EXPECT_FALSE(gridC.Showing());
    EXPECT_TRUE(pgc.SetActivePage(&tsh2));
    EXPECT_FALSE(gridB.Showing());
    EXPECT_TRUE(gridC.CanFocus());
}

TEST_F(PageControlTest, FocusOnTheOldPageMovesToThePageControlBeforeTheChange) {
    form.FocusControl(&gridB);
    trace.clear();
    EXPECT_TRUE(pgc.SetActivePage(&tsh2));
    EXPECT_EQ(trace.str(), "exit gridB, exit tsh1, change tsh2");
    EXPECT_EQ(form.ActiveControl(), &pgc);
}

TEST_F(PageControlTest, FocusOutsideThePagesStaysWhereItIs) {
    form.FocusControl(&gridOut);
    trace.clear();
    EXPECT_TRUE(pgc.SetActivePage(&tsh2));
    EXPECT_EQ(trace.str(), "change tsh2");
    EXPECT_EQ(form.ActiveControl(), &gridOut);
}

TEST_F(PageControlTest, AbortWhileLeavingTheOldPageKeepsThePage) {
    form.FocusControl(&gridB);
    trace.clear();
    gridB.OnExit = [this](TObject&) { trace("exit gridB refused"); Abort(); };
    EXPECT_THROW(pgc.SetActivePage(&tsh2), EAbort);
    EXPECT_EQ(pgc.ActivePage(), &tsh1);
    EXPECT_EQ(form.ActiveControl(), &gridB);
    EXPECT_EQ(trace.str(), "exit gridB refused");
}

TEST_F(PageControlTest, ChangeHandlerCanFocusAGridOfTheNewPage) {
    form.FocusControl(&gridB);
    pgc.OnChange = [this](TObject&) {
        trace("change " + pgc.ActivePage()->Name());
        gridC.SetFocus();
    };
    trace.clear();
    EXPECT_TRUE(pgc.UserSelectTab(&tsh2));
    EXPECT_EQ(trace.str(), "exit gridB, exit tsh1, change tsh2, enter tsh2, enter gridC");
    EXPECT_EQ(form.ActiveControl(), &gridC);
}

TEST_F(PageControlTest, UserCannotSelectADisabledPage) {
    form.FocusControl(&gridB);
    tsh2.SetEnabled(false);
    trace.clear();
    EXPECT_FALSE(pgc.UserSelectTab(&tsh2));
    EXPECT_EQ(pgc.ActivePage(), &tsh1);
    EXPECT_EQ(form.ActiveControl(), &gridB);
    EXPECT_EQ(trace.str(), "");
    tsh2.SetEnabled(true);
    EXPECT_TRUE(pgc.UserSelectTab(&tsh2));
}

TEST_F(PageControlTest, SelectingTheActivePageChangesNothing) {
    trace.clear();
    EXPECT_FALSE(pgc.SetActivePage(&tsh1));
    EXPECT_EQ(trace.str(), "");
}

TEST_F(PageControlTest, ObserversHearOfThePageChange) {
    int told = 0;
    pgc.OnChanged().subscribe([&](TComponent&) { ++told; });
    pgc.SetActivePage(&tsh2);
    EXPECT_EQ(told, 1);
}

}  // namespace
