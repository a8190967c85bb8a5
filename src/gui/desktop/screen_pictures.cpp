#include "gui/desktop/screen_pictures.h"

#include <QAction>
#include <QFileDialog>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPrintDialog>
#include <QPrinter>
#include <QTimer>
#include <ctime>
#include <stdexcept>

#include "framework/consiste.h"
#include "framework/host_services.h"
#include "framework/tmessages.h"
#include "framework/tnetconnection.h"
#include "gui/desktop/action_loop.h"
#include "gui/desktop/data_set_watch.h"
#include "gui/pictures/band_chart_view.h"
#include "gui/pictures/chart_view.h"
#include "gui/report/commission_data.h"
#include "gui/report/commission_report.h"
#include "gui/desktop/form_view.h"
#include "gui/desktop/gui_user_interface.h"
#include "gui/desktop/layout_memory.h"
#include "gui/report/report_pdf.h"
#include "gui/desktop/screen_lookup.h"
#include "gui/desktop/workspace.h"
#include "gui/pictures/timeline_view.h"
#include "model/code_tables.h"
#include "server/rdm_comissao.h"
#include "toolkit/tdbgrid.h"
#include "toolkit/tpagecontrol.h"

namespace gui {
namespace {

// The scope pages: each with its rule list and the band list of its current rule.
struct ScopeNames {
    const char* page;
    const char* rules;
    const char* bands;
    const char* bandGrid;
};
constexpr ScopeNames kScopes[] = {{"tshFormulario", "cdsCargo", "cdsPercCargo", "dbgPercCargo"},
                                  {"tshEvento", "cdsEvento", "cdsPercEvento", "dbgPercEvento"},
                                  {"tshPromocao", "cdsPromocao", "cdsPercPromocao", "dbgPercPromocao"}};

wire::DateTime today() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return wire::DateTime::fromYmd(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}

// The visible fields' texts of the set's current row, as its grid shows them.
std::string rowText(const tk::TClientDataSet& set) {
    std::string out;
    if (!set.Active() || set.IsEmpty()) return out;
    for (const tk::TField* f : set.Fields()) {
        if (!f->Visible) continue;
        const std::string text = f->DisplayText();
        if (text.empty()) continue;
        if (!out.empty()) out += " · ";
        out += text;
    }
    return out;
}

}  // namespace

// The screen's components the pictures read and move, found by their names.
struct ScreenPictures::Screen {
    struct Scope {
        tk::TTabSheet& page;
        tk::TClientDataSet& rules;
        tk::TClientDataSet& bands;
        tk::TDBGrid& bandGrid;
    };
    tk::TClientDataSet& comissao;
    tk::TClientDataSet& promocao;
    tk::TPageControl& pages;
    tk::TTabSheet& tshFolhaDados;
    tk::TTabSheet& tshPromocao;
    tk::TDBGrid& dbgPadrao;
    tk::TDBGrid& dbgPromocao;
    fw::TNetConnection& connection;
    fw::TMessages& messages;
    std::vector<Scope> scopes;
    std::vector<std::unique_ptr<DataSetWatch>> watches;
    int pagesId = 0;

    static std::unique_ptr<Screen> Find(const tk::TForm& form) {
        auto* comissao = Named<tk::TClientDataSet>(form, "cdsComissao");
        auto* promocao = Named<tk::TClientDataSet>(form, "cdsPromocao");
        auto* pages = Named<tk::TPageControl>(form, "pgcPadrao");
        auto* first = Named<tk::TTabSheet>(form, "tshFolhaDados");
        auto* promoPage = Named<tk::TTabSheet>(form, "tshPromocao");
        auto* dbgPadrao = Named<tk::TDBGrid>(form, "dbgPadrao");
        auto* dbgPromocao = Named<tk::TDBGrid>(form, "dbgPromocao");
        auto* connection = Named<fw::TNetConnection>(form, "NetComissao");
        auto* messages = Named<fw::TMessages>(form, "msgPadrao");
        if (!comissao || !promocao || !pages || !first || !promoPage || !dbgPadrao || !dbgPromocao || !connection ||
            !messages)
            return nullptr;
        auto screen = std::make_unique<Screen>(*comissao, *promocao, *pages, *first, *promoPage, *dbgPadrao,
                                               *dbgPromocao, *connection, *messages);
        for (const ScopeNames& s : kScopes) {
            auto* page = Named<tk::TTabSheet>(form, s.page);
            auto* rules = Named<tk::TClientDataSet>(form, s.rules);
            auto* bands = Named<tk::TClientDataSet>(form, s.bands);
            auto* bandGrid = Named<tk::TDBGrid>(form, s.bandGrid);
            if (!page || !rules || !bands || !bandGrid) return nullptr;
            screen->scopes.push_back({*page, *rules, *bands, *bandGrid});
        }
        return screen;
    }
};

ScreenPictures* ScreenPictures::Attach(FormView& view, QMdiArea& mdi, ActionLoop& loop, GuiUserInterface& ui) {
    if (!view.form()) return nullptr;
    QAction* maintenance = view.action("mnuManutencao");
    QAction* operation = view.action("mnuOperacao");
    auto screen = Screen::Find(*view.form());
    if (!screen || !maintenance || !maintenance->menu() || !operation || !operation->menu()) return nullptr;
    return new ScreenPictures(view, std::move(screen), mdi, loop, ui);
}

ScreenPictures::ScreenPictures(FormView& view, std::unique_ptr<Screen> screen, QMdiArea& mdi, ActionLoop& loop,
                               GuiUserInterface& ui)
    : QObject(&view), mdi_(mdi), loop_(loop), ui_(ui), screen_(std::move(screen)) {
    setObjectName(QStringLiteral("screenPictures"));
    QMenu* maintenance = view.action("mnuManutencao")->menu();
    maintenance->addSeparator();
    timelineAction_ = maintenance->addAction(QStringLiteral("&Linha do tempo"), this, [this] { openTimeline(); });
    timelineAction_->setObjectName(QStringLiteral("mnuLinhaDoTempo"));
    bandChartAction_ = maintenance->addAction(QStringLiteral("&Gráfico das faixas"), this, [this] { openBandChart(); });
    bandChartAction_->setObjectName(QStringLiteral("mnuGraficoFaixas"));
    QMenu* operation = view.action("mnuOperacao")->menu();
    operation->addSeparator();
    reportAction_ = operation->addAction(QStringLiteral("&Relatório da comissão…"), this, [this] { openReport(); });
    reportAction_->setObjectName(QStringLiteral("mnuRelatorioComissao"));

    Screen& s = *screen_;
    s.watches.push_back(std::make_unique<DataSetWatch>(
        s.comissao, [this](tk::TDataEvent e) { changed(e == tk::TDataEvent::DataSetChange); }));
    s.watches.push_back(std::make_unique<DataSetWatch>(
        s.promocao, [this](tk::TDataEvent e) { changed(e != tk::TDataEvent::Scroll); }));
    for (const Screen::Scope& scope : s.scopes) {
        if (&scope.rules != &s.promocao)
            s.watches.push_back(std::make_unique<DataSetWatch>(scope.rules, [this](tk::TDataEvent) { changed(false); }));
        s.watches.push_back(std::make_unique<DataSetWatch>(scope.bands, [this](tk::TDataEvent) { changed(false); }));
    }
    s.pagesId = s.pages.OnChanged().subscribe([this](tk::TComponent&) { changed(false); });
    afterActionId_ = loop_.AfterAction().subscribe([this] {
        if (dirty_) refresh();
    });
    connect(&view, &FormView::detaching, this, [this] { detach(); });
    reportAction_->setEnabled(currentTable() > 0);
}

ScreenPictures::~ScreenPictures() { detach(); }

TimelineView* ScreenPictures::timeline() const { return timeline_; }

BandChartView* ScreenPictures::bandChart() const { return bandChart_; }

void ScreenPictures::detach() {
    if (!screen_) return;
    loop_.AfterAction().unsubscribe(afterActionId_);
    screen_->pages.OnChanged().unsubscribe(screen_->pagesId);
    screen_.reset();
    fetched_.reset();
    for (QAction* a : {timelineAction_, bandChartAction_, reportAction_}) a->setEnabled(false);
    // The pictures belong to the screen: they go with it.
    for (QMdiSubWindow* w : {timelineWindow_.data(), bandChartWindow_.data()})
        if (w) w->close();
}

void ScreenPictures::changed(bool promotions) {
    if (promotions) fetchedValid_ = false;
    dirty_ = true;
    // While an action runs the data may be half-way; the end of the action refreshes.
    if (scheduled_ || loop_.busy()) return;
    scheduled_ = true;
    QTimer::singleShot(0, this, [this] {
        scheduled_ = false;
        refresh();
    });
}

void ScreenPictures::refresh() {
    if (!screen_ || loop_.busy()) return;
    dirty_ = false;
    reportAction_->setEnabled(currentTable() > 0);
    if (timeline_) timeline_->setData(readTimeline());
    if (bandChart_) bandChart_->setData(readBandChart());
}

double ScreenPictures::currentTable() const {
    if (!screen_ || !screen_->comissao.Active() || screen_->comissao.IsEmpty()) return 0;
    const tk::TField* nr = screen_->comissao.FindField("NRCOMISSAOOREV");
    return nr && !nr->IsNull() ? nr->AsFloat() : 0;
}

TimelineData ScreenPictures::readTimeline() {
    Screen& s = *screen_;
    const double nr = currentTable();
    std::string title = "Promoções";
    const tk::TClientDataSet* promotions = nullptr;
    bool screenHolds = false;
    if (nr > 0) {
        if (const tk::TField* name = s.comissao.FindField("DSCOMISSAOOREV")) title += " · " + name->DisplayText();
        // The screen's list when it holds this table's promotions (what its grid shows,
        // edits included); otherwise read through the screen's own connection.
        if (RowOf(s.promocao, "NRCOMISSAOOREV", nr) > 0) {
            promotions = &s.promocao;
            screenHolds = true;
        } else {
            try {
                if (!fetchedValid_ || fetchedFor_ != nr) {
                    if (!fetched_) fetched_ = std::make_unique<CommissionData>();
                    server::RdmComissao server(s.connection);
                    fetched_->cdsPromocao.SetData(fw::Consiste::CheckResultServ(server.GetPromocao(nr), true, 0));
                    fetchedFor_ = nr;
                    fetchedValid_ = true;
                }
                promotions = &fetched_->cdsPromocao;
            } catch (const std::exception& e) {
                title += std::string(" (indisponíveis: ") + e.what() + ")";
            }
        }
    }
    return ReadTimeline(s.comissao, promotions, screenHolds, title,
                        model::CodePickList(model::kDataBaseCodes, s.messages), today());
}

BandChartData ScreenPictures::readBandChart() const {
    const Screen& s = *screen_;
    const tk::TTabSheet* active = s.pages.ActivePage();
    for (const Screen::Scope& scope : s.scopes) {
        if (&scope.page != active) continue;
        const std::string rule = rowText(scope.rules);
        std::string title = rule.empty() ? scope.page.Caption : scope.page.Caption + ": " + rule;
        // The table too: an exported picture says whose bands it shows.
        if (currentTable() > 0)
            if (const tk::TField* name = s.comissao.FindField("DSCOMISSAOOREV"))
                title = name->DisplayText() + " · " + title;
        BandChartData data = ReadBands(scope.bands, title);
        if (data.steps.empty())
            data.note = scope.rules.Active() && !scope.rules.IsEmpty() ? "Nenhuma faixa cadastrada para esta regra."
                                                                      : "Nenhuma regra nesta página.";
        return data;
    }
    BandChartData data;
    data.title = active ? active->Caption : std::string();
    data.note = "As faixas são as da regra atual das páginas ";
    for (std::size_t i = 0; i < s.scopes.size(); ++i)
        data.note += (i == 0 ? "" : i + 1 == s.scopes.size() ? " e " : ", ") + s.scopes[i].page.Caption;
    data.note += ": escolha uma delas.";
    return data;
}

QMdiSubWindow* ScreenPictures::addWindow(QWidget* picture, const char* name, QSize size) {
    if (auto* pictureWindow = qobject_cast<PictureWindow*>(picture))
        pictureWindow->setAskPath([](QWidget* parent, const QString& title, const QString& suggested,
                                     const QString& filter) {
            const QString path =
                QFileDialog::getSaveFileName(parent, title, LayoutMemory::fileFolder() + '/' + suggested, filter);
            LayoutMemory::rememberFile(path);
            return path;
        });
    QMdiSubWindow* window = AddToWorkspace(mdi_, picture, size);
    window->setObjectName(QString::fromLatin1(name));
    window->setAttribute(Qt::WA_DeleteOnClose);
    return window;
}

void ScreenPictures::openTimeline() {
    if (!screen_) return;
    if (!timelineWindow_) {
        auto* view = new TimelineView;
        view->onBarClicked = [this](const TimelineHit& hit) { moveTo(hit); };
        timeline_ = view;
        timelineWindow_ = addWindow(new PictureWindow(view, QStringLiteral("Linha do tempo")), "timelineWindow",
                                    {920, 420});
    }
    timeline_->setData(readTimeline());
    timelineWindow_->show();
    mdi_.setActiveSubWindow(timelineWindow_);
}

void ScreenPictures::openBandChart() {
    if (!screen_) return;
    if (!bandChartWindow_) {
        auto* view = new BandChartView;
        view->onStepChosen = [this](const BandStep& step) { moveToBand(step.number); };
        bandChart_ = view;
        bandChartWindow_ = addWindow(new PictureWindow(view, QStringLiteral("Gráfico das faixas")), "bandChartWindow",
                                     {600, 400});
    }
    bandChart_->setData(readBandChart());
    bandChartWindow_->show();
    mdi_.setActiveSubWindow(bandChartWindow_);
}

void ScreenPictures::moveTo(const TimelineHit& hit) {
    loop_.run([this, hit] {
        if (!screen_ || hit.kind == TimelineHitKind::None) return;
        Screen& s = *screen_;
        const bool table = hit.kind == TimelineHitKind::Table;
        tk::TTabSheet& page = table ? s.tshFolhaDados : s.tshPromocao;
        if (s.pages.ActivePage() != &page && !s.pages.UserSelectTab(&page)) return;
        tk::TClientDataSet& set = table ? s.comissao : s.promocao;
        const int row = RowOf(set, table ? "NRCOMISSAOOREV" : "NRCOMISSAOPROMOREV", hit.number);
        if (row > 0) (table ? s.dbgPadrao : s.dbgPromocao).UserSelectRow(row);
    });
}

void ScreenPictures::moveToBand(double number) {
    loop_.run([this, number] {
        if (!screen_) return;
        for (Screen::Scope& scope : screen_->scopes) {
            if (screen_->pages.ActivePage() != &scope.page) continue;
            const int row = RowOf(scope.bands, "NRFAIXACOMISSAOOREV", number);
            if (row > 0) scope.bandGrid.UserSelectRow(row);
        }
    });
}

std::optional<CommissionReport> ScreenPictures::currentReport() {
    std::optional<CommissionReport> report;
    loop_.run([this, &report] {
        if (!screen_) return;
        const double nr = currentTable();
        if (nr <= 0) throw std::runtime_error("Escolha uma tabela de comissão gravada para imprimir o relatório.");
        struct Wait {
            GuiUserInterface& ui;
            ~Wait() { ui.WaitHide(); }
        } wait{ui_};
        ui_.WaitShow(1);
        CommissionData data;
        server::RdmComissao server(screen_->connection);
        report = FetchReport(server, data, nr, fw::Velmora::FiliProc(), PrintedNow());
    });
    return report;
}

void ScreenPictures::openReport() {
    const auto report = currentReport();
    if (!report) return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setDocName(QStringLiteral("Relatório da comissão · %1").arg(QString::fromStdString(report->description)));
    QPrintDialog dialog(&printer, mdi_.window());
    dialog.setObjectName(QStringLiteral("reportPrintDialog"));
    dialog.setWindowTitle(QStringLiteral("Relatório da comissão"));
    if (ui_.runModal(dialog) != QDialog::Accepted) return;
    loop_.run([&report, &printer] { PaintReport(*report, printer); });
}

void ScreenPictures::writeReportPdf(const QString& path) {
    const auto report = currentReport();
    if (!report) return;
    loop_.run([&report, &path] { WriteReportPdf(*report, path); });
}

}  // namespace gui
