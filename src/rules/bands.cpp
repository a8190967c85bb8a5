// Value bands of the three scopes: each named handler passes its own list to the shared
// behaviour in band_list.
#include "rules/comissao_rules.h"
#include "toolkit/event_handler.h"

namespace rules {

void ComissaoRules::bindBands() {
    using R = ComissaoRules;
    cdsPercCargo.OnNewRecord = tk::Handler(this, &R::cdsPercCargoNewRecord);
    cdsPercCargo.BeforeInsert = tk::Handler(this, &R::cdsPercCargoBeforeInsert);
    cdsPercCargo.AfterInsert = tk::Handler(this, &R::cdsPercCargoAfterInsert);
    cdsPercCargo.BeforePost = tk::Handler(this, &R::cdsPercCargoBeforePost);
    cdsPercCargo.AfterPost = tk::Handler(this, &R::cdsPercCargoAfterPost);
    cdsPercCargo.AfterCancel = tk::Handler(this, &R::cdsPercCargoAfterCancel);
    cdsPercCargo.AfterDelete = tk::Handler(this, &R::cdsPercCargoAfterDelete);
    cdsPercEvento.OnNewRecord = tk::Handler(this, &R::cdsPercEventoNewRecord);
    cdsPercEvento.BeforeInsert = tk::Handler(this, &R::cdsPercEventoBeforeInsert);
    cdsPercEvento.AfterInsert = tk::Handler(this, &R::cdsPercEventoAfterInsert);
    cdsPercEvento.BeforePost = tk::Handler(this, &R::cdsPercEventoBeforePost);
    cdsPercEvento.AfterPost = tk::Handler(this, &R::cdsPercEventoAfterPost);
    cdsPercEvento.AfterCancel = tk::Handler(this, &R::cdsPercEventoAfterCancel);
    cdsPercEvento.AfterDelete = tk::Handler(this, &R::cdsPercEventoAfterDelete);
    cdsPercPromocao.OnNewRecord = tk::Handler(this, &R::cdsPercPromocaoNewRecord);
    cdsPercPromocao.BeforeInsert = tk::Handler(this, &R::cdsPercPromocaoBeforeInsert);
    cdsPercPromocao.AfterInsert = tk::Handler(this, &R::cdsPercPromocaoAfterInsert);
    cdsPercPromocao.BeforePost = tk::Handler(this, &R::cdsPercPromocaoBeforePost);
    cdsPercPromocao.AfterPost = tk::Handler(this, &R::cdsPercPromocaoAfterPost);
    cdsPercPromocao.AfterCancel = tk::Handler(this, &R::cdsPercPromocaoAfterCancel);
    cdsPercPromocao.AfterDelete = tk::Handler(this, &R::cdsPercPromocaoAfterDelete);
}

void ComissaoRules::cdsPercCargoNewRecord(tk::TClientDataSet&) { NewBand(*this, percCargo_); }
void ComissaoRules::cdsPercCargoBeforeInsert(tk::TClientDataSet&) { BeforeInsertBand(percCargo_); }
void ComissaoRules::cdsPercCargoAfterInsert(tk::TClientDataSet&) { AfterInsertBand(percCargo_); }
void ComissaoRules::cdsPercCargoBeforePost(tk::TClientDataSet&) { BeforePostBand(*this, percCargo_); }
void ComissaoRules::cdsPercCargoAfterPost(tk::TClientDataSet&) { AfterPostBand(*this, percCargo_); }
void ComissaoRules::cdsPercCargoAfterCancel(tk::TClientDataSet&) { AfterCancelBand(percCargo_); }
void ComissaoRules::cdsPercCargoAfterDelete(tk::TClientDataSet&) { AfterDeleteBand(*this, percCargo_); }

void ComissaoRules::cdsPercEventoNewRecord(tk::TClientDataSet&) { NewBand(*this, percEvento_); }
void ComissaoRules::cdsPercEventoBeforeInsert(tk::TClientDataSet&) { BeforeInsertBand(percEvento_); }
void ComissaoRules::cdsPercEventoAfterInsert(tk::TClientDataSet&) { AfterInsertBand(percEvento_); }
void ComissaoRules::cdsPercEventoBeforePost(tk::TClientDataSet&) { BeforePostBand(*this, percEvento_); }
void ComissaoRules::cdsPercEventoAfterPost(tk::TClientDataSet&) { AfterPostBand(*this, percEvento_); }
void ComissaoRules::cdsPercEventoAfterCancel(tk::TClientDataSet&) { AfterCancelBand(percEvento_); }
void ComissaoRules::cdsPercEventoAfterDelete(tk::TClientDataSet&) { AfterDeleteBand(*this, percEvento_); }

void ComissaoRules::cdsPercPromocaoNewRecord(tk::TClientDataSet&) { NewBand(*this, percPromocao_); }
void ComissaoRules::cdsPercPromocaoBeforeInsert(tk::TClientDataSet&) { BeforeInsertBand(percPromocao_); }
void ComissaoRules::cdsPercPromocaoAfterInsert(tk::TClientDataSet&) { AfterInsertBand(percPromocao_); }
void ComissaoRules::cdsPercPromocaoBeforePost(tk::TClientDataSet&) { BeforePostBand(*this, percPromocao_); }
void ComissaoRules::cdsPercPromocaoAfterPost(tk::TClientDataSet&) { AfterPostBand(*this, percPromocao_); }
void ComissaoRules::cdsPercPromocaoAfterCancel(tk::TClientDataSet&) { AfterCancelBand(percPromocao_); }
void ComissaoRules::cdsPercPromocaoAfterDelete(tk::TClientDataSet&) { AfterDeleteBand(*this, percPromocao_); }

void ComissaoRules::Vd_VrIniPercCargo(bool Obrigatorio) { CheckVrIni(*this, percCargo_, Obrigatorio); }
void ComissaoRules::Vd_VrFinPercCargo(bool Obrigatorio) { CheckVrFin(*this, percCargo_, Obrigatorio); }
void ComissaoRules::Vd_VrPercCargo(bool Obrigatorio) { CheckVrPerc(*this, percCargo_, Obrigatorio); }
void ComissaoRules::Vd_VrIniPercEvento(bool Obrigatorio) { CheckVrIni(*this, percEvento_, Obrigatorio); }
void ComissaoRules::Vd_VrFinPercEvento(bool Obrigatorio) { CheckVrFin(*this, percEvento_, Obrigatorio); }
void ComissaoRules::Vd_VrPercEvento(bool Obrigatorio) { CheckVrPerc(*this, percEvento_, Obrigatorio); }
void ComissaoRules::Vd_VrIniPercPromocao(bool Obrigatorio) { CheckVrIni(*this, percPromocao_, Obrigatorio); }
void ComissaoRules::Vd_VrFinPercPromocao(bool Obrigatorio) { CheckVrFin(*this, percPromocao_, Obrigatorio); }
void ComissaoRules::Vd_VrPercPromocao(bool Obrigatorio) { CheckVrPerc(*this, percPromocao_, Obrigatorio); }

// Without a list of its own to fall back on, it tests the focused band grid's list only;
// the before-post handlers pass their list through BeforePostBand instead.
void ComissaoRules::Vd_PercZero() { CheckPercZero(*this, nullptr); }

}  // namespace rules
