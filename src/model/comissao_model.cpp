#include "model/comissao_model.h"

#include "model/code_tables.h"

namespace model {

using tk::TField;
using wire::FieldType;
constexpr FieldType F = FieldType::Float;
constexpr FieldType S = FieldType::String;
constexpr FieldType D = FieldType::DateTime;

const std::vector<std::string>& MessageRows() {
    static const std::vector<std::string> rows = {
        "Vendedor|Vendedor",
        "Supervisor|Supervisor",
        "Gerente|Gerente",
        "DATAEVENTO|Data do Evento",
        "DATAFECHAMENTO|Data de Fechamento",
        "CdCom_Deve|Código da comissão deve ser informado.",
        "Nm_Deve|Descrição da Comissão deve ser informada.",
        "N_DtFin|Data Final deve ser informada.",
        "N_DtIni|Data Inicial deve ser informada.",
        "Cargo_NCad|Cargo deve ser informado.",
        "Cargo_cad|Cargo já cadastrado.",
        "TIPOEVENTO|Tipo de evento",
        "EVEN_N_CAD|Tipo de evento não cadastrado.",
        "TPEVEN_NINF|Tipo de evento deve ser informado.",
        "DtBase_NCad|Data Base deve ser informada.",
        "DtIni>DtFin|Data Inicial deve ser menor ou igual a Data Final.",
        "VRINI_N|Valor Inicial deve ser cadastrado.",
        "VRFIN_N|Valor Final deve ser cadastrado.",
        "VRINI>VRFIN|Valor Inicial deve ser menor ou igual ao Valor Final.",
        "INTER_N_CONT|Intervalo de valores está contido parcial ou totalmente em outro já cadastrado.",
        "PERC_N|Percentual deve ser informado.",
        "DT_N_CONT|Intervalo de data está contido parcial ou totalmente em outra já cadastrada.",
        "TPEVENTO_CAD|Tipo de Evento e cargo já cadastrados.",
        "DTPROMO_COMI|Data Inicial e Final da Promoção deve estar entre a data Inicial e Final da Comissão.",
        "PROMO_CAD|Data Base, Tipo de Evento e Cargo já cadastrados para o período informado.",
        "DTPROM_CAD|Intervalo de data está contido parcial em uma já cadastrada.",
        "VALOR_<>|Intervalo de valores informado contempla um intervalo já cadastrado.",
        "DATA_<>|Intervalo de datas informado contempla um intervalo já cadastrado.",
        "PERC_ZERO|Percentual de comissão deve ser maior que zero.",
    };
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
      cdsComissao(&form, "cdsComissao"),
      cdsComissaoNRCOMISSAOOREV(cdsComissao, "NRCOMISSAOOREV", F),
      cdsComissaoDSCOMISSAOOREV(cdsComissao, "DSCOMISSAOOREV", S, 30),
      cdsComissaoDTVALIDADEINI(cdsComissao, "DTVALIDADEINI", D),
      cdsComissaoDTVALIDADEFIN(cdsComissao, "DTVALIDADEFIN", D),
      cdsComissaoCDFILIAL(cdsComissao, "CDFILIAL", S, 4),
      cdsCargo(&form, "cdsCargo"),
      cdsCargoNRCOMISSAOCARGOOREV(cdsCargo, "NRCOMISSAOCARGOOREV", F),
      cdsCargoIDCARGOVEND(cdsCargo, "IDCARGOVEND", S, 1),
      cdsCargoNRCOMISSAOOREV(cdsCargo, "NRCOMISSAOOREV", F),
      dtsCargo(&form, "dtsCargo", &cdsCargo),
      cdsEvento(&form, "cdsEvento"),
      cdsEventoNRCOMISSAOTPEVENTOREV(cdsEvento, "NRCOMISSAOTPEVENTOREV", F),
      cdsEventoNRCOMISSAOOREV(cdsEvento, "NRCOMISSAOOREV", F),
      cdsEventoCDTIPOEVENTO(cdsEvento, "CDTIPOEVENTO", S, 3),
      cdsEventoNMTIPOEVENTO(cdsEvento, "NMTIPOEVENTO", S, 30),
      cdsEventoIDCARGOVEND(cdsEvento, "IDCARGOVEND", S, 1),
      dtsEvento(&form, "dtsEvento", &cdsEvento),
      cdsPromocao(&form, "cdsPromocao"),
      cdsPromocaoNRCOMISSAOPROMOREV(cdsPromocao, "NRCOMISSAOPROMOREV", F),
      cdsPromocaoNRCOMISSAOOREV(cdsPromocao, "NRCOMISSAOOREV", F),
      cdsPromocaoDTVALINICOMISPROMO(cdsPromocao, "DTVALINICOMISPROMO", D),
      cdsPromocaoDTVALFINCOMISPROMO(cdsPromocao, "DTVALFINCOMISPROMO", D),
      cdsPromocaoIDDTBASECOMISPROMO(cdsPromocao, "IDDTBASECOMISPROMO", S, 30),
      cdsPromocaoCDTIPOEVENTO(cdsPromocao, "CDTIPOEVENTO", S, 3),
      cdsPromocaoNMTIPOEVENTO(cdsPromocao, "NMTIPOEVENTO", S, 30),
      cdsPromocaoIDCARGOVEND(cdsPromocao, "IDCARGOVEND", S, 1),
      cdsPromocaoDTINCLUSAOCOMISSAO(cdsPromocao, "DTINCLUSAOCOMISSAO", D),
      dtsPromocao(&form, "dtsPromocao", &cdsPromocao),
      cdsPercCargo(&form, "cdsPercCargo"),
      cdsPercCargoNRFAIXACOMISSAOOREV(cdsPercCargo, "NRFAIXACOMISSAOOREV", F),
      cdsPercCargoNRCOMISSAOOREV(cdsPercCargo, "NRCOMISSAOOREV", F),
      cdsPercCargoIDTIPOCOMISSAO(cdsPercCargo, "IDTIPOCOMISSAO", S, 30),
      cdsPercCargoNRCOMISSAOCARGOOREV(cdsPercCargo, "NRCOMISSAOCARGOOREV", F),
      cdsPercCargoNRCOMISSAOTPEVENTOREV(cdsPercCargo, "NRCOMISSAOTPEVENTOREV", F),
      cdsPercCargoNRCOMISSAOPROMOREV(cdsPercCargo, "NRCOMISSAOPROMOREV", F),
      cdsPercCargoVRINICIAL(cdsPercCargo, "VRINICIAL", F),
      cdsPercCargoVRFINAL(cdsPercCargo, "VRFINAL", F),
      cdsPercCargoVRCOMISSAO(cdsPercCargo, "VRCOMISSAO", F),
      dtsPercCargo(&form, "dtsPercCargo", &cdsPercCargo),
      cdsPercEvento(&form, "cdsPercEvento"),
      cdsPercEventoNRFAIXACOMISSAOOREV(cdsPercEvento, "NRFAIXACOMISSAOOREV", F),
      cdsPercEventoNRCOMISSAOOREV(cdsPercEvento, "NRCOMISSAOOREV", F),
      cdsPercEventoIDTIPOCOMISSAO(cdsPercEvento, "IDTIPOCOMISSAO", S, 30),
      cdsPercEventoNRCOMISSAOCARGOOREV(cdsPercEvento, "NRCOMISSAOCARGOOREV", F),
      cdsPercEventoNRCOMISSAOTPEVENTOREV(cdsPercEvento, "NRCOMISSAOTPEVENTOREV", F),
      cdsPercEventoNRCOMISSAOPROMOREV(cdsPercEvento, "NRCOMISSAOPROMOREV", F),
      cdsPercEventoVRINICIAL(cdsPercEvento, "VRINICIAL", F),
      cdsPercEventoVRFINAL(cdsPercEvento, "VRFINAL", F),
      cdsPercEventoVRCOMISSAO(cdsPercEvento, "VRCOMISSAO", F),
      dtsPercEvento(&form, "dtsPercEvento", &cdsPercEvento),
      cdsPercPromocao(&form, "cdsPercPromocao"),
      cdsPercPromocaoNRFAIXACOMISSAOOREV(cdsPercPromocao, "NRFAIXACOMISSAOOREV", F),
      cdsPercPromocaoNRCOMISSAOOREV(cdsPercPromocao, "NRCOMISSAOOREV", F),
      cdsPercPromocaoIDTIPOCOMISSAO(cdsPercPromocao, "IDTIPOCOMISSAO", S, 30),
      cdsPercPromocaoNRCOMISSAOCARGOOREV(cdsPercPromocao, "NRCOMISSAOCARGOOREV", F),
      cdsPercPromocaoNRCOMISSAOTPEVENTOREV(cdsPercPromocao, "NRCOMISSAOTPEVENTOREV", F),
      cdsPercPromocaoNRCOMISSAOPROMOREV(cdsPercPromocao, "NRCOMISSAOPROMOREV", F),
      cdsPercPromocaoVRINICIAL(cdsPercPromocao, "VRINICIAL", F),
      cdsPercPromocaoVRFINAL(cdsPercPromocao, "VRFINAL", F),
      cdsPercPromocaoVRCOMISSAO(cdsPercPromocao, "VRCOMISSAO", F),
      dtsPercPromocao(&form, "dtsPercPromocao", &cdsPercPromocao),
      cdsVdDtComissao(&form, "cdsVdDtComissao"),
      cdsVdDtComissaoNRCOMISSAOOREV(cdsVdDtComissao, "NRCOMISSAOOREV", F),
      cdsVdDtComissaoDSCOMISSAOOREV(cdsVdDtComissao, "DSCOMISSAOOREV", S, 30),
      cdsVdDtComissaoDTVALIDADEINI(cdsVdDtComissao, "DTVALIDADEINI", D),
      cdsVdDtComissaoDTVALIDADEFIN(cdsVdDtComissao, "DTVALIDADEFIN", D),
      cdsVdDtComissaoCDFILIAL(cdsVdDtComissao, "CDFILIAL", S, 4),
      dtsVdDtComissao(&form, "dtsVdDtComissao", &cdsVdDtComissao),
      cdsVdCargo(&form, "cdsVdCargo"),
      cdsVdCargoIDCARGOVEND(cdsVdCargo, "IDCARGOVEND", S, 1),
      dtsVdCargo(&form, "dtsVdCargo", &cdsVdCargo),
      cdsVdEventoCad(&form, "cdsVdEventoCad"),
      cdsVdEventoCadNRCOMISSAOTPEVENTOREV(cdsVdEventoCad, "NRCOMISSAOTPEVENTOREV", F),
      dtsVdEventoCad(&form, "dtsVdEventoCad", &cdsVdEventoCad),
      cdsVdDtPromo(&form, "cdsVdDtPromo"),
      cdsVdDtPromoDTVALINICOMISPROMO(cdsVdDtPromo, "DTVALINICOMISPROMO", D),
      cdsVdDtPromoDTVALFINCOMISPROMO(cdsVdDtPromo, "DTVALFINCOMISPROMO", D),
      cdsVdDtPromoNRCOMISSAOPROMOREV(cdsVdDtPromo, "NRCOMISSAOPROMOREV", F),
      cdsVdDtPromoIDDTBASECOMISPROMO(cdsVdDtPromo, "IDDTBASECOMISPROMO", S, 30),
      cdsVdDtPromoCDTIPOEVENTO(cdsVdDtPromo, "CDTIPOEVENTO", S, 3),
      cdsVdDtPromoIDCARGOVEND(cdsVdDtPromo, "IDCARGOVEND", S, 1),
      dtsVdDtPromo(&form, "dtsVdDtPromo", &cdsVdDtPromo),
      cdsVdVrPercentual(&form, "cdsVdVrPercentual"),
      cdsVdVrPercentualVRINICIAL(cdsVdVrPercentual, "VRINICIAL", F),
      cdsVdVrPercentualVRFINAL(cdsVdVrPercentual, "VRFINAL", F),
      cdsVdVrPercentualNRFAIXACOMISSAOOREV(cdsVdVrPercentual, "NRFAIXACOMISSAOOREV", F),
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
