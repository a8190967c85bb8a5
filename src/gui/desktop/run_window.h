// Operação › Apurar vendas…: a file of sales paid by the tables of the server on a worker
// thread, with progress and cancel (or the files of an earlier run opened); then each
// salesperson's totals, a salesperson's sales, the files saved where the user says, statements
// to PDF, and with a second table its totals beside the current ones and a chart of the
// salespeople with the largest differences.
#pragma once
#include <QPointer>
#include <QWidget>
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "batch/apuracao.h"
#include "gui/report/run_table.h"
#include "gui/report/statement_pdf.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QSplitter;
class QPushButton;
class QTableWidget;
class QTemporaryDir;

namespace commission {
class Engine;
}

namespace gui {

class DifferenceChartView;
class GuiUserInterface;

class RunWindow : public QWidget {
    Q_OBJECT

public:
    // Reads the tables the run pays by; nullptr when it failed (the failure has been shown).
    using FetchEngine = std::function<std::shared_ptr<const commission::Engine>()>;
    // The tables a run may be compared with: number and description.
    using Tables = std::vector<std::pair<double, std::string>>;
    RunWindow(FetchEngine fetch, Tables tables, std::string branch, GuiUserInterface& ui, QWidget* parent = nullptr);
    // Cancels a run under way and waits for it to stop.
    ~RunWindow() override;

    // Starts a run of the file named in salesFile(), compared with the chosen table when the
    // choice is ticked; a run under way is left alone.
    void start();
    // Asks the run under way to stop; it leaves nothing written.
    void cancel();
    // Waits for the run under way and shows its outcome.
    void wait();
    bool running() const { return worker_.joinable() && !delivered_; }

    // Shows the sales of the salesperson on grid row `row` (0-based).
    void showSales(int row);
    // Copies the last run's files to PREFIX-vendas.csv, PREFIX-vendedores.csv and
    // PREFIX-recusadas.csv (and PREFIX-lacunas.csv of a comparison), each put in place once
    // complete; failures are shown. A prefix ending in ".csv" loses it.
    void saveTo(QString prefix);
    // The statement of the salesperson shown (`all` false) or of every one, as a PDF file;
    // failures are shown.
    void writeStatement(const QString& path, bool all);

    // Shows the files of a run written before, PREFIX-vendedores.csv and PREFIX-vendas.csv (a
    // scheduled backoffice-apuracao's, say), as after a run; false when they cannot be read
    // (shown) or a run is under way.
    bool showFiles(const QString& prefix);
    // The prefix of the files of the run under way or shown (in a temporary folder for the
    // desktop's own runs, removed with the window or the next run); empty when none.
    QString prefix() const;
    const RunTable& vendedores() const { return vendedores_; }

    QLineEdit& salesFile() { return *salesFile_; }
    QCheckBox& compare() { return *compare_; }
    QComboBox& compareTable() { return *compareTable_; }
    QPushButton& runButton() { return *run_; }
    QPushButton& cancelButton() { return *cancel_; }
    QProgressBar& progress() { return *progress_; }
    QLabel& summary() { return *summary_; }
    QTableWidget& salespeople() { return *salespeople_; }
    QTableWidget& sales() { return *sales_; }
    QPushButton& saveButton() { return *save_; }
    QPushButton& statementButton() { return *statement_; }
    QPushButton& statementAllButton() { return *statementAll_; }
    DifferenceChartView& chart() { return *chart_; }

private:
    struct Outcome {
        std::optional<batch::Summary> summary;
        std::string failure;
    };
    void chooseFile();
    void askOpen();
    void askSave();
    void askStatement(bool all);
    void finished(Outcome outcome);
    void deliver();
    void showSalespeople();
    QString secondTable() const;
    std::string fileOf(const char* name) const;
    void setIdle(bool idle);
    void error(const std::string& text);

    FetchEngine fetch_;
    std::string branch_;
    GuiUserInterface& ui_;
    QLineEdit* salesFile_;
    QPushButton* choose_;
    QPushButton* open_;
    QCheckBox* compare_;
    QComboBox* compareTable_;
    QPushButton* run_;
    QPushButton* cancel_;
    QProgressBar* progress_;
    QLabel* summary_;
    QTableWidget* salespeople_;
    QTableWidget* sales_;
    QPushButton* save_;
    QPushButton* statement_;
    QPushButton* statementAll_;
    DifferenceChartView* chart_;
    QWidget* chartWindow_;
    QSplitter* splitter_ = nullptr;

    std::unique_ptr<QTemporaryDir> folder_;  // holding the desktop's own run's files
    QString prefix_;                         // of the files of the run under way or shown
    RunTable vendedores_;
    RunTable shownSales_;  // the lines of the salesperson shown
    std::string shownVendedor_;
    std::optional<long long> comparedWith_;
    std::shared_ptr<const commission::Engine> engine_;
    std::atomic<bool> cancelled_{false};
    std::mutex mutex_;
    std::optional<Outcome> outcome_;  // left by the worker, taken by deliver()
    bool delivered_ = true;
    std::thread worker_;
};

}  // namespace gui
