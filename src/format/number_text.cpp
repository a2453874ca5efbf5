#include "format/number_text.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace korvane {

namespace {

std::string_view Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

std::string GeneralText(double value, int precision) {
    if (value == 0.0 || std::isnan(value)) return "0";  // also turns -0 into 0
    if (std::isinf(value)) return value > 0 ? "inf" : "-inf";
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*G", precision, value);
    return buffer;
}

}  // namespace

std::optional<double> ParseDecimal(std::string_view text) {
    text = Trim(text);
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
    int digits = 0;
    int points = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '.') {
            if (++points > 1) return std::nullopt;
        } else if (std::isdigit(static_cast<unsigned char>(c))) {
            ++digits;
        } else {
            return std::nullopt;
        }
    }
    if (digits == 0) return std::nullopt;
    // strtod reads the C locale's point: the tools never leave the C locale
    // and the desktop program puts LC_NUMERIC back after Qt has set it from
    // the environment (PrepareApplication). The checks above already rule
    // out every other character.
    const std::string copy(text);
    const double value = std::strtod(copy.c_str(), nullptr);
    if (!std::isfinite(value)) return std::nullopt;
    return value;
}

std::optional<float> FitInSingle(double value) {
    if (!(std::fabs(value) <= std::numeric_limits<float>::max())) return std::nullopt;
    return static_cast<float>(value);
}

std::optional<float> ParseSingle(std::string_view text) {
    const auto value = ParseDecimal(text);
    if (!value) return std::nullopt;
    return FitInSingle(*value);
}

std::string SingleText(float value) {
    return GeneralText(value, 7);
}

std::string DoubleText(double value) {
    return GeneralText(value, 15);
}

std::string RegisterByteText(std::int64_t value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%llX",
                  static_cast<unsigned long long>(static_cast<std::uint64_t>(value)));
    return (value >= 0 && value <= 15 ? "0x0" : "0x") + std::string(buffer);
}

std::string FixedDecimalText(double value, int decimals, const NumberLocale& locale) {
    char buffer[512];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, std::fabs(value));
    std::string plain(buffer);
    const std::size_t point = plain.find('.');
    const std::size_t intLength = point == std::string::npos ? plain.size() : point;

    std::string grouped;
    for (std::size_t i = 0; i < intLength; ++i) {
        if (i > 0 && (intLength - i) % 3 == 0) grouped += locale.groupSeparator;
        grouped += plain[i];
    }
    grouped += plain.substr(intLength);

    // A value that rounds to zero shows no minus sign.
    const bool negative = value < 0 && plain.find_first_not_of("0.") != std::string::npos;
    return negative ? locale.minusSign + grouped : grouped;
}

}  // namespace korvane
