#include "gui/desktop/run_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <cmath>
#include <cstring>
#include <filesystem>

#include "commission/engine.h"
#include "gui/desktop/gui_user_interface.h"
#include "gui/pictures/chart_view.h"
#include "gui/pictures/difference_chart_view.h"
#include "gui/report/commission_report.h"

namespace gui {
namespace {

QString qs(const std::string& text) { return QString::fromStdString(text); }

struct Shown {
    const char* column;
    const char* label;
    bool amount;  // right-aligned
};
// The columns each grid shows when the file has them, in this order; the second table's
// label names it.
constexpr Shown kSalespeopleColumns[] = {
    {"VENDEDOR", "Vendedor", false},          {"QTVENDAS", "Vendas", true},
    {"VRVENDAS", "Valor das vendas", true},   {"VRCOMISSAOVENDA", "Comissão", true},
    {"QTSEMCOMISSAO", "Sem comissão", true},  {"VRCOMISSAOVENDA_B", "Comissão da tabela %1", true},
    {"DIFERENCA", "Diferença", true},
};
constexpr Shown kSalesColumns[] = {
    {"VENDA", "Venda", false},
    {"DTEVENTO", "Data do Evento", false},
    {"CDTIPOEVENTO", "Tipo de Evento", false},
    {"IDCARGOVEND", "Cargo", false},
    {"VRVENDA", "Valor da venda", true},
    {"NRCOMISSAOOREV", "Tabela", true},
    {"IDTIPOCOMISSAO", "Escopo", false},
    {"NRREGRA", "Regra", true},
    {"NRFAIXACOMISSAOOREV", "Faixa", true},
    {"VRCOMISSAO", "Percentual", true},
    {"VRCOMISSAOVENDA", "Comissão", true},
    {"MOTIVO", "Motivo", false},
    {"NRREGRA_B", "Regra da tabela %1", true},
    {"NRFAIXACOMISSAOOREV_B", "Faixa da tabela %1", true},
    {"VRCOMISSAO_B", "Percentual da tabela %1", true},
    {"VRCOMISSAOVENDA_B", "Comissão da tabela %1", true},
    {"DIFERENCA", "Diferença", true},
    {"MOTIVO_B", "Motivo da tabela %1", false},
};
// The files of a run; the last only when it compared two tables.
constexpr const char* kFiles[] = {"vendas", "vendedores", "recusadas", "lacunas"};
constexpr std::size_t kRequiredFiles = 3;
constexpr std::size_t kChartedSalespeople = 10;

// Fills `grid` with the columns of `shown` that `table` has; each header keeps its column's
// name (Qt::UserRole).
template <std::size_t N>
void fill(QTableWidget& grid, const RunTable& table, const Shown (&shown)[N], const QString& second) {
    std::vector<std::pair<std::size_t, const Shown*>> columns;
    for (const Shown& s : shown)
        if (const auto c = table.column(s.column)) columns.emplace_back(*c, &s);
    grid.clear();
    grid.setColumnCount(static_cast<int>(columns.size()));
    grid.setRowCount(static_cast<int>(table.rows.size()));
    for (std::size_t c = 0; c < columns.size(); ++c) {
        QString label = QString::fromUtf8(columns[c].second->label);
        if (label.contains(QLatin1String("%1"))) label = label.arg(second);
        auto* header = new QTableWidgetItem(label);
        header->setData(Qt::UserRole, QString::fromLatin1(columns[c].second->column));
        grid.setHorizontalHeaderItem(static_cast<int>(c), header);
    }
    for (std::size_t r = 0; r < table.rows.size(); ++r)
        for (std::size_t c = 0; c < columns.size(); ++c) {
            auto* item = new QTableWidgetItem(qs(table.rows[r][columns[c].first]));
            item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
            if (columns[c].second->amount) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            grid.setItem(static_cast<int>(r), static_cast<int>(c), item);
        }
    grid.resizeColumnsToContents();
}

QTableWidget* newGrid(const char* name, QWidget* parent) {
    auto* grid = new QTableWidget(parent);
    grid->setObjectName(QString::fromLatin1(name));
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->verticalHeader()->setVisible(false);
    return grid;
}

}  // namespace

RunWindow::RunWindow(FetchEngine fetch, Tables tables, std::string branch, GuiUserInterface& ui, QWidget* parent)
    : QWidget(parent),
      fetch_(std::move(fetch)),
      branch_(std::move(branch)),
      ui_(ui),
      salesFile_(new QLineEdit(this)),
      choose_(new QPushButton(QStringLiteral("&Escolher…"), this)),
      open_(new QPushButton(QStringLiteral("Abrir a&puração…"), this)),
      compare_(new QCheckBox(QStringLiteral("Comparar com a tabela…"), this)),
      compareTable_(new QComboBox(this)),
      run_(new QPushButton(QStringLiteral("&Apurar"), this)),
      cancel_(new QPushButton(QStringLiteral("&Cancelar"), this)),
      progress_(new QProgressBar(this)),
      summary_(new QLabel(this)),
      salespeople_(newGrid("salespeople", this)),
      sales_(newGrid("sales", this)),
      save_(new QPushButton(QStringLiteral("&Salvar arquivos…"), this)),
      statement_(new QPushButton(QStringLiteral("Extrato do &vendedor…"), this)),
      statementAll_(new QPushButton(QStringLiteral("Extrato de &todos…"), this)),
      chart_(new DifferenceChartView),
      chartWindow_(new PictureWindow(chart_, QStringLiteral("Maiores diferenças"), this)) {
    setObjectName(QStringLiteral("runWindow"));
    setWindowTitle(QStringLiteral("Apurar vendas"));
    salesFile_->setObjectName(QStringLiteral("salesFile"));
    compare_->setObjectName(QStringLiteral("compare"));
    compareTable_->setObjectName(QStringLiteral("compareTable"));
    summary_->setObjectName(QStringLiteral("summary"));
    salesFile_->setPlaceholderText(QStringLiteral("vendas.csv"));
    for (const auto& [number, description] : tables)
        compareTable_->addItem(QStringLiteral("%1 · %2").arg(QString::number(number, 'f', 0), qs(description)), number);
    compareTable_->setEnabled(false);
    compare_->setEnabled(compareTable_->count() > 0);
    progress_->setRange(0, 1);
    progress_->setValue(0);
    progress_->setTextVisible(false);
    summary_->setWordWrap(true);
    summary_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    chartWindow_->setVisible(false);

    auto* file = new QHBoxLayout;
    file->addWidget(new QLabel(QStringLiteral("Arquivo de vendas:"), this));
    file->addWidget(salesFile_, 1);
    file->addWidget(choose_);
    file->addWidget(open_);
    auto* choice = new QHBoxLayout;
    choice->addWidget(compare_);
    choice->addWidget(compareTable_, 1);
    auto* running = new QHBoxLayout;
    running->addWidget(run_);
    running->addWidget(progress_, 1);
    running->addWidget(cancel_);
    splitter_ = new QSplitter(Qt::Vertical, this);
    splitter_->addWidget(salespeople_);
    splitter_->addWidget(sales_);
    splitter_->addWidget(chartWindow_);
    splitter_->setChildrenCollapsible(false);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(save_);
    buttons->addStretch(1);
    buttons->addWidget(statement_);
    buttons->addWidget(statementAll_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(file);
    layout->addLayout(choice);
    layout->addLayout(running);
    layout->addWidget(summary_);
    layout->addWidget(splitter_, 1);
    layout->addLayout(buttons);

    connect(choose_, &QPushButton::clicked, this, [this] { chooseFile(); });
    connect(open_, &QPushButton::clicked, this, [this] { askOpen(); });
    connect(compare_, &QCheckBox::toggled, compareTable_, &QComboBox::setEnabled);
    connect(run_, &QPushButton::clicked, this, [this] { start(); });
    connect(cancel_, &QPushButton::clicked, this, [this] { cancel(); });
    connect(salespeople_, &QTableWidget::cellClicked, this, [this](int row, int) { showSales(row); });
    connect(save_, &QPushButton::clicked, this, [this] { askSave(); });
    connect(statement_, &QPushButton::clicked, this, [this] { askStatement(false); });
    connect(statementAll_, &QPushButton::clicked, this, [this] { askStatement(true); });
    setIdle(true);
}

RunWindow::~RunWindow() {
    cancelled_ = true;
    if (worker_.joinable()) worker_.join();
}

QString RunWindow::prefix() const { return prefix_; }

std::string RunWindow::fileOf(const char* name) const {
    return (prefix_ + QStringLiteral("-%1.csv").arg(QLatin1String(name))).toStdString();
}

void RunWindow::setIdle(bool idle) {
    run_->setEnabled(idle);
    choose_->setEnabled(idle);
    open_->setEnabled(idle);
    cancel_->setEnabled(!idle);
    const bool results = idle && !vendedores_.columns.empty();
    save_->setEnabled(results);
    statementAll_->setEnabled(results);
    statement_->setEnabled(results && !shownVendedor_.empty());
    progress_->setRange(0, idle ? 1 : 0);  // no end known while running: the bar only moves
    progress_->setValue(0);
}

void RunWindow::error(const std::string& text) { ui_.ShowMessageError(text); }

void RunWindow::chooseFile() {
    const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("Arquivo de vendas"), salesFile_->text(),
                                                      QStringLiteral("Planilha (*.csv *.txt);;Todos os arquivos (*)"));
    if (!path.isEmpty()) salesFile_->setText(path);
}

void RunWindow::start() {
    if (running()) return;
    if (worker_.joinable()) worker_.join();
    const std::string path = salesFile_->text().trimmed().toStdString();
    if (path.empty()) {
        error("Escolha o arquivo de vendas.");
        return;
    }
    // A new run replaces what the last one showed, also when it fails.
    vendedores_ = {};
    shownSales_ = {};
    shownVendedor_.clear();
    salespeople_->clear();
    salespeople_->setRowCount(0);
    sales_->clear();
    sales_->setRowCount(0);
    chartWindow_->setVisible(false);
    folder_.reset();
    prefix_.clear();
    summary_->clear();
    std::shared_ptr<const commission::Engine> engine = fetch_();
    if (!engine) {
        setIdle(true);
        return;
    }
    auto folder = std::make_unique<QTemporaryDir>();
    if (!folder->isValid()) {
        error("Não foi possível criar a pasta temporária da apuração.");
        setIdle(true);
        return;
    }
    batch::RunOptions options;
    options.sales = path;
    options.prefix = folder->filePath(QStringLiteral("apuracao")).toStdString();
    options.threads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    comparedWith_.reset();
    if (compare_->isChecked() && compareTable_->currentIndex() >= 0) {
        comparedWith_ = std::llround(compareTable_->currentData().toDouble());
        options.compareTable = comparedWith_;
    }
    options.interrupted = [this] { return cancelled_.load(); };
    options.progress = [this](std::uint64_t lines) {
        QMetaObject::invokeMethod(
            this,
            [this, lines] {
                if (running()) summary_->setText(QStringLiteral("Linhas lidas: %1").arg(lines));
            },
            Qt::QueuedConnection);
    };
    folder_ = std::move(folder);
    prefix_ = QString::fromStdString(options.prefix);
    engine_ = std::move(engine);
    cancelled_ = false;
    delivered_ = false;
    setIdle(false);
    summary_->setText(QStringLiteral("Apurando %1…").arg(qs(path)));
    worker_ = std::thread([this, options = std::move(options)] {
        Outcome outcome;
        try {
            outcome.summary = batch::apura(*engine_, options);
        } catch (const std::exception& e) {
            outcome.failure = e.what();
        }
        {
            std::lock_guard lock(mutex_);
            outcome_ = std::move(outcome);
        }
        QMetaObject::invokeMethod(this, [this] { deliver(); }, Qt::QueuedConnection);
    });
}

void RunWindow::cancel() {
    if (running()) cancelled_ = true;
}

void RunWindow::wait() {
    if (!running()) return;
    worker_.join();
    deliver();
}

void RunWindow::deliver() {
    std::optional<Outcome> outcome;
    {
        std::lock_guard lock(mutex_);
        outcome.swap(outcome_);
    }
    if (!outcome) return;
    if (worker_.joinable()) worker_.join();
    delivered_ = true;
    engine_.reset();
    finished(std::move(*outcome));
}

void RunWindow::finished(Outcome outcome) {
    if (!outcome.summary) {
        folder_.reset();  // whatever a failed run left goes with its folder
        prefix_.clear();
        setIdle(true);
        if (cancelled_) {
            summary_->setText(QStringLiteral("Apuração cancelada: nenhum arquivo gravado."));
        } else {
            summary_->setText(qs(outcome.failure));
            error(outcome.failure);
        }
        return;
    }
    if (showFiles(prefix_))
        summary_->setText(qs(batch::summaryText(*outcome.summary, salesFile_->text().trimmed().toStdString())).trimmed());
}

bool RunWindow::showFiles(const QString& prefix) {
    if (running()) return false;
    if (prefix != prefix_) {
        folder_.reset();  // a run of the desktop's own is let go
        comparedWith_.reset();
    }
    prefix_ = prefix;
    shownSales_ = {};
    shownVendedor_.clear();
    sales_->clear();
    sales_->setRowCount(0);
    try {
        vendedores_ = ReadRunTable(fileOf("vendedores"));
    } catch (const std::exception& e) {
        vendedores_ = {};
        salespeople_->clear();
        salespeople_->setRowCount(0);
        chartWindow_->setVisible(false);
        setIdle(true);
        error(e.what());
        return false;
    }
    showSalespeople();
    summary_->setText(QStringLiteral("%1 vendedores em %2-vendedores.csv").arg(vendedores_.rows.size()).arg(prefix));
    setIdle(true);
    return true;
}

QString RunWindow::secondTable() const {
    return comparedWith_ ? QString::number(*comparedWith_) : QStringLiteral("comparada");
}

void RunWindow::showSalespeople() {
    const QString second = secondTable();
    fill(*salespeople_, vendedores_, kSalespeopleColumns, second);
    chartWindow_->setVisible(false);
    if (!vendedores_.column("VRCOMISSAOVENDA_B") || !vendedores_.column("DIFERENCA")) return;
    std::vector<DifferenceBar> bars;
    for (std::size_t r = 0; r < vendedores_.rows.size(); ++r)
        bars.push_back({vendedores_.cell(r, "VENDEDOR"), CentsOf(vendedores_.cell(r, "VRCOMISSAOVENDA")).value_or(0),
                        CentsOf(vendedores_.cell(r, "VRCOMISSAOVENDA_B")).value_or(0)});
    DifferenceChartData data;
    data.title = "Vendedores com as maiores diferenças de comissão";
    data.aLabel = "Tabela atual";
    data.bLabel = "Tabela " + second.toStdString();
    data.note = "Nenhum vendedor recebe outra comissão pela tabela " + second.toStdString() + ".";
    data.bars = LargestDifferences(std::move(bars), kChartedSalespeople);
    chart_->setData(std::move(data));
    // A pane shown after the splitter laid itself out gets no room of its own: share it out.
    chartWindow_->setVisible(true);
    const int height = std::max(splitter_->height(), 600);
    splitter_->setSizes({height * 3 / 10, height * 3 / 10, height * 4 / 10});
}

void RunWindow::showSales(int row) {
    if (row < 0 || static_cast<std::size_t>(row) >= vendedores_.rows.size()) return;
    const std::string code = vendedores_.cell(static_cast<std::size_t>(row), "VENDEDOR");
    try {
        shownSales_ =
            ReadRunTable(fileOf("vendas"), "VENDEDOR", code);
    } catch (const std::exception& e) {
        error(e.what());
        return;
    }
    shownVendedor_ = code;
    fill(*sales_, shownSales_, kSalesColumns, secondTable());
    salespeople_->selectRow(row);
    setIdle(true);
}

void RunWindow::saveTo(QString prefix) {
    if (vendedores_.columns.empty()) return;
    if (prefix.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive)) prefix.chop(4);
    namespace fs = std::filesystem;
    std::vector<std::pair<fs::path, fs::path>> moves;  // the copy beside, its place
    std::string failed;
    for (std::size_t i = 0; i < std::size(kFiles) && failed.empty(); ++i) {
        const fs::path from = fileOf(kFiles[i]);
        const fs::path to = (prefix + QStringLiteral("-%1.csv").arg(QLatin1String(kFiles[i]))).toStdString();
        if (i >= kRequiredFiles && !fs::exists(from)) continue;
        fs::path beside = to;
        beside += ".part";
        std::error_code e;
        fs::copy_file(from, beside, fs::copy_options::overwrite_existing, e);
        if (e) failed = to.string();
        moves.emplace_back(beside, to);
    }
    // Every file in its place, or none: an old set of files is never half replaced.
    for (std::size_t i = 0; i < moves.size() && failed.empty(); ++i) {
        std::error_code e;
        fs::rename(moves[i].first, moves[i].second, e);
        if (e) failed = moves[i].second.string();
    }
    for (const auto& [beside, to] : moves) {
        std::error_code ignored;
        fs::remove(beside, ignored);
    }
    if (!failed.empty()) error("Não foi possível gravar o arquivo " + failed + ".");
}

void RunWindow::writeStatement(const QString& path, bool all) {
    if (vendedores_.columns.empty()) return;
    try {
        std::vector<SalesStatement> statements;
        if (all) {
            std::vector<std::string> codes;
            for (std::size_t r = 0; r < vendedores_.rows.size(); ++r) codes.push_back(vendedores_.cell(r, "VENDEDOR"));
            statements = ReadStatements(
                ReadRunTable(fileOf("vendas")), codes);
        } else {
            if (shownVendedor_.empty()) {
                error("Escolha um vendedor para o extrato.");
                return;
            }
            statements = ReadStatements(shownSales_, {shownVendedor_});
        }
        WriteStatementPdf(statements, {branch_, PrintedNow()}, path);
    } catch (const std::exception& e) {
        error(e.what());
    }
}

void RunWindow::askOpen() {
    QString path = QFileDialog::getOpenFileName(this, QStringLiteral("Abrir apuração"), QString(),
                                                QStringLiteral("Vendedores da apuração (*-vendedores.csv)"));
    if (path.isEmpty()) return;
    if (path.endsWith(QLatin1String("-vendedores.csv"))) path.chop(static_cast<int>(std::strlen("-vendedores.csv")));
    showFiles(path);
}

void RunWindow::askSave() {
    const QString prefix = QFileDialog::getSaveFileName(this, QStringLiteral("Salvar arquivos da apuração"),
                                                        QStringLiteral("apuracao"),
                                                        QStringLiteral("Planilha (*.csv)"));
    if (!prefix.isEmpty()) saveTo(prefix);
}

void RunWindow::askStatement(bool all) {
    const QString suggested =
        all ? QStringLiteral("extratos.pdf") : QStringLiteral("extrato-%1.pdf").arg(qs(shownVendedor_));
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Extrato de comissão"), suggested,
                                                      QStringLiteral("Documento PDF (*.pdf)"));
    if (!path.isEmpty()) writeStatement(path, all);
}

}  // namespace gui
