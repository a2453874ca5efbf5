#include "calc/baud_calc.h"

#include <cmath>
#include <limits>

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
    const double fraction = *percent / 100;
    // Narrowing a value beyond float's range is undefined; such a limit is
    // no usable number either.
    if (!(std::fabs(fraction) <= std::numeric_limits<float>::max())) return std::nullopt;
    return static_cast<float>(fraction);
}

}  // namespace

std::int16_t ModeBaudDivisor(bool synchronous, bool highSpeed) {
    if (synchronous) return 4;
    return highSpeed ? 16 : 64;
}

std::optional<std::int32_t> CrystalHz(float crystalMHz) {
    // The product in double is exact enough that halves are real halves.
    const double hz = std::nearbyint(static_cast<double>(crystalMHz) * 1000000.0);
    if (!(hz >= std::numeric_limits<std::int32_t>::min() && hz <= std::numeric_limits<std::int32_t>::max()))
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
    const auto errFraction = ErrorFraction(input.errorLimitText);
    if (!errFraction) {
        result.status = BaudCalcStatus::ErrorLimitInvalid;
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

}  // namespace korvane
