#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "format/number_text.h"

namespace korvane {

// The standard rates the SCI dialog offers, slowest first. 57600 and 115200
// are not among them.
inline constexpr std::array<std::int32_t, 14> kBaudCandidates = {
    110, 300, 600, 1200, 2400, 4800, 9600, 14400, 19200, 28800, 38400, 56000, 128000, 256000,
};

// SPBRG is one byte: every value from 0 to 255 is tried.
inline constexpr int kSpbrgValues = 256;

// Clock periods per bit for SPBRG 0: 4 in synchronous mode, else 16 at high
// speed (BRGH = 1) and 64 at low speed.
std::int16_t ModeBaudDivisor(bool synchronous, bool highSpeed);

// The crystal in whole Hz, taken from its seven-significant-digit decimal
// form (18.432 MHz gives 18432000, 3.6864 MHz 3686400) and rounded to nearest
// with halves to even; nothing when it does not fit a signed 32-bit number or
// is not finite.
std::optional<std::int32_t> CrystalHz(float crystalMHz);

// One usable rate: the nominal rate, the SPBRG value that reaches it and the
// rate that value really gives, with their texts as the dialog lists them.
struct BaudEntry {
    std::int32_t rate = 0;
    int spbrg = 0;
    double actualBaud = 0;
    std::string rateText;    // plain digits: 19200
    std::string spbrgText;   // register byte text: 0x0C
    std::string actualText;  // five decimals, grouped: 19,230.76923
};

// The messages for a crystal or an error limit the calculator refuses; the
// crystal's is the main window's crystal message.
namespace baud_messages {
inline constexpr std::string_view kCrystalTitle = "晶振频率设置错误";
inline constexpr std::string_view kCrystalText = "晶振频率应大于0，请重新设置。谢谢！";
inline constexpr std::string_view kErrorLimitTitle = "误差设置错误";
inline constexpr std::string_view kErrorLimitText = "允许的误差应不小于0，请重新设置。谢谢！";
}  // namespace baud_messages

enum class BaudCalcStatus {
    Ok,                  // at least one entry
    NoUsableRate,        // the inputs were fine, no candidate fits
    ErrorLimitInvalid,   // the error-limit text is no number (or too large for a single)
    ErrorLimitNegative,  // a limit below 0 % would refuse every rate
    CrystalOutOfRange,   // the crystal does not fit in whole Hz
    CrystalNotPositive,  // no rate at all without a clock
};

struct BaudCalcInput {
    float crystalMHz = 4;
    int divisor = 16;            // ModeBaudDivisor of the current mode
    std::string errorLimitText;  // allowed error in percent, as typed
    NumberLocale locale;         // for the actual-rate read-outs
};

struct BaudCalcResult {
    BaudCalcStatus status = BaudCalcStatus::NoUsableRate;
    // Fastest rate first; each candidate at most once.
    std::vector<BaudEntry> entries;

    // The entry a run leaves chosen: the slowest usable rate, or nullptr.
    const BaudEntry* chosen() const { return entries.empty() ? nullptr : &entries.back(); }
};

// Lists the candidates reachable within the error limit. The window is
// one-sided: a rate may be exceeded by at most the limit and never undershot.
// Each candidate takes the smallest SPBRG inside its window, and the scan only
// moves down the table, so a slower rate can never push out a faster one.
BaudCalcResult CalcBaudList(const BaudCalcInput& input);

// The notice when no rate is usable at this crystal in the chosen mode; the
// serial port then goes off.
inline constexpr std::string_view kNoUsableRateTitle = "不使用SCI串行口退出";
std::string NoUsableRateText(float crystalMHz);
// The notice when the chosen rate is no longer usable but a slower one is.
inline constexpr std::string_view kRateChangedTitle = "波特率已改变";
std::string RateChangedText(const std::string& oldRate, const std::string& newRate, float crystalMHz);

// The entry for a rate given as its text (as SciBaud holds it), or nullptr.
const BaudEntry* FindBaudEntry(const std::vector<BaudEntry>& entries, std::string_view rateText);

}  // namespace korvane
