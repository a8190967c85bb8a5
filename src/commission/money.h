// Amounts in whole cents: the values a band grid can hold, and the commission's rounding.
#pragma once
#include <optional>
#include <string>

namespace commission::money {

// The widest value the band grid lets a user type, either way (999.999.999,00).
inline constexpr long long kLimitCents = 99'999'999'900;

// `value` in cents when it has at most two decimals and lies within the grid's limits;
// nullopt otherwise (NaN and infinities included).
std::optional<long long> exactCents(double value);
// The cent nearest to a stored value: stored values are cents already, held in binary.
long long nearestCents(double value);
// value × percent / 100, rounded half away from zero to the cent; the percentage in
// hundredths (2,50 % is 250). Exact for every value and percentage the grid can hold.
long long commission(long long valueCents, long long percentHundredths);
// The grid's display format: "1.234,56", "-0,50".
std::string text(long long cents);
// For the wire: the nearest double to cents / 100, as a typed value reads.
double toDouble(long long cents);

}  // namespace commission::money
