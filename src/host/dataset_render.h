// Canonical text of a data set for the `show` command: state, size, cursor, every row.
#pragma once
#include <string>

#include "toolkit/tclientdataset.h"

namespace host {

// "NAME state=browse rows=N current=K\n" then "  [n] FIELD=value;FIELD=value\n" per row,
// every field in order, values as wire::render gives them (null empty, floats shortest
// with ".", dates YYYY-MM-DD or with the time when it is not midnight).
std::string renderDataSet(const tk::TClientDataSet& data);

}  // namespace host
