// The reads of a store kept in SQL tables, written once for both kinds of connection.
#pragma once
#include <atomic>
#include <cstdint>
#include <functional>
#include <thread>

#include "store/store.h"

namespace appserver {

// Db: sqlite::Database or pg::Connection. A store says how it lends a connection for a read;
// the statements are the same for both.
template <class Db>
class SqlStore : public Store {
public:
    wire::DataPacket comissoes() override;
    wire::DataPacket cargos(double nrComissao) override;
    wire::DataPacket eventos(double nrComissao) override;
    wire::DataPacket promocoes(double nrComissao) override;
    wire::DataPacket faixas(double nrComissao, double nrRegra, Scope scope) override;
    wire::DataPacket cargoCadastrado(double nrComissao, const std::string& idCargo) override;
    wire::DataPacket eventoCadastrado(double nrComissao, const std::string& cdTipoEvento,
                                      const std::string& idCargo) override;
    wire::DataPacket janelasPromocao(double nrComissao) override;
    wire::DataPacket intervalos(double nrComissao, double nrRegra, Scope scope) override;
    commission::Snapshot snapshot() override;
    wire::DataPacket historico(double nrComissao) override;
    bool isEmpty() override;

protected:
    using Read = std::function<wire::DataPacket(Db&)>;
    // Runs `read` on a connection that sees every committed change (inside inOneTransaction(),
    // the transaction's own connection, so that it also sees what the transaction stored).
    virtual wire::DataPacket onReader(const Read& read) = 0;

    // Raises the store's version as a write ends, after its commit or rollback: even a failed
    // commit may have changed what a read finds, so it counts too.
    struct VersionBump {
        std::atomic<std::uint64_t>& version;
        ~VersionBump() { ++version; }
    };

    // True on the thread inside inOneTransaction(), whose reads and applies use the writer.
    bool insideTransaction() const { return transactionThread_.load() == std::this_thread::get_id(); }
    // Marks the calling thread as the one inside inOneTransaction() for its lifetime.
    class Inside {
    public:
        explicit Inside(SqlStore& store) : store_(store) { store_.transactionThread_ = std::this_thread::get_id(); }
        ~Inside() { store_.transactionThread_ = std::thread::id{}; }
        Inside(const Inside&) = delete;
        Inside& operator=(const Inside&) = delete;

    private:
        SqlStore& store_;
    };

private:
    std::atomic<std::thread::id> transactionThread_{};
    wire::DataPacket byComissao(const std::string& sql, double nrComissao, const std::vector<wire::FieldDef>& layout);
    wire::DataPacket byRule(const std::string& sql, double nrComissao, double nrRegra, Scope scope,
                            const std::vector<wire::FieldDef>& layout);
};

}  // namespace appserver
