// The run over a sales file: every sale's commission, each salesperson's total and the lines
// refused, written to three files, with chunks of lines paid on several threads.
#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "commission/engine.h"

namespace batch {

struct RunOptions {
    std::string sales;   // the sales file
    std::string prefix;  // PREFIX-vendas.csv, PREFIX-vendedores.csv, PREFIX-recusadas.csv (PREFIX-lacunas.csv)
    int threads = 1;
    // Lines are cut into chunks of about this size (0: a sixty-fourth of the file, from 64 KiB
    // to 256 KiB: a small file is shared among threads too, and a chunk and its output stay in
    // the processor's cache until the kernel has copied them); any size gives the same files.
    std::size_t chunkBytes = 0;
    // Both are called on the paying threads, one call at a time; either may be empty.
    std::function<void(std::uint64_t lines)> progress;  // after each chunk written
    std::function<bool()> interrupted;                  // asked before each chunk is read
    // Pay every sale a second time as this table would, its dates moved as a copy onto it
    // would move them; adds the _B and DIFERENCA columns and PREFIX-lacunas.csv.
    std::optional<long long> compareTable;
};

// A salesperson's commission as the sales' own tables pay it and as the compared table would.
struct SellerDifference {
    std::string vendedor;
    long long commissionCents = 0, commissionCentsB = 0;
};

struct Summary {
    std::uint64_t version = 0;  // of the tables the run was paid by
    std::uint64_t read = 0, paid = 0, unpaid = 0, refused = 0;
    std::uint64_t noTable = 0, noRule = 0, noBand = 0;  // the unpaid, by why
    long long salesCents = 0, commissionCents = 0;       // of the lines read and not refused
    double seconds = 0;

    // With RunOptions::compareTable, what that table would pay the same lines.
    std::optional<long long> comparedTable;
    std::string comparedName;    // "Comissão 2026 (01/01/2026 a 31/12/2026)"
    std::uint64_t paidB = 0;
    long long commissionCentsB = 0;  // its difference from commissionCents is B minus A
    std::uint64_t holes = 0;         // lines their own table pays and the compared one would not
    // The ten salespeople who gain most under the compared table, and the ten who lose most,
    // the largest difference first (a tie in code order); nobody whose total stays the same.
    std::vector<SellerDifference> gainers, losers;
};

// Throws std::runtime_error in Portuguese (the file cannot be read, lacks a required column,
// the compared table does not exist, an output cannot be written, the run was interrupted);
// nothing is then put in place.
Summary apura(const commission::Engine& engine, const RunOptions& options);

// The summary for standard output, in Portuguese.
std::string summaryText(const Summary& summary, const std::string& salesFile);

}  // namespace batch
