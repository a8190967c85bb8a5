#include "support/comissao_world.h"

#include <stdexcept>

#include "wire/packet_json.h"

namespace testsupport {

namespace {
std::string day(const std::string& ymd) { return ymd + "T00:00:00"; }
}  // namespace

nlohmann::json ComissaoWorld::layout(const wire::List& list) {
    return wire::toJson(wire::DataPacket{list.defs(), {}}).at("fields");
}

nlohmann::json ComissaoWorld::rows(const std::string& method, const json& params) {
    return rpcResult(server.port(), method, params).at("rows");
}

void ComissaoWorld::insert(const std::string& setMethod, const json& fields, const json& row) {
    rpcResult(server.port(), setMethod, json::array({insertLog(fields, {row})}));
}

double ComissaoWorld::seedComissao(const std::string& ds, const std::string& ini, const std::string& fin) {
    insert("SetComissao",
           layout(wire::lists::comissao),
           {nullptr, ds, day(ini), day(fin), "0001"});
    for (const auto& r : storedComissoes())
        if (r.at(1) == ds) return r.at(0).get<double>();
    throw std::runtime_error("commission table " + ds + " not stored");
}

double ComissaoWorld::seedCargo(double nr, const std::string& code) {
    insert("SetCargo",
           layout(wire::lists::cargo),
           {nullptr, code, nr});
    for (const auto& r : rows("GetCargo", json::array({nr})))
        if (r.at(1) == code) return r.at(0).get<double>();
    throw std::runtime_error("position rule " + code + " not stored");
}

double ComissaoWorld::seedEvento(double nr, const std::string& code, const std::string& name,
                                 const std::string& cargo) {
    insert("SetEvento",
           layout(wire::lists::evento),
           {nullptr, nr, code, name, cargo});
    for (const auto& r : rows("GetEvento", json::array({nr})))
        if (r.at(2) == code && r.at(4) == cargo) return r.at(0).get<double>();
    throw std::runtime_error("event-type rule " + code + " not stored");
}

double ComissaoWorld::seedPromocao(double nr, const std::string& ini, const std::string& fin, const std::string& base,
                                   const std::string& code, const std::string& name, const std::string& cargo) {
    insert("SetPromocao",
           layout(wire::lists::promocao),
           {nullptr, nr, day(ini), day(fin), base, code, name, cargo, nullptr});
    for (const auto& r : rows("GetPromocao", json::array({nr})))
        if (r.at(2) == day(ini) && r.at(5) == code && r.at(7) == cargo) return r.at(0).get<double>();
    throw std::runtime_error("promotion rule from " + ini + " not stored");
}

void ComissaoWorld::seedBands(double nr, const std::string& kind, double rule, const std::vector<Band>& bands) {
    const char* set = kind == "CARGO" ? "SetPercCargo" : kind == "TIPOEVENTO" ? "SetPercEvento" : "SetPercPromocao";
    const std::size_t ruleAt = wire::lists::faixa.at(wire::lists::rulesOf(wire::scopeFromWord(kind)).key().name);
    std::vector<json> rowsToInsert;
    for (const Band& b : bands) {
        json row = {nullptr, nr, kind, nullptr, nullptr, nullptr, b.ini, b.fin, b.percent};
        row[ruleAt] = rule;
        rowsToInsert.push_back(row);
    }
    rpcResult(server.port(), set,
              json::array({insertLog(layout(wire::lists::faixa),
                                     rowsToInsert)}));
}

}  // namespace testsupport
