#include "calc/ccp_calc.h"

#include <cmath>

namespace korvane {

namespace {

using namespace ccp_messages;

CalcOutcome Fail(CalcOutcome outcome, CalcStatus status, TimerCalcMessage message) {
    outcome.status = status;
    outcome.message = std::move(message);
    return outcome;
}

// The typed time, which must be a number of at least 0, and the frequency.
// Fails with the message the timer calculators give for the same mistakes.
std::optional<CalcOutcome> ConvertInputs(std::string_view timeText, float freqMHz, std::int32_t divisor,
                                         CalcOutcome& outcome) {
    const auto time = ParseSingle(timeText);
    if (!time || *time < 0) return Fail(outcome, CalcStatus::InputError, InputErrorMessage());
    outcome.input = time;
    if (!(freqMHz > 0.0f)) return Fail(outcome, CalcStatus::FrequencyNotPositive, FrequencyMessage());
    if (divisor < 1) return Fail(outcome, CalcStatus::InputError, InputErrorMessage());
    return std::nullopt;
}

}  // namespace

CalcOutcome CalculateCompareValue(std::string_view timeText, float freqMHz, std::int32_t divisor,
                                  const NumberLocale& locale) {
    CalcOutcome outcome;
    if (auto failed = ConvertInputs(timeText, freqMHz, divisor, outcome)) return *failed;

    // Double precision as in the timer calculator, so that exact times stay exact.
    const double tick = 4.0 * divisor / freqMHz;
    const auto counts = RoundHalfEven(*outcome.input / tick);
    if (!counts || *counts < 1 || *counts > kLargestCompareValue) {
        const std::string line2 = SingleText(freqMHz) + "M频率在1:" + std::to_string(divisor) +
                                  "分频设置下的比较范围为" + FixedDecimalText(tick, 3, locale) + "-" +
                                  FixedDecimalText(tick * kLargestCompareValue, 3, locale) + "uS";
        return Fail(outcome, CalcStatus::OutOfRange,
                    {std::string(kCompareRangeTitle), std::string(kCompareRangeLine1) + '\r' + line2});
    }
    outcome.value = *counts;
    outcome.status = CalcStatus::Ok;
    return outcome;
}

std::optional<PwmTiming> PwmTimingOf(float freqMHz, std::int32_t divisor, std::int32_t pr2) {
    if (!(freqMHz > 0.0f) || divisor < 1 || pr2 < 0 || pr2 > 255) return std::nullopt;
    PwmTiming timing;
    timing.steps = 4 * (pr2 + 1);
    timing.periodUs = static_cast<double>(timing.steps) * divisor / freqMHz;
    timing.frequencyKHz = 1000.0 / timing.periodUs;
    timing.resolutionBits = std::log2(static_cast<double>(timing.steps));
    return timing;
}

CalcOutcome CalculateDutyValue(std::string_view dutyText, float freqMHz, std::int32_t divisor,
                               std::int32_t pr2, const NumberLocale& locale) {
    CalcOutcome outcome;
    if (auto failed = ConvertInputs(dutyText, freqMHz, divisor, outcome)) return *failed;
    const auto timing = PwmTimingOf(freqMHz, divisor, pr2);
    if (!timing) return Fail(outcome, CalcStatus::InputError, InputErrorMessage());

    const auto value = RoundHalfEven(*outcome.input * freqMHz / divisor);
    if (!value || *value > timing->steps) {
        const std::string line2 = "PWM周期为" + FixedDecimalText(timing->periodUs, 3, locale) + "uS";
        return Fail(outcome, CalcStatus::OutOfRange,
                    {std::string(kDutyTitle), std::string(kDutyLine1) + '\r' + line2});
    }
    // A duty of the whole period needs a value of at least the period's
    // steps; 1024 has no 10 bits, and 1023 is high for all but the last step.
    outcome.value = std::min(*value, kLargestDutyValue);
    outcome.status = CalcStatus::Ok;
    return outcome;
}

double DutyPercent(std::int32_t dutyValue, const PwmTiming& timing) {
    return timing.steps > 0 ? 100.0 * dutyValue / timing.steps : 0.0;
}

}  // namespace korvane
