// Value bands of the three scopes: each named handler passes its own list to the shared
// behaviour in band_list.
#include "rules/band_list.h"
#include "screen/tfrmcomissao.h"

void TfrmComissao::cdsPercCargoNewRecord(tk::TClientDataSet&) {
    rules::NewBand(*this, rules::PercCargo(*this));
}
void TfrmComissao::cdsPercCargoBeforeInsert(tk::TClientDataSet&) {
    rules::BeforeInsertBand(rules::PercCargo(*this));
}
void TfrmComissao::cdsPercCargoAfterInsert(tk::TClientDataSet&) {
    rules::AfterInsertBand(rules::PercCargo(*this));
}
void TfrmComissao::cdsPercCargoBeforePost(tk::TClientDataSet&) {
    rules::BeforePostBand(*this, rules::PercCargo(*this));
}
void TfrmComissao::cdsPercCargoAfterPost(tk::TClientDataSet&) {
    rules::AfterPostBand(*this, rules::PercCargo(*this));
}
void TfrmComissao::cdsPercCargoAfterCancel(tk::TClientDataSet&) {
    rules::AfterCancelBand(rules::PercCargo(*this));
}
void TfrmComissao::cdsPercCargoAfterDelete(tk::TClientDataSet&) {
    rules::AfterDeleteBand(*this, rules::PercCargo(*this));
}

void TfrmComissao::cdsPercEventoNewRecord(tk::TClientDataSet&) {
    rules::NewBand(*this, rules::PercEvento(*this));
}
void TfrmComissao::cdsPercEventoBeforeInsert(tk::TClientDataSet&) {
    rules::BeforeInsertBand(rules::PercEvento(*this));
}
void TfrmComissao::cdsPercEventoAfterInsert(tk::TClientDataSet&) {
    rules::AfterInsertBand(rules::PercEvento(*this));
}
void TfrmComissao::cdsPercEventoBeforePost(tk::TClientDataSet&) {
    rules::BeforePostBand(*this, rules::PercEvento(*this));
}
void TfrmComissao::cdsPercEventoAfterPost(tk::TClientDataSet&) {
    rules::AfterPostBand(*this, rules::PercEvento(*this));
}
void TfrmComissao::cdsPercEventoAfterCancel(tk::TClientDataSet&) {
    rules::AfterCancelBand(rules::PercEvento(*this));
}
void TfrmComissao::cdsPercEventoAfterDelete(tk::TClientDataSet&) {
    rules::AfterDeleteBand(*this, rules::PercEvento(*this));
}

void TfrmComissao::cdsPercPromocaoNewRecord(tk::TClientDataSet&) {
    rules::NewBand(*this, rules::PercPromocao(*this));
}
void TfrmComissao::cdsPercPromocaoBeforeInsert(tk::TClientDataSet&) {
    rules::BeforeInsertBand(rules::PercPromocao(*this));
}
void TfrmComissao::cdsPercPromocaoAfterInsert(tk::TClientDataSet&) {
    rules::AfterInsertBand(rules::PercPromocao(*this));
}
void TfrmComissao::cdsPercPromocaoBeforePost(tk::TClientDataSet&) {
    rules::BeforePostBand(*this, rules::PercPromocao(*this));
}
void TfrmComissao::cdsPercPromocaoAfterPost(tk::TClientDataSet&) {
    rules::AfterPostBand(*this, rules::PercPromocao(*this));
}
void TfrmComissao::cdsPercPromocaoAfterCancel(tk::TClientDataSet&) {
    rules::AfterCancelBand(rules::PercPromocao(*this));
}
void TfrmComissao::cdsPercPromocaoAfterDelete(tk::TClientDataSet&) {
    rules::AfterDeleteBand(*this, rules::PercPromocao(*this));
}

void TfrmComissao::Vd_VrIniPercCargo(bool Obrigatorio) {
    rules::CheckVrIni(*this, rules::PercCargo(*this), Obrigatorio);
}
void TfrmComissao::Vd_VrFinPercCargo(bool Obrigatorio) {
    rules::CheckVrFin(*this, rules::PercCargo(*this), Obrigatorio);
}
void TfrmComissao::Vd_VrPercCargo(bool Obrigatorio) {
    rules::CheckVrPerc(*this, rules::PercCargo(*this), Obrigatorio);
}
void TfrmComissao::Vd_VrIniPercEvento(bool Obrigatorio) {
    rules::CheckVrIni(*this, rules::PercEvento(*this), Obrigatorio);
}
void TfrmComissao::Vd_VrFinPercEvento(bool Obrigatorio) {
    rules::CheckVrFin(*this, rules::PercEvento(*this), Obrigatorio);
}
void TfrmComissao::Vd_VrPercEvento(bool Obrigatorio) {
    rules::CheckVrPerc(*this, rules::PercEvento(*this), Obrigatorio);
}
void TfrmComissao::Vd_VrIniPercPromocao(bool Obrigatorio) {
    rules::CheckVrIni(*this, rules::PercPromocao(*this), Obrigatorio);
}
void TfrmComissao::Vd_VrFinPercPromocao(bool Obrigatorio) {
    rules::CheckVrFin(*this, rules::PercPromocao(*this), Obrigatorio);
}
void TfrmComissao::Vd_VrPercPromocao(bool Obrigatorio) {
    rules::CheckVrPerc(*this, rules::PercPromocao(*this), Obrigatorio);
}

// Without a list of its own to fall back on, it tests the focused band grid's list only;
// the before-post handlers pass their list through rules::BeforePostBand instead.
void TfrmComissao::Vd_PercZero() {
    rules::CheckPercZero(*this, nullptr);
}
