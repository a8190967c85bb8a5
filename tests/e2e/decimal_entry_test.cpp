// Decimal entry in the band grids through the headless host: which keystrokes reach the
// cell, seen in the grid's editor text (`grid` lines).
#include "e2e/band_world.h"

namespace e2e {
namespace {

using Strings = std::vector<std::string>;

class DecimalEntry : public BandWorld {
protected:
    // Opens the position page and starts a new band with `field` selected.
    static std::string newBandAt(const std::string& field) {
        return "open\ntab tshFormulario\nfocus dbgPercCargo\nclick sbtIncluir\ncolumn dbgPercCargo " + field + "\n";
    }
    // Types `text` and prints the editor.
    static std::string typed(const std::string& text, const std::string& grid = "dbgPercCargo") {
        return "type " + grid + " " + text + "\ngrid " + grid + "\n";
    }
    // The editor texts printed by the `grid` lines, in order.
    static Strings editors(const std::string& out) {
        Strings found;
        for (const auto& line : linesStarting(out, "grid: "))
            found.push_back(line.substr(line.find(" editor=") + 8));
        return found;
    }
    // A dropped keystroke shows nothing at all.
    static void expectSilent(const std::string& out) {
        EXPECT_TRUE(linesStarting(out, "message: ").empty()) << out;
        EXPECT_TRUE(linesStarting(out, "error: ").empty()) << out;
    }
};

TEST_F(DecimalEntry, APercentageStopsAt999EvenAfterTheComma) {
    const auto out = run(newBandAt("VRCOMISSAO") + typed("99") + typed("9") + typed("9") + typed(",") + typed("5") +
                         typed("0") + typed("1"));
    EXPECT_EQ(editors(out), (Strings{"99", "999", "999", "999,", "999,", "999,0", "999,0"})) << out;
    expectSilent(out);
}

TEST_F(DecimalEntry, AValueStopsAtNineNinesInBothValueColumns) {
    for (const char* field : {"VRINICIAL", "VRFINAL"}) {
        const auto out = run(newBandAt(field) + typed("999999999") + typed("9") + typed(",") + typed("0") + typed("1"));
        EXPECT_EQ(editors(out), (Strings{"999999999", "999999999", "999999999,", "999999999,0", "999999999,0"}))
            << field << "\n"
            << out;
        expectSilent(out);
    }
}

TEST_F(DecimalEntry, ACommaNeedsADigitBeforeItAndComesOnce) {
    const auto out = run(newBandAt("VRINICIAL") + typed(",") + typed("5,") + typed("2") + typed(",") + typed("3"));
    EXPECT_EQ(editors(out), (Strings{"", "5,", "5,2", "5,2", "5,23"})) << out;
    expectSilent(out);
}

TEST_F(DecimalEntry, DigitsAfterTheCommaAreNotCountedAndThePostRoundsThem) {
    const auto out = run(newBandAt("VRINICIAL") + typed("12,3456") +
                         "key dbgPercCargo Tab\ntype dbgPercCargo 20\nkey dbgPercCargo Tab\n"
                         "type dbgPercCargo 1\nclick sbtConfirmar\n");
    EXPECT_EQ(editors(out), Strings{"12,3456"}) << out;
    expectSilent(out);
    EXPECT_EQ(stored(), Strings{"12.35..20.0:1.0"});
}

TEST_F(DecimalEntry, ThePointIsRefusedEverywhereTheMinusOnlyInTheValueColumns) {
    const auto out = run(newBandAt("VRINICIAL") + typed("-1.5") + "key dbgPercCargo Tab\n" + typed("-2.5") +
                         "key dbgPercCargo Tab\n" + typed("-3.5"));
    EXPECT_EQ(editors(out), (Strings{"-15", "-25", "35"})) << out;
    expectSilent(out);
}

TEST_F(DecimalEntry, LettersAndSymbolsAreRefusedInEveryValueColumn) {
    const auto out = run(newBandAt("VRINICIAL") + typed("%&'(a+ 1") + "key dbgPercCargo Tab\n" + typed("%&'(b 2") +
                         "key dbgPercCargo Tab\n" + typed("%&'(c 3"));
    EXPECT_EQ(editors(out), (Strings{"1", "2", "3"})) << out;
    expectSilent(out);
}

// "5-" is a text a number cannot continue: a digit after it is dropped without a word.
TEST_F(DecimalEntry, ADigitThatWouldNotMakeANumberIsDroppedSilently) {
    const auto out = run(newBandAt("VRFINAL") + typed("5-") + typed("6"));
    EXPECT_EQ(editors(out), (Strings{"5-", "5-"})) << out;
    expectSilent(out);
}

// The first keystroke in a freshly selected cell replaces its text: the limit is measured
// on what the cell will hold, not on the old text with the digit appended.
TEST_F(DecimalEntry, ADigitReplacingASelectedCellIsMeasuredAlone) {
    seedBand(nr, "CARGO", rule, 0, 100, 999);
    const auto out = run("open\ntab tshFormulario\ncolumn dbgPercCargo VRCOMISSAO\n" + typed("5"));
    EXPECT_EQ(editors(out), Strings{"5"}) << out;
    expectSilent(out);
}

TEST_F(DecimalEntry, WithoutARuleNothingCanBeTypedInTheBands) {
    // A second commission table without rules, shown after a move of the navigator.
    seedComissao("Tabela 2026", "2026-01-01", "2026-12-31");
    const auto out = run(
        "open\nnav last\ntab tshFormulario\nshow cdsCargo\ncolumn dbgPercCargo VRINICIAL\n" + typed("5") +
        "key dbgPercCargo Backspace\ncolumn dbgPercCargo VRCOMISSAO\n" + typed("5,") + "show cdsPercCargo\n");
    EXPECT_TRUE(has(out, "cdsCargo state=browse rows=0")) << out;
    EXPECT_EQ(editors(out), (Strings{"", ""})) << out;
    EXPECT_TRUE(has(lastShow(out, "cdsPercCargo"), "cdsPercCargo state=browse rows=0")) << out;
    expectSilent(out);
}

// The limits follow the band grid of the page shown: the other two grids have them too.
TEST_F(DecimalEntry, TheEventAndPromotionBandGridsFilterAlike) {
    seedEvento(nr, "001", "Venda", "V");
    seedPromocao(nr, "2025-03-01", "2025-03-31", "DATAEVENTO", "001", "Venda", "V");
    const auto out = run(
        "open\ntab tshEvento\nfocus dbgPercEvento\nclick sbtIncluir\ncolumn dbgPercEvento VRCOMISSAO\n" +
        typed("9999-.,5", "dbgPercEvento") + "answer yes\nclick sbtCancelar\n" +
        "tab tshPromocao\nfocus dbgPercPromocao\nclick sbtIncluir\n" + typed(",-9999999999", "dbgPercPromocao"));
    // No lower limit: a tenth digit after the minus sign is taken.
    EXPECT_EQ(editors(out), (Strings{"999,", "-9999999999"})) << out;
    expectSilent(out);
}

TEST_F(DecimalEntry, WithoutAnEventTypeRuleNothingCanBeTypedInItsBands) {
    seedBand(nr, "CARGO", rule, 0, 100, 5);  // the position scope has a rule; the event-type scope none
    const auto out = run("open\ntab tshEvento\ncolumn dbgPercEvento VRFINAL\n" + typed("1", "dbgPercEvento"));
    EXPECT_EQ(editors(out), Strings{""}) << out;
    expectSilent(out);
}

}  // namespace
}  // namespace e2e
