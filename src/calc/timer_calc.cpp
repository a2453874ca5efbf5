#include "calc/timer_calc.h"

#include <cmath>
#include <cstdint>
#include <limits>

namespace korvane {

namespace {

using namespace timer_messages;

std::string Join(std::string_view a, std::string_view b) {
    return std::string(a) + '\r' + std::string(b);
}

TimerCalcOutcome Fail(TimerCalcOutcome outcome, TimerCalcStatus status, TimerCalcMessage message) {
    outcome.status = status;
    outcome.message = std::move(message);
    return outcome;
}

TimerCalcOutcome InputFailure(TimerCalcOutcome outcome) {
    return Fail(std::move(outcome), TimerCalcStatus::InputError, InputErrorMessage());
}

TimerCalcOutcome RangeFailure(TimerCalcOutcome outcome, float freq, std::int32_t divisor) {
    const TimerRange& range = *outcome.range;
    const std::string line2 = SingleText(freq) + "M频率在1:" + std::to_string(divisor) +
                              "分频设置下的定时范围为" + range.minText + "-" + range.maxText + "uS";
    return Fail(std::move(outcome), TimerCalcStatus::OutOfRange,
                {std::string(kRangeTitle), Join(kRangeLine1, line2)});
}

}  // namespace

std::optional<std::int32_t> RoundHalfEven(double value) {
    const double floor = std::floor(value);
    const double fraction = value - floor;  // exact for every finite double
    double rounded = floor;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(floor, 2.0) != 0.0)) rounded += 1.0;
    // Written so that NaN fails too.
    if (!(rounded >= std::numeric_limits<std::int32_t>::min() &&
          rounded <= std::numeric_limits<std::int32_t>::max()))
        return std::nullopt;
    return static_cast<std::int32_t>(rounded);
}

TimerCalcMessage InputErrorMessage() {
    return {std::string(kInputTitle), Join(Join(kInputLine1, kInputLine2), kInputLine3)};
}

TimerCalcMessage FrequencyMessage() {
    return {std::string(kFrequencyTitle), std::string(kFrequencyText)};
}

std::span<const int> PrescalerRatios(TimerKind timer) {
    static constexpr int kTimer0[] = {2, 4, 8, 16, 32, 64, 128, 256};
    static constexpr int kTimer1[] = {1, 2, 4, 8};
    static constexpr int kTimer2[] = {1, 4, 16};
    switch (timer) {
        case TimerKind::Timer0:
            return kTimer0;
        case TimerKind::Timer1:
            return kTimer1;
        case TimerKind::Timer2:
            return kTimer2;
    }
    return {};
}

std::int32_t CounterRange(TimerKind timer) {
    return timer == TimerKind::Timer1 ? 65536 : 256;
}

TimerCalcOutcome CalculateTimerPeriod(const TimerCalcInput& input) {
    TimerCalcOutcome outcome;

    const auto time = ParseSingle(input.timeText);
    if (!time) return InputFailure(std::move(outcome));
    outcome.timeUs = time;
    const auto freq = ParseSingle(input.freqText);
    if (!freq) return InputFailure(std::move(outcome));
    outcome.freqMHz = freq;

    // No clock ticks at zero, and a negative frequency would turn a negative
    // period into a plausible start value.
    if (!(*freq > 0.0f)) {
        return Fail(std::move(outcome), TimerCalcStatus::FrequencyNotPositive, FrequencyMessage());
    }
    // The dialogs only ever pass 1 .. 256; anything else would divide by zero.
    if (input.divisor < 1) return InputFailure(std::move(outcome));

    // Double precision throughout. A product of two singles is exact in a
    // double, and the divisors are powers of two, so start values that are
    // exact halves (130.5) stay exact and round to even as intended, and an
    // exactly reachable period leaves an error of exactly 0.
    const double t = *time;
    const double f = *freq;
    const double range = CounterRange(input.timer);
    const double perCount = input.externalClock ? 1.0 : 4.0;
    const double cycles = perCount * input.divisor;  // oscillator periods per count
    const double tick = cycles / f;

    const auto maxUs = RoundHalfEven(cycles * range / f);
    if (!maxUs) return InputFailure(std::move(outcome));
    outcome.range = TimerRange{*maxUs, tick, std::to_string(*maxUs), FixedDecimalText(tick, 3, input.locale)};

    if (*maxUs - t < 0 || tick - t > 0) return RangeFailure(std::move(outcome), *freq, input.divisor);

    const auto start = RoundHalfEven(range - t * f / cycles);
    if (!start) return InputFailure(std::move(outcome));
    // The maximum is rounded to whole microseconds and may lie up to half a
    // microsecond beyond the last count; such a time has no start value.
    if (*start < 0 || *start >= range) return RangeFailure(std::move(outcome), *freq, input.divisor);

    TimerPreload preload;
    preload.start = *start;
    const bool periodRegister = input.timer == TimerKind::Timer2;
    preload.registerText = RegisterByteText(periodRegister ? CounterRange(input.timer) - 1 - *start : *start);
    if (input.timer == TimerKind::Timer1) {
        preload.highText = RegisterByteText(*start / 256);
        preload.lowText = RegisterByteText(*start % 256);
    }
    const double obtained = (range - *start) * cycles / f;
    preload.errorUs = static_cast<float>(t - obtained);
    preload.errorText = FixedDecimalText(preload.errorUs, 3, input.locale);
    outcome.preload = std::move(preload);
    outcome.status = TimerCalcStatus::Ok;
    return outcome;
}

}  // namespace korvane
