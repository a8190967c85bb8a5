#include "appserver/dispatcher.h"

#include "appserver/messages.h"
#include "appserver/simulation.h"
#include "appserver/verification.h"
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

Scope scope(const json& params, std::size_t i) {
    try {
        return scopeFromWord(text(params, i, "scope kind"));
    } catch (const std::invalid_argument& e) {
        badParams(e.what());
    }
}

}  // namespace

Dispatcher::Dispatcher(Store& store, std::size_t maxChanges) : store_(store), maxChanges_(maxChanges) {
    auto get0 = [](auto read) {
        return [read](const json& p) -> Outcome {
            expectCount(p, 0);
            return wire::toJsonText(read());
        };
    };
    auto byTable = [](auto read) {
        return [read](const json& p) -> Outcome {
            expectCount(p, 1);
            return wire::toJsonText(read(number(p, 0, "NRCOMISSAOOREV")));
        };
    };
    auto setter = [this](ListKind list) {
        return [this, list](const json& p) -> Outcome {
            expectCount(p, 1);
            if (!p[0].is_object()) badParams("parameter 1 must be a change log object");
            // Counted before the log is read: the size of its checks grows with it.
            if (const auto changes = p[0].find("changes"); changes != p[0].end() && changes->is_array() &&
                                                           changes->size() > maxChanges_)
                throw Refusal(msg::alteracoesDemais(changes->size(), maxChanges_));
            try {
                return Write{list, wire::changeLogFromJson(p[0])};
            } catch (const wire::WireError& e) {
                badParams(e.what());
            }
        };
    };
    auto bandCheck = [this](Scope s) {
        return [this, s](const json& p) -> Outcome {
            expectCount(p, 2);
            return wire::toJsonText(store_.intervalos(number(p, 0, "NRCOMISSAOOREV"), number(p, 1, "rule number"), s));
        };
    };

    methods_["GetComissao"] = get0([this] { return store_.comissoes(); });
    methods_["GetCargo"] = byTable([this](double nr) { return store_.cargos(nr); });
    methods_["GetEvento"] = byTable([this](double nr) { return store_.eventos(nr); });
    methods_["GetPromocao"] = byTable([this](double nr) { return store_.promocoes(nr); });
    methods_["getVdDtPromo"] = byTable([this](double nr) { return store_.janelasPromocao(nr); });
    methods_["GetPercentual"] = [this](const json& p) -> Outcome {
        expectCount(p, 3);
        return wire::toJsonText(store_.faixas(number(p, 0, "NRCOMISSAOOREV"), number(p, 1, "rule number"), scope(p, 2)));
    };
    methods_["GetVdCargo"] = [this](const json& p) -> Outcome {
        expectCount(p, 2);
        return wire::toJsonText(store_.cargoCadastrado(number(p, 0, "NRCOMISSAOOREV"), text(p, 1, "IDCARGOVEND")));
    };
    methods_["getEventoCad"] = [this](const json& p) -> Outcome {
        expectCount(p, 3);
        return wire::toJsonText(store_.eventoCadastrado(number(p, 0, "NRCOMISSAOOREV"), text(p, 1, "CDTIPOEVENTO"),
                                                    text(p, 2, "IDCARGOVEND")));
    };
    methods_["getVdVrCargo"] = bandCheck(Scope::Cargo);
    methods_["getVdVrEvento"] = bandCheck(Scope::TipoEvento);
    methods_["getVdVrPromocao"] = bandCheck(Scope::Promocao);
    methods_["SetComissao"] = setter(ListKind::Comissao);
    methods_["SetCargo"] = setter(ListKind::Cargo);
    methods_["SetEvento"] = setter(ListKind::Evento);
    methods_["SetPromocao"] = setter(ListKind::Promocao);
    methods_["SetPercCargo"] = setter(ListKind::PercCargo);
    methods_["SetPercEvento"] = setter(ListKind::PercEvento);
    methods_["SetPercPromocao"] = setter(ListKind::PercPromocao);
    // Beyond the screen's own methods: questions about the rules, answered from the store's reads.
    methods_["SimulaComissao"] = [this](const json& p) -> Outcome { return toJsonText(simulate(store_, saleFromParams(p))); };
    methods_["VerificaComissao"] = [this](const json& p) -> Outcome { return toJsonText(verify(store_, tableFromParams(p))); };
}

Dispatcher::Outcome Dispatcher::call(const std::string& method, const json& params) const {
    const auto it = methods_.find(method);
    if (it == methods_.end()) throw RpcError(wire::rpc::MethodNotFound, "Method not found: " + method);
    return it->second(params);
}

}  // namespace appserver
