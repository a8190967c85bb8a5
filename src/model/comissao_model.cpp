#include "model/comissao_model.h"

#include "model/code_tables.h"
#include "wire/lists.h"
#include "wire/texts.h"

namespace model {

using tk::TField;
using wire::FieldType;
constexpr FieldType S = FieldType::String;

const std::vector<std::string>& MessageRows() {
    static const std::vector<std::string> rows = [] {
        std::vector<std::string> out;
        for (const wire::MessageRow& row : wire::kMessages) out.push_back(std::string(row.key) + "|" + row.text);
        return out;
    }();
    return rows;
}

namespace {

void label(TField& f, const char* text) { f.DisplayLabel = text; }
void hide(TField& f) { f.Visible = false; }
void money(TField& f, const char* text) {
    f.DisplayLabel = text;
    f.DisplayFormat = "#,##0.00";
    f.EditFormat = "0.00";
}

// The layout shared by the three band lists.
void bandFields(TField& nrFaixa, TField& nrComissao, TField& tipo, TField& nrCargo, TField& nrEvento,
                TField& nrPromo, TField& vrIni, TField& vrFin, TField& vrComissao) {
    for (TField* f : {&nrFaixa, &nrComissao, &tipo, &nrCargo, &nrEvento, &nrPromo}) hide(*f);
    label(nrComissao, "Código");
    money(vrIni, "Valor Inicial");
    money(vrFin, "Valor Final");
    money(vrComissao, "Percentual");
}

void bandColumns(tk::TDBGrid& grid) {
    grid.AddColumn("VRINICIAL", 115);
    grid.AddColumn("VRFINAL", 113);
    grid.AddColumn("VRCOMISSAO");
    grid.AddColumn("NRFAIXACOMISSAOOREV").Visible = false;
}

void scopeGridLook(tk::TDBGrid& upper, tk::TDBGrid& bands) {
    bands.Height = 105;
    for (tk::TDBGrid* g : {&upper, &bands}) g->CancelOnExit = true;
}

}  // namespace

ComissaoModel::ComissaoModel(fw::TfrmPadrao& form)
    : tshEvento(&form, "tshEvento", form.pgcPadrao, "Tipo de Evento"),
      tshPromocao(&form, "tshPromocao", form.pgcPadrao, "Promoção"),
      mnuTipoEvento(&form, "mnuTipoEvento", &form.mnuOperacao, "&Tipo de Evento"),
      mnuPromocao(&form, "mnuPromocao", &form.mnuOperacao, "&Promoção"),
      mnuLinha4(&form, "mnuLinha4", &form.mnuManutencao, "-"),
      dbtNome(&form, "dbtNome", &form.panNavigator, &form.dtsPadrao, "DSCOMISSAOOREV"),
      NetComissao(&form, "NetComissao"),
      rdmComissao(NetComissao),
      cdsComissao(&form, "cdsComissao", wire::lists::comissao.defs()),
      cdsComissaoNRCOMISSAOOREV(cdsComissao.FieldByName("NRCOMISSAOOREV")),
      cdsComissaoDSCOMISSAOOREV(cdsComissao.FieldByName("DSCOMISSAOOREV")),
      cdsComissaoDTVALIDADEINI(cdsComissao.FieldByName("DTVALIDADEINI")),
      cdsComissaoDTVALIDADEFIN(cdsComissao.FieldByName("DTVALIDADEFIN")),
      cdsComissaoCDFILIAL(cdsComissao.FieldByName("CDFILIAL")),
      cdsCargo(&form, "cdsCargo", wire::lists::cargo.defs()),
      cdsCargoNRCOMISSAOCARGOOREV(cdsCargo.FieldByName("NRCOMISSAOCARGOOREV")),
      cdsCargoIDCARGOVEND(cdsCargo.FieldByName("IDCARGOVEND")),
      cdsCargoNRCOMISSAOOREV(cdsCargo.FieldByName("NRCOMISSAOOREV")),
      dtsCargo(&form, "dtsCargo", &cdsCargo),
      cdsEvento(&form, "cdsEvento", wire::lists::evento.defs()),
      cdsEventoNRCOMISSAOTPEVENTOREV(cdsEvento.FieldByName("NRCOMISSAOTPEVENTOREV")),
      cdsEventoNRCOMISSAOOREV(cdsEvento.FieldByName("NRCOMISSAOOREV")),
      cdsEventoCDTIPOEVENTO(cdsEvento.FieldByName("CDTIPOEVENTO")),
      cdsEventoNMTIPOEVENTO(cdsEvento.FieldByName("NMTIPOEVENTO")),
      cdsEventoIDCARGOVEND(cdsEvento.FieldByName("IDCARGOVEND")),
      dtsEvento(&form, "dtsEvento", &cdsEvento),
      cdsPromocao(&form, "cdsPromocao", wire::lists::promocao.defs()),
      cdsPromocaoNRCOMISSAOPROMOREV(cdsPromocao.FieldByName("NRCOMISSAOPROMOREV")),
      cdsPromocaoNRCOMISSAOOREV(cdsPromocao.FieldByName("NRCOMISSAOOREV")),
      cdsPromocaoDTVALINICOMISPROMO(cdsPromocao.FieldByName("DTVALINICOMISPROMO")),
      cdsPromocaoDTVALFINCOMISPROMO(cdsPromocao.FieldByName("DTVALFINCOMISPROMO")),
      cdsPromocaoIDDTBASECOMISPROMO(cdsPromocao.FieldByName("IDDTBASECOMISPROMO")),
      cdsPromocaoCDTIPOEVENTO(cdsPromocao.FieldByName("CDTIPOEVENTO")),
      cdsPromocaoNMTIPOEVENTO(cdsPromocao.FieldByName("NMTIPOEVENTO")),
      cdsPromocaoIDCARGOVEND(cdsPromocao.FieldByName("IDCARGOVEND")),
      cdsPromocaoDTINCLUSAOCOMISSAO(cdsPromocao.FieldByName("DTINCLUSAOCOMISSAO")),
      dtsPromocao(&form, "dtsPromocao", &cdsPromocao),
      cdsPercCargo(&form, "cdsPercCargo", wire::lists::faixa.defs()),
      cdsPercCargoNRFAIXACOMISSAOOREV(cdsPercCargo.FieldByName("NRFAIXACOMISSAOOREV")),
      cdsPercCargoNRCOMISSAOOREV(cdsPercCargo.FieldByName("NRCOMISSAOOREV")),
      cdsPercCargoIDTIPOCOMISSAO(cdsPercCargo.FieldByName("IDTIPOCOMISSAO")),
      cdsPercCargoNRCOMISSAOCARGOOREV(cdsPercCargo.FieldByName("NRCOMISSAOCARGOOREV")),
      cdsPercCargoNRCOMISSAOTPEVENTOREV(cdsPercCargo.FieldByName("NRCOMISSAOTPEVENTOREV")),
      cdsPercCargoNRCOMISSAOPROMOREV(cdsPercCargo.FieldByName("NRCOMISSAOPROMOREV")),
      cdsPercCargoVRINICIAL(cdsPercCargo.FieldByName("VRINICIAL")),
      cdsPercCargoVRFINAL(cdsPercCargo.FieldByName("VRFINAL")),
      cdsPercCargoVRCOMISSAO(cdsPercCargo.FieldByName("VRCOMISSAO")),
      dtsPercCargo(&form, "dtsPercCargo", &cdsPercCargo),
      cdsPercEvento(&form, "cdsPercEvento", wire::lists::faixa.defs()),
      cdsPercEventoNRFAIXACOMISSAOOREV(cdsPercEvento.FieldByName("NRFAIXACOMISSAOOREV")),
      cdsPercEventoNRCOMISSAOOREV(cdsPercEvento.FieldByName("NRCOMISSAOOREV")),
      cdsPercEventoIDTIPOCOMISSAO(cdsPercEvento.FieldByName("IDTIPOCOMISSAO")),
      cdsPercEventoNRCOMISSAOCARGOOREV(cdsPercEvento.FieldByName("NRCOMISSAOCARGOOREV")),
      cdsPercEventoNRCOMISSAOTPEVENTOREV(cdsPercEvento.FieldByName("NRCOMISSAOTPEVENTOREV")),
      cdsPercEventoNRCOMISSAOPROMOREV(cdsPercEvento.FieldByName("NRCOMISSAOPROMOREV")),
      cdsPercEventoVRINICIAL(cdsPercEvento.FieldByName("VRINICIAL")),
      cdsPercEventoVRFINAL(cdsPercEvento.FieldByName("VRFINAL")),
      cdsPercEventoVRCOMISSAO(cdsPercEvento.FieldByName("VRCOMISSAO")),
      dtsPercEvento(&form, "dtsPercEvento", &cdsPercEvento),
      cdsPercPromocao(&form, "cdsPercPromocao", wire::lists::faixa.defs()),
      cdsPercPromocaoNRFAIXACOMISSAOOREV(cdsPercPromocao.FieldByName("NRFAIXACOMISSAOOREV")),
      cdsPercPromocaoNRCOMISSAOOREV(cdsPercPromocao.FieldByName("NRCOMISSAOOREV")),
      cdsPercPromocaoIDTIPOCOMISSAO(cdsPercPromocao.FieldByName("IDTIPOCOMISSAO")),
      cdsPercPromocaoNRCOMISSAOCARGOOREV(cdsPercPromocao.FieldByName("NRCOMISSAOCARGOOREV")),
      cdsPercPromocaoNRCOMISSAOTPEVENTOREV(cdsPercPromocao.FieldByName("NRCOMISSAOTPEVENTOREV")),
      cdsPercPromocaoNRCOMISSAOPROMOREV(cdsPercPromocao.FieldByName("NRCOMISSAOPROMOREV")),
      cdsPercPromocaoVRINICIAL(cdsPercPromocao.FieldByName("VRINICIAL")),
      cdsPercPromocaoVRFINAL(cdsPercPromocao.FieldByName("VRFINAL")),
      cdsPercPromocaoVRCOMISSAO(cdsPercPromocao.FieldByName("VRCOMISSAO")),
      dtsPercPromocao(&form, "dtsPercPromocao", &cdsPercPromocao),
      cdsVdDtComissao(&form, "cdsVdDtComissao", wire::lists::comissao.defs()),
      cdsVdDtComissaoNRCOMISSAOOREV(cdsVdDtComissao.FieldByName("NRCOMISSAOOREV")),
      cdsVdDtComissaoDSCOMISSAOOREV(cdsVdDtComissao.FieldByName("DSCOMISSAOOREV")),
      cdsVdDtComissaoDTVALIDADEINI(cdsVdDtComissao.FieldByName("DTVALIDADEINI")),
      cdsVdDtComissaoDTVALIDADEFIN(cdsVdDtComissao.FieldByName("DTVALIDADEFIN")),
      cdsVdDtComissaoCDFILIAL(cdsVdDtComissao.FieldByName("CDFILIAL")),
      dtsVdDtComissao(&form, "dtsVdDtComissao", &cdsVdDtComissao),
      cdsVdCargo(&form, "cdsVdCargo", wire::lists::vdCargo.defs()),
      cdsVdCargoIDCARGOVEND(cdsVdCargo.FieldByName("IDCARGOVEND")),
      dtsVdCargo(&form, "dtsVdCargo", &cdsVdCargo),
      cdsVdEventoCad(&form, "cdsVdEventoCad", wire::lists::vdEventoCad.defs()),
      cdsVdEventoCadNRCOMISSAOTPEVENTOREV(cdsVdEventoCad.FieldByName("NRCOMISSAOTPEVENTOREV")),
      dtsVdEventoCad(&form, "dtsVdEventoCad", &cdsVdEventoCad),
      cdsVdDtPromo(&form, "cdsVdDtPromo", wire::lists::vdDtPromo.defs()),
      cdsVdDtPromoDTVALINICOMISPROMO(cdsVdDtPromo.FieldByName("DTVALINICOMISPROMO")),
      cdsVdDtPromoDTVALFINCOMISPROMO(cdsVdDtPromo.FieldByName("DTVALFINCOMISPROMO")),
      cdsVdDtPromoNRCOMISSAOPROMOREV(cdsVdDtPromo.FieldByName("NRCOMISSAOPROMOREV")),
      cdsVdDtPromoIDDTBASECOMISPROMO(cdsVdDtPromo.FieldByName("IDDTBASECOMISPROMO")),
      cdsVdDtPromoCDTIPOEVENTO(cdsVdDtPromo.FieldByName("CDTIPOEVENTO")),
      cdsVdDtPromoIDCARGOVEND(cdsVdDtPromo.FieldByName("IDCARGOVEND")),
      dtsVdDtPromo(&form, "dtsVdDtPromo", &cdsVdDtPromo),
      cdsVdVrPercentual(&form, "cdsVdVrPercentual", wire::lists::vdVrPercentual.defs()),
      cdsVdVrPercentualVRINICIAL(cdsVdVrPercentual.FieldByName("VRINICIAL")),
      cdsVdVrPercentualVRFINAL(cdsVdVrPercentual.FieldByName("VRFINAL")),
      cdsVdVrPercentualNRFAIXACOMISSAOOREV(cdsVdVrPercentual.FieldByName("NRFAIXACOMISSAOOREV")),
      dtsVdVrCargo(&form, "dtsVdVrCargo", &cdsVdVrPercentual),
      qryTipoEvento(&form, "qryTipoEvento"),
      qryTipoEventoCDTIPOEVENTO(qryTipoEvento, "CDTIPOEVENTO", S, 3),
      qryTipoEventoNMTIPOEVENTO(qryTipoEvento, "NMTIPOEVENTO", S, 30),
      dtsTipoEvento(&form, "dtsTipoEvento", &qryTipoEvento),
      qryVdTpEvento(&form, "qryVdTpEvento"),
      qryVdTpEventoCDTIPOEVENTO(qryVdTpEvento, "CDTIPOEVENTO", S, 3),
      qryVdTpEventoNMTIPOEVENTO(qryVdTpEvento, "NMTIPOEVENTO", S, 30),
      dbgCargo(&form, "dbgCargo", &form.tshFormulario),
      Splitter1(&form, "Splitter1", &form.tshFormulario),
      dbgPercCargo(&form, "dbgPercCargo", &form.tshFormulario),
      dbgEvento(&form, "dbgEvento", &tshEvento),
      Splitter2(&form, "Splitter2", &tshEvento),
      dbgPercEvento(&form, "dbgPercEvento", &tshEvento),
      dbgPromocao(&form, "dbgPromocao", &tshPromocao),
      Splitter3(&form, "Splitter3", &tshPromocao),
      dbgPercPromocao(&form, "dbgPercPromocao", &tshPromocao) {
    form.Caption = "Comissão dos Vendedores";
    form.FormStyle = tk::TFormStyle::fsMDIChild;
    form.Left = 298;
    form.Top = 96;
    form.Width = 649;
    form.Height = 559;
    form.lblCodTela.SetCaption("KTR52300");
    form.tshFolhaDados.Caption = "Comissão";
    form.tshFormulario.Caption = "Cargo";
    form.mnuFolhaDados.SetCaption("Comissão (&Grade)");
    form.mnuFormulario.SetCaption("&Cargo");
    mnuTipoEvento.ShortCut = "Ctrl+3";
    mnuPromocao.ShortCut = "Ctrl+4";
    form.mnuListagem.SetVisible(false);
    form.mnuConfigImpressora.SetVisible(false);
    form.msgPadrao.Messages = MessageRows();

    NetComissao.ServerName = "KTR52300.rdmComissao";

    // Commission tables.
    form.dtsPadrao.SetDataSet(&cdsComissao);
    label(cdsComissaoNRCOMISSAOOREV, "Código");
    hide(cdsComissaoNRCOMISSAOOREV);
    label(cdsComissaoDSCOMISSAOOREV, "Descrição");
    label(cdsComissaoDTVALIDADEINI, "Validade Inicial");
    label(cdsComissaoDTVALIDADEFIN, "Validade Final");
    hide(cdsComissaoCDFILIAL);
    form.dbgPadrao.AddColumn("DSCOMISSAOOREV", 455);
    form.dbgPadrao.AddColumn("DTVALIDADEINI", 78);
    form.dbgPadrao.AddColumn("DTVALIDADEFIN", 72);
    form.dbgPadrao.AddColumn("NRCOMISSAOOREV").Visible = false;

    const auto cargos = CodePickList(kCargoCodes, form.msgPadrao);

    // Position rules.
    hide(cdsCargoNRCOMISSAOCARGOOREV);
    label(cdsCargoIDCARGOVEND, "Descrição");
    label(cdsCargoNRCOMISSAOOREV, "Código");
    hide(cdsCargoNRCOMISSAOOREV);
    dbgCargo.SetDataSource(&dtsCargo);
    dbgCargo.AddColumn("IDCARGOVEND", 179).PickList = cargos;
    dbgCargo.AddColumn("NRCOMISSAOCARGOOREV").Visible = false;

    // Event-type rules.
    hide(cdsEventoNRCOMISSAOTPEVENTOREV);
    label(cdsEventoNRCOMISSAOOREV, "Código");
    hide(cdsEventoNRCOMISSAOOREV);
    label(cdsEventoCDTIPOEVENTO, "Cód. Tipo Evento");
    label(cdsEventoNMTIPOEVENTO, "Tipo de Evento");
    label(cdsEventoIDCARGOVEND, "Cargo");
    dbgEvento.SetDataSource(&dtsEvento);
    dbgEvento.AddColumn("CDTIPOEVENTO", 88);
    dbgEvento.AddColumn("NMTIPOEVENTO", 377).ReadOnly = true;
    dbgEvento.AddColumn("IDCARGOVEND", 140).PickList = cargos;
    dbgEvento.AddColumn("NRCOMISSAOTPEVENTOREV").Visible = false;

    // Promotion rules.
    hide(cdsPromocaoNRCOMISSAOPROMOREV);
    label(cdsPromocaoNRCOMISSAOOREV, "Código");
    hide(cdsPromocaoNRCOMISSAOOREV);
    label(cdsPromocaoDTVALINICOMISPROMO, "Validade Inicial");
    label(cdsPromocaoDTVALFINCOMISPROMO, "Validade Final");
    label(cdsPromocaoIDDTBASECOMISPROMO, "Data Base");
    label(cdsPromocaoCDTIPOEVENTO, "Cód. Tipo Evento");
    label(cdsPromocaoNMTIPOEVENTO, "Tipo Evento");
    label(cdsPromocaoIDCARGOVEND, "Cargo");
    hide(cdsPromocaoDTINCLUSAOCOMISSAO);
    dbgPromocao.SetDataSource(&dtsPromocao);
    dbgPromocao.AddColumn("DTVALINICOMISPROMO", 77);
    dbgPromocao.AddColumn("DTVALFINCOMISPROMO", 73);
    dbgPromocao.AddColumn("IDDTBASECOMISPROMO", 117).PickList = CodePickList(kDataBaseCodes, form.msgPadrao);
    dbgPromocao.AddColumn("CDTIPOEVENTO");
    dbgPromocao.AddColumn("NMTIPOEVENTO", 179).ReadOnly = true;
    dbgPromocao.AddColumn("IDCARGOVEND", 69).PickList = cargos;
    dbgPromocao.AddColumn("NRCOMISSAOPROMOREV").Visible = false;

    // Value bands.
    bandFields(cdsPercCargoNRFAIXACOMISSAOOREV, cdsPercCargoNRCOMISSAOOREV, cdsPercCargoIDTIPOCOMISSAO,
               cdsPercCargoNRCOMISSAOCARGOOREV, cdsPercCargoNRCOMISSAOTPEVENTOREV, cdsPercCargoNRCOMISSAOPROMOREV,
               cdsPercCargoVRINICIAL, cdsPercCargoVRFINAL, cdsPercCargoVRCOMISSAO);
    bandFields(cdsPercEventoNRFAIXACOMISSAOOREV, cdsPercEventoNRCOMISSAOOREV, cdsPercEventoIDTIPOCOMISSAO,
               cdsPercEventoNRCOMISSAOCARGOOREV, cdsPercEventoNRCOMISSAOTPEVENTOREV,
               cdsPercEventoNRCOMISSAOPROMOREV, cdsPercEventoVRINICIAL, cdsPercEventoVRFINAL,
               cdsPercEventoVRCOMISSAO);
    bandFields(cdsPercPromocaoNRFAIXACOMISSAOOREV, cdsPercPromocaoNRCOMISSAOOREV, cdsPercPromocaoIDTIPOCOMISSAO,
               cdsPercPromocaoNRCOMISSAOCARGOOREV, cdsPercPromocaoNRCOMISSAOTPEVENTOREV,
               cdsPercPromocaoNRCOMISSAOPROMOREV, cdsPercPromocaoVRINICIAL, cdsPercPromocaoVRFINAL,
               cdsPercPromocaoVRCOMISSAO);
    dbgPercCargo.SetDataSource(&dtsPercCargo);
    dbgPercEvento.SetDataSource(&dtsPercEvento);
    dbgPercPromocao.SetDataSource(&dtsPercPromocao);
    for (tk::TDBGrid* g : {&dbgPercCargo, &dbgPercEvento, &dbgPercPromocao}) bandColumns(*g);
    scopeGridLook(dbgCargo, dbgPercCargo);
    scopeGridLook(dbgEvento, dbgPercEvento);
    scopeGridLook(dbgPromocao, dbgPercPromocao);
    for (tk::TSplitter* s : {&Splitter1, &Splitter2, &Splitter3}) s->Height = 3;

    // Check sets.
    label(cdsVdDtComissaoNRCOMISSAOOREV, "Código");
    hide(cdsVdDtComissaoNRCOMISSAOOREV);
    label(cdsVdDtComissaoDSCOMISSAOOREV, "Descrição");
    label(cdsVdDtComissaoDTVALIDADEINI, "Validade Inicial");
    label(cdsVdDtComissaoDTVALIDADEFIN, "Validade Final");
    hide(cdsVdDtComissaoCDFILIAL);
    money(cdsVdVrPercentualVRINICIAL, "Valor Inicial");
    money(cdsVdVrPercentualVRFINAL, "Valor Final");
    hide(cdsVdVrPercentualNRFAIXACOMISSAOOREV);

    // Event-type catalogue.
    qryTipoEvento.SQL = {"SELECT CDTIPOEVENTO, NMTIPOEVENTO", "  FROM TIPOEVENTO", " ORDER BY CDTIPOEVENTO"};
    qryTipoEvento.SQLOracle = {"SELECT CDTIPOEVENTO, NMTIPOEVENTO", "  FROM TIPOEVENTO", " ORDER BY CDTIPOEVENTO ",
                               " "};
    qryTipoEvento.SQLMSSQL = {"SELECT CDTIPOEVENTO, NMTIPOEVENTO", "  FROM TIPOEVENTO", " ORDER BY CDTIPOEVENTO",
                              " "};
    label(qryTipoEventoCDTIPOEVENTO, "Código");
    label(qryTipoEventoNMTIPOEVENTO, "Descrição");
    qryVdTpEvento.SQL = {"SELECT CDTIPOEVENTO, NMTIPOEVENTO", "  FROM TIPOEVENTO",
                         " WHERE CDTIPOEVENTO = :P_CDTIPOEVENTO"};
    qryVdTpEvento.SQLOracle = qryVdTpEvento.SQL;
    qryVdTpEvento.SQLMSSQL = qryVdTpEvento.SQL;
    qryVdTpEvento.AddParam("P_CDTIPOEVENTO");
}

}  // namespace model
