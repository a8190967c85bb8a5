#include "support/script_output.h"

#include <iomanip>
#include <sstream>

namespace testsupport {

std::vector<std::string> lines(const std::string& out) {
    std::vector<std::string> result;
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);) result.push_back(line);
    return result;
}

bool hasLine(const std::string& out, const std::string& line) {
    for (const auto& l : lines(out))
        if (l == line) return true;
    return false;
}

bool has(const std::string& out, const std::string& text) { return out.find(text) != std::string::npos; }

std::vector<std::string> linesStarting(const std::string& out, const std::string& prefix) {
    std::vector<std::string> result;
    for (const auto& l : lines(out))
        if (l.rfind(prefix, 0) == 0) result.push_back(l);
    return result;
}

std::vector<std::string> messages(const std::string& out) {
    std::vector<std::string> result;
    for (const auto& l : linesStarting(out, "message: ")) result.push_back(l.substr(9));
    return result;
}

std::string lastShow(const std::string& out, const std::string& dataSet) {
    const auto at = out.rfind(dataSet + " state=");
    if (at == std::string::npos) return "";
    std::string block;
    std::size_t pos = at;
    bool first = true;
    while (pos < out.size()) {
        const auto end = out.find('\n', pos);
        const std::string line = out.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
        if (!first && line.rfind("  [", 0) != 0) break;
        block += line + "\n";
        first = false;
        if (end == std::string::npos) break;
        pos = end + 1;
    }
    return block;
}

std::string currentRow(const std::string& out, const std::string& dataSet) {
    const std::string block = lastShow(out, dataSet);
    const auto at = block.find("current=");
    if (at == std::string::npos) return "";
    const std::string k = block.substr(at + 8, block.find('\n', at) - at - 8);
    const auto row = block.find("  [" + k + "] ");
    return row == std::string::npos ? "" : block.substr(row, block.find('\n', row) - row);
}

std::vector<std::string> stateBlocks(const std::string& out) {
    std::vector<std::string> blocks;
    std::string block;
    bool inBlock = false;
    for (const auto& l : lines(out)) {
        if (l.rfind("sbtIncluir ", 0) == 0) {
            inBlock = true;
            block.clear();
        }
        if (!inBlock) continue;
        block += l + "\n";
        if (l.rfind("focus: ", 0) == 0) {
            blocks.push_back(block);
            inBlock = false;
        }
    }
    return blocks;
}

std::string shown(double value) {
    std::ostringstream text;
    text << std::setprecision(15) << value;
    return text.str();
}

}  // namespace testsupport
