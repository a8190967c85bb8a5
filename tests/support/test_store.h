// The store the server tests run on: SQLite files, or with KTR_TEST_STORE=postgresql a new
// database for each store in the PostgreSQL cluster named by KTR_TEST_PG (scripts/test.sh
// starts a throwaway one). Without KTR_TEST_PG a PostgreSQL run fails; it never passes unseen.
#pragma once
#include <string>

namespace testsupport {

bool onPostgres();

// A new empty store, removed with this object: `filePath` itself on SQLite, else a new
// database's URI. Throws std::runtime_error when the database cannot be made.
class TestStore {
public:
    explicit TestStore(const std::string& filePath);
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

// The rows SQL reads from a store, as "a|b\n" lines (NULL as empty).
std::string queryText(const std::string& db, const std::string& sql);

}  // namespace testsupport
