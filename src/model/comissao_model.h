// Every component the commission screen adds to the base screen: pages, grids, data
// sets and their fields, check sets, local queries, the connection and the messages.
#pragma once
#include <string>
#include <vector>

#include "framework/tadoibquery.h"
#include "framework/tfrmpadrao.h"
#include "framework/tnetconnection.h"
#include "server/rdm_comissao.h"
#include "toolkit/tclientdataset.h"
#include "toolkit/tdatasource.h"
#include "toolkit/tdbgrid.h"
#include "toolkit/tdbnavigator.h"
#include "toolkit/tpagecontrol.h"

namespace model {

// The 29 rows of the screen's message table, "key|text", in order.
const std::vector<std::string>& MessageRows();

class ComissaoModel {
public:
    // Builds every component on `form` (owner and parent), with names, the fields of each
    // data set as the wire declares its list, labels, formats, grid columns and pick lists;
    // binds no handler.
    explicit ComissaoModel(fw::TfrmPadrao& form);

    // Pages added after the base screen's two.
    tk::TTabSheet tshEvento, tshPromocao;
    tk::TMenuItem mnuTipoEvento, mnuPromocao, mnuLinha4;
    tk::TDBText dbtNome;

    fw::TNetConnection NetComissao;
    server::RdmComissao rdmComissao;

    // Commission tables (shown through the base screen's dtsPadrao / dbgPadrao).
    tk::TClientDataSet cdsComissao;
    tk::TField &cdsComissaoNRCOMISSAOOREV, &cdsComissaoDSCOMISSAOOREV, &cdsComissaoDTVALIDADEINI,
        &cdsComissaoDTVALIDADEFIN, &cdsComissaoCDFILIAL;

    // Position rules.
    tk::TClientDataSet cdsCargo;
    tk::TField &cdsCargoNRCOMISSAOCARGOOREV, &cdsCargoIDCARGOVEND, &cdsCargoNRCOMISSAOOREV;
    tk::TDataSource dtsCargo;

    // Event-type rules.
    tk::TClientDataSet cdsEvento;
    tk::TField &cdsEventoNRCOMISSAOTPEVENTOREV, &cdsEventoNRCOMISSAOOREV, &cdsEventoCDTIPOEVENTO,
        &cdsEventoNMTIPOEVENTO, &cdsEventoIDCARGOVEND;
    tk::TDataSource dtsEvento;

    // Promotion rules.
    tk::TClientDataSet cdsPromocao;
    tk::TField &cdsPromocaoNRCOMISSAOPROMOREV, &cdsPromocaoNRCOMISSAOOREV, &cdsPromocaoDTVALINICOMISPROMO,
        &cdsPromocaoDTVALFINCOMISPROMO, &cdsPromocaoIDDTBASECOMISPROMO, &cdsPromocaoCDTIPOEVENTO,
        &cdsPromocaoNMTIPOEVENTO, &cdsPromocaoIDCARGOVEND, &cdsPromocaoDTINCLUSAOCOMISSAO;
    tk::TDataSource dtsPromocao;

    // Value bands of the current rule of each scope.
    tk::TClientDataSet cdsPercCargo;
    tk::TField &cdsPercCargoNRFAIXACOMISSAOOREV, &cdsPercCargoNRCOMISSAOOREV, &cdsPercCargoIDTIPOCOMISSAO,
        &cdsPercCargoNRCOMISSAOCARGOOREV, &cdsPercCargoNRCOMISSAOTPEVENTOREV, &cdsPercCargoNRCOMISSAOPROMOREV,
        &cdsPercCargoVRINICIAL, &cdsPercCargoVRFINAL, &cdsPercCargoVRCOMISSAO;
    tk::TDataSource dtsPercCargo;
    tk::TClientDataSet cdsPercEvento;
    tk::TField &cdsPercEventoNRFAIXACOMISSAOOREV, &cdsPercEventoNRCOMISSAOOREV, &cdsPercEventoIDTIPOCOMISSAO,
        &cdsPercEventoNRCOMISSAOCARGOOREV, &cdsPercEventoNRCOMISSAOTPEVENTOREV, &cdsPercEventoNRCOMISSAOPROMOREV,
        &cdsPercEventoVRINICIAL, &cdsPercEventoVRFINAL, &cdsPercEventoVRCOMISSAO;
    tk::TDataSource dtsPercEvento;
    tk::TClientDataSet cdsPercPromocao;
    tk::TField &cdsPercPromocaoNRFAIXACOMISSAOOREV, &cdsPercPromocaoNRCOMISSAOOREV, &cdsPercPromocaoIDTIPOCOMISSAO,
        &cdsPercPromocaoNRCOMISSAOCARGOOREV, &cdsPercPromocaoNRCOMISSAOTPEVENTOREV,
        &cdsPercPromocaoNRCOMISSAOPROMOREV, &cdsPercPromocaoVRINICIAL, &cdsPercPromocaoVRFINAL,
        &cdsPercPromocaoVRCOMISSAO;
    tk::TDataSource dtsPercPromocao;

    // Check sets: server answers one check reads.
    tk::TClientDataSet cdsVdDtComissao;
    tk::TField &cdsVdDtComissaoNRCOMISSAOOREV, &cdsVdDtComissaoDSCOMISSAOOREV, &cdsVdDtComissaoDTVALIDADEINI,
        &cdsVdDtComissaoDTVALIDADEFIN, &cdsVdDtComissaoCDFILIAL;
    tk::TDataSource dtsVdDtComissao;
    tk::TClientDataSet cdsVdCargo;
    tk::TField &cdsVdCargoIDCARGOVEND;
    tk::TDataSource dtsVdCargo;
    tk::TClientDataSet cdsVdEventoCad;
    tk::TField &cdsVdEventoCadNRCOMISSAOTPEVENTOREV;
    tk::TDataSource dtsVdEventoCad;
    tk::TClientDataSet cdsVdDtPromo;
    tk::TField &cdsVdDtPromoDTVALINICOMISPROMO, &cdsVdDtPromoDTVALFINCOMISPROMO, &cdsVdDtPromoNRCOMISSAOPROMOREV,
        &cdsVdDtPromoIDDTBASECOMISPROMO, &cdsVdDtPromoCDTIPOEVENTO, &cdsVdDtPromoIDCARGOVEND;
    tk::TDataSource dtsVdDtPromo;
    tk::TClientDataSet cdsVdVrPercentual;
    tk::TField &cdsVdVrPercentualVRINICIAL, &cdsVdVrPercentualVRFINAL, &cdsVdVrPercentualNRFAIXACOMISSAOOREV;
    tk::TDataSource dtsVdVrCargo;

    // Event-type catalogue on the host's local database.
    fw::TADOIBQuery qryTipoEvento;
    tk::TField qryTipoEventoCDTIPOEVENTO, qryTipoEventoNMTIPOEVENTO;
    tk::TDataSource dtsTipoEvento;
    fw::TADOIBQuery qryVdTpEvento;
    tk::TField qryVdTpEventoCDTIPOEVENTO, qryVdTpEventoNMTIPOEVENTO;

    // Scope pages: rule grid above the splitter, band grid below.
    tk::TDBGrid dbgCargo;
    tk::TSplitter Splitter1;
    tk::TDBGrid dbgPercCargo;
    tk::TDBGrid dbgEvento;
    tk::TSplitter Splitter2;
    tk::TDBGrid dbgPercEvento;
    tk::TDBGrid dbgPromocao;
    tk::TSplitter Splitter3;
    tk::TDBGrid dbgPercPromocao;
};

}  // namespace model
