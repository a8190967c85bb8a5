#include "gui/desktop/screen_operations.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMessageBox>
#include <nlohmann/json.hpp>
#include <regex>

#include "batch/rules_reply.h"
#include "commission/engine.h"
#include "commission/period_shift.h"
#include "framework/host_services.h"
#include "framework/tnetconnection.h"
#include "gui/desktop/action_loop.h"
#include "gui/desktop/form_view.h"
#include "gui/desktop/gui_user_interface.h"
#include "gui/desktop/run_window.h"
#include "gui/desktop/screen_lookup.h"
#include "gui/dialogs/table_copy_dialog.h"
#include "toolkit/tdbgrid.h"
#include "toolkit/tfield.h"
#include "toolkit/tpagecontrol.h"
#include "toolkit/tspeedbutton.h"
#include "wire/datetime.h"

namespace gui {
namespace {

QString qs(const std::string& text) { return QString::fromStdString(text); }

constexpr int kYear = 12;  // months: next period's table starts a year on

tk::TClientDataSet* tablesOf(const tk::TForm& form) { return Named<tk::TClientDataSet>(form, "cdsComissao"); }

// The stored table the screen stands on; 0 when none (no table, or a new one not yet saved).
double currentTable(const tk::TForm& form) {
    const auto* tables = tablesOf(form);
    if (!tables || !tables->Active() || tables->IsEmpty()) return 0;
    const tk::TField* nr = tables->FindField("NRCOMISSAOOREV");
    return nr && !nr->IsNull() ? nr->AsFloat() : 0;
}

fw::TNetConnection& connectionOf(const tk::TForm& form) {
    auto* connection = Named<fw::TNetConnection>(form, "NetComissao");
    if (!connection) throw std::runtime_error("A tela não tem conexão com o servidor de aplicação.");
    return *connection;
}

// The date a year after `date`, 29/02 landing on 28/02.
std::string yearOn(const wire::DateTime& date) {
    return wire::DateTime::fromDays(commission::addMonths(date.days(), kYear)).brazilianDate();
}

// Every year in the description one year on ("Tabela 2025" becomes "Tabela 2026").
std::string describedYearOn(const std::string& description) {
    static const std::regex year(R"(\b(19|20)\d\d\b)");
    std::string out;
    auto at = description.cbegin();
    for (std::sregex_iterator m(description.begin(), description.end(), year), end; m != end; ++m) {
        out.append(at, (*m)[0].first);
        out += std::to_string(std::stoi(m->str()) + 1);
        at = (*m)[0].second;
    }
    out.append(at, description.cend());
    return out;
}

}  // namespace

ScreenOperations* ScreenOperations::Attach(FormView& view, QMdiArea& mdi, ActionLoop& loop, GuiUserInterface& ui) {
    if (!view.form() || !Named<fw::TNetConnection>(*view.form(), "NetComissao") || !tablesOf(*view.form()))
        return nullptr;
    QAction* operation = view.action("mnuOperacao");
    if (!operation || !operation->menu()) return nullptr;
    return new ScreenOperations(view, mdi, loop, ui);
}

ScreenOperations::ScreenOperations(FormView& view, QMdiArea& mdi, ActionLoop& loop, GuiUserInterface& ui)
    : QObject(&view), view_(&view), mdi_(mdi), loop_(loop), ui_(ui) {
    setObjectName(QStringLiteral("screenOperations"));
    QMenu* operation = view.action("mnuOperacao")->menu();
    operation->addSeparator();
    runAction_ = operation->addAction(QStringLiteral("&Apurar vendas…"), this, [this] { openRun(); });
    runAction_->setObjectName(QStringLiteral("mnuApurarVendas"));
    copyAction_ = operation->addAction(QStringLiteral("C&opiar tabela…"), this, [this] { openCopy(); });
    copyAction_->setObjectName(QStringLiteral("mnuCopiarTabela"));
    connect(&view, &FormView::detaching, this, [this] { detach(); });
}

ScreenOperations::~ScreenOperations() { detach(); }

RunWindow* ScreenOperations::run() const { return run_; }

void ScreenOperations::detach() {
    if (!view_) return;
    view_ = nullptr;
    runAction_->setEnabled(false);
    copyAction_->setEnabled(false);
    // The run reads the tables through the screen's connection: it goes with the screen.
    if (runWindow_) runWindow_->close();
}

void ScreenOperations::openRun() {
    if (!view_) return;
    if (!runWindow_) {
        RunWindow::Tables tables;
        loop_.run([&] {
            const tk::TClientDataSet* set = tablesOf(*view_->form());
            const tk::TField* name = set->FindField("DSCOMISSAOOREV");
            int nr = -1;
            for (std::size_t i = 0; i < set->Fields().size(); ++i)
                if (set->Fields()[i]->FieldName() == "NRCOMISSAOOREV") nr = static_cast<int>(i);
            if (!set->Active() || nr < 0 || !name) return;
            for (int r = 1; r <= set->RecordCount(); ++r) {
                const wire::Value value = set->ValueAt(r, nr);
                if (const auto* n = std::get_if<double>(&value)) tables.emplace_back(*n, set->DisplayTextAt(r, *name));
            }
        });
        auto fetch = [this] {
            std::shared_ptr<const commission::Engine> engine;
            loop_.run([&] {
                if (!view_ || !view_->form()) return;
                const auto reply = connectionOf(*view_->form()).CallResult("GetRegrasComissao", {});
                engine = std::make_shared<const commission::Engine>(
                    std::make_shared<const commission::Snapshot>(batch::snapshotFromReply(reply)));
            });
            return engine;
        };
        run_ = new RunWindow(fetch, std::move(tables), fw::Velmora::FiliProc(), ui_);
        runWindow_ = mdi_.addSubWindow(run_);
        runWindow_->setObjectName(QStringLiteral("runWindow"));
        runWindow_->setAttribute(Qt::WA_DeleteOnClose);
        runWindow_->resize(900, 620);
    }
    runWindow_->show();
    mdi_.setActiveSubWindow(runWindow_);
}

void ScreenOperations::openCopy() {
    if (!view_) return;
    double source = 0;
    QString description, start, end;
    loop_.run([&] {
        const tk::TForm& form = *view_->form();
        source = currentTable(form);
        if (source <= 0) {
            ui_.ShowMessageError("Escolha uma tabela de comissão gravada para copiar.");
            return;
        }
        const tk::TClientDataSet& tables = *tablesOf(form);
        description = qs(describedYearOn(tables.FieldByName("DSCOMISSAOOREV").AsString()));
        start = qs(yearOn(tables.FieldByName("DTVALIDADEINI").AsDateTime()));
        end = qs(yearOn(tables.FieldByName("DTVALIDADEFIN").AsDateTime()));
    });
    if (source <= 0) return;
    host::TableCopyAnswer made;
    auto ask = [this, &made](const host::TableCopyRequest& request) {
        std::string refusal;
        loop_.run([&] {
            if (!view_ || !view_->form()) {
                refusal = "A tela foi fechada.";
                return;
            }
            try {
                made = host::AskTableCopy(connectionOf(*view_->form()), request);
            } catch (const std::runtime_error& e) {
                refusal = e.what();
            }
        });
        return refusal;
    };
    TableCopyDialog dialog(source, description, start, end, ask, mdi_.window());
    if (ui_.runModal(dialog) != QDialog::Accepted) return;
    moveToTable(made.table);
    QString told = QStringLiteral("Tabela %1 criada a partir da tabela %2.")
                       .arg(QString::number(made.table, 'f', 0), QString::number(source, 'f', 0));
    if (made.left.empty()) {
        told += QStringLiteral(" Todas as promoções foram copiadas.");
    } else {
        told += QStringLiteral(" Não foram copiadas:");
        for (const std::string& left : made.left) told += QStringLiteral("\n• ") + qs(left);
    }
    QMessageBox box(QMessageBox::Information, QStringLiteral("Copiar tabela"), told, QMessageBox::Ok, mdi_.window());
    box.setObjectName(QStringLiteral("tableCopiedBox"));
    ui_.runModal(box);
}

void ScreenOperations::moveToTable(double number) {
    loop_.run([this, number] {
        if (!view_ || !view_->form()) return;
        tk::TForm& form = *view_->form();
        auto* pages = Named<tk::TPageControl>(form, "pgcPadrao");
        auto* first = Named<tk::TTabSheet>(form, "tshFolhaDados");
        auto* refresh = Named<tk::TSpeedButton>(form, "sbtVerificar");
        auto* grid = Named<tk::TDBGrid>(form, "dbgPadrao");
        if (!pages || !first || !refresh || !grid) return;
        if (pages->ActivePage() != first && !pages->UserSelectTab(first)) return;
        // The tables read again: the new one is among them.
        if (!refresh->UserClick()) return;
        if (const int row = RowOf(*tablesOf(form), "NRCOMISSAOOREV", number); row > 0) grid->UserSelectRow(row);
    });
}

}  // namespace gui
