#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace korvane {

// Converts a decimal number with "." as the point: an optional sign, digits and
// at most one point, surrounding blanks allowed. Empty text, a lone point, two
// points, letters or a value that is not finite give nullopt.
std::optional<double> ParseDecimal(std::string_view text);

// A number rounded to single precision when it rounds to a finite single
// (3.4028235e38, the shortest text of the largest single, does); nothing for
// a larger value or NaN.
std::optional<float> FitInSingle(double value);

// As ParseDecimal, rounded to single precision; a value beyond float's range
// is not a number either.
std::optional<float> ParseSingle(std::string_view text);

// General format with 7 (single) or 15 (64-bit) significant digits: no
// trailing zeros or point, "0.5" for values below 1, exponent form such as
// 1.234568E+07 or 1E-05 only for exponents below -4 or from the precision up.
std::string SingleText(float value);
std::string DoubleText(double value);

// "0x" and upper-case hex digits, at least two of them: 0x00, 0x0F, 0x10, 0xFF.
std::string RegisterByteText(std::int64_t value);

// The user's regional number habits that the fixed-decimal read-outs follow.
struct NumberLocale {
    std::string groupSeparator = ",";
    std::string minusSign = "-";
};
// As the C locale writes them, for the command-line tools: no grouping.
inline const NumberLocale kPlainNumbers{"", "-"};

// Fixed decimals with grouped thousands and a 0 before the point:
// 2048 with 3 decimals gives 2,048.000, 0.2 gives 0.200.
std::string FixedDecimalText(double value, int decimals, const NumberLocale& locale);

}  // namespace korvane
