// Value bands through the headless host against a real server: checks before the post,
// the overlap check against the stored bands, send, reload and re-positioning, delete.
#include "e2e/band_world.h"

namespace e2e {
namespace {

using Strings = std::vector<std::string>;

class Bands : public BandWorld {
protected:
    static constexpr const char* kOpen = "open\ntab tshFormulario\n";
};

TEST_F(Bands, ASharedEndPointCollidesAndTheNextCentIsStored) {
    seedBand(nr, "CARGO", rule, 0, 100, 5);
    seedBand(nr, "CARGO", rule, 101, 200, 6);
    const auto out = run(std::string(kOpen) + typeBand("dbgPercCargo", "200", "300", "7") +
                         "show cdsPercCargo\ngrid dbgPercCargo\nstate\n" + cancelBand() +
                         typeBand("dbgPercCargo", "200,01", "300", "7") + "show cdsPercCargo\n");
    EXPECT_EQ(messages(out), Strings{kInterNCont}) << out;
    EXPECT_TRUE(has(out, "cdsPercCargo state=insert rows=3")) << out;
    EXPECT_TRUE(has(out, "grid: dbgPercCargo column=VRINICIAL")) << out;
    EXPECT_TRUE(has(out, "focus: dbgPercCargo")) << out;
    EXPECT_EQ(calls("SetPercCargo"), 1u);
    EXPECT_EQ(stored(), (Strings{"0.0..100.0:5.0", "101.0..200.0:6.0", "200.01..300.0:7.0"}));
}

TEST_F(Bands, AStoredBandInsideTheNewOneIsContainedEveryOtherOverlapCollides) {
    seedBand(nr, "CARGO", rule, 120, 180, 5);
    const auto out = run(std::string(kOpen) + typeBand("dbgPercCargo", "100", "200", "1") + cancelBand() +
                         typeBand("dbgPercCargo", "120", "200", "1") + cancelBand() +
                         typeBand("dbgPercCargo", "130", "150", "1") + cancelBand() +
                         typeBand("dbgPercCargo", "181", "200", "1") + "show cdsPercCargo\n");
    EXPECT_EQ(messages(out), (Strings{kValorContempla, kInterNCont, kInterNCont})) << out;
    EXPECT_EQ(calls("getVdVrCargo"), 4u);
    EXPECT_EQ(stored(), (Strings{"120.0..180.0:5.0", "181.0..200.0:1.0"}));
    EXPECT_TRUE(has(lastShow(out, "cdsPercCargo"), "state=browse rows=2")) << out;
}

// An edited band meets its own stored copy in the overlap check; that copy is skipped.
TEST_F(Bands, AnEditedBandRetypedUnchangedIsStored) {
    seedBand(nr, "CARGO", rule, 0, 100, 5);
    seedBand(nr, "CARGO", rule, 101, 200, 6);
    const auto out = run(std::string(kOpen) + "focus dbgPercCargo\nclick sbtAlterar\n" +
                         retype("dbgPercCargo", "0", "100", "5") + "show cdsPercCargo\n");
    EXPECT_EQ(messages(out), Strings{}) << out;
    EXPECT_TRUE(has(lastShow(out, "cdsPercCargo"), "state=browse rows=2")) << out;
    EXPECT_EQ(stored(), (Strings{"0.0..100.0:5.0", "101.0..200.0:6.0"}));
}

TEST_F(Bands, EqualInitialAndFinalValuesAreStored) {
    const auto out = run(std::string(kOpen) + typeBand("dbgPercCargo", "50", "50", "2"));
    EXPECT_EQ(messages(out), Strings{}) << out;
    EXPECT_EQ(stored(), Strings{"50.0..50.0:2.0"});
}

TEST_F(Bands, ValuesAreRoundedToCentsAndTheReloadedListStandsOnThePostedBand) {
    seedBand(nr, "CARGO", rule, 0, 10, 1);
    seedBand(nr, "CARGO", rule, 20, 30, 2);
    const auto out = run(std::string(kOpen) + typeBand("dbgPercCargo", "12,345", "15,004", "3,335") +
                         "show cdsPercCargo\n");
    EXPECT_EQ(messages(out), Strings{}) << out;
    EXPECT_EQ(stored(), (Strings{"0.0..10.0:1.0", "12.35..15.0:3.34", "20.0..30.0:2.0"}));
    const std::string current = currentRow(out, "cdsPercCargo");
    EXPECT_TRUE(has(current, "VRINICIAL=12.35;VRFINAL=15;VRCOMISSAO=3.34")) << out;
    EXPECT_FALSE(has(current, "NRFAIXACOMISSAOOREV=;")) << current;  // the server's copy, numbered
    EXPECT_TRUE(has(lastShow(out, "cdsPercCargo"), "state=browse rows=3")) << out;
}

TEST_F(Bands, AZeroPercentageOrOneRoundingToZeroIsRefusedBeforeTheOverlapCheck) {
    const auto out = run(std::string(kOpen) + typeBand("dbgPercCargo", "0", "100", "0") +
                         "grid dbgPercCargo\n" + retype("dbgPercCargo", "0", "100", "0,004") +
                         "grid dbgPercCargo\nshow cdsPercCargo\n");
    EXPECT_EQ(messages(out), (Strings{kPercZero, kPercZero})) << out;
    EXPECT_TRUE(has(out, "grid: dbgPercCargo column=VRCOMISSAO")) << out;
    // The refused band keeps its rounded values and its insert state.
    EXPECT_TRUE(has(lastShow(out, "cdsPercCargo"), "state=insert rows=1")) << out;
    EXPECT_TRUE(has(lastShow(out, "cdsPercCargo"), "VRINICIAL=0;VRFINAL=100;VRCOMISSAO=0\n")) << out;
    EXPECT_EQ(calls("getVdVrCargo"), 0u);
    EXPECT_EQ(calls("SetPercCargo"), 0u);
    EXPECT_EQ(stored(), Strings{});
}

// A screen that skipped its checks, or raced another, still cannot store a zero percentage.
TEST_F(Bands, TheServerRefusesAZeroPercentageToo) {
    try {
        seedBand(nr, "CARGO", rule, 0, 10, 0);
        ADD_FAILURE() << "a zero percentage was stored";
    } catch (const std::runtime_error& e) {
        EXPECT_TRUE(has(e.what(), kPercZero)) << e.what();
    }
    EXPECT_EQ(stored(), Strings{});
}

TEST_F(Bands, EmptyAndMisorderedValuesAreReportedOneAtATimeWithTheFocusOnTheField) {
    const auto out = run(std::string(kOpen) +
                         "focus dbgPercCargo\nclick sbtIncluir\nclick sbtConfirmar\ngrid dbgPercCargo\n"
                         "type dbgPercCargo 10\nclick sbtConfirmar\ngrid dbgPercCargo\n"
                         "type dbgPercCargo 5\nclick sbtConfirmar\ngrid dbgPercCargo\n"
                         // back into the final value, freshly selected, to replace it
                         "key dbgPercCargo Left\nkey dbgPercCargo Tab\n"
                         "type dbgPercCargo 20\nclick sbtConfirmar\ngrid dbgPercCargo\n"
                         "type dbgPercCargo 4\nclick sbtConfirmar\nshow cdsPercCargo\n");
    EXPECT_EQ(messages(out), (Strings{"Valor Inicial deve ser cadastrado.", "Valor Final deve ser cadastrado.",
                                      "Valor Inicial deve ser menor ou igual ao Valor Final.",
                                      "Percentual deve ser informado."}))
        << out;
    EXPECT_EQ(linesStarting(out, "grid: "),
              (Strings{"grid: dbgPercCargo column=VRINICIAL editor=", "grid: dbgPercCargo column=VRFINAL editor=",
                       "grid: dbgPercCargo column=VRFINAL editor=5,00",
                       "grid: dbgPercCargo column=VRCOMISSAO editor="}))
        << out;
    EXPECT_EQ(stored(), Strings{"10.0..20.0:4.0"});
}

TEST_F(Bands, WithoutStoredBandsTheOverlapCheckAsksTheServerForTheRuleAndPasses) {
    const auto out = run(std::string(kOpen) + typeBand("dbgPercCargo", "0", "1000", "3"));
    EXPECT_EQ(messages(out), Strings{}) << out;
    std::vector<json> asked;
    for (const auto& r : relay.requests())
        if (r["method"] == "getVdVrCargo") asked.push_back(r["params"]);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0], json::array({nr, rule}));
    EXPECT_EQ(stored(), Strings{"0.0..1000.0:3.0"});
}

TEST_F(Bands, AFailedSendAfterAPostDropsTheNewBandAndRestoresAnEditedOne) {
    seedBand(nr, "CARGO", rule, 0, 100, 5);
    relay.failMethod("SetPercCargo", "Falha ao gravar.");
    const auto out = run(std::string(kOpen) + typeBand("dbgPercCargo", "200", "300", "7") +
                         "show cdsPercCargo\nrow dbgPercCargo 1\nclick sbtAlterar\n" +
                         retype("dbgPercCargo", "0", "150", "9") + "show cdsPercCargo\n");
    EXPECT_EQ(linesStarting(out, "error: "), (Strings{"error: Falha ao gravar.", "error: Falha ao gravar."}))
        << out;
    const auto first = out.find("cdsPercCargo state=");
    ASSERT_NE(first, std::string::npos) << out;
    EXPECT_TRUE(has(out.substr(first, out.find('\n', first) - first), "state=browse rows=1")) << out;
    const auto last = lastShow(out, "cdsPercCargo");
    EXPECT_TRUE(has(last, "state=browse rows=1")) << out;
    EXPECT_TRUE(has(last, "VRINICIAL=0;VRFINAL=100;VRCOMISSAO=5\n")) << out;
    EXPECT_EQ(calls("SetPercCargo"), 2u);
    EXPECT_EQ(callsAfterFirst("SetPercCargo", "GetPercentual"), 0u);  // no reload after a failed send
    EXPECT_EQ(stored(), Strings{"0.0..100.0:5.0"});
}

TEST_F(Bands, DeletingSendsAtOnceWithoutReloadingAndAFailedSendBringsTheBandBack) {
    seedBand(nr, "CARGO", rule, 0, 100, 5);
    seedBand(nr, "CARGO", rule, 101, 200, 6);
    const auto out = run(std::string(kOpen) + "focus dbgPercCargo\nanswer yes\nclick sbtExcluir\nstate\n" +
                         "show cdsPercCargo\n");
    EXPECT_EQ(messages(out), Strings{}) << out;
    EXPECT_EQ(calls("SetPercCargo"), 1u);
    EXPECT_EQ(callsAfterFirst("SetPercCargo", "GetPercentual"), 0u);
    EXPECT_TRUE(has(lastShow(out, "cdsPercCargo"), "state=browse rows=1")) << out;
    EXPECT_TRUE(has(out, "sbtExcluir enabled\n")) << out;
    EXPECT_EQ(stored().size(), 1u);

    relay.failMethod("SetPercCargo", "Falha ao excluir.");
    const auto failed = run(std::string(kOpen) + "focus dbgPercCargo\nanswer yes\nclick sbtExcluir\n" +
                            "show cdsPercCargo\n");
    EXPECT_EQ(linesStarting(failed, "error: "), Strings{"error: Falha ao excluir."}) << failed;
    EXPECT_TRUE(has(lastShow(failed, "cdsPercCargo"), "state=browse rows=1")) << failed;
    EXPECT_EQ(stored().size(), 1u);
}

TEST_F(Bands, CancelDropsTheNewBand) {
    seedBand(nr, "CARGO", rule, 0, 100, 5);
    const auto out = run(std::string(kOpen) + "focus dbgPercCargo\nclick sbtIncluir\ntype dbgPercCargo 300\n" +
                         cancelBand() + "show cdsPercCargo\n");
    EXPECT_TRUE(has(lastShow(out, "cdsPercCargo"), "state=browse rows=1")) << out;
    EXPECT_EQ(calls("SetPercCargo"), 0u);
}

// The other two lists differ only in names: their own rule number, scope kind, overlap
// check and send.
TEST_F(Bands, AnEventTypeBandCarriesItsRuleAndKindAndMeetsOnlyItsRulesBands) {
    const double evento = seedEvento(nr, "001", "Venda", "V");
    seedBand(nr, "TIPOEVENTO", evento, 0, 100, 5);
    seedBand(nr, "CARGO", rule, 150, 250, 5);  // another scope's band: no conflict
    const auto out = run("open\ntab tshEvento\n" + typeBand("dbgPercEvento", "100", "200", "1") + cancelBand() +
                         typeBand("dbgPercEvento", "100,01", "200", "1") + "show cdsPercEvento\n");
    EXPECT_EQ(messages(out), Strings{kInterNCont}) << out;
    EXPECT_EQ(calls("getVdVrEvento"), 2u);
    EXPECT_EQ(calls("SetPercEvento"), 1u);
    EXPECT_EQ(stored("TIPOEVENTO", evento), (Strings{"0.0..100.0:5.0", "100.01..200.0:1.0"}));
    EXPECT_TRUE(has(currentRow(out, "cdsPercEvento"),
                    "IDTIPOCOMISSAO=TIPOEVENTO;NRCOMISSAOCARGOOREV=;NRCOMISSAOTPEVENTOREV=" + shown(evento)))
        << out;
}

TEST_F(Bands, APromotionBandCarriesItsRuleAndKindAndMeetsOnlyItsRulesBands) {
    const double promo = seedPromocao(nr, "2025-03-01", "2025-03-31", "DATAEVENTO", "001", "Venda", "V");
    seedBand(nr, "PROMOCAO", promo, 10, 20, 5);
    const auto out = run("open\ntab tshPromocao\n" + typeBand("dbgPercPromocao", "0", "30", "1") + cancelBand() +
                         typeBand("dbgPercPromocao", "21", "30", "1") + "show cdsPercPromocao\n");
    EXPECT_EQ(messages(out), Strings{kValorContempla}) << out;
    EXPECT_EQ(calls("getVdVrPromocao"), 2u);
    EXPECT_EQ(calls("SetPercPromocao"), 1u);
    EXPECT_EQ(stored("PROMOCAO", promo), (Strings{"10.0..20.0:5.0", "21.0..30.0:1.0"}));
    EXPECT_TRUE(has(currentRow(out, "cdsPercPromocao"), "IDTIPOCOMISSAO=PROMOCAO;NRCOMISSAOCARGOOREV=;"
                                                        "NRCOMISSAOTPEVENTOREV=;NRCOMISSAOPROMOREV=" +
                                                            shown(promo)))
        << out;
}

}  // namespace
}  // namespace e2e
