// The headless host's history of a table: each change with the server's stamp of it.
#include "e2e/scope_world.h"

namespace e2e {
namespace {

using TableHistory = ScopeWorld;

// The wire writes a date-time at midnight as the day alone; the history still prints its time.
TEST_F(TableHistory, AStampAtMidnightPrintsItsTime) {
    testsupport::execOnStore(server.dbPath(), "UPDATE HISTORICO SET DTHISTORICO = 1735689600");  // 2025-01-01 00:00 UTC
    const auto out = run("open\nhistory\n");
    EXPECT_TRUE(has(out, "change: when=2025-01-01T00:00:00 user=")) << out;
}

}  // namespace
}  // namespace e2e
