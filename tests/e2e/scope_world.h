// A running server with one commission table, a local event-type catalogue and a relay
// that notes the screen's calls: the ground the rule-list scenarios play on.
#pragma once
#include <algorithm>
#include <string>
#include <vector>

#include "e2e/rpc_recorder.h"
#include "support/comissao_world.h"
#include "support/script_output.h"

namespace e2e {

using nlohmann::json;
using testsupport::currentRow;
using testsupport::has;
using testsupport::lastShow;
using testsupport::linesStarting;
using testsupport::messages;
using testsupport::shown;

class ScopeWorld : public testsupport::ComissaoWorld {
protected:
    ScopeWorld() : ComissaoWorld({{"001", "Venda"}, {"007", "Troca"}, {"012", "Devolucao"}}) {}
    explicit ScopeWorld(const std::vector<testsupport::EventType>& catalogueRows) : ComissaoWorld(catalogueRows) {}

    // The commission table every scenario works under: the year 2025, both ends included.
    void SetUp() override { nr = seedComissao("Tabela 2025", "2025-01-01", "2025-12-31"); }

    // Plays `script` through the relay; a script error fails the test.
    std::string run(const std::string& script) {
        auto result = testsupport::runScript(relay.port(), catalogue.path(), script);
        EXPECT_EQ(result.exitCode, 0) << result.err << "\n--- output ---\n" << result.out;
        return result.out;
    }

    // Number (first column) of the stored row of table `nr` whose column `at` holds `value`.
    double numberOf(const std::string& getMethod, std::size_t at, const json& value) {
        for (const auto& r : rows(getMethod, json::array({nr})))
            if (r.at(at) == value) return r.at(0).get<double>();
        ADD_FAILURE() << "no stored row with " << value.dump();
        return 0;
    }

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

    RpcRecorder relay{server.port()};
    double nr = 0;
};

}  // namespace e2e
