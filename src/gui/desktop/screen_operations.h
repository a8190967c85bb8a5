// The commission screen's runs in the desktop host: Operação › Apurar vendas… (a file of
// sales paid by the server's tables, in a window of its own) and Operação › Copiar tabela…
// (the current table copied to a new period, the screen then moved to the copy).
#pragma once
#include <QObject>
#include <QPointer>
#include <string>
#include <vector>

class QAction;
class QMdiArea;
class QMdiSubWindow;

namespace gui {

class ActionLoop;
class FormView;
class GuiUserInterface;
class RunWindow;

class ScreenOperations : public QObject {
    Q_OBJECT

public:
    // When `view` shows the commission screen, adds the items to its Operação menu and returns
    // them, owned by the view; nullptr for any other form.
    static ScreenOperations* Attach(FormView& view, QMdiArea& mdi, ActionLoop& loop, GuiUserInterface& ui);
    ~ScreenOperations() override;

    QAction& runAction() const { return *runAction_; }
    QAction& copyAction() const { return *copyAction_; }

    // Opens the run's window (or brings it to the front).
    void openRun();
    // Asks for the copy of the current stored table; once made, moves the screen to the new
    // table and tells what was left out.
    void openCopy();

    // The run's window; nullptr when closed.
    RunWindow* run() const;

private:
    ScreenOperations(FormView& view, QMdiArea& mdi, ActionLoop& loop, GuiUserInterface& ui);
    void detach();
    // Moves the screen to table `number` the way a user does: reads the tables again and
    // clicks its row.
    void moveToTable(double number);

    FormView* view_;
    QMdiArea& mdi_;
    ActionLoop& loop_;
    GuiUserInterface& ui_;
    QAction* runAction_ = nullptr;
    QAction* copyAction_ = nullptr;
    QPointer<QMdiSubWindow> runWindow_;
    QPointer<RunWindow> run_;
};

}  // namespace gui
