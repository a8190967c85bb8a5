// The ground end-to-end and desktop tests stand on: a real application server on an
// empty store, a local event-type catalogue, and the store seeded through the server's
// own Set methods, as the screen would have stored things.
#pragma once
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "support/e2e_support.h"
#include "wire/lists.h"

namespace testsupport {

class ComissaoWorld : public ::testing::Test {
protected:
    using json = nlohmann::json;

    explicit ComissaoWorld(const std::vector<EventType>& catalogueRows) : catalogue(catalogueRows) {}

    // The fields of a change log of `list`.
    static json layout(const wire::List& list);

    // The rows a Get method returns.
    json rows(const std::string& method, const json& params);
    json storedComissoes() { return rows("GetComissao", json::array()); }
    // Sends a change log inserting `row` (values in the order of `fields`).
    void insert(const std::string& setMethod, const json& fields, const json& row);

    // Each stores one row and returns the number the server gave it (dates "YYYY-MM-DD").
    // A row that cannot be found again throws std::runtime_error.
    double seedComissao(const std::string& ds, const std::string& ini, const std::string& fin);
    double seedCargo(double nr, const std::string& code);
    double seedEvento(double nr, const std::string& code, const std::string& name, const std::string& cargo);
    double seedPromocao(double nr, const std::string& ini, const std::string& fin, const std::string& base,
                        const std::string& code, const std::string& name, const std::string& cargo);
    struct Band {
        double ini, fin, percent;
    };
    // Bands of rule `rule` of scope `kind` ("CARGO", "TIPOEVENTO", "PROMOCAO"), in one
    // change log; seedBand stores one.
    void seedBands(double nr, const std::string& kind, double rule, const std::vector<Band>& bands);
    void seedBand(double nr, const std::string& kind, double rule, double from, double to, double pct) {
        seedBands(nr, kind, rule, {{from, to, pct}});
    }

    ServerProcess server;
    LocalCatalogue catalogue;
};

}  // namespace testsupport
