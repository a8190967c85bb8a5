// Ground for the value-band scenarios: a commission table with one position rule, and
// script pieces for typing a band into a band grid.
#pragma once
#include <algorithm>
#include <string>
#include <vector>

#include "e2e/scope_world.h"

namespace e2e {

class BandWorld : public ScopeWorld {
protected:
    void SetUp() override {
        ScopeWorld::SetUp();
        rule = seedCargo(nr, "V");
    }

    // The stored bands of `rule` of scope `kind`, as "ini..fin:perc", sorted.
    std::vector<std::string> stored(const std::string& kind = "CARGO", double ruleNumber = -1) {
        std::vector<std::string> out;
        const double r = ruleNumber < 0 ? rule : ruleNumber;
        for (const auto& row : rows("GetPercentual", json::array({nr, r, kind})))
            out.push_back(row.at(6).dump() + ".." + row.at(7).dump() + ":" + row.at(8).dump());
        std::sort(out.begin(), out.end());
        return out;
    }

    // How many `method` calls came after the first call of `after`.
    std::size_t callsAfterFirst(const std::string& after, const std::string& method) const {
        std::size_t count = 0;
        bool seen = false;
        for (const auto& name : relay.methods()) {
            if (seen && name == method) ++count;
            if (name == after) seen = true;
        }
        return count;
    }

    // Inserts a band in `grid` with the three texts (an empty text is not typed) and
    // confirms it.
    static std::string typeBand(const std::string& grid, const std::string& ini, const std::string& fin,
                                const std::string& perc) {
        std::string s = "focus " + grid + "\nclick sbtIncluir\n";
        s += retype(grid, ini, fin, perc);
        return s;
    }
    // Types the three texts into the band being edited, starting at its initial value,
    // and confirms.
    static std::string retype(const std::string& grid, const std::string& ini, const std::string& fin,
                              const std::string& perc) {
        std::string s = "column " + grid + " VRINICIAL\n";
        if (!ini.empty()) s += "type " + grid + " " + ini + "\n";
        s += "key " + grid + " Tab\n";
        if (!fin.empty()) s += "type " + grid + " " + fin + "\n";
        s += "key " + grid + " Tab\n";
        if (!perc.empty()) s += "type " + grid + " " + perc + "\n";
        return s + "click sbtConfirmar\n";
    }
    // Answers yes to the cancel question and drops the band being edited.
    static std::string cancelBand() { return "answer yes\nclick sbtCancelar\n"; }

    static constexpr const char* kInterNCont =
        "Intervalo de valores está contido parcial ou totalmente em outro já cadastrado.";
    static constexpr const char* kValorContempla =
        "Intervalo de valores informado contempla um intervalo já cadastrado.";
    static constexpr const char* kPercZero = "Percentual de comissão deve ser maior que zero.";

    double rule = 0;
};

}  // namespace e2e
