// The reading of a sales line takes well-formed cells by a quick path: on every cell, good or
// bad, it must reach what the full reading of a value or a date reaches, refusal text included.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "batch/sales_file.h"

namespace {

const batch::Columns kColumns = batch::readHeader("VENDA;VENDEDOR;IDCARGOVEND;CDTIPOEVENTO;DTEVENTO;DTFECHAMENTO;VRVENDA");

// What readLine makes of `cell` in `column` (4: DTEVENTO, 6: VRVENDA) of an otherwise good line.
std::string lineReading(const std::string& cell, int column) {
    std::string line = "1;A;V;001;";
    line += column == 4 ? cell : "01/01/2025";
    line += ";01/01/2025;";
    line += column == 6 ? cell : "1,00";
    batch::SaleLine sale;
    std::vector<batch::CellSpan> cells;
    if (auto bad = batch::readLine(line, kColumns, sale, cells)) return bad->column + ": " + bad->reason;
    return std::to_string(column == 4 ? sale.sale.eventDay : sale.sale.valueCents);
}

std::string fullReading(const std::string& cell, int column) {
    std::string why;
    const auto got = column == 4 ? batch::readDate(cell, why) : batch::readValue(cell, why);
    if (!got) return std::string(column == 4 ? "DTEVENTO" : "VRVENDA") + ": " + why;
    return std::to_string(*got);
}

}  // namespace

TEST(SalesFile, QuickReadingsOfValuesAndDatesAgreeWithTheFullOnes) {
    std::mt19937 rng(52300);
    const std::string valueChars = "0123456789999.,,-";
    const std::vector<std::string> values = {"999.999.999,00", "999.999.999,01", "1.000.000.000", "0000000001,5",
                                             "-0",             "12,",            ",5",            "1.23",
                                             "1.2345",         "12.345.678",     "-1.234,56",     " 7,5 ",
                                             "1..234",         "01.234"};
    for (const std::string& v : values) EXPECT_EQ(lineReading(v, 6), fullReading(v, 6)) << v;
    for (int i = 0; i < 40000; ++i) {
        std::string v;
        for (std::size_t n = rng() % 15; n > 0; --n) v += valueChars[rng() % valueChars.size()];
        ASSERT_EQ(lineReading(v, 6), fullReading(v, 6)) << "'" << v << "'";
    }

    const std::vector<std::string> dates = {"29/02/2024", "29/02/2025", "29/02/1900", "29/02/2000", "31/04/2025",
                                            "00/01/2025", "01/13/2025", "01/01/0000", "31/12/9999", " 01/01/2025",
                                            "1/01/2025",  "01-01-2025"};
    for (const std::string& d : dates) EXPECT_EQ(lineReading(d, 4), fullReading(d, 4)) << d;
    const std::string dateChars = "0123456789/";
    for (int i = 0; i < 40000; ++i) {
        // Mostly dd/mm/aaaa of any digits, now and then a character out of place.
        char d[11];
        std::snprintf(d, sizeof d, "%02u/%02u/%04u", static_cast<unsigned>(rng() % 34), static_cast<unsigned>(rng() % 14),
                      static_cast<unsigned>(rng() % 10000));
        std::string date = d;
        if (rng() % 4 == 0) date[rng() % date.size()] = dateChars[rng() % dateChars.size()];
        ASSERT_EQ(lineReading(date, 4), fullReading(date, 4)) << date;
    }
}

TEST(SalesFile, ABrokenCharacterIsRefusedWhereverItFallsInTheLine) {
    const std::string good = "12345;VENDEDOR;V;001;01/01/2025;01/01/2025;1,00";
    batch::SaleLine sale;
    std::vector<batch::CellSpan> cells;
    ASSERT_FALSE(batch::readLine(good + ";", kColumns, sale, cells) == std::nullopt);  // one cell too many
    // A lone continuation byte put in place of each letter of the seller's code in turn.
    for (std::size_t at = 6; at < 14; ++at) {
        std::string line = good;
        line[at] = '\x80';
        const auto bad = batch::readLine(line, kColumns, sale, cells);
        ASSERT_TRUE(bad) << at;
        EXPECT_EQ(bad->column + ": " + bad->reason, "VENDEDOR: o texto não é UTF-8 válido") << at;
    }
}
