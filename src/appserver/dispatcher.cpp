#include "appserver/dispatcher.h"

#include "appserver/messages.h"
#include "appserver/commission_replies.h"
#include "store/table_copy.h"
#include "store/table_import.h"
#include "wire/datetime.h"
#include "wire/jsonrpc.h"
#include "wire/packet_json.h"
#include "wire/packet_text.h"
#include "wire/wire_error.h"

namespace appserver {

using nlohmann::json;
using wire::rpc::RpcError;

namespace {

[[noreturn]] void badParams(const std::string& why) { throw RpcError(wire::rpc::InvalidParams, "Invalid params: " + why); }

void expectCount(const json& params, std::size_t n) {
    if (params.size() != n)
        badParams("expected " + std::to_string(n) + " parameter" + (n == 1 ? "" : "s") + ", got " +
                  std::to_string(params.size()));
}

double number(const json& params, std::size_t i, const char* name) {
    const json& v = params[i];
    if (!v.is_number()) badParams("parameter " + std::to_string(i + 1) + " (" + name + ") must be a number");
    return v.get<double>();
}

std::string text(const json& params, std::size_t i, const char* name) {
    const json& v = params[i];
    if (!v.is_string()) badParams("parameter " + std::to_string(i + 1) + " (" + name + ") must be a string");
    return v.get<std::string>();
}

// A day as YYYY-MM-DD, or as a packet writes a date, YYYY-MM-DDT00:00:00.
long long day(const json& params, std::size_t i, const char* name) {
    const json& v = params[i];
    std::optional<wire::DateTime> at;
    if (v.is_string()) {
        const auto& s = v.get_ref<const std::string&>();
        if (s.size() == 10) at = wire::DateTime::parseIso(s + "T00:00:00");
        else if (s.size() == 19 && s.ends_with("T00:00:00")) at = wire::DateTime::parseIso(s);
    }
    if (!at) badParams("parameter " + std::to_string(i + 1) + " (" + name + ") must be a date YYYY-MM-DD that exists");
    return at->days();
}

Scope scope(const json& params, std::size_t i) {
    try {
        return scopeFromWord(text(params, i, "scope kind"));
    } catch (const std::invalid_argument& e) {
        badParams(e.what());
    }
}

}  // namespace

Dispatcher::Dispatcher(Store& store, std::size_t maxChanges, std::size_t keptBytes, std::size_t maxSales)
    : store_(store), maxChanges_(maxChanges), cache_(keptBytes), snapshots_(store, keptBytes > 0) {
    auto get0 = [](auto read) {
        return [read](const json& p) {
            expectCount(p, 0);
            return wire::toJsonText(read());
        };
    };
    auto byTable = [](auto read) {
        return [read](const json& p) {
            expectCount(p, 1);
            return wire::toJsonText(read(number(p, 0, "NRCOMISSAOOREV")));
        };
    };
    auto bandCheck = [this](Scope s) {
        return [this, s](const json& p) {
            expectCount(p, 2);
            return wire::toJsonText(store_.intervalos(number(p, 0, "NRCOMISSAOOREV"), number(p, 1, "rule number"), s));
        };
    };

    reads_["GetComissao"] = get0([this] { return store_.comissoes(); });
    reads_["GetCargo"] = byTable([this](double nr) { return store_.cargos(nr); });
    reads_["GetEvento"] = byTable([this](double nr) { return store_.eventos(nr); });
    reads_["GetPromocao"] = byTable([this](double nr) { return store_.promocoes(nr); });
    reads_["getVdDtPromo"] = byTable([this](double nr) { return store_.janelasPromocao(nr); });
    reads_["GetHistorico"] = byTable([this](double nr) { return store_.historico(nr); });
    reads_["GetPercentual"] = [this](const json& p) {
        expectCount(p, 3);
        return wire::toJsonText(store_.faixas(number(p, 0, "NRCOMISSAOOREV"), number(p, 1, "rule number"), scope(p, 2)));
    };
    reads_["GetVdCargo"] = [this](const json& p) {
        expectCount(p, 2);
        return wire::toJsonText(store_.cargoCadastrado(number(p, 0, "NRCOMISSAOOREV"), text(p, 1, "IDCARGOVEND")));
    };
    reads_["getEventoCad"] = [this](const json& p) {
        expectCount(p, 3);
        return wire::toJsonText(store_.eventoCadastrado(number(p, 0, "NRCOMISSAOOREV"), text(p, 1, "CDTIPOEVENTO"),
                                                         text(p, 2, "IDCARGOVEND")));
    };
    reads_["getVdVrCargo"] = bandCheck(Scope::Cargo);
    reads_["getVdVrEvento"] = bandCheck(Scope::TipoEvento);
    reads_["getVdVrPromocao"] = bandCheck(Scope::Promocao);
    // Beyond the screen's own methods: questions about the rules, answered from the store's reads.
    reads_["SimulaComissao"] = [this](const json& p) {
        const commission::Sale sale = saleFromParams(p);
        return toJsonText(snapshots_.current()->simulate(sale));
    };
    reads_["ApuraComissao"] = [this, maxSales](const json& p) {
        const std::vector<commission::Sale> sales = salesFromParams(p, maxSales);
        // One engine for the whole call: every answer comes from the same version.
        const auto engine = snapshots_.current();
        std::string out = "[";
        for (const commission::Sale& sale : sales) {
            if (out.size() > 1) out += ',';
            out += toJsonText(engine->simulate(sale));
        }
        return out + ']';
    };
    reads_["GetRegrasComissao"] = [this](const json& p) {
        expectCount(p, 0);
        return toJsonText(snapshots_.current()->snapshot());
    };
    reads_["VerificaComissao"] = [this](const json& p) {
        const double table = tableFromParams(p);
        const auto findings = commission::verify(snapshots_.current()->snapshot(), table);
        if (!findings) throw Refusal(msg::kComissaoNaoCadastrada);
        return toJsonText(*findings);
    };
    writes_ = {{"SetComissao", ListKind::Comissao},       {"SetCargo", ListKind::Cargo},
               {"SetEvento", ListKind::Evento},           {"SetPromocao", ListKind::Promocao},
               {"SetPercCargo", ListKind::PercCargo},     {"SetPercEvento", ListKind::PercEvento},
               {"SetPercPromocao", ListKind::PercPromocao}};
}

Dispatcher::Outcome Dispatcher::call(const std::string& method, const json& params) const {
    if (const auto r = reads_.find(method); r != reads_.end()) return read(method, r->second, params);
    if (const auto w = writes_.find(method); w != writes_.end()) return write(w->second, params);
    if (method == "CopiaComissao") return copy(params);
    if (method == "ImportaComissao") return sheetImport(params);
    throw RpcError(wire::rpc::MethodNotFound, "Method not found: " + method);
}

std::string Dispatcher::read(const std::string& method, const Read& run, const json& params) const {
    // The version is taken before the store is read: a change committed meanwhile makes the
    // result one that nobody asks for again.
    const std::uint64_t version = store_.version();
    std::string key = method;
    key += params.dump();
    if (auto kept = cache_.find(key, version)) return std::move(*kept);
    std::string result = run(params);
    cache_.keep(std::move(key), version, result);
    return result;
}

Dispatcher::Write Dispatcher::write(ListKind list, const json& p) const {
    expectCount(p, 1);
    if (!p[0].is_object()) badParams("parameter 1 must be a change log object");
    // Counted before the log is read: the size of its checks grows with it.
    if (const auto changes = p[0].find("changes");
        changes != p[0].end() && changes->is_array() && changes->size() > maxChanges_)
        throw Refusal(msg::alteracoesDemais(changes->size(), maxChanges_));
    try {
        return Write{list, wire::changeLogFromJson(p[0])};
    } catch (const wire::WireError& e) {
        badParams(e.what());
    }
}

Dispatcher::Task Dispatcher::copy(const json& p) const {
    expectCount(p, 4);
    TableCopy copy;
    copy.source = tableFromParams(json::array({p[0]}));
    // No description is the screen's own refusal, given by the store.
    if (!p[1].is_null()) copy.description = text(p, 1, "DSCOMISSAOOREV");
    copy.firstDay = day(p, 2, "DTVALIDADEINI");
    copy.lastDay = day(p, 3, "DTVALIDADEFIN");
    return [this, copy](const Author& author) {
        const CopiedTable made = copyTable(store_, copy, author);
        return json{{"table", made.table}, {"left", made.left}}.dump();
    };
}

Dispatcher::Task Dispatcher::sheetImport(const json& p) const {
    if (p.size() != 3 && p.size() != 6) badParams("expected 3 parameters (an existing table) or 6 (a new table), got " +
                                                  std::to_string(p.size()));
    TableImport sheet;
    if (!p[0].is_null()) sheet.fileName = text(p, 0, "file name");
    sheet.text = text(p, 1, "file text");
    if (p.size() == 3) {
        sheet.table = tableFromParams(json::array({p[2]}));
    } else {
        // No description is the screen's own refusal, given by the store.
        if (!p[2].is_null()) sheet.description = text(p, 2, "DSCOMISSAOOREV");
        sheet.firstDay = day(p, 3, "DTVALIDADEINI");
        sheet.lastDay = day(p, 4, "DTVALIDADEFIN");
        if (!p[5].is_null()) sheet.branch = text(p, 5, "CDFILIAL");
    }
    return [this, sheet = std::move(sheet)](const Author& author) {
        const ImportedTable made = importTable(store_, sheet, author);
        json refused = json::array();
        for (const auto& f : made.refused) refused.push_back({{"line", f.line}, {"column", f.column}, {"text", f.text}});
        return json{{"table", made.table ? json(*made.table) : json(nullptr)}, {"refused", std::move(refused)}}.dump();
    };
}

}  // namespace appserver
