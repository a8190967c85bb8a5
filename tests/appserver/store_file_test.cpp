// The database file is handled with care: a plain path only, a new file for its owner's eyes,
// one server at a time, the demonstration data whole or not at all, and failures of the store
// shown to the client by a reference while the statement goes to the log.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <regex>

#include "server_harness.h"

using namespace harness;
using appserver::ListKind;
using nlohmann::json;

namespace {

unsigned modeOf(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? st.st_mode & 0777 : 0;
}

}  // namespace

TEST(StoreFile, OnlyAFilePathInAnExistingFolderIsAccepted) {
    const auto missing = std::filesystem::temp_directory_path() / ("ktr52300_missing_" + std::to_string(::getpid()));
    const std::pair<std::string, std::string> cases[] = {
        {":memory:", "\":memory:\" would keep nothing"},
        {"", "it is empty"},
        {"file:comissao.db?mode=memory", "not an SQLite \"file:\" name"},
        {(missing / "sub" / "comissao.db").string(), "does not exist"},
    };
    for (const auto& [path, why] : cases) {
        const Refused r = runServer({"--listen", "127.0.0.1:0", "--db", path});
        EXPECT_EQ(r.status, 1) << path;
        EXPECT_NE(r.log.find(why), std::string::npos) << path << ": " << r.log;
    }
    EXPECT_FALSE(std::filesystem::exists(missing));  // no folders made on the way
    EXPECT_FALSE(std::filesystem::exists("file:comissao.db?mode=memory"));
}

TEST(StoreFile, ANewFileIsItsOwnersAndOneServerAtATimeUsesIt) {
    TempDb db;
    ServerProcess first(db.path());
    Client c(first.port());
    addComissao(c, "T", day(2025, 1, 1), day(2025, 12, 31));
    for (const char* suffix : {"", "-wal", "-shm"}) EXPECT_EQ(modeOf(db.path() + suffix), 0600u) << suffix;

    const Refused second = runServer({"--listen", "127.0.0.1:0", "--db", db.path()});
    EXPECT_EQ(second.status, 1);
    EXPECT_NE(second.log.find("another server is using the database " + db.path()), std::string::npos) << second.log;
    EXPECT_EQ(c.packet("GetComissao", json::array()).rows.size(), 1u);  // the first serves on
}

TEST(StoreFile, TheDemonstrationDataIsStoredWholeOrNotAtAll) {
    TempDb db;
    { ServerProcess schema(db.path()); }
    // A failure halfway through the demonstration data, where a kill could have come.
    execOn(db.path(), "CREATE TRIGGER halfway BEFORE INSERT ON COMISSAOPROMO BEGIN SELECT RAISE(ABORT, 'disco cheio'); END;");
    EXPECT_EQ(runServer({"--listen", "127.0.0.1:0", "--db", db.path(), "--demo"}).status, 1);
    {
        ServerProcess empty(db.path());
        Client c(empty.port());
        EXPECT_EQ(render(c.packet("GetComissao", json::array())), "");
    }
    execOn(db.path(), "DROP TRIGGER halfway;");
    ServerProcess seeded(db.path(), {"--demo"});  // the next start stores it all
    Client c(seeded.port());
    EXPECT_EQ(c.packet("GetComissao", json::array()).rows.size(), 3u);
    EXPECT_EQ(c.packet("GetPromocao", {1}).rows.size(), 2u);
}

TEST(StoreFailures, TheClientGetsAReferenceAndTheLogTheStatement) {
    TempDb db;
    ServerProcess server(db.path(), {"--demo"});
    execOn(db.path(), "CREATE TRIGGER broken BEFORE INSERT ON COMISSAOCARGO BEGIN SELECT RAISE(ABORT, 'disco cheio'); END;");
    Client c(server.port());
    const json reply = c.call("SetCargo", json::array({insertLog(ListKind::Cargo, {{wire::Null{}, str("G"), 1.0}})}));
    EXPECT_EQ(reply["error"]["code"], -32603);
    const std::string text = reply["error"]["message"];
    std::smatch reference;
    ASSERT_TRUE(std::regex_search(text, reference, std::regex("^Erro interno do servidor\\. .*referência ([0-9]+)\\.$"))) << text;
    const std::string log = server.log();
    const auto at = log.find("reference " + reference[1].str());
    ASSERT_NE(at, std::string::npos) << log;
    const std::string entry = log.substr(log.rfind('\n', at) + 1, log.find('\n', at) - log.rfind('\n', at));
    EXPECT_NE(entry.find("SetCargo"), std::string::npos) << entry;
    EXPECT_NE(entry.find("INSERT INTO COMISSAOCARGO"), std::string::npos) << entry;
    EXPECT_NE(entry.find("disco cheio"), std::string::npos) << entry;
}
