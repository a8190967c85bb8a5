// The commission store kept in one SQLite file (WAL, foreign keys, synchronous=FULL).
#pragma once
#include <mutex>
#include <string>

#include "appserver/sqlite_db.h"
#include "appserver/store.h"

namespace appserver {

class SqliteStore final : public Store {
public:
    // Opens or creates the file and its schema; throws sqlite::Error when it cannot.
    explicit SqliteStore(const std::string& path);

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
    void apply(ListKind list, const wire::ChangeLog& log) override;
    bool isEmpty() override;

private:
    std::mutex mutex_;
    sqlite::Database db_;  // guarded by mutex_
};

}  // namespace appserver
