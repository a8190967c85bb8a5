// A commission table's rules read back from the spreadsheet file the report writes, after a
// person has edited it: every line a rule's band, every problem found with its line and column.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "commission/snapshot.h"

namespace commission {

// A line refused: `line` counts from 1, the header being line 1 (0: the file as a whole);
// `column` is the header's title of the cell at fault; `text` says why, in Portuguese.
struct SheetFinding {
    int line = 0;
    std::string column;
    std::string text;
};

// One rule of the file: the lines of its bands in the order read, `bandLines[i]` holding
// `rule.bands[i]`. `rule.number` is 0 (the store numbers it).
struct SheetRule {
    Rule rule;
    int line = 0;  // its first line
    std::vector<int> bandLines;
};

struct TableSheet {
    std::vector<SheetRule> rules;  // in the file's order, every scope mixed
    std::vector<SheetFinding> findings;
};

// Reads the file: `;` between cells, UTF-8 with or without a byte-order mark, CRLF or LF line
// ends, cells quoted with `"` (a quote doubled inside, line breaks allowed), a header naming
// the columns by the grids' titles in any order (unknown columns ignored), blank lines
// skipped. Consecutive lines of the same scope and rule cells are one rule, a line a band; a
// rule without bands is one line with its band cells blank. Positions and base dates are read
// as the grids show them or as codes, values with a decimal comma and thousands points
// optional. Never stops at a first problem: a line at fault is left out of `rules`.
TableSheet readTableSheet(std::string_view text);

}  // namespace commission
