#include "screen/tfrmcomissao.h"

namespace {

using Form = TfrmComissao;

// Adapters from a member handler to the toolkit's event types.
auto dataSetEvent(Form* f, void (Form::*h)(tk::TClientDataSet&)) {
    return [f, h](tk::TClientDataSet& d) { (f->*h)(d); };
}
auto notifyEvent(Form* f, void (Form::*h)(tk::TObject&)) {
    return [f, h](tk::TObject& s) { (f->*h)(s); };
}
auto keyPressEvent(Form* f, void (Form::*h)(tk::TObject&, char32_t&)) {
    return [f, h](tk::TObject& s, char32_t& k) { (f->*h)(s, k); };
}
auto getTextEvent(Form* f, void (Form::*h)(tk::TField&, std::string&, bool)) {
    return [f, h](tk::TField& s, std::string& t, bool d) { (f->*h)(s, t, d); };
}
auto setTextEvent(Form* f, void (Form::*h)(tk::TField&, const std::string&)) {
    return [f, h](tk::TField& s, const std::string& t) { (f->*h)(s, t); };
}

}  // namespace

TfrmComissao::TfrmComissao(tk::TComponent* owner)
    : fw::TfrmPadrao(owner, "frmComissao"), model::ComissaoModel(static_cast<fw::TfrmPadrao&>(*this)) {
    bindHandlers();
}

TfrmComissao::~TfrmComissao() = default;

void TfrmComissao::bindHandlers() {
    OnActivate = notifyEvent(this, &Form::FormActivate);
    NetComissao.BeforeConnect = notifyEvent(this, &Form::NetComissaoBeforeConnect);

    // Enabling follows every state change and every entry into a scope grid.
    dtsPadrao.OnStateChange = notifyEvent(this, &Form::dtsPadraoStateChange);
    dtsCargo.OnStateChange = notifyEvent(this, &Form::dtsCargoStateChange);
    dtsEvento.OnStateChange = notifyEvent(this, &Form::dtsEventoStateChange);
    dtsPromocao.OnStateChange = notifyEvent(this, &Form::dtsPromocaoStateChange);
    dtsPercCargo.OnStateChange = notifyEvent(this, &Form::dtsPercCargoStateChange);
    dtsPercEvento.OnStateChange = notifyEvent(this, &Form::dtsPercEventoStateChange);
    dtsPercPromocao.OnStateChange = notifyEvent(this, &Form::dtsPercPromocaoStateChange);
    dbgCargo.OnEnter = notifyEvent(this, &Form::dbgCargoEnter);
    dbgPercCargo.OnEnter = notifyEvent(this, &Form::dbgPercCargoEnter);
    dbgEvento.OnEnter = notifyEvent(this, &Form::dbgEventoEnter);
    dbgPercEvento.OnEnter = notifyEvent(this, &Form::dbgPercEventoEnter);
    dbgPromocao.OnEnter = notifyEvent(this, &Form::dbgPromocaoEnter);
    dbgPercPromocao.OnEnter = notifyEvent(this, &Form::dbgPercPromocaoEnter);
    pgcPadrao.OnChanging = notifyEvent(this, &Form::pgcPadraoChanging);
    pgcPadrao.OnExit = notifyEvent(this, &Form::pgcPadraoExit);
    mnuTipoEvento.OnClick = notifyEvent(this, &Form::mnuTipoEventoClick);
    mnuPromocao.OnClick = notifyEvent(this, &Form::mnuPromocaoClick);

    // Commission tables.
    cdsComissao.BeforeInsert = dataSetEvent(this, &Form::cdsComissaoBeforeInsert);
    cdsComissao.BeforePost = dataSetEvent(this, &Form::cdsComissaoBeforePost);
    cdsComissao.AfterPost = dataSetEvent(this, &Form::cdsComissaoAfterPost);
    cdsComissao.AfterCancel = dataSetEvent(this, &Form::cdsComissaoAfterCancel);
    cdsComissao.AfterDelete = dataSetEvent(this, &Form::cdsComissaoAfterDelete);
    cdsComissao.BeforeScroll = dataSetEvent(this, &Form::cdsComissaoBeforeScroll);
    cdsComissao.AfterScroll = dataSetEvent(this, &Form::cdsComissaoAfterScroll);
    cdsComissao.AfterOpen = dataSetEvent(this, &Form::cdsComissaoAfterOpen);
    cdsComissaoDTVALIDADEINI.OnSetText = setTextEvent(this, &Form::cdsComissaoDTVALIDADEINISetText);
    cdsComissaoDTVALIDADEFIN.OnSetText = setTextEvent(this, &Form::cdsComissaoDTVALIDADEFINSetText);
    dbgPadrao.OnColExit = notifyEvent(this, &Form::dbgPadraoColExit);
    dbgPadrao.OnExit = notifyEvent(this, &Form::dbgPadraoExit);
    dbgPadrao.OnKeyPress = keyPressEvent(this, &Form::dbgPadraoKeyPress);

    // Position rules; their grid shares the commission grid's key-down handler.
    cdsCargo.BeforeInsert = dataSetEvent(this, &Form::cdsCargoBeforeInsert);
    cdsCargo.AfterInsert = dataSetEvent(this, &Form::cdsCargoAfterInsert);
    cdsCargo.BeforePost = dataSetEvent(this, &Form::cdsCargoBeforePost);
    cdsCargo.AfterPost = dataSetEvent(this, &Form::cdsCargoAfterPost);
    cdsCargo.AfterCancel = dataSetEvent(this, &Form::cdsCargoAfterCancel);
    cdsCargo.AfterDelete = dataSetEvent(this, &Form::cdsCargoAfterDelete);
    cdsCargo.BeforeEdit = dataSetEvent(this, &Form::cdsCargoBeforeEdit);
    cdsCargo.BeforeScroll = dataSetEvent(this, &Form::cdsCargoBeforeScroll);
    cdsCargo.AfterScroll = dataSetEvent(this, &Form::cdsCargoAfterScroll);
    cdsCargoIDCARGOVEND.OnGetText = getTextEvent(this, &Form::cdsCargoIDCARGOVENDGetText);
    cdsCargoIDCARGOVEND.OnSetText = setTextEvent(this, &Form::cdsCargoIDCARGOVENDSetText);
    dbgCargo.OnColExit = notifyEvent(this, &Form::dbgCargoColExit);
    dbgCargo.OnExit = notifyEvent(this, &Form::dbgCargoExit);
    dbgCargo.OnKeyPress = keyPressEvent(this, &Form::dbgCargoKeyPress);
    dbgCargo.OnKeyDown = [this](tk::TObject& s, std::uint16_t& k, tk::TShiftState sh) { dbgPadraoKeyDown(s, k, sh); };

    // Event-type rules.
    cdsEvento.BeforeInsert = dataSetEvent(this, &Form::cdsEventoBeforeInsert);
    cdsEvento.AfterInsert = dataSetEvent(this, &Form::cdsEventoAfterInsert);
    cdsEvento.BeforePost = dataSetEvent(this, &Form::cdsEventoBeforePost);
    cdsEvento.AfterPost = dataSetEvent(this, &Form::cdsEventoAfterPost);
    cdsEvento.AfterDelete = dataSetEvent(this, &Form::cdsEventoAfterDelete);
    cdsEvento.AfterCancel = dataSetEvent(this, &Form::cdsEventoAfterCancel);
    cdsEvento.BeforeEdit = dataSetEvent(this, &Form::cdsEventoBeforeEdit);
    cdsEvento.BeforeScroll = dataSetEvent(this, &Form::cdsEventoBeforeScroll);
    cdsEvento.AfterScroll = dataSetEvent(this, &Form::cdsEventoAfterScroll);
    cdsEventoIDCARGOVEND.OnGetText = getTextEvent(this, &Form::cdsEventoIDCARGOVENDGetText);
    cdsEventoIDCARGOVEND.OnSetText = setTextEvent(this, &Form::cdsEventoIDCARGOVENDSetText);
    dbgEvento.OnKeyPress = keyPressEvent(this, &Form::dbgEventoKeyPress);
    dbgEvento.OnEditButtonClick = notifyEvent(this, &Form::dbgEventoEditButtonClick);
    dbgEvento.OnColExit = notifyEvent(this, &Form::dbgEventoColExit);
    dbgEvento.OnExit = notifyEvent(this, &Form::dbgEventoExit);

    // Promotion rules.
    cdsPromocao.BeforeInsert = dataSetEvent(this, &Form::cdsPromocaoBeforeInsert);
    cdsPromocao.AfterInsert = dataSetEvent(this, &Form::cdsPromocaoAfterInsert);
    cdsPromocao.BeforePost = dataSetEvent(this, &Form::cdsPromocaoBeforePost);
    cdsPromocao.AfterPost = dataSetEvent(this, &Form::cdsPromocaoAfterPost);
    cdsPromocao.AfterDelete = dataSetEvent(this, &Form::cdsPromocaoAfterDelete);
    cdsPromocao.AfterCancel = dataSetEvent(this, &Form::cdsPromocaoAfterCancel);
    cdsPromocao.BeforeEdit = dataSetEvent(this, &Form::cdsPromocaoBeforeEdit);
    cdsPromocao.BeforeScroll = dataSetEvent(this, &Form::cdsPromocaoBeforeScroll);
    cdsPromocao.AfterScroll = dataSetEvent(this, &Form::cdsPromocaoAfterScroll);
    cdsPromocaoDTVALINICOMISPROMO.OnSetText = setTextEvent(this, &Form::cdsPromocaoDTVALINICOMISPROMOSetText);
    cdsPromocaoDTVALFINCOMISPROMO.OnSetText = setTextEvent(this, &Form::cdsPromocaoDTVALFINCOMISPROMOSetText);
    cdsPromocaoIDDTBASECOMISPROMO.OnGetText = getTextEvent(this, &Form::cdsPromocaoIDDTBASECOMISPROMOGetText);
    cdsPromocaoIDDTBASECOMISPROMO.OnSetText = setTextEvent(this, &Form::cdsPromocaoIDDTBASECOMISPROMOSetText);
    cdsPromocaoIDCARGOVEND.OnGetText = getTextEvent(this, &Form::cdsPromocaoIDCARGOVENDGetText);
    cdsPromocaoIDCARGOVEND.OnSetText = setTextEvent(this, &Form::cdsPromocaoIDCARGOVENDSetText);
    dbgPromocao.OnKeyPress = keyPressEvent(this, &Form::dbgPromocaoKeyPress);
    dbgPromocao.OnEditButtonClick = notifyEvent(this, &Form::dbgPromocaoEditButtonClick);
    dbgPromocao.OnColExit = notifyEvent(this, &Form::dbgPromocaoColExit);
    dbgPromocao.OnExit = notifyEvent(this, &Form::dbgPromocaoExit);

    // Value bands.
    cdsPercCargo.OnNewRecord = dataSetEvent(this, &Form::cdsPercCargoNewRecord);
    cdsPercCargo.BeforeInsert = dataSetEvent(this, &Form::cdsPercCargoBeforeInsert);
    cdsPercCargo.AfterInsert = dataSetEvent(this, &Form::cdsPercCargoAfterInsert);
    cdsPercCargo.BeforePost = dataSetEvent(this, &Form::cdsPercCargoBeforePost);
    cdsPercCargo.AfterPost = dataSetEvent(this, &Form::cdsPercCargoAfterPost);
    cdsPercCargo.AfterCancel = dataSetEvent(this, &Form::cdsPercCargoAfterCancel);
    cdsPercCargo.AfterDelete = dataSetEvent(this, &Form::cdsPercCargoAfterDelete);
    cdsPercEvento.OnNewRecord = dataSetEvent(this, &Form::cdsPercEventoNewRecord);
    cdsPercEvento.BeforeInsert = dataSetEvent(this, &Form::cdsPercEventoBeforeInsert);
    cdsPercEvento.AfterInsert = dataSetEvent(this, &Form::cdsPercEventoAfterInsert);
    cdsPercEvento.BeforePost = dataSetEvent(this, &Form::cdsPercEventoBeforePost);
    cdsPercEvento.AfterPost = dataSetEvent(this, &Form::cdsPercEventoAfterPost);
    cdsPercEvento.AfterCancel = dataSetEvent(this, &Form::cdsPercEventoAfterCancel);
    cdsPercEvento.AfterDelete = dataSetEvent(this, &Form::cdsPercEventoAfterDelete);
    cdsPercPromocao.OnNewRecord = dataSetEvent(this, &Form::cdsPercPromocaoNewRecord);
    cdsPercPromocao.BeforeInsert = dataSetEvent(this, &Form::cdsPercPromocaoBeforeInsert);
    cdsPercPromocao.AfterInsert = dataSetEvent(this, &Form::cdsPercPromocaoAfterInsert);
    cdsPercPromocao.BeforePost = dataSetEvent(this, &Form::cdsPercPromocaoBeforePost);
    cdsPercPromocao.AfterPost = dataSetEvent(this, &Form::cdsPercPromocaoAfterPost);
    cdsPercPromocao.AfterCancel = dataSetEvent(this, &Form::cdsPercPromocaoAfterCancel);
    cdsPercPromocao.AfterDelete = dataSetEvent(this, &Form::cdsPercPromocaoAfterDelete);
    dbgPercCargo.OnKeyPress = keyPressEvent(this, &Form::dbgPercCargoKeyPress);
    dbgPercEvento.OnKeyPress = keyPressEvent(this, &Form::dbgPercEventoKeyPress);
    dbgPercPromocao.OnKeyPress = keyPressEvent(this, &Form::dbgPercPromocaoKeyPress);
}
