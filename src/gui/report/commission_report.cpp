#include "gui/report/commission_report.h"

#include <ctime>
#include <stdexcept>

#include "framework/consiste.h"
#include "gui/report/commission_data.h"
#include "model/code_tables.h"
#include "toolkit/formats.h"

namespace gui {
namespace {

using GetRules = fw::TServerReply (server::RdmComissao::*)(double);

// One scope of the report: where its rules come from and how its bands are asked for.
struct ScopeSource {
    tk::TTabSheet& page;
    GetRules get;
    tk::TClientDataSet& rules;
    tk::TField& key;
    tk::TClientDataSet& bands;
    const char* kind;
};

std::vector<const tk::TField*> visibleFields(const tk::TClientDataSet& set) {
    std::vector<const tk::TField*> out;
    for (const tk::TField* f : set.Fields())
        if (f->Visible) out.push_back(f);
    return out;
}

std::vector<std::string> texts(const tk::TClientDataSet& set, int recNo, const std::vector<const tk::TField*>& fields) {
    std::vector<std::string> out;
    out.reserve(fields.size());
    for (const tk::TField* f : fields) out.push_back(set.DisplayTextAt(recNo, *f));
    return out;
}

// Moves `set` to the row whose field `key` holds `number`; false when none does.
bool moveTo(tk::TClientDataSet& set, const tk::TField& key, double number) {
    int index = 0;
    for (int i = 0; i < static_cast<int>(set.Fields().size()); ++i)
        if (set.Fields()[static_cast<std::size_t>(i)] == &key) index = i;
    for (int r = 1; r <= set.RecordCount(); ++r) {
        const wire::Value v = set.ValueAt(r, index);
        if (const double* n = std::get_if<double>(&v); n && *n == number) {
            set.SetRecNo(r);
            return true;
        }
    }
    return false;
}

}  // namespace

int CommissionReport::ruleCount() const {
    int n = 0;
    for (const auto& s : scopes) n += static_cast<int>(s.rules.size());
    return n;
}

int CommissionReport::bandCount() const {
    int n = 0;
    for (const auto& s : scopes)
        for (const auto& r : s.rules) n += static_cast<int>(r.bands.size());
    return n;
}

CommissionReport FetchReport(server::RdmComissao& server, CommissionData& data, double number,
                             const std::string& branch, const std::string& printedAt) {
    data.cdsComissao.SetData(fw::Consiste::CheckResultServ(server.GetComissao(), true, 0));
    if (!moveTo(data.cdsComissao, data.cdsComissaoNRCOMISSAOOREV, number))
        throw std::runtime_error("Tabela de comissão " + tk::FloatToStr(number) + " não encontrada.");

    CommissionReport report;
    report.number = number;
    report.description = data.cdsComissaoDSCOMISSAOOREV.DisplayText();
    report.validFrom = data.cdsComissaoDTVALIDADEINI.DisplayText();
    report.validTo = data.cdsComissaoDTVALIDADEFIN.DisplayText();
    report.branch = branch.empty() ? data.cdsComissaoCDFILIAL.AsString() : branch;
    report.printedAt = printedAt;
    const auto bandFields = visibleFields(data.cdsPercCargo);
    for (const tk::TField* f : bandFields) {
        report.bandFieldNames.push_back(f->FieldName());
        report.bandLabels.push_back(f->DisplayLabel);
    }

    const ScopeSource sources[] = {
        {data.tshFormulario, &server::RdmComissao::GetCargo, data.cdsCargo, data.cdsCargoNRCOMISSAOCARGOOREV,
         data.cdsPercCargo, model::kScopeCargo},
        {data.tshEvento, &server::RdmComissao::GetEvento, data.cdsEvento, data.cdsEventoNRCOMISSAOTPEVENTOREV,
         data.cdsPercEvento, model::kScopeTipoEvento},
        {data.tshPromocao, &server::RdmComissao::GetPromocao, data.cdsPromocao, data.cdsPromocaoNRCOMISSAOPROMOREV,
         data.cdsPercPromocao, model::kScopePromocao},
    };
    for (const ScopeSource& source : sources) {
        ReportScope scope;
        scope.title = source.page.Caption;
        const auto ruleFields = visibleFields(source.rules);
        for (const tk::TField* f : ruleFields) {
            scope.fieldNames.push_back(f->FieldName());
            scope.labels.push_back(f->DisplayLabel);
        }
        source.rules.SetData(fw::Consiste::CheckResultServ((server.*source.get)(number), true, 0));
        for (int r = 1; r <= source.rules.RecordCount(); ++r) {
            source.rules.SetRecNo(r);
            ReportRule rule;
            rule.cells = texts(source.rules, r, ruleFields);
            source.bands.SetData(fw::Consiste::CheckResultServ(
                server.GetPercentual(number, source.key.AsFloat(), source.kind), true, 0));
            const auto fields = visibleFields(source.bands);
            for (int b = 1; b <= source.bands.RecordCount(); ++b) rule.bands.push_back(texts(source.bands, b, fields));
            scope.rules.push_back(std::move(rule));
        }
        report.scopes.push_back(std::move(scope));
    }
    return report;
}

std::string PrintedNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%d/%m/%Y %H:%M", &local);
    return text;
}

}  // namespace gui
