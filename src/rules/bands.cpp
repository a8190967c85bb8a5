// Placeholder bodies until this list's handlers are written.
#include "screen/tfrmcomissao.h"

void TfrmComissao::cdsPercCargoNewRecord(tk::TClientDataSet&) {}
void TfrmComissao::cdsPercCargoBeforeInsert(tk::TClientDataSet&) {}
void TfrmComissao::cdsPercCargoAfterInsert(tk::TClientDataSet&) {}
void TfrmComissao::cdsPercCargoBeforePost(tk::TClientDataSet&) {}
void TfrmComissao::cdsPercCargoAfterPost(tk::TClientDataSet&) {}
void TfrmComissao::cdsPercCargoAfterCancel(tk::TClientDataSet&) {}
void TfrmComissao::cdsPercCargoAfterDelete(tk::TClientDataSet&) {}
void TfrmComissao::cdsPercEventoNewRecord(tk::TClientDataSet&) {}
void TfrmComissao::cdsPercEventoBeforeInsert(tk::TClientDataSet&) {}
void TfrmComissao::cdsPercEventoAfterInsert(tk::TClientDataSet&) {}
void TfrmComissao::cdsPercEventoBeforePost(tk::TClientDataSet&) {}
void TfrmComissao::cdsPercEventoAfterPost(tk::TClientDataSet&) {}
void TfrmComissao::cdsPercEventoAfterCancel(tk::TClientDataSet&) {}
void TfrmComissao::cdsPercEventoAfterDelete(tk::TClientDataSet&) {}
void TfrmComissao::cdsPercPromocaoNewRecord(tk::TClientDataSet&) {}
void TfrmComissao::cdsPercPromocaoBeforeInsert(tk::TClientDataSet&) {}
void TfrmComissao::cdsPercPromocaoAfterInsert(tk::TClientDataSet&) {}
void TfrmComissao::cdsPercPromocaoBeforePost(tk::TClientDataSet&) {}
void TfrmComissao::cdsPercPromocaoAfterPost(tk::TClientDataSet&) {}
void TfrmComissao::cdsPercPromocaoAfterCancel(tk::TClientDataSet&) {}
void TfrmComissao::cdsPercPromocaoAfterDelete(tk::TClientDataSet&) {}
void TfrmComissao::Vd_VrIniPercCargo(bool) {}
void TfrmComissao::Vd_VrFinPercCargo(bool) {}
void TfrmComissao::Vd_VrPercCargo(bool) {}
void TfrmComissao::Vd_VrIniPercEvento(bool) {}
void TfrmComissao::Vd_VrFinPercEvento(bool) {}
void TfrmComissao::Vd_VrPercEvento(bool) {}
void TfrmComissao::Vd_VrIniPercPromocao(bool) {}
void TfrmComissao::Vd_VrFinPercPromocao(bool) {}
void TfrmComissao::Vd_VrPercPromocao(bool) {}
void TfrmComissao::Vd_PercZero() {}
