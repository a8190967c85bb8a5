// Focus moves: the order of exit and enter handlers across containers, aborts, re-entry.
#include <gtest/gtest.h>

#include "toolkit/exceptions.h"
#include "toolkit/tdbgrid.h"
#include "toolkit/tform.h"
#include "toolkit/tpagecontrol.h"
#include "toolkit/tspeedbutton.h"
#include "toolkit_test_support.h"

namespace {

using namespace tk;

// form ─┬ panTop ── gridA
//       ├ pgc ─┬ tsh1 ── panInner ── gridB
//       │      └ tsh2 ── gridC
//       └ btn
class FocusTest : public ::testing::Test {
protected:
    FocusTest() {
        for (TControl* c : std::initializer_list<TControl*>{&panTop, &gridA, &pgc, &tsh1, &tsh2, &panInner, &gridB, &gridC}) {
            c->OnEnter = [this](TObject& s) { trace("enter " + s.Name()); };
            c->OnExit = [this](TObject& s) { trace("exit " + s.Name()); };
        }
    }
    TForm form{nullptr, "frm"};
    TPanel panTop{&form, "panTop", &form};
    TDBGrid gridA{&form, "gridA", &panTop};
    TPageControl pgc{&form, "pgc", &form};
    TTabSheet tsh1{&form, "tsh1", pgc, "One"};
    TTabSheet tsh2{&form, "tsh2", pgc, "Two"};
    TPanel panInner{&form, "panInner", &tsh1};
    TDBGrid gridB{&form, "gridB", &panInner};
    TDBGrid gridC{&form, "gridC", &tsh2};
    TSpeedButton btn{&form, "btn", &form};
    tktest::Trace trace;
};

TEST_F(FocusTest, LeavesContainersInnermostFirstAndEntersOutermostFirst) {
    ASSERT_TRUE(form.FocusControl(&gridA));
    trace.clear();
    EXPECT_TRUE(form.FocusControl(&gridB));
    EXPECT_EQ(trace.str(), "exit gridA, exit panTop, enter pgc, enter tsh1, enter panInner, enter gridB");
    EXPECT_EQ(form.ActiveControl(), &gridB);
    EXPECT_TRUE(gridB.Focused());
    EXPECT_FALSE(gridA.Focused());
}

TEST_F(FocusTest, ContainerOfBothControlsIsNeitherLeftNorEntered) {
    ASSERT_TRUE(form.FocusControl(&pgc));
    trace.clear();
    form.FocusControl(&gridB);
    EXPECT_EQ(trace.str(), "enter tsh1, enter panInner, enter gridB");
    trace.clear();
    form.FocusControl(&pgc);
    EXPECT_EQ(trace.str(), "exit gridB, exit panInner, exit tsh1");
}

TEST_F(FocusTest, MovingToTheFocusedControlRunsNothing) {
    form.FocusControl(&gridA);
    trace.clear();
    EXPECT_TRUE(form.FocusControl(&gridA));
    EXPECT_TRUE(gridA.SetFocus());
    EXPECT_EQ(trace.str(), "");
}

TEST_F(FocusTest, AbortInOnExitKeepsTheFocusAndEntersNothing) {
    form.FocusControl(&gridA);
    trace.clear();
    gridA.OnExit = [this](TObject&) { trace("exit gridA refused"); Abort(); };
    EXPECT_THROW(form.FocusControl(&gridB), EAbort);
    EXPECT_EQ(form.ActiveControl(), &gridA);
    EXPECT_EQ(trace.str(), "exit gridA refused");
}

TEST_F(FocusTest, AbortInAContainersOnExitKeepsTheFocusToo) {
    form.FocusControl(&gridA);
    trace.clear();
    panTop.OnExit = [](TObject&) { throw std::runtime_error("panel says no"); };
    EXPECT_THROW(form.FocusControl(&gridB), std::runtime_error);
    EXPECT_EQ(form.ActiveControl(), &gridA);
    EXPECT_EQ(trace.str(), "exit gridA");
    // The refused move left nothing behind: the next one runs normally.
    panTop.OnExit = nullptr;
    trace.clear();
    EXPECT_TRUE(form.FocusControl(&gridB));
    EXPECT_EQ(trace.str(), "exit gridA, enter pgc, enter tsh1, enter panInner, enter gridB");
}

TEST_F(FocusTest, ExceptionInOnEnterLeavesTheFocusMoved) {
    form.FocusControl(&gridA);
    gridB.OnEnter = [](TObject&) { throw std::runtime_error("enter failed"); };
    EXPECT_THROW(form.FocusControl(&gridB), std::runtime_error);
    EXPECT_EQ(form.ActiveControl(), &gridB);
}

TEST_F(FocusTest, ExitHandlerMayRefocusTheControlItIsLeaving) {
    form.FocusControl(&gridA);
    trace.clear();
    // A check puts the focus back on its own grid and then stops the move.
    gridA.OnExit = [this](TObject&) {
        trace(std::string("refocus ") + (gridA.SetFocus() ? "kept" : "lost"));
        Abort();
    };
    EXPECT_THROW(form.FocusControl(&gridB), EAbort);
    EXPECT_EQ(trace.str(), "refocus kept");
    EXPECT_EQ(form.ActiveControl(), &gridA);
}

TEST_F(FocusTest, ExitHandlerCannotStartAnotherMove) {
    form.FocusControl(&gridA);
    trace.clear();
    gridA.OnExit = [this](TObject&) {
        trace(std::string("to pgc ") + (form.FocusControl(&pgc) ? "moved" : "refused"));
    };
    EXPECT_TRUE(form.FocusControl(&gridB));
    EXPECT_EQ(trace.str(), "to pgc refused, exit panTop, enter pgc, enter tsh1, enter panInner, enter gridB");
    EXPECT_EQ(form.ActiveControl(), &gridB);
}

TEST_F(FocusTest, EnterHandlerThatMovesTheFocusEndsTheOuterMove) {
    form.FocusControl(&gridA);
    trace.clear();
    panInner.OnEnter = [this](TObject&) {
        trace("enter panInner, back to gridA");
        form.FocusControl(&gridA);
    };
    EXPECT_FALSE(form.FocusControl(&gridB));
    EXPECT_EQ(trace.str(),
              "exit gridA, exit panTop, enter pgc, enter tsh1, enter panInner, back to gridA, "
              "exit gridB, exit panInner, exit tsh1, exit pgc, enter panTop, enter gridA");
    EXPECT_EQ(form.ActiveControl(), &gridA);
}

TEST_F(FocusTest, OnlyReachableWindowedControlsTakeTheFocus) {
    EXPECT_FALSE(btn.CanFocus());
    EXPECT_FALSE(form.FocusControl(&btn));
    EXPECT_FALSE(panTop.CanFocus());
    EXPECT_FALSE(gridC.CanFocus()) << "on a page that is not active";
    EXPECT_FALSE(form.FocusControl(&gridC));
    EXPECT_TRUE(gridA.CanFocus());
    panTop.SetEnabled(false);
    EXPECT_FALSE(gridA.CanFocus()) << "inside a disabled panel";
    panTop.SetEnabled(true);
    panTop.SetVisible(false);
    EXPECT_FALSE(gridA.CanFocus()) << "inside a hidden panel";
    EXPECT_FALSE(gridA.SetFocus());
    EXPECT_EQ(form.ActiveControl(), nullptr);
    EXPECT_EQ(trace.str(), "");
    TDBGrid orphan{&form, "orphan", nullptr};
    EXPECT_FALSE(orphan.CanFocus()) << "on no form";
}

// The order is the form's: parents before children, hidden pages and buttons skipped.
TEST_F(FocusTest, CtrlTabGoesToTheNextControlThatTakesTheFocusAndWraps) {
    form.FocusControl(&gridA);
    gridA.UserKey(VK_TAB, ssCtrl);
    EXPECT_EQ(form.ActiveControl(), &pgc);
    EXPECT_TRUE(form.SelectNext(&pgc, true));
    EXPECT_EQ(form.ActiveControl(), &gridB);
    trace.clear();
    gridB.UserKey(VK_TAB, ssCtrl);
    EXPECT_EQ(trace.str(), "exit gridB, exit panInner, exit tsh1, exit pgc, enter panTop, enter gridA");
    gridA.UserKey(VK_TAB, ssCtrl | ssShift);
    EXPECT_EQ(form.ActiveControl(), &gridB);
    gridB.OnExit = [](TObject&) { Abort(); };
    EXPECT_THROW(gridB.UserKey(VK_TAB, ssCtrl), EAbort);
    EXPECT_EQ(form.ActiveControl(), &gridB) << "a refused exit keeps the focus";
}

TEST_F(FocusTest, FocusingNothingLeavesEveryContainer) {
    form.FocusControl(&gridB);
    trace.clear();
    EXPECT_TRUE(form.FocusControl(nullptr));
    EXPECT_EQ(trace.str(), "exit gridB, exit panInner, exit tsh1, exit pgc");
    EXPECT_EQ(form.ActiveControl(), nullptr);
}

TEST_F(FocusTest, ObserversHearOfFocusAndFlagChanges) {
    tktest::Trace changes;
    for (TComponent* c : std::initializer_list<TComponent*>{&gridA, &gridB, &panTop})
        c->OnChanged().subscribe([&](TComponent& s) { changes("changed " + s.Name()); });
    form.FocusControl(&gridA);
    form.FocusControl(&gridB);
    panTop.SetEnabled(true);  // no change, no news
    panTop.SetEnabled(false);
    EXPECT_EQ(changes.str(), "changed gridA, changed gridA, changed gridB, changed panTop");
}

TEST_F(FocusTest, DestroyedControlGivesUpTheFocus) {
    auto temp = std::make_unique<TDBGrid>(&form, "temp", &form);
    form.FocusControl(temp.get());
    temp.reset();
    EXPECT_EQ(form.ActiveControl(), nullptr);
    EXPECT_EQ(form.FindComponent("temp"), nullptr);
}

TEST(Component, FindComponentSearchesOwnedComponentsByExactName) {
    TComponent root{nullptr, "root"};
    TComponent module{&root, "module"};
    TComponent deep{&module, "cdsCargo"};
    EXPECT_EQ(root.FindComponent("cdsCargo"), &deep);
    EXPECT_EQ(root.FindComponent("cdscargo"), nullptr);
    EXPECT_EQ(root.FindComponent("module"), &module);
    EXPECT_EQ(module.FindComponent("root"), nullptr);
    EXPECT_EQ(deep.Owner(), &module);
}

TEST(Component, OwnedComponentOutlivingItsOwnerForgetsIt) {
    auto owner = std::make_unique<TComponent>(nullptr, "owner");
    TComponent child{owner.get(), "child"};
    owner.reset();
    EXPECT_EQ(child.Owner(), nullptr);
}

}  // namespace
