// Brazilian number and date texts: decimal comma, thousands point, dd/mm/yyyy.
#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "wire/datetime.h"

namespace tk {

// Delphi-style patterns: "0", "#", ".", "," ("#,##0.00" of 1234.5 is "1.234,50").
// Rounds half away from zero. An empty pattern gives FloatToStr.
std::string FormatFloat(std::string_view pattern, double value);
// Shortest text that reads back as the same value, with a decimal comma ("12,5").
std::string FloatToStr(double value);
// Reads an optional sign, digits and one decimal comma; surrounding blanks allowed.
// nullopt for anything else ("1.5", "", "-", "1,2,3").
std::optional<double> TryStrToFloat(std::string_view text);
double StrToFloat(std::string_view text);  // throws EConvertError

std::string FormatDate(const wire::DateTime& d);  // "dd/mm/yyyy"
// "dd/mm/yyyy" (day and month may have one digit; year four digits). nullopt for any
// other text or a day that does not exist.
std::optional<wire::DateTime> TryStrToDate(std::string_view text);

}  // namespace tk
