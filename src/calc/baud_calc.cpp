#include "calc/baud_calc.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "format/utf8.h"

namespace korvane {

namespace {

// The state of one run's scan down the candidate table.
struct BaudScan {
    float errFraction = 0;
    // 1-based index of the next candidate to try; 0 once the table is used up.
    int nextCandidate = static_cast<int>(kBaudCandidates.size());
};

// Tries the rate one SPBRG value gives against the candidates still open and
// returns the one it is accepted for, if any.
std::optional<std::int32_t> MatchBaudCandidates(BaudScan& scan, double actualBaud) {
    for (int a = scan.nextCandidate; a >= 1; --a) {
        const std::int32_t rate = kBaudCandidates[static_cast<std::size_t>(a - 1)];
        const double upper = static_cast<double>(scan.errFraction) * rate + rate;
        if (actualBaud >= rate && actualBaud <= upper) {
            scan.nextCandidate = a - 1;
            return rate;
        }
    }
    return std::nullopt;
}

// The error limit as a fraction in single precision (0.2 % is 0.002).
std::optional<float> ErrorFraction(const std::string& text) {
    const auto percent = ParseDecimal(text);
    if (!percent) return std::nullopt;
    // A limit beyond float's range is no usable number either.
    return FitInSingle(*percent / 100);
}

}  // namespace

std::int16_t ModeBaudDivisor(bool synchronous, bool highSpeed) {
    if (synchronous) return 4;
    return highSpeed ? 16 : 64;
}

std::optional<std::int32_t> CrystalHz(float crystalMHz) {
    if (!std::isfinite(crystalMHz)) return std::nullopt;
    // The seven significant digits the user typed and the dialogs show, as
    // d.dddddd E x: 18.432 MHz is 18432000 Hz, not the 18431999.2 of the
    // nearest single. Worked in integers so that halves are real halves.
    char text[32];
    // to_chars rather than printf: the program's locale may write a comma.
    char* end = std::to_chars(text, text + sizeof text - 1, static_cast<double>(crystalMHz),
                              std::chars_format::scientific, 6)
                    .ptr;
    *end = '\0';
    const char* mark = std::strchr(text, 'e');
    if (mark == nullptr) return std::nullopt;
    const int exponent = std::atoi(mark + 1);
    std::int64_t digits = 0;
    for (const char* c = text; c != mark; ++c)
        if (*c >= '0' && *c <= '9') digits = digits * 10 + (*c - '0');
    const bool negative = text[0] == '-';

    // The MHz value is digits x 10^(exponent - 6), so the Hz are digits x 10^exponent.
    std::int64_t hz = 0;
    if (exponent >= 0) {
        if (exponent > 9) return std::nullopt;  // at least 10^15 Hz
        hz = digits;
        for (int i = 0; i < exponent; ++i) hz *= 10;
    } else if (exponent >= -7) {
        std::int64_t scale = 1;
        for (int i = 0; i < -exponent; ++i) scale *= 10;
        hz = digits / scale;
        const std::int64_t rest = digits % scale;
        if (rest * 2 > scale || (rest * 2 == scale && hz % 2 != 0)) ++hz;
    }  // below 10^-7 Hz nothing is left
    if (negative) hz = -hz;
    if (hz < std::numeric_limits<std::int32_t>::min() || hz > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return static_cast<std::int32_t>(hz);
}

BaudCalcResult CalcBaudList(const BaudCalcInput& input) {
    BaudCalcResult result;
    const auto foscHz = CrystalHz(input.crystalMHz);
    if (!foscHz) {
        result.status = BaudCalcStatus::CrystalOutOfRange;
        return result;
    }
    if (!(input.crystalMHz > 0)) {
        result.status = BaudCalcStatus::CrystalNotPositive;
        return result;
    }
    const auto errFraction = ErrorFraction(input.errorLimitText);
    if (!errFraction) {
        result.status = BaudCalcStatus::ErrorLimitInvalid;
        return result;
    }
    if (*errFraction < 0) {
        result.status = BaudCalcStatus::ErrorLimitNegative;
        return result;
    }
    if (input.divisor <= 0) return result;  // no mode gives that; nothing to divide by

    BaudScan scan;
    scan.errFraction = *errFraction;
    for (int s = 0; s < kSpbrgValues; ++s) {
        const double actualBaud =
            static_cast<double>(*foscHz) / (static_cast<double>(input.divisor) * (s + 1));
        const auto rate = MatchBaudCandidates(scan, actualBaud);
        if (!rate) continue;
        result.entries.push_back({*rate, s, actualBaud, std::to_string(*rate), RegisterByteText(s),
                                  FixedDecimalText(actualBaud, 5, input.locale)});
    }
    result.status = result.entries.empty() ? BaudCalcStatus::NoUsableRate : BaudCalcStatus::Ok;
    return result;
}

const BaudEntry* FindBaudEntry(const std::vector<BaudEntry>& entries, std::string_view rateText) {
    for (const BaudEntry& entry : entries)
        if (entry.rateText == rateText) return &entry;
    return nullptr;
}

std::string NoUsableRateText(float crystalMHz) {
    return SingleText(crystalMHz) +
           "M晶振在此方式下无可用波特率\r"
           "退出后将不使用串口,请通过菜单设置晶振后再进行设置,或可以\r"
           "尝试使用其它工作方式或加大误差限制范围来获得可用波特率.";
}

std::string RateChangedText(const std::string& oldRate, const std::string& newRate, float crystalMHz) {
    return SingleText(crystalMHz) + "M晶振在此方式下波特率" + QuoteShort(oldRate) +
           "的误差超出限制范围,\r已改用波特率" + newRate + ".";
}

}  // namespace korvane
