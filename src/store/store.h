// The commission store: the one interface between the server's methods and where the data lives.
#pragma once
#include <cstdint>
#include <exception>
#include <functional>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "commission/snapshot.h"
#include "store/author.h"
#include "store/datasets.h"
#include "wire/packet.h"

namespace appserver {

// A change the store will not make, with the Portuguese text to show the user.
class Refusal : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A change log whose shape does not fit its list (unknown field, wrong type); the caller's fault.
class BadChangeLog : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Every method is safe to call from several threads at once. Reads return packets with the
// fields of the receiving data set. Numbers that name no stored row simply match nothing.
class Store {
public:
    virtual ~Store() = default;

    virtual wire::DataPacket comissoes() = 0;
    virtual wire::DataPacket cargos(double nrComissao) = 0;
    virtual wire::DataPacket eventos(double nrComissao) = 0;
    virtual wire::DataPacket promocoes(double nrComissao) = 0;
    virtual wire::DataPacket faixas(double nrComissao, double nrRegra, Scope scope) = 0;

    // The position code, once, when that position already has a rule under the table; else no row.
    virtual wire::DataPacket cargoCadastrado(double nrComissao, const std::string& idCargo) = 0;
    // Numbers of the stored event-type rules of the table with that event type and position.
    virtual wire::DataPacket eventoCadastrado(double nrComissao, const std::string& cdTipoEvento,
                                              const std::string& idCargo) = 0;
    // Every promotion rule of the table, for the window check.
    virtual wire::DataPacket janelasPromocao(double nrComissao) = 0;
    // The stored bands of one rule, for the interval check.
    virtual wire::DataPacket intervalos(double nrComissao, double nrRegra, Scope scope) = 0;
    // Every table with its rules and their bands, read in one read transaction (never half of
    // one commit and half of the next), labelled with the version() taken before it began.
    virtual commission::Snapshot snapshot() = 0;

    // Applies the whole log in one transaction, in order, or nothing, and records each change in
    // the history under the author's name in that same transaction. Throws Refusal when a change
    // breaks an invariant, meets a row changed meanwhile or touches a table of a branch not the
    // author's, BadChangeLog when the log does not fit.
    virtual void apply(ListKind list, const wire::ChangeLog& log, const Author& author = {}) = 0;

    struct PendingLog {
        ListKind list;
        const wire::ChangeLog* log;
        const Author* author;  // never null
    };
    // Applies each log in order, each all-or-nothing on its own as apply() would (its history
    // included), and keeps the ones that went through in one transaction with one disk sync.
    // Returns, for each log, null once it is stored or what apply() would have thrown for it.
    // Throws, with nothing stored, when the transaction as a whole fails (a full disk, an I/O error).
    virtual std::vector<std::exception_ptr> applyGroup(std::span<const PendingLog> logs) = 0;
    // The changes applied to a table and everything under it, oldest first (history::fields()).
    virtual wire::DataPacket historico(double nrComissao) = 0;
    // Runs `work`, whose applies and reads on this store from the calling thread all belong to
    // one transaction: what it stores is kept when it returns, and nothing when it throws.
    virtual void inOneTransaction(const std::function<void()>& work) = 0;

    virtual bool isEmpty() = 0;

    // Grows with every commit, before the call that made it returns: two reads that begin at the
    // same version, with no acknowledged change between them, read the same data.
    virtual std::uint64_t version() const = 0;
};

}  // namespace appserver
