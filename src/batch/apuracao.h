// The run over a sales file: every sale's commission, each salesperson's total and the lines
// refused, written to three files, with chunks of lines paid on several threads.
#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "commission/engine.h"

namespace batch {

struct RunOptions {
    std::string sales;   // the sales file
    std::string prefix;  // PREFIX-vendas.csv, PREFIX-vendedores.csv, PREFIX-recusadas.csv
    int threads = 1;
    // Lines are cut into chunks of about this size (0: a sixty-fourth of the file, from 64 KiB
    // to 4 MiB, so that a small file is shared among threads too); any size gives the same files.
    std::size_t chunkBytes = 0;
    std::function<void(std::uint64_t lines)> progress;  // after each chunk written; may be empty
    std::function<bool()> interrupted;                  // asked between chunks; may be empty
    // Pay every sale a second time as this table would, its dates moved as a copy onto it
    // would move them; adds the _B and DIFERENCA columns and PREFIX-lacunas.csv.
    std::optional<long long> compareTable;
};

struct Summary {
    std::uint64_t version = 0;  // of the tables the run was paid by
    std::uint64_t read = 0, paid = 0, unpaid = 0, refused = 0;
    std::uint64_t noTable = 0, noRule = 0, noBand = 0;  // the unpaid, by why
    long long salesCents = 0, commissionCents = 0;       // of the lines read and not refused
    double seconds = 0;
};

// Throws std::runtime_error in Portuguese (the file cannot be read, lacks a required column,
// an output cannot be written, the run was interrupted); nothing is then put in place.
Summary apura(const commission::Engine& engine, const RunOptions& options);

// The summary for standard output, in Portuguese.
std::string summaryText(const Summary& summary, const std::string& salesFile);

}  // namespace batch
