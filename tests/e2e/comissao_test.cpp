// Editing the commission tables: checks before a post, the validity period against the
// stored tables, the life on the server after a post, and date entry.
#include <gtest/gtest.h>
#include <ostream>

#include "e2e/screen_world.h"
#include "e2e/rpc_recorder.h"

namespace comissao_e2e {
namespace {

const char* const kDtNCont = "message: Intervalo de data está contido parcial ou totalmente em outra já cadastrada.";
const char* const kDataContempla = "message: Intervalo de datas informado contempla um intervalo já cadastrado.";

// A script that inserts a table with description `ds` and dates typed as ddmmyyyy, confirms
// and shows the list.
std::string insertScript(const std::string& ds, const std::string& ini, const std::string& fin) {
    std::string s = "open\nclick sbtIncluir\n";
    if (!ds.empty()) s += "type dbgPadrao " + ds + "\n";
    s += "key dbgPadrao Tab\ntype dbgPadrao " + ini + "\nkey dbgPadrao Tab\ntype dbgPadrao " + fin + "\n";
    return s + "click sbtConfirmar\nshow cdsComissao\n";
}

struct PeriodCase {
    const char* name;
    const char* ini;  // ddmmyyyy
    const char* fin;
    const char* message;  // nullptr: accepted
};

// Test listings name the case instead of dumping its bytes.
void PrintTo(const PeriodCase& c, std::ostream* os) { *os << c.name; }

class PeriodAgainst2024 : public ScreenWorld, public ::testing::WithParamInterface<PeriodCase> {};

TEST_P(PeriodAgainst2024, NewTableIsCheckedAgainstTheStoredOne) {
    seedComissao("Tabela 2024", "2024-01-01", "2024-12-31");
    const PeriodCase& c = GetParam();
    auto r = run(insertScript("Nova", c.ini, c.fin));
    const auto messages = linesStarting(r.out, "message: ");
    if (!c.message) {
        EXPECT_TRUE(messages.empty()) << r.out;
        const auto stored = storedComissoes();
        ASSERT_EQ(stored.size(), 2u);
        // The list stands on the new table wherever the server puts it.
        const int at = stored[0][1] == "Nova" ? 1 : 2;
        EXPECT_TRUE(hasLine(r.out, "cdsComissao state=browse rows=2 current=" + std::to_string(at))) << r.out;
    } else {
        EXPECT_EQ(messages, std::vector<std::string>{c.message}) << r.out;
        EXPECT_TRUE(hasLine(r.out, "cdsComissao state=insert rows=2 current=1")) << r.out;
        EXPECT_EQ(storedComissoes().size(), 1u);
    }
}

INSTANTIATE_TEST_SUITE_P(
    ComissaoEndToEnd, PeriodAgainst2024,
    ::testing::Values(PeriodCase{"YearAfter", "01012025", "31122025", nullptr},
                      PeriodCase{"StartsOnTheStoredLastDay", "31122024", "30062025", kDtNCont},
                      PeriodCase{"EndsOnTheStoredFirstDay", "01062023", "01012024", kDtNCont},
                      PeriodCase{"ReachesPastBothEnds", "01122023", "31012025", kDataContempla},
                      PeriodCase{"SameStart", "01012024", "31012025", kDtNCont},
                      PeriodCase{"SameEnd", "01122023", "31122024", kDtNCont},
                      PeriodCase{"SamePeriod", "01012024", "31122024", kDtNCont},
                      PeriodCase{"Inside", "01032024", "30042024", kDtNCont},
                      PeriodCase{"DayBefore", "01012023", "31122023", nullptr}),
    [](const auto& info) { return std::string(info.param.name); });

using ComissaoEndToEnd = ScreenWorld;

TEST_F(ComissaoEndToEnd, EndBeforeStartIsRefusedAndEndOnTheStartIsAccepted) {
    auto refused = run(insertScript("Nova", "10032025", "09032025"));
    EXPECT_EQ(linesStarting(refused.out, "message: "),
              std::vector<std::string>{"message: Data Inicial deve ser menor ou igual a Data Final."});
    EXPECT_TRUE(hasLine(refused.out, "cdsComissao state=insert rows=1 current=1")) << refused.out;
    EXPECT_TRUE(storedComissoes().empty());

    auto accepted = run(insertScript("Nova", "10032025", "10032025"));
    EXPECT_TRUE(linesStarting(accepted.out, "message: ").empty()) << accepted.out;
    EXPECT_EQ(storedComissoes().size(), 1u);
}

TEST_F(ComissaoEndToEnd, EmptyDescriptionIsRefusedAndNothingIsSent) {
    auto r = run(insertScript("", "01012025", "31122025"));
    EXPECT_EQ(linesStarting(r.out, "message: "),
              std::vector<std::string>{"message: Descrição da Comissão deve ser informada."});
    EXPECT_TRUE(hasLine(r.out, "cdsComissao state=insert rows=1 current=1")) << r.out;
    EXPECT_TRUE(storedComissoes().empty());
}

TEST_F(ComissaoEndToEnd, DateClearedToItsSeparatorsIsReportedMissing) {
    auto r = run(
        "open\nclick sbtIncluir\ntype dbgPadrao Nova\nkey dbgPadrao Tab\ntype dbgPadrao 01012025\n"
        "key dbgPadrao Tab\ntype dbgPadrao 31122025\nkey dbgPadrao Left\nkey dbgPadrao Delete\n"
        "click sbtConfirmar\nshow cdsComissao\n");
    EXPECT_EQ(linesStarting(r.out, "message: "), std::vector<std::string>{"message: Data Inicial deve ser informada."});
    EXPECT_TRUE(hasLine(r.out, "cdsComissao state=insert rows=1 current=1")) << r.out;
    EXPECT_TRUE(storedComissoes().empty());
}

TEST_F(ComissaoEndToEnd, AfterAPostTheGridStandsOnThePostedTableWithTheUsersBranch) {
    seedComissao("Tabela 2023", "2023-01-01", "2023-12-31");
    seedComissao("Tabela 2025", "2025-01-01", "2025-12-31");
    auto r = testsupport::runScript(server.port(), catalogue.path(), insertScript("Tabela 2024", "01012024", "31122024"),
                                    {}, "0042");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const auto stored = storedComissoes();
    ASSERT_EQ(stored.size(), 3u);
    int at = 0;
    for (int i = 0; i < 3; ++i)
        if (stored[i][1] == "Tabela 2024") at = i + 1;
    ASSERT_NE(at, 0);
    ASSERT_NE(at, 1) << "the posted table must not be the one the reload stands on anyway";
    EXPECT_EQ(stored[at - 1][4], "0042");
    const auto shown = linesStarting(r.out, "cdsComissao state=");
    ASSERT_EQ(shown.size(), 1u) << r.out;
    EXPECT_EQ(shown[0], "cdsComissao state=browse rows=3 current=" + std::to_string(at));
    EXPECT_TRUE(hasLine(r.out, "  [" + std::to_string(at) + "] NRCOMISSAOOREV=" + std::to_string(stored[at - 1][0].get<int>()) +
                                   ";DSCOMISSAOOREV=Tabela 2024;DTVALIDADEINI=2024-01-01;DTVALIDADEFIN=2024-12-31;"
                                   "CDFILIAL=0042"))
        << r.out;
}

TEST_F(ComissaoEndToEnd, EditingTheDescriptionSkipsThePeriodCheckAndStaysOnTheRow) {
    seedComissao("Tabela 2024", "2024-01-01", "2024-12-31");
    seedComissao("Tabela 2025", "2025-01-01", "2025-12-31");
    auto r = run(
        "open\nrow dbgPadrao 2\nclick sbtAlterar\ntype dbgPadrao Renomeada\nclick sbtConfirmar\nshow cdsComissao\n");
    EXPECT_TRUE(linesStarting(r.out, "message: ").empty()) << r.out;
    EXPECT_TRUE(hasLine(r.out, "cdsComissao state=browse rows=2 current=2")) << r.out;
    EXPECT_EQ(storedComissoes()[1][1], "Renomeada");
}

TEST_F(ComissaoEndToEnd, TypingIntoAStoredTablesDateIsDroppedButANewTableTakesDates) {
    seedComissao("Tabela 2024", "2024-01-01", "2024-12-31");
    auto r = run(
        "open\ncolumn dbgPadrao DTVALIDADEINI\ntype dbgPadrao 01012030\nshow cdsComissao\n"
        "column dbgPadrao DSCOMISSAOOREV\nclick sbtIncluir\ntype dbgPadrao Nova\nkey dbgPadrao Tab\n"
        "type dbgPadrao 01012025\nkey dbgPadrao Tab\ntype dbgPadrao 31122025\nclick sbtConfirmar\n");
    EXPECT_TRUE(hasLine(r.out, "cdsComissao state=browse rows=1 current=1")) << r.out;
    EXPECT_TRUE(linesStarting(r.out, "message: ").empty()) << r.out;
    const auto stored = storedComissoes();
    ASSERT_EQ(stored.size(), 2u);
    EXPECT_EQ(stored[0][2], "2024-01-01T00:00:00");
    EXPECT_EQ(stored[1][2], "2025-01-01T00:00:00");
}

TEST_F(ComissaoEndToEnd, FailingSendAfterAnInsertRemovesTheNewRow) {
    seedComissao("Tabela 2024", "2024-01-01", "2024-12-31");
    e2e::RpcRecorder relay(server.port());
    relay.failMethod("SetComissao", "Falha de gravação.");
    auto r = testsupport::runScript(relay.port(), catalogue.path(), insertScript("Nova", "01012025", "31122025"));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(linesStarting(r.out, "error: "), std::vector<std::string>{"error: Falha de gravação."}) << r.out;
    EXPECT_TRUE(hasLine(r.out, "cdsComissao state=browse rows=1 current=1")) << r.out;
    EXPECT_EQ(storedComissoes().size(), 1u);
}

TEST_F(ComissaoEndToEnd, DeletedTableIsSentAtOnce) {
    seedComissao("Tabela 2024", "2024-01-01", "2024-12-31");
    e2e::RpcRecorder relay(server.port());
    auto r = testsupport::runScript(relay.port(), catalogue.path(), "open\nanswer yes\nclick sbtExcluir\nstate\n");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(relay.methods(), (std::vector<std::string>{"GetComissao", "SetComissao"}));
    EXPECT_TRUE(storedComissoes().empty());
    // The enabling follows the now empty list.
    EXPECT_TRUE(hasLine(r.out, "sbtAlterar disabled")) << r.out;
    EXPECT_TRUE(hasLine(r.out, "tshFormulario disabled")) << r.out;
}

TEST_F(ComissaoEndToEnd, TabLeavesAStoredTablesDateColumn) {
    seedComissao("Tabela 2024", "2024-01-01", "2024-12-31");
    // Tab from the start date reaches the end date, so one Left later the cursor is on the
    // start date again (typing dropped), and only a second Left reaches the description.
    auto r = run(
        "open\ncolumn dbgPadrao DTVALIDADEINI\nkey dbgPadrao Tab\nkey dbgPadrao Left\ntype dbgPadrao X\n"
        "show cdsComissao\nkey dbgPadrao Left\ntype dbgPadrao X\nshow cdsComissao\n");
    EXPECT_EQ(linesStarting(r.out, "cdsComissao state="),
              (std::vector<std::string>{"cdsComissao state=browse rows=1 current=1",
                                        "cdsComissao state=edit rows=1 current=1"}));
}

}  // namespace
}  // namespace comissao_e2e
