// The main window's status line about the screen's work: a short word after a row is saved,
// and, after a band refused for overlapping another, which band that is (the refusal itself
// stays the screen's own message).
#pragma once
#include <QObject>
#include <QPointer>
#include <memory>
#include <string>
#include <vector>

class QStatusBar;

namespace tk {
class TClientDataSet;
}

namespace gui {

class ActionLoop;
class DataSetWatch;
class FormView;
class GuiUserInterface;

class ScreenStatus : public QObject {
    Q_OBJECT

public:
    static constexpr const char* kSaved = "Registro gravado.";

    // Follows the screen's lists when `view` shows the commission screen; owned by the view.
    static ScreenStatus* Attach(FormView& view, ActionLoop& loop, GuiUserInterface& ui, QStatusBar& status);
    ~ScreenStatus() override;

    // "A faixa informada sobrepõe a faixa de 0,00 a 100,00." for the band being edited in
    // `bands` and the first other row it overlaps; empty when it overlaps none.
    static std::string OverlapText(const tk::TClientDataSet& bands);

private:
    ScreenStatus(FormView& view, ActionLoop& loop, GuiUserInterface& ui, QStatusBar& status);
    void detach();
    void refused(const std::string& text);

    ActionLoop& loop_;
    GuiUserInterface& ui_;
    QPointer<QStatusBar> status_;
    std::vector<std::unique_ptr<DataSetWatch>> lists_;
    std::vector<tk::TClientDataSet*> bands_;
    std::vector<int> states_;  // each list's last state
    bool posted_ = false;      // a row went to the change log in the running action
    int refusals_ = 0;         // errors shown while it ran
    int afterActionId_ = 0;
    bool attached_ = true;
};

}  // namespace gui
