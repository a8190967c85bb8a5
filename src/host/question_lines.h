// The headless host's output lines for the answers of `simulate`, `check` and `copy`.
#pragma once
#include <string>
#include <vector>

#include "host/commission_questions.h"

namespace host {

// "simulation: table=N scope=S rule=N band=N percent=P commission=C" (null empty, numbers
// shortest with "."), then "reason: TEXT" for every candidate passed over; one line each.
std::string SaleAnswerLines(const SaleAnswer& answer);
// "check: table=N findings=K", then "finding: KIND tables=N,N scope=S rule=N bands=N,N text=TEXT"
// for each finding.
std::string FindingLines(double table, const std::vector<Finding>& findings);
// "copy: table=N left=K", then "left: TEXT" for each promotion not copied.
std::string TableCopyLines(const TableCopyAnswer& answer);

}  // namespace host
