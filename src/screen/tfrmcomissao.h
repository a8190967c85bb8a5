// The commission-table maintenance screen ("Comissão dos Vendedores", KTR52300).
//
// One class; its member functions live in the folder that owns them: screen/ the
// lifecycle, the commands and Habilita_Botoes; rules/ one file per list; model/ the
// text handlers of the coded fields.
#pragma once
#include <cstdint>
#include <string>

#include "framework/tfrmpadrao.h"
#include "model/comissao_model.h"

class TfrmComissao : public fw::TfrmPadrao, public model::ComissaoModel {
public:
    explicit TfrmComissao(tk::TComponent* owner);
    ~TfrmComissao() override;

    // Lifecycle (screen/lifecycle.cpp).
    void FormCreate(tk::TObject& Sender) override;
    void FormClose(tk::TObject& Sender, tk::TCloseAction& Action) override;
    void FormActivate(tk::TObject& Sender);
    void NetComissaoBeforeConnect(tk::TObject& Sender);

    // Commands and edit state (screen/commands.cpp).
    void Habilita_Botoes();
    void sbtIncluirClick(tk::TObject& Sender) override;
    void sbtAlterarClick(tk::TObject& Sender) override;
    void sbtExcluirClick(tk::TObject& Sender) override;
    void sbtConfirmarClick(tk::TObject& Sender) override;
    void sbtCancelarClick(tk::TObject& Sender) override;
    void sbtProcurarClick(tk::TObject& Sender) override;
    void sbtVerificarClick(tk::TObject& Sender) override;
    void dtsPadraoStateChange(tk::TObject& Sender);
    void dtsCargoStateChange(tk::TObject& Sender);
    void dtsEventoStateChange(tk::TObject& Sender);
    void dtsPromocaoStateChange(tk::TObject& Sender);
    void dtsPercCargoStateChange(tk::TObject& Sender);
    void dtsPercEventoStateChange(tk::TObject& Sender);
    void dtsPercPromocaoStateChange(tk::TObject& Sender);
    void dbgCargoEnter(tk::TObject& Sender);
    void dbgPercCargoEnter(tk::TObject& Sender);
    void dbgEventoEnter(tk::TObject& Sender);
    void dbgPercEventoEnter(tk::TObject& Sender);
    void dbgPromocaoEnter(tk::TObject& Sender);
    void dbgPercPromocaoEnter(tk::TObject& Sender);
    void pgcPadraoChanging(tk::TObject& Sender);
    void pgcPadraoChange(tk::TObject& Sender) override;
    void pgcPadraoExit(tk::TObject& Sender);
    // The open scope page follows the current commission table.
    void cdsComissaoBeforeScroll(tk::TClientDataSet& DataSet);
    void cdsComissaoAfterScroll(tk::TClientDataSet& DataSet);
    void cdsComissaoAfterOpen(tk::TClientDataSet& DataSet);
    void dbnPadraoClick(tk::TObject& Sender, tk::TNavigateBtn Button) override;
    void mnuTipoEventoClick(tk::TObject& Sender);
    void mnuPromocaoClick(tk::TObject& Sender);

    // Commission tables (rules/comissao.cpp).
    void cdsComissaoBeforeInsert(tk::TClientDataSet& DataSet);
    void cdsComissaoBeforePost(tk::TClientDataSet& DataSet);
    void cdsComissaoAfterPost(tk::TClientDataSet& DataSet);
    void cdsComissaoAfterCancel(tk::TClientDataSet& DataSet);
    void cdsComissaoAfterDelete(tk::TClientDataSet& DataSet);
    void cdsComissaoDTVALIDADEINISetText(tk::TField& Sender, const std::string& Text);
    void cdsComissaoDTVALIDADEFINSetText(tk::TField& Sender, const std::string& Text);
    void dbgPadraoColExit(tk::TObject& Sender);
    void dbgPadraoExit(tk::TObject& Sender);
    void dbgPadraoKeyPress(tk::TObject& Sender, char32_t& Key);
    void dbgPadraoKeyDown(tk::TObject& Sender, std::uint16_t& Key, tk::TShiftState Shift) override;
    void Vd_Nome(bool Obrigatorio);
    void Vd_DtIniComissao(bool Obrigatorio);
    void Vd_DtFinComissao(bool Obrigatorio);
    // The two validity dates are read-only unless a new table is being inserted.
    void TravaDatasComissao();

    // Position rules (rules/cargo.cpp).
    void cdsCargoBeforeInsert(tk::TClientDataSet& DataSet);
    void cdsCargoAfterInsert(tk::TClientDataSet& DataSet);
    void cdsCargoBeforePost(tk::TClientDataSet& DataSet);
    void cdsCargoAfterPost(tk::TClientDataSet& DataSet);
    void cdsCargoAfterCancel(tk::TClientDataSet& DataSet);
    void cdsCargoAfterDelete(tk::TClientDataSet& DataSet);
    void cdsCargoBeforeEdit(tk::TClientDataSet& DataSet);
    void cdsCargoBeforeScroll(tk::TClientDataSet& DataSet);
    void cdsCargoAfterScroll(tk::TClientDataSet& DataSet);
    void dbgCargoColExit(tk::TObject& Sender);
    void dbgCargoExit(tk::TObject& Sender);
    void dbgCargoKeyPress(tk::TObject& Sender, char32_t& Key);
    void Vd_Cargo(bool Obrigatorio);

    // Event-type rules (rules/evento.cpp).
    void cdsEventoBeforeInsert(tk::TClientDataSet& DataSet);
    void cdsEventoAfterInsert(tk::TClientDataSet& DataSet);
    void cdsEventoBeforePost(tk::TClientDataSet& DataSet);
    void cdsEventoAfterPost(tk::TClientDataSet& DataSet);
    void cdsEventoAfterDelete(tk::TClientDataSet& DataSet);
    void cdsEventoAfterCancel(tk::TClientDataSet& DataSet);
    void cdsEventoBeforeEdit(tk::TClientDataSet& DataSet);
    void cdsEventoBeforeScroll(tk::TClientDataSet& DataSet);
    void cdsEventoAfterScroll(tk::TClientDataSet& DataSet);
    void dbgEventoKeyPress(tk::TObject& Sender, char32_t& Key);
    void dbgEventoEditButtonClick(tk::TObject& Sender);
    void dbgEventoColExit(tk::TObject& Sender);
    void dbgEventoExit(tk::TObject& Sender);
    void Vd_TpEvento(bool Obrigatorio);
    void Vd_Cargo_TpEven(bool Obrigatorio);
    void Vd_EventoCadastrado();

    // Promotion rules (rules/promocao.cpp).
    void cdsPromocaoBeforeInsert(tk::TClientDataSet& DataSet);
    void cdsPromocaoAfterInsert(tk::TClientDataSet& DataSet);
    void cdsPromocaoBeforePost(tk::TClientDataSet& DataSet);
    void cdsPromocaoAfterPost(tk::TClientDataSet& DataSet);
    void cdsPromocaoAfterDelete(tk::TClientDataSet& DataSet);
    void cdsPromocaoAfterCancel(tk::TClientDataSet& DataSet);
    void cdsPromocaoBeforeEdit(tk::TClientDataSet& DataSet);
    void cdsPromocaoBeforeScroll(tk::TClientDataSet& DataSet);
    void cdsPromocaoAfterScroll(tk::TClientDataSet& DataSet);
    void cdsPromocaoDTVALINICOMISPROMOSetText(tk::TField& Sender, const std::string& Text);
    void cdsPromocaoDTVALFINCOMISPROMOSetText(tk::TField& Sender, const std::string& Text);
    void dbgPromocaoKeyPress(tk::TObject& Sender, char32_t& Key);
    void dbgPromocaoEditButtonClick(tk::TObject& Sender);
    void dbgPromocaoColExit(tk::TObject& Sender);
    void dbgPromocaoExit(tk::TObject& Sender);
    void Vd_DtIniPromocao(bool Obrigatorio);
    void Vd_DtFinPromocao(bool Obrigatorio);
    void Vd_DataBase(bool Obrigatorio);
    void Vd_TpEvento_Promocao(bool Obrigatorio);
    void Vd_Cargo_Promocao(bool Obrigatorio);
    void Vd_DtPromocao();

    // Text display and entry of the coded fields (model/code_texts.cpp).
    void cdsCargoIDCARGOVENDGetText(tk::TField& Sender, std::string& Text, bool DisplayText);
    void cdsCargoIDCARGOVENDSetText(tk::TField& Sender, const std::string& Text);
    void cdsEventoIDCARGOVENDGetText(tk::TField& Sender, std::string& Text, bool DisplayText);
    void cdsEventoIDCARGOVENDSetText(tk::TField& Sender, const std::string& Text);
    void cdsPromocaoIDCARGOVENDGetText(tk::TField& Sender, std::string& Text, bool DisplayText);
    void cdsPromocaoIDCARGOVENDSetText(tk::TField& Sender, const std::string& Text);
    void cdsPromocaoIDDTBASECOMISPROMOGetText(tk::TField& Sender, std::string& Text, bool DisplayText);
    void cdsPromocaoIDDTBASECOMISPROMOSetText(tk::TField& Sender, const std::string& Text);

    // Value bands (rules/bands.cpp).
    void cdsPercCargoNewRecord(tk::TClientDataSet& DataSet);
    void cdsPercCargoBeforeInsert(tk::TClientDataSet& DataSet);
    void cdsPercCargoAfterInsert(tk::TClientDataSet& DataSet);
    void cdsPercCargoBeforePost(tk::TClientDataSet& DataSet);
    void cdsPercCargoAfterPost(tk::TClientDataSet& DataSet);
    void cdsPercCargoAfterCancel(tk::TClientDataSet& DataSet);
    void cdsPercCargoAfterDelete(tk::TClientDataSet& DataSet);
    void cdsPercEventoNewRecord(tk::TClientDataSet& DataSet);
    void cdsPercEventoBeforeInsert(tk::TClientDataSet& DataSet);
    void cdsPercEventoAfterInsert(tk::TClientDataSet& DataSet);
    void cdsPercEventoBeforePost(tk::TClientDataSet& DataSet);
    void cdsPercEventoAfterPost(tk::TClientDataSet& DataSet);
    void cdsPercEventoAfterCancel(tk::TClientDataSet& DataSet);
    void cdsPercEventoAfterDelete(tk::TClientDataSet& DataSet);
    void cdsPercPromocaoNewRecord(tk::TClientDataSet& DataSet);
    void cdsPercPromocaoBeforeInsert(tk::TClientDataSet& DataSet);
    void cdsPercPromocaoAfterInsert(tk::TClientDataSet& DataSet);
    void cdsPercPromocaoBeforePost(tk::TClientDataSet& DataSet);
    void cdsPercPromocaoAfterPost(tk::TClientDataSet& DataSet);
    void cdsPercPromocaoAfterCancel(tk::TClientDataSet& DataSet);
    void cdsPercPromocaoAfterDelete(tk::TClientDataSet& DataSet);
    void Vd_VrIniPercCargo(bool Obrigatorio);
    void Vd_VrFinPercCargo(bool Obrigatorio);
    void Vd_VrPercCargo(bool Obrigatorio);
    void Vd_VrIniPercEvento(bool Obrigatorio);
    void Vd_VrFinPercEvento(bool Obrigatorio);
    void Vd_VrPercEvento(bool Obrigatorio);
    void Vd_VrIniPercPromocao(bool Obrigatorio);
    void Vd_VrFinPercPromocao(bool Obrigatorio);
    void Vd_VrPercPromocao(bool Obrigatorio);
    void Vd_PercZero();

    // Decimal entry in the band grids (rules/decimal_entry.cpp).
    void dbgPercCargoKeyPress(tk::TObject& Sender, char32_t& Key);
    void dbgPercEventoKeyPress(tk::TObject& Sender, char32_t& Key);
    void dbgPercPromocaoKeyPress(tk::TObject& Sender, char32_t& Key);
    void Vd_Virgula(tk::TDBGrid& Grid, const std::string& FieldName, char32_t& Key);

    // NR: number of the current commission table, as sent to the server.
    double NrComissao() const { return cdsComissaoNRCOMISSAOOREV.AsFloat(); }

private:
    void bindHandlers();
};
