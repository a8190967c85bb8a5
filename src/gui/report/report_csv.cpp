#include "gui/report/report_csv.h"

#include <algorithm>

namespace gui {
namespace {

std::string cell(const std::string& text) {
    if (text.find_first_of(";\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

void line(std::string& out, const std::vector<std::string>& cells) {
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (i > 0) out += ';';
        out += cell(cells[i]);
    }
    out += "\r\n";
}

}  // namespace

std::string ReportCsv(const CommissionReport& report) {
    // The union of the scopes' rule columns; a field's title is the one its last scope gives
    // it (the position is "Descrição" on the position page, "Cargo" on the others).
    std::vector<std::string> names, titles;
    for (const auto& scope : report.scopes)
        for (std::size_t i = 0; i < scope.fieldNames.size(); ++i) {
            auto it = std::find(names.begin(), names.end(), scope.fieldNames[i]);
            if (it == names.end()) {
                names.push_back(scope.fieldNames[i]);
                titles.push_back(scope.labels[i]);
            } else {
                titles[static_cast<std::size_t>(it - names.begin())] = scope.labels[i];
            }
        }

    std::string out = "\xEF\xBB\xBF";
    std::vector<std::string> header = {"Escopo"};
    header.insert(header.end(), titles.begin(), titles.end());
    header.insert(header.end(), report.bandLabels.begin(), report.bandLabels.end());
    line(out, header);

    const std::vector<std::string> noBand(report.bandLabels.size());
    for (const auto& scope : report.scopes)
        for (const auto& rule : scope.rules) {
            std::vector<std::string> row(1 + names.size());
            row[0] = scope.title;
            for (std::size_t i = 0; i < scope.fieldNames.size(); ++i) {
                const auto at = std::find(names.begin(), names.end(), scope.fieldNames[i]) - names.begin();
                row[1 + static_cast<std::size_t>(at)] = rule.cells[i];
            }
            const std::size_t ruleCells = row.size();
            auto bandRow = [&](const std::vector<std::string>& band) {
                row.resize(ruleCells);
                row.insert(row.end(), band.begin(), band.end());
                line(out, row);
            };
            if (rule.bands.empty()) bandRow(noBand);
            for (const auto& band : rule.bands) bandRow(band);
        }
    return out;
}

}  // namespace gui
