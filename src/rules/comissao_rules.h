// The handlers and checks of the commission screen's lists, one file per list.
//
// They are members of the screen (TfrmComissao derives from this class), named after the
// component and the event or after the thing checked, and each file binds the events of
// the handlers it defines: a component's event goes straight to its named handler. What
// the three scope lists or the three band lists share is one helper taking the list's
// names as data (scope_list.h, band_list.h, list_sync.h); those names are built here once.
#pragma once
#include <cstdint>
#include <string>

#include "rules/band_list.h"
#include "rules/comissao_form.h"
#include "rules/scope_list.h"

namespace rules {

class ComissaoRules : public ComissaoForm {
public:
    ComissaoRules(tk::TComponent* owner, std::string name);

    // The scope whose rule list is on `page`; nullptr for the commission page.
    const Scope* ScopeOfPage(const tk::TTabSheet& page) const;

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

    // Text display and entry of the coded fields (rules/code_texts.cpp).
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

private:
    // Each binds the events of the handlers its file defines.
    void bindComissao();
    void bindCargo();
    void bindEvento();
    void bindPromocao();
    void bindCodeTexts();
    void bindBands();
    void bindDecimalEntry();

    // The names of each list, for the shared helpers.
    const Scope cargo_, evento_, promocao_;
    const EventTypeColumn eventoColumn_, promocaoColumn_;
    const BandList percCargo_, percEvento_, percPromocao_;
};

}  // namespace rules
