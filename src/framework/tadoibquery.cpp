#include "framework/tadoibquery.h"

#include <algorithm>

#include "framework/host_services.h"
#include "framework/tlocaldatabase.h"
#include "toolkit/exceptions.h"

namespace fw {

TADOIBQuery::TADOIBQuery(tk::TComponent* owner, std::string name)
    : tk::TClientDataSet(owner, std::move(name)) {}

TADOIBQuery::TParam& TADOIBQuery::AddParam(std::string name) {
    for (auto& p : params_)
        if (p.Name() == name) return p;
    return params_.emplace_back(std::move(name));
}

TADOIBQuery::TParam& TADOIBQuery::ParamByName(std::string_view name) {
    auto it = std::find_if(params_.begin(), params_.end(), [&](const TParam& p) { return p.Name() == name; });
    if (it == params_.end())
        throw tk::EDatabaseError(Name() + ": o parâmetro " + std::string(name) + " não existe.");
    return *it;
}

void TADOIBQuery::Open() {
    std::string sql;
    for (std::size_t i = 0; i < SQL.size(); ++i) {
        if (i) sql += '\n';
        sql += SQL[i];
    }
    std::vector<std::pair<std::string, std::string>> values;
    values.reserve(params_.size());
    for (const auto& p : params_) values.emplace_back(p.Name(), p.AsString());
    std::vector<wire::FieldDef> defs;
    for (const tk::TField* f : Fields()) defs.push_back(f->Def());

    // Query first: a failure leaves the set as it was.
    wire::DataPacket rows = HostServices::Instance().LocalDatabase().Query(sql, values, defs);
    SetData(rows);
}

}  // namespace fw
