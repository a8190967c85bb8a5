// The commission screen's questions in the desktop host: Manutenção › Simular venda…,
// Verificar tabela and Histórico, added to the screen's own menu; choosing a finding moves the screen
// to it as a user would, by clicking its page's tab and its row.
#pragma once
#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>

#include "gui/dialogs/sale_dialog.h"

#include "host/commission_questions.h"

namespace tk {
class TForm;
}

class QAction;
class QMdiArea;
class QMdiSubWindow;

namespace gui {

class ActionLoop;
class CommissionData;
class FindingsView;
class FormView;
class GuiUserInterface;
class HistoryView;
class SaleDialog;

class ScreenQuestions : public QObject {
    Q_OBJECT

public:
    // When `view` shows the commission screen, adds the items to its Manutenção menu and
    // returns the questions, owned by the view; nullptr for any other form.
    static ScreenQuestions* Attach(FormView& view, QMdiArea& mdi, ActionLoop& loop, GuiUserInterface& ui);
    ~ScreenQuestions() override;

    QAction& simulateAction() const { return *simulateAction_; }
    QAction& checkAction() const { return *checkAction_; }
    QAction& historyAction() const { return *historyAction_; }

    // Opens the sale dialog (or brings it to the front).
    void openSimulation();
    // Verifies the current table and lists its findings in their window.
    void checkTable();
    // Shows the change history of the current table in its window.
    void showHistory();
    // Moves the screen to a finding's table, page, rule and band, stopping where a check refuses.
    void moveTo(const host::Finding& finding);

    // The open windows; nullptr when closed.
    SaleDialog* simulation() const;
    FindingsView* findings() const;
    HistoryView* history() const;

private:
    ScreenQuestions(FormView& view, QMdiArea& mdi, ActionLoop& loop, GuiUserInterface& ui);
    void detach();
    std::vector<host::EventType> catalogue();
    // The words of an answer's table and band, read from the screen and the server.
    SaleDialog::Words describe(tk::TForm& form, const host::SaleAnswer& answer);
    // Runs `ask` as a user action on the screen's stored current table, and returns the title
    // `titleFormat` gives it; without such a table shows `refusal` instead.
    QString askAboutTable(const char* refusal, const QString& titleFormat,
                          const std::function<void(tk::TForm&, double)>& ask);

    FormView* view_;
    QMdiArea& mdi_;
    ActionLoop& loop_;
    GuiUserInterface& ui_;
    QAction* simulateAction_ = nullptr;
    QAction* checkAction_ = nullptr;
    QAction* historyAction_ = nullptr;
    QPointer<SaleDialog> dialog_;
    std::unique_ptr<CommissionData> bandWords_;  // the band lists the answers' bands are read into
    QPointer<QMdiSubWindow> findingsWindow_;
    QPointer<FindingsView> findings_;
    QPointer<QMdiSubWindow> historyWindow_;
    QPointer<HistoryView> history_;
};

}  // namespace gui
