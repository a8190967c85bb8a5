#include "commission/money.h"

#include <cmath>
#include <cstdlib>

namespace commission::money {

std::optional<long long> exactCents(double value) {
    if (!std::isfinite(value) || std::fabs(value) > static_cast<double>(kLimitCents) / 100) return std::nullopt;
    const long long cents = std::llround(value * 100);
    // Division is correctly rounded, so this is the double a two-decimal text reads as;
    // any other double has more decimals than the grid keeps.
    if (static_cast<double>(cents) / 100 != value) return std::nullopt;
    return cents;
}

long long nearestCents(double value) { return std::llround(value * 100); }

long long commission(long long valueCents, long long percentHundredths) {
    // cents = value × percent / 10000, split so that no product leaves 64 bits: the whole
    // hundreds of the percentage multiply exactly, the rest carries the remainder to round.
    const bool negative = (valueCents < 0) != (percentHundredths < 0);
    const unsigned long long v = static_cast<unsigned long long>(std::llabs(valueCents));
    const unsigned long long p = static_cast<unsigned long long>(std::llabs(percentHundredths));
    const unsigned long long rest = v * (p % 10000);
    unsigned long long cents = v * (p / 10000) + rest / 10000;
    if (rest % 10000 >= 5000) ++cents;
    const auto signedCents = static_cast<long long>(cents);
    return negative ? -signedCents : signedCents;
}

std::string text(long long cents) {
    const bool negative = cents < 0;
    const unsigned long long abs = static_cast<unsigned long long>(std::llabs(cents));
    std::string whole = std::to_string(abs / 100);
    for (int at = static_cast<int>(whole.size()) - 3; at > 0; at -= 3) whole.insert(static_cast<std::size_t>(at), ".");
    const unsigned long long fraction = abs % 100;
    return (negative ? "-" : "") + whole + "," + (fraction < 10 ? "0" : "") + std::to_string(fraction);
}

double toDouble(long long cents) { return static_cast<double>(cents) / 100; }

}  // namespace commission::money
