#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "format/number_text.h"

namespace korvane {

// The three timer dialogs share one period calculator; they differ only in the
// counter range and in how the start value is written out.
enum class TimerKind { Timer0, Timer1, Timer2 };

// Counts after which the timer register overflows: 256 for the 8-bit timers,
// 65536 for Timer1.
std::int32_t CounterRange(TimerKind timer);

// The prescale ratios a timer's dialog offers, in option order. Timer0 can
// also run without its prescaler, which divides by 1.
std::span<const int> PrescalerRatios(TimerKind timer);

// The message boxes of the calculator. Lines are joined by a single CR.
namespace timer_messages {
inline constexpr std::string_view kFrequencyTitle = "晶振频率设置错误";
inline constexpr std::string_view kFrequencyText = "晶振或外部输入的频率应大于0，请重新设置。谢谢！";
inline constexpr std::string_view kRangeTitle = "超出定时范围";
inline constexpr std::string_view kRangeLine1 = "超出定时范围，请重新输入定时时间或晶体/外部频率";
inline constexpr std::string_view kInputTitle = "输入数据不正确";
inline constexpr std::string_view kInputLine1 = "你还没有输入必要的数值(定时值或晶振/外部频率),";
inline constexpr std::string_view kInputLine2 = "或者输入的数据格式不正确(写了两个以上的小数点).";
inline constexpr std::string_view kInputLine3 = "请更正你的以上错误.谢谢！";
}  // namespace timer_messages

struct TimerCalcMessage {
    std::string title;
    std::string text;  // lines separated by "\r"
};

// The input-error and frequency messages, which the CCP calculators share.
TimerCalcMessage InputErrorMessage();
TimerCalcMessage FrequencyMessage();

// Round to the nearest integer with exact halves to the even neighbour;
// nothing when the result does not fit a 32-bit signed integer.
std::optional<std::int32_t> RoundHalfEven(double value);

struct TimerCalcInput {
    TimerKind timer = TimerKind::Timer0;
    std::int32_t divisor = 1;  // the prescale divisor in use (1 without a prescaler)
    std::string timeText;      // wanted period in microseconds, as typed
    std::string freqText;      // oscillator frequency in MHz, as typed
    NumberLocale locale;       // for the three-decimals read-outs
    // Timer0 timing an outside clock: each edge on T0CKI (after the
    // prescaler) is one count, where the instruction clock takes four
    // oscillator periods per count.
    bool externalClock = false;
};

enum class TimerCalcStatus { Ok, FrequencyNotPositive, OutOfRange, InputError };

// What the maximum and minimum read-outs show.
struct TimerRange {
    std::int32_t maxUs = 0;  // longest period, whole microseconds
    double tickUs = 0;       // shortest period: one count
    std::string maxText;     // plain digits
    std::string minText;     // three decimals
};

// The start value and the period error it leaves.
struct TimerPreload {
    std::int32_t start = 0;  // 0 .. range - 1
    // What the timer's register gets: the whole start value for TMR0 and
    // TMR1 (0x80, 0xBDC, 0xFF00); for Timer2 its period register PR2, the
    // number of counts less one, since Timer2 counts up to PR2 and restarts
    // by itself (range - 1 - start).
    std::string registerText;
    std::string highText;   // Timer1 only: TMR1H
    std::string lowText;    // Timer1 only: TMR1L
    float errorUs = 0;      // wanted minus obtained; positive when obtained is shorter
    std::string errorText;  // three decimals
};

struct TimerCalcOutcome {
    TimerCalcStatus status = TimerCalcStatus::InputError;
    // Each is set once its box converted; the caller stores it in place of the
    // typed text. A box that failed (and every box after it) keeps its text.
    std::optional<float> timeUs;
    std::optional<float> freqMHz;
    std::optional<TimerRange> range;          // set once worked out, kept on a later failure
    std::optional<TimerPreload> preload;      // set on success only
    std::optional<TimerCalcMessage> message;  // set on every failure
};

// Turns a wanted period into the timer's start value for the chosen frequency
// and prescaler. Never searches for another prescaler: a period that does not
// fit is reported with the range message.
TimerCalcOutcome CalculateTimerPeriod(const TimerCalcInput& input);

}  // namespace korvane
