// Reading what backoffice-script printed: its lines, its messages, the blocks of `show`
// and `state`.
#pragma once
#include <string>
#include <vector>

namespace testsupport {

std::vector<std::string> lines(const std::string& out);
bool hasLine(const std::string& out, const std::string& line);
bool has(const std::string& out, const std::string& text);
// Every line starting with `prefix`, in order.
std::vector<std::string> linesStarting(const std::string& out, const std::string& prefix);
// The text of every "message: " line, in order.
std::vector<std::string> messages(const std::string& out);
// The lines `show DATASET` printed last for `dataSet` (header and rows); "" when none.
std::string lastShow(const std::string& out, const std::string& dataSet);
// The row line of the current row of the last `show` of `dataSet` ("" when empty).
std::string currentRow(const std::string& out, const std::string& dataSet);
// The blocks printed by each `state` command, one string each (lines joined by "\n",
// the focus line included), in order.
std::vector<std::string> stateBlocks(const std::string& out);
// A number as `show` prints it: shortest, with ".".
std::string shown(double value);

}  // namespace testsupport
