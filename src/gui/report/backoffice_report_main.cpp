// backoffice-report: the report of one commission table, as PDF or CSV, for scheduled
// jobs. It needs no display.
#include <malloc.h>

#include <QGuiApplication>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <stdexcept>

#include "gui/report/commission_data.h"
#include "gui/report/commission_report.h"
#include "gui/report/report_csv.h"
#include "gui/report/report_options.h"
#include "gui/report/report_pdf.h"
#include "host/command_line.h"

namespace {

constexpr int kFailure = 1;
constexpr int kUsageError = 2;

void writeCsv(const gui::CommissionReport& report, const std::string& path) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    const std::string text = gui::ReportCsv(report);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.close();
    if (!out) throw std::runtime_error("cannot write " + path);
}

}  // namespace

int main(int argc, char** argv) {
    // The PDF writer takes and frees a compressor's state for every page; left to itself the
    // allocator hands that memory back to the system each time and faults it in again,
    // which cost a report of a few hundred pages a third of its time.
    mallopt(M_TRIM_THRESHOLD, 256 << 20);
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    gui::ReportOptions options;
    try {
        options = gui::ParseReportOptions(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const std::invalid_argument& e) {
        std::cerr << "backoffice-report: " << e.what() << "\nVeja as opções com backoffice-report --help.\n";
        return kUsageError;
    }
    if (options.help) {
        std::cout << gui::ReportUsage();
        return 0;
    }
    if (options.version) {
        std::cout << host::versionLine("backoffice-report");
        return 0;
    }

    // Qt lays the PDF out with its fonts; its offscreen platform needs no display.
    // Qt's notices (no XDG_RUNTIME_DIR under cron, and the like) are not the job's output.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type == QtCriticalMsg || type == QtFatalMsg) std::cerr << "backoffice-report: " << text.toStdString() << '\n';
    });
    int qtArgc = 1;  // Qt keeps a reference to it
    std::unique_ptr<QGuiApplication> qt;
    if (options.format == gui::ReportFormat::Pdf) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        qt = std::make_unique<QGuiApplication>(qtArgc, argv);
    }
    try {
        gui::CommissionData data;
        data.NetComissao.SetHost(options.serverHost);
        data.NetComissao.SetPort(options.serverPort);
        data.NetComissao.SetConnected(true);
        const gui::CommissionReport report =
            gui::FetchReport(data.rdmComissao, data, options.table, options.branch, gui::PrintedNow());
        // Written beside the file and then put in its place: a failure half-way leaves the
        // last good report where it was.
        const std::string part = options.out + ".part";
        try {
            if (options.format == gui::ReportFormat::Csv)
                writeCsv(report, part);
            else
                gui::WriteReportPdf(report, QString::fromStdString(part));
            std::filesystem::rename(part, options.out);
        } catch (const std::exception&) {
            std::error_code ignored;
            std::filesystem::remove(part, ignored);
            throw std::runtime_error("Não foi possível gravar o arquivo " + options.out + ".");
        }
    } catch (const std::exception& e) {
        std::cerr << "backoffice-report: " << e.what() << '\n';
        return kFailure;
    }
    return 0;
}
