// The screen's vocabulary: message table, the data sets' fields against what the server
// sends, grid columns and the code tables behind the coded fields.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <string>
#include <utility>

#include "appserver/embedded_server.h"
#include "store/sqlite_store.h"
#include "model/code_tables.h"
#include "model/comissao_model.h"
#include "screen/tfrmcomissao.h"

namespace {

// The fields a data set does not show.
std::string hidden(const tk::TClientDataSet& ds) {
    std::string out;
    for (const tk::TField* f : ds.Fields())
        if (!f->Visible) out += (out.empty() ? "" : " ") + f->FieldName();
    return out;
}

std::vector<wire::FieldDef> defs(const tk::TClientDataSet& ds) {
    std::vector<wire::FieldDef> out;
    for (const tk::TField* f : ds.Fields()) out.push_back(f->Def());
    return out;
}

std::string columns(const tk::TDBGrid& grid) {
    std::string out;
    for (const auto& c : grid.Columns()) {
        if (!out.empty()) out += ' ';
        out += c.FieldName;
        if (!c.Visible) out += "-";
        if (c.ReadOnly) out += "(ro)";
        if (!c.PickList.empty()) out += "[" + std::to_string(c.PickList.size()) + "]";
    }
    return out;
}

class ComissaoModelTest : public ::testing::Test {
protected:
    // No server here: the rule lists must not fetch their bands when they move.
    void SetUp() override {
        form.cdsCargo.AfterScroll = nullptr;
        form.cdsPromocao.AfterScroll = nullptr;
    }
    TfrmComissao form{nullptr};
};

TEST_F(ComissaoModelTest, MessageTableHasEveryRowInOrderWithExactTexts) {
    const auto& rows = model::MessageRows();
    ASSERT_EQ(rows.size(), 29u);
    EXPECT_EQ(rows.front(), "Vendedor|Vendedor");
    EXPECT_EQ(rows.back(), "PERC_ZERO|Percentual de comissão deve ser maior que zero.");
    EXPECT_EQ(form.msgPadrao.Msg("DATA_<>"), "Intervalo de datas informado contempla um intervalo já cadastrado.");
    EXPECT_EQ(form.msgPadrao.Msg("VALOR_<>"), "Intervalo de valores informado contempla um intervalo já cadastrado.");
    EXPECT_EQ(form.msgPadrao.Msg("DtIni>DtFin"), "Data Inicial deve ser menor ou igual a Data Final.");
    EXPECT_EQ(form.msgPadrao.Msg("EVEN_N_CAD"), "Tipo de evento não cadastrado.");
}

// Each reply goes whole into its data set: the fields must be the very ones the server sends,
// in order, with their types and sizes. Over a real socket, from an empty store.
TEST_F(ComissaoModelTest, EveryDataSetHasExactlyTheFieldsTheServerSends) {
    const std::string db = ::testing::TempDir() + "model_fields_" + std::to_string(::getpid()) + ".db";
    {
        appserver::SqliteStore store(db);
        appserver::ServerOptions options;
        options.port = 0;
        const appserver::EmbeddedServer server(store, options);
        form.NetComissao.BeforeConnect = nullptr;  // the address is this server's, not the host's
        form.NetComissao.SetHost("127.0.0.1");
        form.NetComissao.SetPort(server.port());
        form.NetComissao.SetConnected(true);
        server::RdmComissao& rdm = form.rdmComissao;
        const std::pair<fw::TServerReply, const tk::TClientDataSet*> replies[] = {
            {rdm.GetComissao(), &form.cdsComissao},
            {rdm.GetComissao(), &form.cdsVdDtComissao},
            {rdm.GetCargo(1), &form.cdsCargo},
            {rdm.GetEvento(1), &form.cdsEvento},
            {rdm.GetPromocao(1), &form.cdsPromocao},
            {rdm.GetPercentual(1, 1, model::kScopeCargo), &form.cdsPercCargo},
            {rdm.GetPercentual(1, 1, model::kScopeTipoEvento), &form.cdsPercEvento},
            {rdm.GetPercentual(1, 1, model::kScopePromocao), &form.cdsPercPromocao},
            {rdm.GetVdCargo(1, "V"), &form.cdsVdCargo},
            {rdm.getEventoCad(1, "001", "V"), &form.cdsVdEventoCad},
            {rdm.getVdDtPromo(1), &form.cdsVdDtPromo},
            {rdm.getVdVrCargo(1, 1), &form.cdsVdVrPercentual},
            {rdm.getVdVrEvento(1, 1), &form.cdsVdVrPercentual},
            {rdm.getVdVrPromocao(1, 1), &form.cdsVdVrPercentual},
        };
        for (const auto& [reply, set] : replies) {
            ASSERT_TRUE(reply.data) << set->Name();
            EXPECT_FALSE(set->Fields().empty()) << set->Name();
            EXPECT_EQ(reply.data->fields, defs(*set)) << set->Name();
        }
        form.NetComissao.SetConnected(false);
    }
    std::remove(db.c_str());
}

TEST_F(ComissaoModelTest, GridsShowTheirColumnsWithPickListsAndReadOnlyNames) {
    EXPECT_EQ(hidden(form.cdsComissao), "NRCOMISSAOOREV CDFILIAL");
    EXPECT_EQ(hidden(form.cdsCargo), "NRCOMISSAOCARGOOREV NRCOMISSAOOREV");
    EXPECT_EQ(hidden(form.cdsEvento), "NRCOMISSAOTPEVENTOREV NRCOMISSAOOREV");
    EXPECT_EQ(hidden(form.cdsPromocao), "NRCOMISSAOPROMOREV NRCOMISSAOOREV DTINCLUSAOCOMISSAO");
    for (const tk::TClientDataSet* bands : {&form.cdsPercCargo, &form.cdsPercEvento, &form.cdsPercPromocao})
        EXPECT_EQ(hidden(*bands), "NRFAIXACOMISSAOOREV NRCOMISSAOOREV IDTIPOCOMISSAO NRCOMISSAOCARGOOREV "
                                  "NRCOMISSAOTPEVENTOREV NRCOMISSAOPROMOREV");
    EXPECT_EQ(hidden(form.cdsVdVrPercentual), "NRFAIXACOMISSAOOREV");
    EXPECT_EQ(columns(form.dbgPadrao), "DSCOMISSAOOREV DTVALIDADEINI DTVALIDADEFIN NRCOMISSAOOREV-");
    EXPECT_EQ(columns(form.dbgCargo), "IDCARGOVEND[3] NRCOMISSAOCARGOOREV-");
    EXPECT_EQ(columns(form.dbgEvento), "CDTIPOEVENTO NMTIPOEVENTO(ro) IDCARGOVEND[3] NRCOMISSAOTPEVENTOREV-");
    EXPECT_EQ(columns(form.dbgPromocao),
              "DTVALINICOMISPROMO DTVALFINCOMISPROMO IDDTBASECOMISPROMO[2] CDTIPOEVENTO NMTIPOEVENTO(ro) "
              "IDCARGOVEND[3] NRCOMISSAOPROMOREV-");
    EXPECT_EQ(columns(form.dbgPercPromocao), "VRINICIAL VRFINAL VRCOMISSAO NRFAIXACOMISSAOOREV-");
    EXPECT_EQ(form.dbgPromocao.Columns()[2].PickList,
              (std::vector<std::string>{"Data do Evento", "Data de Fechamento"}));
}

TEST_F(ComissaoModelTest, ScreenHasItsCaptionCodeAndFourPagesInOrder) {
    EXPECT_EQ(form.Caption, "Comissão dos Vendedores");
    EXPECT_EQ(form.lblCodTela.Caption, "KTR52300");
    EXPECT_EQ(form.Width, 649);
    EXPECT_EQ(form.Height, 559);
    std::string pages;
    for (const auto* p : form.pgcPadrao.Pages()) pages += p->Name() + "=" + p->Caption + " ";
    EXPECT_EQ(pages, "tshFolhaDados=Comissão tshFormulario=Cargo tshEvento=Tipo de Evento tshPromocao=Promoção ");
    EXPECT_FALSE(form.mnuListagem.Visible());
    EXPECT_FALSE(form.mnuConfigImpressora.Visible());
}

wire::DataPacket cargoPacket(const char* code) {
    return {wire::lists::cargo.defs(), {{1.0, std::string(code), 7.0}}};
}

TEST_F(ComissaoModelTest, PositionCodesShowAsWordsAndOnlyExactWordsStoreCodes) {
    EXPECT_EQ(form.cdsCargoIDCARGOVEND.Text(), "");  // no row: nothing shown
    form.cdsCargo.SetData(cargoPacket("V"));
    EXPECT_EQ(form.cdsCargoIDCARGOVEND.Text(), "Vendedor");
    EXPECT_EQ(form.cdsCargoIDCARGOVEND.DisplayText(), "Vendedor");

    form.cdsCargo.Edit();
    form.cdsCargoIDCARGOVEND.SetText("vendedor");  // wrong case: unchanged
    EXPECT_EQ(form.cdsCargoIDCARGOVEND.AsString(), "V");
    form.cdsCargoIDCARGOVEND.SetText("Gerente");
    EXPECT_EQ(form.cdsCargoIDCARGOVEND.AsString(), "G");
    form.cdsCargo.Cancel();

    form.cdsCargo.SetData(cargoPacket("X"));
    EXPECT_EQ(form.cdsCargoIDCARGOVEND.Text(), "");  // unknown code: empty cell
}

TEST_F(ComissaoModelTest, BaseDateChoiceStoresItsLongCode) {
    wire::DataPacket p;
    for (const auto* f : form.cdsPromocao.Fields()) p.fields.push_back(f->Def());
    p.rows.push_back(wire::Row(p.fields.size()));
    form.cdsPromocao.SetData(p);
    form.cdsPromocao.Edit();
    form.cdsPromocaoIDDTBASECOMISPROMO.SetText("Data de Fechamento");
    EXPECT_EQ(form.cdsPromocaoIDDTBASECOMISPROMO.AsString(), "DATAFECHAMENTO");
    EXPECT_EQ(form.cdsPromocaoIDDTBASECOMISPROMO.Text(), "Data de Fechamento");
}

}  // namespace
