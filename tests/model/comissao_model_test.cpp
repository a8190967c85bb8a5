// The screen's vocabulary: message table, field layouts the server must match, grid
// columns and the code tables behind the coded fields.
#include <gtest/gtest.h>

#include <string>

#include "model/comissao_model.h"
#include "screen/tfrmcomissao.h"

namespace {

std::string layout(const tk::TClientDataSet& ds) {
    std::string out;
    for (const tk::TField* f : ds.Fields()) {
        if (!out.empty()) out += ' ';
        out += f->FieldName() + ':' + wire::typeName(f->DataType());
        if (f->DataType() == wire::FieldType::String) out += '(' + std::to_string(f->Size()) + ')';
        if (!f->Visible) out += '-';
    }
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

TEST_F(ComissaoModelTest, DataSetsCarryTheFieldsTheServerSendsInOrder) {
    EXPECT_EQ(layout(form.cdsComissao),
              "NRCOMISSAOOREV:float- DSCOMISSAOOREV:string(30) DTVALIDADEINI:datetime DTVALIDADEFIN:datetime "
              "CDFILIAL:string(4)-");
    EXPECT_EQ(layout(form.cdsCargo), "NRCOMISSAOCARGOOREV:float- IDCARGOVEND:string(1) NRCOMISSAOOREV:float-");
    EXPECT_EQ(layout(form.cdsEvento),
              "NRCOMISSAOTPEVENTOREV:float- NRCOMISSAOOREV:float- CDTIPOEVENTO:string(3) NMTIPOEVENTO:string(30) "
              "IDCARGOVEND:string(1)");
    EXPECT_EQ(layout(form.cdsPromocao),
              "NRCOMISSAOPROMOREV:float- NRCOMISSAOOREV:float- DTVALINICOMISPROMO:datetime "
              "DTVALFINCOMISPROMO:datetime IDDTBASECOMISPROMO:string(30) CDTIPOEVENTO:string(3) "
              "NMTIPOEVENTO:string(30) IDCARGOVEND:string(1) DTINCLUSAOCOMISSAO:datetime-");
    const std::string bands =
        "NRFAIXACOMISSAOOREV:float- NRCOMISSAOOREV:float- IDTIPOCOMISSAO:string(30)- NRCOMISSAOCARGOOREV:float- "
        "NRCOMISSAOTPEVENTOREV:float- NRCOMISSAOPROMOREV:float- VRINICIAL:float VRFINAL:float VRCOMISSAO:float";
    EXPECT_EQ(layout(form.cdsPercCargo), bands);
    EXPECT_EQ(layout(form.cdsPercEvento), bands);
    EXPECT_EQ(layout(form.cdsPercPromocao), bands);
    EXPECT_EQ(layout(form.cdsVdDtPromo),
              "DTVALINICOMISPROMO:datetime DTVALFINCOMISPROMO:datetime NRCOMISSAOPROMOREV:float "
              "IDDTBASECOMISPROMO:string(30) CDTIPOEVENTO:string(3) IDCARGOVEND:string(1)");
    EXPECT_EQ(layout(form.cdsVdVrPercentual), "VRINICIAL:float VRFINAL:float NRFAIXACOMISSAOOREV:float-");
}

TEST_F(ComissaoModelTest, GridsShowTheirColumnsWithPickListsAndReadOnlyNames) {
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
    return {{{"NRCOMISSAOCARGOOREV", wire::FieldType::Float, 0},
             {"IDCARGOVEND", wire::FieldType::String, 1},
             {"NRCOMISSAOOREV", wire::FieldType::Float, 0}},
            {{1.0, std::string(code), 7.0}}};
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
