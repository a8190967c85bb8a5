// The application's forms (creation, activation, closing, release) and clickable controls.
#include <gtest/gtest.h>

#include "toolkit/exceptions.h"
#include "toolkit/tapplication.h"
#include "toolkit/tmenuitem.h"
#include "toolkit/tspeedbutton.h"
#include "toolkit_test_support.h"

namespace {

using namespace tk;

class AppTest : public ::testing::Test {
protected:
    AppTest() { TApplication::SetInstance(&app); }
    ~AppTest() override { TApplication::SetInstance(nullptr); }
    tktest::RecordingUI ui;
    TApplication app{ui};
    tktest::Trace trace;
};

// Tells the test when it dies, and can fail while being created.
class ProbeForm : public TForm {
public:
    ProbeForm(TComponent* owner, tktest::Trace& trace, bool failCreate) : TForm(owner, "frmProbe"), trace_(trace) {
        OnCreate = [failCreate, this](TObject&) {
            trace_("create");
            if (failCreate) throw std::runtime_error("no connection");
        };
        OnActivate = [this](TObject&) { trace_("activate"); };
    }
    ~ProbeForm() override { trace_("destroyed"); }

private:
    tktest::Trace& trace_;
};

TEST_F(AppTest, InstanceIsTheInstalledApplication) {
    EXPECT_TRUE(TApplication::HasInstance());
    EXPECT_EQ(&TApplication::Instance(), &app);
    TApplication::SetInstance(nullptr);
    EXPECT_FALSE(TApplication::HasInstance());
    EXPECT_THROW(TApplication::Instance(), std::logic_error);
}

TEST_F(AppTest, FormWhoseCreationFailsIsDestroyedAndTheFailurePasses) {
    EXPECT_THROW(app.CreateForm<ProbeForm>(trace, true), std::runtime_error);
    EXPECT_EQ(trace.str(), "create, destroyed");
    EXPECT_TRUE(app.Forms().empty());
    EXPECT_EQ(app.FindComponent("frmProbe"), nullptr);
}

TEST_F(AppTest, ShowActivatesOnceUntilAnotherWindowIsActive) {
    auto& form = app.CreateForm<ProbeForm>(trace, false);
    form.Show();
    form.Show();
    EXPECT_TRUE(form.IsShown());
    EXPECT_EQ(app.ActiveForm(), &form);
    app.ActivateForm(nullptr);
    app.ActivateForm(&form);
    EXPECT_EQ(trace.str(), "create, activate, activate");
    EXPECT_EQ(ui.log, (std::vector<std::string>{"shown", "shown"}));
}

TEST_F(AppTest, FailuresInOnActivateAreShownAndAbortsAreSilent) {
    TForm form{&app, "frm"};
    form.OnActivate = [](TObject&) { throw std::runtime_error("server down"); };
    app.ActivateForm(&form);
    EXPECT_EQ(app.ActiveForm(), &form);
    app.ActivateForm(nullptr);
    form.OnActivate = [](TObject&) { Abort(); };
    app.ActivateForm(&form);
    EXPECT_EQ(ui.log, (std::vector<std::string>{"error: server down"}));
}

TEST_F(AppTest, CloseWithFreeReleasesTheFormAtTheNextSafePoint) {
    auto& form = app.CreateForm<ProbeForm>(trace, false);
    form.OnClose = [this](TObject&, TCloseAction& action) {
        trace("close");
        action = TCloseAction::caFree;
    };
    form.Show();
    form.Close();
    EXPECT_EQ(trace.str(), "create, activate, close") << "still alive inside the handler's turn";
    EXPECT_TRUE(app.Forms().empty());
    EXPECT_EQ(app.ActiveForm(), nullptr);
    app.ProcessReleased();
    EXPECT_EQ(trace.str(), "create, activate, close, destroyed");
    EXPECT_EQ(ui.log, (std::vector<std::string>{"shown", "closed"}));
}

TEST_F(AppTest, CloseDefaultsToHidingAndNoneKeepsTheForm) {
    TForm form{&app, "frm"};
    form.Show();
    form.OnClose = [](TObject&, TCloseAction& action) { action = TCloseAction::caNone; };
    form.Close();
    EXPECT_TRUE(form.IsShown());
    form.OnClose = nullptr;
    form.Close();
    EXPECT_FALSE(form.IsShown());
    EXPECT_EQ(app.ActiveForm(), nullptr);
}

TEST_F(AppTest, HandleExceptionShowsAllButAbortsAndThenWhatWasNotedOnTheWay) {
    app.HandleException(std::make_exception_ptr(EAbort()));
    app.HandleException(std::make_exception_ptr(EDatabaseError("Field 'X' not found")));
    // An undo that failed while the send was failing: shown after the send's failure.
    app.NoteFailure(std::make_exception_ptr(std::runtime_error("reload failed")));
    app.HandleException(std::make_exception_ptr(std::runtime_error("send failed")));
    app.NoteFailure(std::make_exception_ptr(std::runtime_error("undo failed")));
    app.HandleException(std::make_exception_ptr(EAbort()));
    EXPECT_EQ(ui.log, (std::vector<std::string>{"error: Field 'X' not found", "error: send failed",
                                                "error: reload failed", "error: undo failed"}));
}

TEST(Clickable, DisabledOrHiddenButtonsRefuseTheClick) {
    TForm form{nullptr, "frm"};
    TPanel panel{&form, "panMenu", &form};
    TSpeedButton button{&form, "sbtIncluir", &panel};
    int clicks = 0;
    button.OnClick = [&](TObject&) { ++clicks; };
    EXPECT_TRUE(button.UserClick());
    button.SetEnabled(false);
    EXPECT_FALSE(button.UserClick());
    button.SetEnabled(true);
    button.SetVisible(false);
    EXPECT_FALSE(button.UserClick());
    button.SetVisible(true);
    panel.SetEnabled(false);
    EXPECT_FALSE(button.UserClick());
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(button.CanFocus()) << "toolbar buttons never take the focus";
}

TEST(Clickable, MenuItemsRefuseWhenDisabledHiddenOrUnderADisabledMenu) {
    TComponent owner{nullptr, "frm"};
    TMenuItem top{&owner, "mnuOperacao", nullptr, "&Operação"};
    TMenuItem item{&owner, "mnuTipoEvento", &top, "&Tipo de Evento"};
    int clicks = 0;
    item.OnClick = [&](TObject&) { ++clicks; };
    EXPECT_TRUE(item.UserClick());
    item.SetEnabled(false);
    EXPECT_FALSE(item.UserClick());
    item.SetEnabled(true);
    item.SetVisible(false);
    EXPECT_FALSE(item.UserClick());
    item.SetVisible(true);
    top.SetEnabled(false);
    EXPECT_FALSE(item.UserClick());
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(top.Items().size(), 1u);
}

TEST(Clickable, CheckMarkChangesAreTold) {
    TMenuItem item{nullptr, "mnuPromocao", nullptr, "&Promoção"};
    int told = 0;
    item.OnChanged().subscribe([&](TComponent&) { ++told; });
    item.SetChecked(true);
    item.SetChecked(true);
    item.SetCaption("P");
    EXPECT_TRUE(item.Checked());
    EXPECT_EQ(told, 2);
}

}  // namespace
