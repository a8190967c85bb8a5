#include "support/comissao_world.h"

#include <stdexcept>

namespace testsupport {

namespace {
std::string day(const std::string& ymd) { return ymd + "T00:00:00"; }
}  // namespace

nlohmann::json ComissaoWorld::field(const char* name, const char* type, int size) {
    json f = {{"name", name}, {"type", type}};
    if (size) f["size"] = size;
    return f;
}

nlohmann::json ComissaoWorld::rows(const std::string& method, const json& params) {
    return rpcResult(server.port(), method, params).at("rows");
}

void ComissaoWorld::insert(const std::string& setMethod, const json& fields, const json& row) {
    rpcResult(server.port(), setMethod, json::array({insertLog(fields, {row})}));
}

double ComissaoWorld::seedComissao(const std::string& ds, const std::string& ini, const std::string& fin) {
    insert("SetComissao",
           {field("NRCOMISSAOOREV", "float"), field("DSCOMISSAOOREV", "string", 30),
            field("DTVALIDADEINI", "datetime"), field("DTVALIDADEFIN", "datetime"), field("CDFILIAL", "string", 4)},
           {nullptr, ds, day(ini), day(fin), "0001"});
    for (const auto& r : storedComissoes())
        if (r.at(1) == ds) return r.at(0).get<double>();
    throw std::runtime_error("commission table " + ds + " not stored");
}

double ComissaoWorld::seedCargo(double nr, const std::string& code) {
    insert("SetCargo",
           {field("NRCOMISSAOCARGOOREV", "float"), field("IDCARGOVEND", "string", 1), field("NRCOMISSAOOREV", "float")},
           {nullptr, code, nr});
    for (const auto& r : rows("GetCargo", json::array({nr})))
        if (r.at(1) == code) return r.at(0).get<double>();
    throw std::runtime_error("position rule " + code + " not stored");
}

double ComissaoWorld::seedEvento(double nr, const std::string& code, const std::string& name,
                                 const std::string& cargo) {
    insert("SetEvento",
           {field("NRCOMISSAOTPEVENTOREV", "float"), field("NRCOMISSAOOREV", "float"),
            field("CDTIPOEVENTO", "string", 3), field("NMTIPOEVENTO", "string", 30), field("IDCARGOVEND", "string", 1)},
           {nullptr, nr, code, name, cargo});
    for (const auto& r : rows("GetEvento", json::array({nr})))
        if (r.at(2) == code && r.at(4) == cargo) return r.at(0).get<double>();
    throw std::runtime_error("event-type rule " + code + " not stored");
}

double ComissaoWorld::seedPromocao(double nr, const std::string& ini, const std::string& fin, const std::string& base,
                                   const std::string& code, const std::string& name, const std::string& cargo) {
    insert("SetPromocao",
           {field("NRCOMISSAOPROMOREV", "float"), field("NRCOMISSAOOREV", "float"),
            field("DTVALINICOMISPROMO", "datetime"), field("DTVALFINCOMISPROMO", "datetime"),
            field("IDDTBASECOMISPROMO", "string", 30), field("CDTIPOEVENTO", "string", 3),
            field("NMTIPOEVENTO", "string", 30), field("IDCARGOVEND", "string", 1),
            field("DTINCLUSAOCOMISSAO", "datetime")},
           {nullptr, nr, day(ini), day(fin), base, code, name, cargo, nullptr});
    for (const auto& r : rows("GetPromocao", json::array({nr})))
        if (r.at(2) == day(ini) && r.at(5) == code && r.at(7) == cargo) return r.at(0).get<double>();
    throw std::runtime_error("promotion rule from " + ini + " not stored");
}

void ComissaoWorld::seedBands(double nr, const std::string& kind, double rule, const std::vector<Band>& bands) {
    const char* set = kind == "CARGO" ? "SetPercCargo" : kind == "TIPOEVENTO" ? "SetPercEvento" : "SetPercPromocao";
    const int ruleAt = kind == "CARGO" ? 3 : kind == "TIPOEVENTO" ? 4 : 5;
    std::vector<json> rowsToInsert;
    for (const Band& b : bands) {
        json row = {nullptr, nr, kind, nullptr, nullptr, nullptr, b.ini, b.fin, b.percent};
        row[ruleAt] = rule;
        rowsToInsert.push_back(row);
    }
    rpcResult(server.port(), set,
              json::array({insertLog({field("NRFAIXACOMISSAOOREV", "float"), field("NRCOMISSAOOREV", "float"),
                                      field("IDTIPOCOMISSAO", "string", 30), field("NRCOMISSAOCARGOOREV", "float"),
                                      field("NRCOMISSAOTPEVENTOREV", "float"), field("NRCOMISSAOPROMOREV", "float"),
                                      field("VRINICIAL", "float"), field("VRFINAL", "float"),
                                      field("VRCOMISSAO", "float")},
                                     rowsToInsert)}));
}

}  // namespace testsupport
