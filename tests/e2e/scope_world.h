// A running server with one commission table, a local event-type catalogue and a relay
// that notes the screen's calls: the ground the rule-list scenarios play on.
#pragma once
#include <gtest/gtest.h>

#include <algorithm>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "e2e/rpc_recorder.h"
#include "support/e2e_support.h"

namespace e2e {

using nlohmann::json;

inline json field(const char* name, const char* type, int size = 0) {
    json f = {{"name", name}, {"type", type}};
    if (size) f["size"] = size;
    return f;
}

class ScopeWorld : public ::testing::Test {
protected:
    // The commission table every scenario works under: the year 2025, both ends included.
    void SetUp() override {
        insert("SetComissao",
               {field("NRCOMISSAOOREV", "float"), field("DSCOMISSAOOREV", "string", 30),
                field("DTVALIDADEINI", "datetime"), field("DTVALIDADEFIN", "datetime"),
                field("CDFILIAL", "string", 4)},
               {nullptr, "Tabela 2025", "2025-01-01T00:00:00", "2025-12-31T00:00:00", "0001"});
        nr = rows("GetComissao", json::array()).at(0).at(0).get<double>();
    }

    json rows(const std::string& method, const json& params) {
        return testsupport::rpcResult(server.port(), method, params).at("rows");
    }
    void insert(const std::string& setMethod, const json& fields, const json& row) {
        testsupport::rpcResult(server.port(), setMethod, json::array({testsupport::insertLog(fields, {row})}));
    }
    // Number (first column) of the stored row whose column `at` holds `value`.
    double numberOf(const std::string& getMethod, std::size_t at, const json& value) {
        for (const auto& r : rows(getMethod, json::array({nr})))
            if (r.at(at) == value) return r.at(0).get<double>();
        ADD_FAILURE() << "no stored row with " << value.dump();
        return 0;
    }

    double seedCargo(const char* code) {
        insert("SetCargo",
               {field("NRCOMISSAOCARGOOREV", "float"), field("IDCARGOVEND", "string", 1),
                field("NRCOMISSAOOREV", "float")},
               {nullptr, code, nr});
        return numberOf("GetCargo", 1, code);
    }
    double seedEvento(const char* code, const char* name, const char* cargo) {
        insert("SetEvento",
               {field("NRCOMISSAOTPEVENTOREV", "float"), field("NRCOMISSAOOREV", "float"),
                field("CDTIPOEVENTO", "string", 3), field("NMTIPOEVENTO", "string", 30),
                field("IDCARGOVEND", "string", 1)},
               {nullptr, nr, code, name, cargo});
        double found = 0;
        for (const auto& r : rows("GetEvento", json::array({nr})))
            if (r.at(2) == code && r.at(4) == cargo) found = r.at(0).get<double>();
        return found;
    }
    // Dates as "YYYY-MM-DD".
    double seedPromocao(const std::string& ini, const std::string& fin, const char* base, const char* code,
                        const char* name, const char* cargo) {
        insert("SetPromocao",
               {field("NRCOMISSAOPROMOREV", "float"), field("NRCOMISSAOOREV", "float"),
                field("DTVALINICOMISPROMO", "datetime"), field("DTVALFINCOMISPROMO", "datetime"),
                field("IDDTBASECOMISPROMO", "string", 30), field("CDTIPOEVENTO", "string", 3),
                field("NMTIPOEVENTO", "string", 30), field("IDCARGOVEND", "string", 1),
                field("DTINCLUSAOCOMISSAO", "datetime")},
               {nullptr, nr, ini + "T00:00:00", fin + "T00:00:00", base, code, name, cargo, nullptr});
        return numberOf("GetPromocao", 2, ini + "T00:00:00");
    }
    // One band of rule `rule` of scope `kind` ("CARGO", "TIPOEVENTO", "PROMOCAO").
    void seedBand(const std::string& kind, double rule, double from, double to, double pct) {
        const char* set = kind == "CARGO" ? "SetPercCargo" : kind == "TIPOEVENTO" ? "SetPercEvento" : "SetPercPromocao";
        json r = {nullptr, nr, kind, nullptr, nullptr, nullptr, from, to, pct};
        r[kind == "CARGO" ? 3 : kind == "TIPOEVENTO" ? 4 : 5] = rule;
        insert(set,
               {field("NRFAIXACOMISSAOOREV", "float"), field("NRCOMISSAOOREV", "float"),
                field("IDTIPOCOMISSAO", "string", 30), field("NRCOMISSAOCARGOOREV", "float"),
                field("NRCOMISSAOTPEVENTOREV", "float"), field("NRCOMISSAOPROMOREV", "float"),
                field("VRINICIAL", "float"), field("VRFINAL", "float"), field("VRCOMISSAO", "float")},
               r);
    }

    // Plays `script` through the relay; a script error fails the test.
    std::string run(const std::string& script) {
        auto result = testsupport::runScript(relay.port(), catalogue.path(), script);
        EXPECT_EQ(result.exitCode, 0) << result.err << "\n--- output ---\n" << result.out;
        return result.out;
    }

    // The lines `show DATASET` printed last for `dataSet` (header and rows).
    static std::string lastShow(const std::string& out, const std::string& dataSet) {
        const auto at = out.rfind(dataSet + " state=");
        if (at == std::string::npos) return "";
        std::string block;
        std::size_t pos = at;
        bool first = true;
        while (pos < out.size()) {
            const auto end = out.find('\n', pos);
            const std::string line = out.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
            if (!first && line.rfind("  [", 0) != 0) break;
            block += line + "\n";
            first = false;
            if (end == std::string::npos) break;
            pos = end + 1;
        }
        return block;
    }

    static bool has(const std::string& out, const std::string& text) { return out.find(text) != std::string::npos; }

    std::size_t calls(const std::string& method) const {
        const auto names = relay.methods();
        return static_cast<std::size_t>(std::count(names.begin(), names.end(), method));
    }
    // Rule numbers sent with GetPercentual, in order.
    std::vector<double> bandRequests() const {
        std::vector<double> rules;
        for (const auto& r : relay.requests())
            if (r["method"] == "GetPercentual") rules.push_back(r["params"].at(1).get<double>());
        return rules;
    }

    testsupport::ServerProcess server;
    testsupport::LocalCatalogue catalogue{{{"001", "Venda"}, {"007", "Troca"}, {"012", "Devolucao"}}};
    RpcRecorder relay{server.port()};
    double nr = 0;
};

}  // namespace e2e
