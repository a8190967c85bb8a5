// Transactions and savepoints over a connection of either store (sqlite::Database,
// pg::Connection); each connection says how it begins, commits and rolls back.
#pragma once

namespace appserver::sql {

// Begins on construction; rolled back unless commit() was called and succeeded.
template <class Db>
class Transaction {
public:
    explicit Transaction(Db& db) : db_(db) { db_.begin(); }
    ~Transaction() {
        if (!done_) db_.rollbackQuietly();
    }
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void commit() {
        db_.commit();
        done_ = true;
    }

private:
    Db& db_;
    bool done_ = false;
};

// A part of the enclosing transaction that can be undone alone: undone on destruction unless
// release() or rollback() was called.
template <class Db>
class Savepoint {
public:
    explicit Savepoint(Db& db) : db_(db) { db_.run("SAVEPOINT part"); }
    ~Savepoint() {
        if (done_) return;
        try {
            rollback();
        } catch (...) {
            // The enclosing transaction's own rollback takes these changes with it.
        }
    }
    Savepoint(const Savepoint&) = delete;
    Savepoint& operator=(const Savepoint&) = delete;
    // Keeps its changes in the enclosing transaction.
    void release() {
        db_.run("RELEASE part");
        done_ = true;
    }
    // Undoes its changes and nothing else; throws when the connection cannot.
    void rollback() {
        done_ = true;
        db_.run("ROLLBACK TO part");
        db_.run("RELEASE part");
    }

private:
    Db& db_;
    bool done_ = false;
};

}  // namespace appserver::sql
