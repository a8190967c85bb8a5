// The grid keys through the headless host against a real server: Tab that wraps between
// rows, Escape that takes back one cell before the row, Ctrl+Delete that deletes through
// the list (so the server hears of it), Ctrl+Tab between controls, Ctrl+Enter's search.
#include "e2e/band_world.h"

namespace e2e {
namespace {

using Strings = std::vector<std::string>;

class GridKeys : public BandWorld {
protected:
    void SetUp() override {
        BandWorld::SetUp();
        seedBand(nr, "CARGO", rule, 0, 100, 5);
        seedBand(nr, "CARGO", rule, 101, 200, 6);
        seedBand(nr, "CARGO", rule, 201, 300, 7);
    }
    // The band grid reached from the rule grid by the keyboard alone.
    static constexpr const char* kOpenBands = "open\ntab tshFormulario\nkey dbgCargo Ctrl+Tab\n";
};

// Rule grid, band grid, page tabs, round again; Ctrl+Shift+Tab goes back (`key` clicks
// into its grid first).
TEST_F(GridKeys, CtrlTabGoesRoundTheControlsOfThePage) {
    const auto out = run(std::string(kOpenBands) +
                         "state\nkey dbgPercCargo Ctrl+Tab\nstate\nkey dbgPercCargo Ctrl+Shift+Tab\nstate\n");
    EXPECT_EQ(linesStarting(out, "focus: "),
              (Strings{"focus: dbgPercCargo", "focus: pgcPadrao", "focus: dbgCargo"}))
        << out;
}

// A percentage typed on the first band goes to that band when Tab leaves it for the next
// one; Shift+Tab comes back; the last band keeps its cell and no band is appended.
TEST_F(GridKeys, TabWrapsToTheNextBandAndStopsAtTheLast) {
    const auto out = run(std::string(kOpenBands) +
                         "key dbgPercCargo Tab\nkey dbgPercCargo Tab\ntype dbgPercCargo 9\nkey dbgPercCargo Tab\n"
                         "grid dbgPercCargo\nshow cdsPercCargo\n"
                         "key dbgPercCargo Shift+Tab\ngrid dbgPercCargo\nshow cdsPercCargo\n"
                         "row dbgPercCargo 3\nkey dbgPercCargo Tab\nkey dbgPercCargo Tab\nkey dbgPercCargo Tab\n"
                         "key dbgPercCargo Tab\ngrid dbgPercCargo\nshow cdsPercCargo\n");
    EXPECT_EQ(messages(out), Strings{}) << out;
    EXPECT_EQ(linesStarting(out, "grid: "),
              (Strings{"grid: dbgPercCargo column=VRINICIAL editor=101,00",
                       "grid: dbgPercCargo column=VRCOMISSAO editor=9,00",
                       "grid: dbgPercCargo column=VRCOMISSAO editor=7,00"}))
        << out;
    EXPECT_EQ(stored(), (Strings{"0.0..100.0:9.0", "101.0..200.0:6.0", "201.0..300.0:7.0"}));
    EXPECT_TRUE(has(lastShow(out, "cdsPercCargo"), "state=browse rows=3 current=3")) << out;
}

// Three values typed into a new band: one Escape takes back the percentage being typed,
// the second drops the band; nothing reaches the server.
TEST_F(GridKeys, FirstEscapeUndoesTheCellTheSecondCancelsTheNewBand) {
    const auto out = run(std::string(kOpenBands) +
                         "click sbtIncluir\ntype dbgPercCargo 400\nkey dbgPercCargo Tab\ntype dbgPercCargo 500\n"
                         "key dbgPercCargo Tab\ntype dbgPercCargo 8\nkey dbgPercCargo Escape\nshow cdsPercCargo\n"
                         "grid dbgPercCargo\nkey dbgPercCargo Escape\nshow cdsPercCargo\n");
    EXPECT_TRUE(has(out, "cdsPercCargo state=insert rows=4")) << out;
    EXPECT_TRUE(has(out, "VRINICIAL=400;VRFINAL=500;VRCOMISSAO=\n")) << out;
    EXPECT_TRUE(has(out, "grid: dbgPercCargo column=VRCOMISSAO editor=\n")) << out;
    EXPECT_TRUE(has(lastShow(out, "cdsPercCargo"), "state=browse rows=3")) << out;
    EXPECT_EQ(calls("SetPercCargo"), 0u);
    EXPECT_EQ(stored().size(), 3u);
}

// The grid asks its own question; "no" keeps the band, "yes" deletes the selected one and
// the list sends the deletion at once.
TEST_F(GridKeys, CtrlDeleteAsksAndDeletesTheSelectedBandOnTheServer) {
    const auto out = run(std::string(kOpenBands) +
                         "row dbgPercCargo 2\nanswer no\nkey dbgPercCargo Ctrl+Delete\n"
                         "answer yes\nkey dbgPercCargo Ctrl+Delete\nshow cdsPercCargo\n");
    EXPECT_EQ(linesStarting(out, "question: "),
              (Strings{"question: ExcluirRegistro no", "question: ExcluirRegistro yes"}))
        << out;
    EXPECT_EQ(calls("SetPercCargo"), 1u);
    EXPECT_EQ(stored(), (Strings{"0.0..100.0:5.0", "201.0..300.0:7.0"}));
    EXPECT_TRUE(has(lastShow(out, "cdsPercCargo"), "state=browse rows=2")) << out;
}

TEST_F(GridKeys, CtrlEnterOpensTheEventTypeSearch) {
    const auto out = run("open\ntab tshEvento\nclick sbtIncluir\nsearch 2\nkey dbgEvento Ctrl+Enter\nshow cdsEvento\n");
    EXPECT_TRUE(has(out, "search: Tipo de evento rows=3")) << out;
    EXPECT_TRUE(has(out, "CDTIPOEVENTO=007;NMTIPOEVENTO=Troca")) << out;
}

}  // namespace
}  // namespace e2e
