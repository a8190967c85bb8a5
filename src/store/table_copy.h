// A commission table copied to another period, with every rule and band under it.
#pragma once
#include <string>
#include <vector>

#include "store/store.h"

namespace appserver {

struct TableCopy {
    double source = 0;       // NRCOMISSAOOREV of the table copied
    std::string description; // of the new table
    long long firstDay = 0, lastDay = 0;  // its period, days since 1970-01-01, both included
};

struct CopiedTable {
    double table = 0;               // NRCOMISSAOOREV of the new table
    std::vector<std::string> left;  // the promotions not copied, each named in Portuguese
};

// Creates the new table, then its rules and bands with new numbers, through apply() in one
// transaction: every check of a change log holds and the history records every row created
// (naming the source). Promotion windows move as commission::PeriodShift moves them from the
// old start to the new; one that would reach outside the new period is left out and named.
// Throws Refusal, with nothing stored: an unknown table, a source of another branch than the
// author's, and whatever apply() refuses (an overlapping period, no description).
CopiedTable copyTable(Store& store, const TableCopy& copy, const Author& author);

}  // namespace appserver
