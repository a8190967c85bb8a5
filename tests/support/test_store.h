// The store the server tests run on: SQLite files, or with KTR_TEST_STORE=postgresql a new
// database for each store in the PostgreSQL cluster named by KTR_TEST_PG (scripts/test.sh
// starts a throwaway one). Without KTR_TEST_PG a PostgreSQL run fails; it never passes unseen.
#pragma once
#include <string>

namespace testsupport {

bool onPostgres();

// A new empty store, removed with this object: `filePath` itself on SQLite, else a new
// database's URI. `postgres` asks for PostgreSQL whatever the run's store (a test that needs
// both). Throws std::runtime_error when the database cannot be made.
class TestStore {
public:
    explicit TestStore(const std::string& filePath, bool postgres = onPostgres());
    ~TestStore();
    TestStore(const TestStore&) = delete;
    TestStore& operator=(const TestStore&) = delete;
    const std::string& db() const { return db_; }

private:
    std::string db_;
    std::string name_;  // the database, on PostgreSQL
};

// Runs SQL on a store directly, as another program would; throws std::runtime_error on failure.
void execOnStore(const std::string& db, const std::string& sql);

// A throwaway PostgreSQL cluster of the test's own (scripts/pg_cluster.sh), for faults a shared
// one must not suffer: stopped and removed with this object, a failure to stop failing the
// test; stopped all the same when the process ends without destroying it (a kill by the
// runner's time-out).
class OwnCluster {
public:
    OwnCluster();  // throws std::runtime_error when it cannot start
    ~OwnCluster();
    OwnCluster(const OwnCluster&) = delete;
    OwnCluster& operator=(const OwnCluster&) = delete;
    const std::string& uri() const { return uri_; }
    void down();  // stops PostgreSQL, keeping the data
    void up();    // starts it again on the same port

private:
    std::string run(const std::string& verb);
    std::string stop();  // what failed; empty when stopped
    std::string dir_, uri_;
    int guard_ = -1;  // the writing end of the stopper's pipe
};

// The rows SQL reads from a store, as "a|b\n" lines (NULL as empty).
std::string queryText(const std::string& db, const std::string& sql);

}  // namespace testsupport
