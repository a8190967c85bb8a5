// A commission table's rules and bands brought in from a spreadsheet file, all or nothing.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "commission/table_sheet.h"
#include "store/store.h"

namespace appserver {

struct TableImport {
    std::string fileName;         // named in the history of every row created; may be empty
    std::string text;             // the file, as commission::readTableSheet reads it
    std::optional<double> table;  // an existing table without rules; none: a new table, as below
    std::string description;
    long long firstDay = 0, lastDay = 0;  // days since 1970-01-01, both included
    std::string branch;                   // CDFILIAL of a new table when the author has none
};

struct ImportedTable {
    std::optional<double> table;                   // the table filled; none when refused
    std::vector<commission::SheetFinding> refused;  // every line refused, by line
};

// Reads the file and checks every line as the screen would (commission::checkTableSheet over
// the target's period); when no line is refused, stores the new table, then the rules and bands
// with new numbers in the file's order, through apply() in one transaction, so every invariant
// holds and the history names the import. With a line refused nothing is stored. Throws Refusal,
// nothing stored: an unknown table, one with rules already, one of another branch than the
// author's, and what apply() refuses of a new table (no description, a period that overlaps).
ImportedTable importTable(Store& store, const TableImport& request, const Author& author);

}  // namespace appserver
