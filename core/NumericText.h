// Every number crosses between text and double through one of these.
// The decimal separator is the user's locale setting, passed in by the caller.
#pragma once

#include <string>
#include <string_view>

namespace quorvane {

// Reads "[spaces][sign]digits[sep digits][E[sign]digits][spaces]".
// Throws RuntimeError 13 for anything else, 6 beyond the double range.
// Values below the smallest subnormal read as zero.
double TextToNumber(std::wstring_view text, std::wstring_view decimalSep);

// The display pattern "##.0##". Non-finite values read "Infinity",
// "-Infinity" and "Undefined".
std::wstring FormatResult(double value, std::wstring_view decimalSep);

// General form with up to 15 significant digits, as used inside messages.
std::wstring NumberToText(double value, std::wstring_view decimalSep);

}  // namespace quorvane
