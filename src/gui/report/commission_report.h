// The printed report of one commission table: its rules grouped by scope, each with its
// bands, every value already in the text the grids show.
#pragma once
#include <string>
#include <vector>

#include "server/rdm_comissao.h"

namespace gui {

class CommissionData;

struct ReportRule {
    std::vector<std::string> cells;               // the scope's columns, in order
    std::vector<std::vector<std::string>> bands;  // the band columns of each band, in order
};

struct ReportScope {
    std::string title;                    // the page's caption ("Cargo")
    std::vector<std::string> fieldNames;  // the rule grid's visible columns
    std::vector<std::string> labels;
    std::vector<ReportRule> rules;
};

struct CommissionReport {
    double number = 0;
    std::string description;
    std::string validFrom, validTo;  // "dd/mm/yyyy"
    std::string branch;
    std::string printedAt;  // "dd/mm/yyyy hh:mm"
    std::vector<std::string> bandFieldNames;
    std::vector<std::string> bandLabels;
    std::vector<ReportScope> scopes;  // position, event type, promotion

    int ruleCount() const;
    int bandCount() const;
};

// Reads table `number` with its rules and bands through `server` into `data`'s sets and
// returns them as texts. `branch` empty: the table's own branch (CDFILIAL). Throws
// std::runtime_error (Portuguese text) when the table does not exist or a call fails.
CommissionReport FetchReport(server::RdmComissao& server, CommissionData& data, double number,
                             const std::string& branch, const std::string& printedAt);

// "dd/mm/yyyy hh:mm" of the local time now.
std::string PrintedNow();

}  // namespace gui
