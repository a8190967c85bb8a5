// The limits of a band's values, client and server alike: what the band grid's entry lets
// through, and the words a value beyond them is refused with.
#pragma once
#include <stdexcept>
#include <string>
#include <string_view>

namespace wire {

struct BandLimit {
    const char* field;   // VRINICIAL, VRFINAL, VRCOMISSAO
    const char* label;   // the column's label, which names the value in the refusal
    double lowest;  // both ends included
    double highest;
    const char* lowestText;  // the ends as the refusal writes them
    const char* highestText;

    // NaN is within no limits.
    constexpr bool holds(double value) const { return value >= lowest && value <= highest; }
    // "Valor Inicial fora do limite: use de -999999999 a 999999999."
    std::string refusal() const {
        return std::string(label) + " fora do limite: use de " + lowestText + " a " + highestText + ".";
    }
};

// Values either way up to nine digits; percentages from 0 up to 999.
inline constexpr BandLimit kBandLimits[] = {
    {"VRINICIAL", "Valor Inicial", -999999999, 999999999, "-999999999", "999999999"},
    {"VRFINAL", "Valor Final", -999999999, 999999999, "-999999999", "999999999"},
    {"VRCOMISSAO", "Percentual", 0, 999, "0", "999"},
};

// The limits of the band field `field`; in a constant expression an unknown name does not compile.
constexpr const BandLimit& bandLimit(std::string_view field) {
    for (const BandLimit& limit : kBandLimits)
        if (field == limit.field) return limit;
    throw std::out_of_range("no band field of that name");
}

}  // namespace wire
