// A running server with an empty store and a local event-type catalogue, and runs of
// backoffice-script against it: the ground of the commission-table scenarios.
#pragma once
#include <string>

#include "support/comissao_world.h"
#include "support/script_output.h"

namespace comissao_e2e {

using nlohmann::json;
using testsupport::hasLine;
using testsupport::lines;
using testsupport::linesStarting;
using testsupport::stateBlocks;

class ScreenWorld : public testsupport::ComissaoWorld {
protected:
    ScreenWorld() : ComissaoWorld({{"001", "Venda"}, {"002", "Troca"}}) {}

    // Plays `script` as the user of `branch`; a script error fails the test.
    testsupport::ScriptResult run(const std::string& script, const std::string& branch = "0001") {
        auto r = testsupport::runScript(server.port(), catalogue.path(), script, {}, branch);
        EXPECT_EQ(r.exitCode, 0) << r.err << "\n" << r.out;
        return r;
    }
};

}  // namespace comissao_e2e
