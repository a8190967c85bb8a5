#include "gui/desktop/screen_questions.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>

#include "framework/host_services.h"
#include "framework/tmessages.h"
#include "framework/tnetconnection.h"
#include "gui/desktop/action_loop.h"
#include "gui/dialogs/findings_view.h"
#include "gui/desktop/form_view.h"
#include "gui/desktop/gui_user_interface.h"
#include "gui/dialogs/history_view.h"
#include "gui/dialogs/sale_dialog.h"
#include "gui/desktop/screen_lookup.h"
#include "model/code_tables.h"
#include "toolkit/tdbgrid.h"
#include "toolkit/tfield.h"
#include "toolkit/tpagecontrol.h"
#include "wire/lists.h"

namespace gui {
namespace {

// Where a scope's rules and bands are on the screen.
struct ScopePlace {
    wire::Scope scope;
    const char* page;
    const char* ruleGrid;
    const char* rules;
    const char* bandGrid;
    const char* bands;
    // The field of a rule's number in its list.
    const char* ruleNumber() const { return wire::lists::rulesOf(scope).key().name; }
};
constexpr ScopePlace kPlaces[] = {
    {wire::Scope::Cargo, "tshFormulario", "dbgCargo", "cdsCargo", "dbgPercCargo", "cdsPercCargo"},
    {wire::Scope::TipoEvento, "tshEvento", "dbgEvento", "cdsEvento", "dbgPercEvento", "cdsPercEvento"},
    {wire::Scope::Promocao, "tshPromocao", "dbgPromocao", "cdsPromocao", "dbgPercPromocao", "cdsPercPromocao"},
};

const ScopePlace* placeOf(const std::string& scope) {
    for (const ScopePlace& p : kPlaces)
        if (scope == wire::scopeWord(p.scope)) return &p;
    return nullptr;
}

// The stored table the screen stands on; 0 when none (no table, or a new one not yet saved).
double currentTable(const tk::TForm& form) {
    const auto* tables = Named<tk::TClientDataSet>(form, "cdsComissao");
    if (!tables || !tables->Active() || tables->IsEmpty()) return 0;
    const tk::TField* nr = tables->FindField("NRCOMISSAOOREV");
    return nr && !nr->IsNull() ? nr->AsFloat() : 0;
}

fw::TNetConnection& connectionOf(const tk::TForm& form) {
    auto* connection = Named<fw::TNetConnection>(form, "NetComissao");
    if (!connection) throw std::runtime_error("A tela não tem conexão com o servidor de aplicação.");
    return *connection;
}

}  // namespace

ScreenQuestions* ScreenQuestions::Attach(FormView& view, QMdiArea& mdi, ActionLoop& loop, GuiUserInterface& ui) {
    if (!view.form() || !Named<fw::TNetConnection>(*view.form(), "NetComissao") ||
        !Named<tk::TPageControl>(*view.form(), "pgcPadrao"))
        return nullptr;
    QAction* maintenance = view.action("mnuManutencao");
    if (!maintenance || !maintenance->menu()) return nullptr;
    return new ScreenQuestions(view, mdi, loop, ui);
}

ScreenQuestions::ScreenQuestions(FormView& view, QMdiArea& mdi, ActionLoop& loop, GuiUserInterface& ui)
    : QObject(&view), view_(&view), mdi_(mdi), loop_(loop), ui_(ui) {
    setObjectName(QStringLiteral("screenQuestions"));
    QMenu* maintenance = view.action("mnuManutencao")->menu();
    maintenance->addSeparator();
    simulateAction_ = maintenance->addAction(QStringLiteral("&Simular venda…"), this, [this] { openSimulation(); });
    simulateAction_->setObjectName(QStringLiteral("mnuSimularVenda"));
    checkAction_ = maintenance->addAction(QStringLiteral("&Verificar tabela"), this, [this] { checkTable(); });
    checkAction_->setObjectName(QStringLiteral("mnuVerificarTabela"));
    historyAction_ = maintenance->addAction(QStringLiteral("&Histórico"), this, [this] { showHistory(); });
    historyAction_->setObjectName(QStringLiteral("mnuHistorico"));
    connect(&view, &FormView::detaching, this, [this] { detach(); });
}

ScreenQuestions::~ScreenQuestions() { detach(); }

SaleDialog* ScreenQuestions::simulation() const { return dialog_; }

FindingsView* ScreenQuestions::findings() const { return findings_; }

HistoryView* ScreenQuestions::history() const { return history_; }

void ScreenQuestions::detach() {
    if (!view_) return;
    view_ = nullptr;
    for (QAction* a : {simulateAction_, checkAction_, historyAction_}) a->setEnabled(false);
    // The questions are the screen's: they go with it.
    if (dialog_) dialog_->close();
    if (findingsWindow_) findingsWindow_->close();
    if (historyWindow_) historyWindow_->close();
}

std::vector<host::EventType> ScreenQuestions::catalogue() {
    return host::ReadEventTypes(fw::HostServices::Instance().LocalDatabase());
}

void ScreenQuestions::openSimulation() {
    if (!view_) return;
    if (!dialog_) {
        std::vector<host::EventType> types;
        std::vector<std::pair<std::string, std::string>> positions;
        loop_.run([&] {
            tk::TForm& form = *view_->form();
            types = catalogue();
            const auto* messages = Named<fw::TMessages>(form, "msgPadrao");
            for (const auto& entry : model::kCargoCodes)
                positions.emplace_back(entry.code, messages ? messages->Msg(entry.messageKey) : entry.messageKey);
        });
        auto ask = [this](const host::Sale& sale) {
            std::optional<host::SaleAnswer> answer;
            loop_.run([&] {
                if (view_ && view_->form()) answer = host::AskSale(connectionOf(*view_->form()), sale);
            });
            return answer;
        };
        dialog_ = new SaleDialog(std::move(types), std::move(positions), ask, mdi_.window());
        dialog_->setAttribute(Qt::WA_DeleteOnClose);
    }
    dialog_->show();
    dialog_->raise();
    dialog_->activateWindow();
}

QString ScreenQuestions::askAboutTable(const char* refusal, const QString& titleFormat,
                                       const std::function<void(tk::TForm&, double)>& ask) {
    QString title;
    loop_.run([&] {
        tk::TForm& form = *view_->form();
        const double table = currentTable(form);
        if (table <= 0) {
            ui_.ShowMessageError(refusal);
            return;
        }
        const tk::TField* name = Named<tk::TClientDataSet>(form, "cdsComissao")->FindField("DSCOMISSAOOREV");
        title = titleFormat.arg(QString::fromStdString(name ? name->DisplayText() : ""));
        ask(form, table);
    });
    return title;
}

void ScreenQuestions::checkTable() {
    if (!view_) return;
    std::optional<std::vector<host::Finding>> found;
    const QString title = askAboutTable("Escolha uma tabela de comissão gravada para verificar.",
                                        QStringLiteral("Verificação da tabela %1"), [&](tk::TForm& form, double table) {
                                            found = host::CheckTable(connectionOf(form), table, catalogue());
                                        });
    if (!found) return;
    if (!findingsWindow_) {
        auto* view = new FindingsView;
        view->onChosen = [this](const host::Finding& f) { moveTo(f); };
        findings_ = view;
        findingsWindow_ = mdi_.addSubWindow(view);
        findingsWindow_->setObjectName(QStringLiteral("findingsWindow"));
        findingsWindow_->setWindowTitle(QStringLiteral("Verificar tabela"));
        findingsWindow_->setAttribute(Qt::WA_DeleteOnClose);
        findingsWindow_->resize(600, 300);
    }
    findings_->setFindings(title, std::move(*found));
    findingsWindow_->show();
    mdi_.setActiveSubWindow(findingsWindow_);
}

void ScreenQuestions::showHistory() {
    if (!view_) return;
    std::optional<std::vector<host::HistoryEntry>> entries;
    const QString title = askAboutTable("Escolha uma tabela de comissão gravada para ver o histórico.",
                                        QStringLiteral("Histórico da tabela %1"), [&](tk::TForm& form, double table) {
                                            entries = host::AskHistory(connectionOf(form), table);
                                        });
    if (!entries) return;
    if (!historyWindow_) {
        history_ = new HistoryView;
        historyWindow_ = mdi_.addSubWindow(history_);
        historyWindow_->setObjectName(QStringLiteral("historyWindow"));
        historyWindow_->setWindowTitle(QStringLiteral("Histórico"));
        historyWindow_->setAttribute(Qt::WA_DeleteOnClose);
        historyWindow_->resize(800, 300);
    }
    history_->setEntries(title, *entries);
    historyWindow_->show();
    mdi_.setActiveSubWindow(historyWindow_);
}

void ScreenQuestions::moveTo(const host::Finding& finding) {
    loop_.run([this, &finding] {
        if (!view_ || !view_->form()) return;
        tk::TForm& form = *view_->form();
        auto* pages = Named<tk::TPageControl>(form, "pgcPadrao");
        auto turnTo = [&](const char* name) {
            auto* page = Named<tk::TTabSheet>(form, name);
            return page && (pages->ActivePage() == page || pages->UserSelectTab(page));
        };
        // A click on the row holding `number`; false when the list does not show it.
        auto clickRow = [&](const char* grid, const char* set, const char* field, double number) {
            auto* g = Named<tk::TDBGrid>(form, grid);
            auto* data = Named<tk::TClientDataSet>(form, set);
            const int row = g && data ? RowOf(*data, field, number) : 0;
            if (row > 0) g->UserSelectRow(row);
            return row > 0;
        };
        const ScopePlace* place = placeOf(finding.scope);
        const double table = finding.tables.empty() ? 0 : finding.tables.front();
        if (!place || (table > 0 && currentTable(form) != table)) {
            if (!turnTo("tshFolhaDados")) return;
            if (table > 0) clickRow("dbgPadrao", "cdsComissao", "NRCOMISSAOOREV", table);
        }
        if (!place || !turnTo(place->page) || !finding.rule) return;
        if (clickRow(place->ruleGrid, place->rules, place->ruleNumber(), *finding.rule) && !finding.bands.empty())
            clickRow(place->bandGrid, place->bands, "NRFAIXACOMISSAOOREV", finding.bands.front());
    });
}

}  // namespace gui
