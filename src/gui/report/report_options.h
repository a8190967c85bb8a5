// Command line of backoffice-report.
#pragma once
#include <string>
#include <vector>

namespace gui {

enum class ReportFormat { Pdf, Csv };

struct ReportOptions {
    std::string serverHost;
    int serverPort = 0;
    double table = 0;  // NRCOMISSAOOREV
    std::string out;
    ReportFormat format = ReportFormat::Pdf;
    std::string branch;  // empty: the table's own
    bool help = false;   // --help: print ReportUsage() and do nothing else
    bool version = false;  // --version: print the version and do nothing else
};

// Reads `--server HOST:PORT --table N --out FILE [--format pdf|csv] [--branch CODE]` (also
// `--name=value`). Throws std::invalid_argument with a Portuguese reason for a missing,
// unknown or malformed option.
ReportOptions ParseReportOptions(const std::vector<std::string>& args);

// The options and what they mean.
std::string ReportUsage();

}  // namespace gui
