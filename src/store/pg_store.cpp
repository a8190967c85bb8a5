#include "store/pg_store.h"

#include <chrono>
#include <random>

#include "store/changes.h"
#include "store/refusals.h"
#include "store/schema.h"

namespace appserver {

using wire::DataPacket;

namespace {

// Conflicts between servers are rare and short; a change log that keeps meeting them after this
// many runs is refused whole rather than holding its writer forever.
constexpr int kMaxRuns = 30;

// A short random pause before running again, so that two servers do not collide in step.
void pauseBeforeRun(int run) {
    thread_local std::minstd_rand random{std::random_device{}()};
    std::this_thread::sleep_for(std::chrono::microseconds(random() % (200u * static_cast<unsigned>(run))));
}

// Opens a write transaction in one round trip: waits for this database's turn to write (the
// servers sharing it write one transaction at a time, so no check ever reads around another
// server's uncommitted change: the checks hold as with one writer), tells the other servers of
// the commit to come, and returns the transaction's own number, to ask afterwards whether it
// committed.
long long startWriting(pg::Connection& db) {
    auto q = db.query("SELECT pg_advisory_xact_lock(" + std::to_string(schema::kWritersLock) + "), txid_current(), pg_notify('" +
                      kCommitChannel + "', '')");
    q.step();
    return q.columnInt(1);
}

}  // namespace

PgStore::PgStore(const std::string& uri) : uri_(uri), writer_(std::make_unique<pg::Connection>(uri)) {
    schema::prepare(*writer_);
    listener_.waitUntilHearing(5000);  // until then nothing read is kept, which is only slower
}

PgStore::~PgStore() = default;

pg::Connection& PgStore::writer() {
    if (!writer_ || !writer_->usable()) {
        writer_.reset();
        try {
            writer_ = std::make_unique<pg::Connection>(uri_);
        } catch (const pg::Error&) {
            throw Refusal(msg::kBancoIndisponivel);
        }
    }
    return *writer_;
}

DataPacket PgStore::onReader(const Read& read) {
    if (insideTransaction()) return read(*writer_);
    // A read changes nothing: after a lost connection it runs once more on a new one.
    for (int run = 1;; ++run) {
        std::unique_ptr<pg::Connection> db;
        {
            std::lock_guard lock(readersMutex_);
            if (!idleReaders_.empty()) {
                db = std::move(idleReaders_.back());
                idleReaders_.pop_back();
            }
        }
        try {
            if (!db) db = std::make_unique<pg::Connection>(uri_);
            DataPacket result = read(*db);
            std::lock_guard lock(readersMutex_);
            idleReaders_.push_back(std::move(db));
            return result;
        } catch (const pg::Error& e) {
            if (!e.connectionLost()) throw;
            if (run == 2) throw Refusal(msg::kBancoIndisponivel);
            // The idle ones went with it (PostgreSQL restarted): the next run opens a new one.
            std::lock_guard lock(readersMutex_);
            idleReaders_.clear();
        }
    }
}

void PgStore::writeTransaction(const std::function<void(pg::Connection&)>& work) {
    bool reconnected = false;
    for (int run = 1;; ++run) {
        pg::Connection& db = writer();
        long long number = 0;
        bool committing = false;
        try {
            pg::Transaction tx(db);
            number = startWriting(db);
            work(db);
            committing = true;
            tx.commit();
            return;
        } catch (const pg::Error& e) {
            if (e.mustRetry()) {
                if (run == kMaxRuns) throw Refusal(msg::kConcorrenciaDemais);
                pauseBeforeRun(run);
                continue;
            }
            if (!e.connectionLost()) throw;
        }
        writer_.reset();
        // The connection broke before the commit was sent: nothing was stored, and the work runs
        // once more on a new connection (PostgreSQL restarted, or an idle connection was cut).
        if (!committing) {
            if (reconnected) throw Refusal(msg::kBancoIndisponivel);
            reconnected = true;
            continue;
        }
        // It broke during the commit: PostgreSQL alone knows whether it was kept; a new connection asks.
        std::string status;
        try {
            auto q = writer().query("SELECT txid_status(?)");
            q.bindInt(1, number);
            if (q.step()) status = std::get<std::string>(q.column(0, wire::FieldType::String));
        } catch (const std::exception&) {
            throw Refusal(msg::kGravacaoIncerta);
        }
        if (status == "committed") return;
        throw Refusal(msg::kBancoIndisponivel);
    }
}

void PgStore::apply(ListKind list, const wire::ChangeLog& log, const Author& author) {
    if (insideTransaction()) {
        detail::applyChanges(*writer_, list, log, author);  // the enclosing transaction keeps it or drops it
        return;
    }
    std::lock_guard lock(writeMutex_);
    const VersionBump bump{version_};
    writeTransaction([&](pg::Connection& db) { detail::applyChanges(db, list, log, author); });
}

std::vector<std::exception_ptr> PgStore::applyGroup(std::span<const PendingLog> logs) {
    std::vector<std::exception_ptr> outcomes;
    std::lock_guard lock(writeMutex_);
    const VersionBump bump{version_};
    writeTransaction([&](pg::Connection& db) {
        outcomes.assign(logs.size(), nullptr);  // a run again starts from nothing
        for (std::size_t i = 0; i < logs.size(); ++i) {
            pg::Savepoint part(db);
            try {
                detail::applyChanges(db, logs[i].list, *logs[i].log, *logs[i].author);
                part.release();
            } catch (const pg::Error& e) {
                // A conflict with another server or a lost connection ends the whole transaction.
                if (e.mustRetry() || e.connectionLost()) throw;
                outcomes[i] = std::current_exception();
                part.rollback();
            } catch (...) {
                outcomes[i] = std::current_exception();
                part.rollback();
            }
        }
    });
    return outcomes;
}

void PgStore::inOneTransaction(const std::function<void()>& work) {
    std::lock_guard lock(writeMutex_);
    const VersionBump bump{version_};
    writeTransaction([&](pg::Connection&) {
        const Inside inside(*this);
        work();
    });
}

}  // namespace appserver
