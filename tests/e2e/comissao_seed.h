// Seeding the application server for the commission screen's end-to-end tests, and
// reading the headless host's output.
#pragma once
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "support/e2e_support.h"

namespace comissao_e2e {

using nlohmann::json;

inline json comissaoFields() {
    return json::array({{{"name", "NRCOMISSAOOREV"}, {"type", "float"}},
                        {{"name", "DSCOMISSAOOREV"}, {"type", "string"}, {"size", 30}},
                        {{"name", "DTVALIDADEINI"}, {"type", "datetime"}},
                        {{"name", "DTVALIDADEFIN"}, {"type", "datetime"}},
                        {{"name", "CDFILIAL"}, {"type", "string"}, {"size", 4}}});
}

// The stored commission tables, as GetComissao returns them.
inline json storedComissoes(int port) { return testsupport::rpcResult(port, "GetComissao", json::array())["rows"]; }

// Stores a commission table (dates "YYYY-MM-DD") and returns its number.
inline double addComissao(int port, const std::string& ds, const std::string& ini, const std::string& fin) {
    testsupport::rpcResult(
        port, "SetComissao",
        json::array({testsupport::insertLog(
            comissaoFields(), {json::array({nullptr, ds, ini + "T00:00:00", fin + "T00:00:00", "0001"})})}));
    for (const auto& row : storedComissoes(port))
        if (row[1] == ds) return row[0].get<double>();
    throw std::runtime_error("commission table " + ds + " not stored");
}

// Stores a position rule of table `nr` and returns its number.
inline double addCargo(int port, double nr, const std::string& cargo) {
    const json fields = json::array({{{"name", "NRCOMISSAOCARGOOREV"}, {"type", "float"}},
                                     {{"name", "IDCARGOVEND"}, {"type", "string"}, {"size", 1}},
                                     {{"name", "NRCOMISSAOOREV"}, {"type", "float"}}});
    testsupport::rpcResult(port, "SetCargo",
                           json::array({testsupport::insertLog(fields, {json::array({nullptr, cargo, nr})})}));
    const json stored = testsupport::rpcResult(port, "GetCargo", json::array({nr}));
    for (const auto& row : stored["rows"])
        if (row[1] == cargo) return row[0].get<double>();
    throw std::runtime_error("position rule not stored");
}

// Stores an event-type rule of table `nr`.
inline void addEvento(int port, double nr, const std::string& tipo, const std::string& nome, const std::string& cargo) {
    const json fields = json::array({{{"name", "NRCOMISSAOTPEVENTOREV"}, {"type", "float"}},
                                     {{"name", "NRCOMISSAOOREV"}, {"type", "float"}},
                                     {{"name", "CDTIPOEVENTO"}, {"type", "string"}, {"size", 3}},
                                     {{"name", "NMTIPOEVENTO"}, {"type", "string"}, {"size", 30}},
                                     {{"name", "IDCARGOVEND"}, {"type", "string"}, {"size", 1}}});
    testsupport::rpcResult(
        port, "SetEvento",
        json::array({testsupport::insertLog(fields, {json::array({nullptr, nr, tipo, nome, cargo})})}));
}

// Stores a band of position rule `rule` of table `nr`.
inline void addBandaCargo(int port, double nr, double rule, double ini, double fin, double perc) {
    json fields = json::array();
    for (const char* n : {"NRFAIXACOMISSAOOREV", "NRCOMISSAOOREV"}) fields.push_back({{"name", n}, {"type", "float"}});
    fields.push_back({{"name", "IDTIPOCOMISSAO"}, {"type", "string"}, {"size", 30}});
    for (const char* n : {"NRCOMISSAOCARGOOREV", "NRCOMISSAOTPEVENTOREV", "NRCOMISSAOPROMOREV", "VRINICIAL",
                          "VRFINAL", "VRCOMISSAO"})
        fields.push_back({{"name", n}, {"type", "float"}});
    testsupport::rpcResult(
        port, "SetPercCargo",
        json::array({testsupport::insertLog(
            fields, {json::array({nullptr, nr, "CARGO", rule, nullptr, nullptr, ini, fin, perc})})}));
}

// The output lines of a host run.
inline std::vector<std::string> lines(const std::string& out) {
    std::vector<std::string> result;
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);) result.push_back(line);
    return result;
}

inline bool hasLine(const std::string& out, const std::string& line) {
    for (const auto& l : lines(out))
        if (l == line) return true;
    return false;
}

// Every line starting with `prefix`, in order.
inline std::vector<std::string> linesStarting(const std::string& out, const std::string& prefix) {
    std::vector<std::string> result;
    for (const auto& l : lines(out))
        if (l.rfind(prefix, 0) == 0) result.push_back(l);
    return result;
}

// The blocks printed by each `state` command, one string each (lines joined by "\n",
// the focus line included), in order.
inline std::vector<std::string> stateBlocks(const std::string& out) {
    std::vector<std::string> blocks;
    std::string block;
    bool inBlock = false;
    for (const auto& l : lines(out)) {
        if (l.rfind("sbtIncluir ", 0) == 0) {
            inBlock = true;
            block.clear();
        }
        if (!inBlock) continue;
        block += l + "\n";
        if (l.rfind("focus: ", 0) == 0) {
            blocks.push_back(block);
            inBlock = false;
        }
    }
    return blocks;
}

// A server with an empty store and an empty local catalogue; runs scripts against it.
class ScreenTest : public ::testing::Test {
protected:
    testsupport::ServerProcess server;
    testsupport::LocalCatalogue catalogue{{{"001", "Venda"}, {"002", "Troca"}}};

    testsupport::ScriptResult run(const std::string& script, const std::string& branch = "0001") {
        auto r = testsupport::runScript(server.port(), catalogue.path(), script, {}, branch);
        EXPECT_EQ(r.exitCode, 0) << r.err << "\n" << r.out;
        return r;
    }
};

}  // namespace comissao_e2e
