#include "format/number_text.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
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
    // to_chars rather than printf: the program's locale may write a comma.
    char buffer[64];
    std::string text(
        buffer,
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, precision).ptr);
    for (char& c : text)
        if (c == 'e') c = 'E';
    return text;
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
    // from_chars ignores the locale, which may want a comma for the point;
    // it takes no "+", and the checks above rule out every other character.
    if (text.front() == '+') text.remove_prefix(1);
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<float> FitInSingle(double value) {
    // Up to half a unit beyond the largest single still rounds to it.
    constexpr double kFirstOverflow = 0x1.ffffffp127;
    if (!(std::fabs(value) < kFirstOverflow)) return std::nullopt;
    constexpr float kLargest = std::numeric_limits<float>::max();
    if (std::fabs(value) > kLargest) return std::copysign(kLargest, static_cast<float>(value > 0 ? 1 : -1));
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
    std::string plain(buffer, std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                            std::chars_format::fixed, decimals)
                                  .ptr);
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
