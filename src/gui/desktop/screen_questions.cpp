#include "gui/desktop/screen_questions.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <span>

#include "framework/consiste.h"
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
#include "gui/desktop/workspace.h"
#include "gui/report/commission_data.h"
#include "model/code_tables.h"
#include "server/rdm_comissao.h"
#include "toolkit/formats.h"
#include "toolkit/tdbgrid.h"
#include "toolkit/tfield.h"
#include "toolkit/tpagecontrol.h"
#include "wire/datetime.h"
#include "wire/lists.h"
#include "wire/texts.h"

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

// The screen's data set of each list the history names.
constexpr std::pair<const char*, const char*> kListSets[] = {
    {"COMISSAO", "cdsComissao"},       {"CARGO", "cdsCargo"},          {"TIPOEVENTO", "cdsEvento"},
    {"PROMOCAO", "cdsPromocao"},       {"FAIXACARGO", "cdsPercCargo"}, {"FAIXATIPOEVENTO", "cdsPercEvento"},
    {"FAIXAPROMOCAO", "cdsPercPromocao"}};
// The code fields whose grids show a word for the code.
constexpr std::pair<const char*, std::span<const wire::CodeEntry>> kCodeFields[] = {
    {"IDCARGOVEND", model::kCargoCodes}, {"IDDTBASECOMISPROMO", model::kDataBaseCodes}};

// A field of a history row in the words of its grid: the column title, the value in the
// field's format.
std::pair<std::string, std::string> historyWords(const tk::TForm& form, const std::string& list,
                                                 const HistoryField& kept) {
    const tk::TClientDataSet* set = nullptr;
    for (auto [name, setName] : kListSets)
        if (list == name) set = Named<tk::TClientDataSet>(form, setName);
    const tk::TField* field = set ? set->FindField(kept.name) : nullptr;
    if (!field) return {kept.name, kept.value};
    const std::string title = field->DisplayLabel.empty() ? kept.name : field->DisplayLabel;
    if (kept.value.empty()) return {title, kept.value};
    const auto* messages = Named<fw::TMessages>(form, "msgPadrao");
    for (auto [name, codes] : kCodeFields)
        if (kept.name == name)
            for (const auto& entry : codes)
                if (kept.value == entry.code) return {title, messages ? messages->Msg(entry.messageKey) : entry.code};
    try {
        if (field->DataType() == wire::FieldType::Float && !field->DisplayFormat.empty())
            return {title, tk::FormatFloat(field->DisplayFormat, std::stod(kept.value))};
    } catch (const std::exception&) {
        // kept as it is
    }
    if (field->DataType() == wire::FieldType::DateTime)
        if (const auto day = wire::DateTime::parseIso(kept.value)) return {title, day->brazilianDate()};
    return {title, kept.value};
}

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
        auto wordsOf = [this](const host::SaleAnswer& answer) {
            SaleDialog::Words words;
            loop_.run([&] {
                if (view_ && view_->form()) words = describe(*view_->form(), answer);
            });
            return words;
        };
        dialog_ = new SaleDialog(std::move(types), std::move(positions), ask, mdi_.window(), wordsOf);
        dialog_->setAttribute(Qt::WA_DeleteOnClose);
    }
    dialog_->show();
    dialog_->raise();
    dialog_->activateWindow();
}

SaleDialog::Words ScreenQuestions::describe(tk::TForm& form, const host::SaleAnswer& answer) {
    SaleDialog::Words words;
    const auto* tables = Named<tk::TClientDataSet>(form, "cdsComissao");
    const tk::TField* name = tables ? tables->FindField("DSCOMISSAOOREV") : nullptr;
    const int row = name && answer.table ? RowOf(*tables, "NRCOMISSAOOREV", *answer.table) : 0;
    if (row > 0) words.table = tables->DisplayTextAt(row, *name);
    const ScopePlace* place = placeOf(answer.scope);
    if (!place || !answer.table || !answer.rule || !answer.band) return words;
    // The band's interval as its grid shows it, read from the server: the screen may stand
    // on another rule.
    if (!bandWords_) bandWords_ = std::make_unique<CommissionData>();
    auto* bands = Named<tk::TClientDataSet>(*bandWords_, place->bands);
    if (!bands) return words;
    server::RdmComissao server(connectionOf(form));
    bands->SetData(fw::Consiste::CheckResultServ(server.GetPercentual(*answer.table, *answer.rule, answer.scope), true, 0));
    const int band = RowOf(*bands, "NRFAIXACOMISSAOOREV", *answer.band);
    const tk::TField* ini = bands->FindField("VRINICIAL");
    const tk::TField* fin = bands->FindField("VRFINAL");
    if (band > 0 && ini && fin)
        words.band = "de " + bands->DisplayTextAt(band, *ini) + " a " + bands->DisplayTextAt(band, *fin);
    return words;
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
        findingsWindow_ = AddToWorkspace(mdi_, view, {600, 300});
        findingsWindow_->setObjectName(QStringLiteral("findingsWindow"));
        findingsWindow_->setWindowTitle(QStringLiteral("Verificar tabela"));
        findingsWindow_->setAttribute(Qt::WA_DeleteOnClose);
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
        history_ = new HistoryView([this](const std::string& list, const HistoryField& field) {
            if (!view_ || !view_->form()) return std::pair{field.name, field.value};
            return historyWords(*view_->form(), list, field);
        });
        historyWindow_ = AddToWorkspace(mdi_, history_, {800, 300});
        historyWindow_->setObjectName(QStringLiteral("historyWindow"));
        historyWindow_->setWindowTitle(QStringLiteral("Histórico"));
        historyWindow_->setAttribute(Qt::WA_DeleteOnClose);
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
