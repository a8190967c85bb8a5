#include "host/question_lines.h"

#include "host/script_command.h"
#include "wire/value.h"

namespace host {
namespace {

std::string number(const std::optional<double>& n) { return n ? wire::render(*n) : std::string(); }

std::string list(const std::vector<double>& numbers) {
    std::string out;
    for (double n : numbers) out += (out.empty() ? "" : ",") + wire::render(n);
    return out;
}

}  // namespace

std::string SaleAnswerLines(const SaleAnswer& a) {
    std::string out = "simulation: table=" + number(a.table) + " scope=" + a.scope + " rule=" + number(a.rule) +
                      " band=" + number(a.band) + " percent=" + number(a.percent) +
                      " commission=" + number(a.commission) + "\n";
    for (const auto& reason : a.reasons) out += "reason: " + oneLine(reason) + "\n";
    return out;
}

std::string FindingLines(double table, const std::vector<Finding>& findings) {
    std::string out = "check: table=" + wire::render(table) + " findings=" + std::to_string(findings.size()) + "\n";
    for (const auto& f : findings)
        out += "finding: " + f.kind + " tables=" + list(f.tables) + " scope=" + f.scope + " rule=" + number(f.rule) +
               " bands=" + list(f.bands) + " text=" + oneLine(f.text) + "\n";
    return out;
}

std::string TableCopyLines(const TableCopyAnswer& a) {
    std::string out = "copy: table=" + wire::render(a.table) + " left=" + std::to_string(a.left.size()) + "\n";
    for (const auto& left : a.left) out += "left: " + oneLine(left) + "\n";
    return out;
}

}  // namespace host
