#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "calc/calc_outcome.h"
#include "calc/timer_calc.h"
#include "format/number_text.h"
#include "settings/chip_facts.h"

namespace korvane {

// The compare value and the PWM duty cycle of a CCP module. Times are in
// microseconds and frequencies in MHz, as the timer calculators take them.

namespace ccp_messages {
inline constexpr std::string_view kCompareRangeTitle = "超出比较范围";
inline constexpr std::string_view kCompareRangeLine1 = "超出比较范围，请重新输入比较时间或Timer1的预分频";
inline constexpr std::string_view kDutyTitle = "占空比设置错误";
inline constexpr std::string_view kDutyLine1 = "占空比时间不能大于PWM周期，请重新输入占空比时间";
// Capture and compare run on Timer1, PWM on Timer2.
inline constexpr std::string_view kTimer1Title = "确认Timer1工作方式";
inline constexpr std::string_view kTimer1Line1 = "在捕捉/比较模式下,定时器1必须工作在定时或同步计数方式下.";
inline constexpr std::string_view kTimer2Title = "确认Timer2工作方式";
inline constexpr std::string_view kTimer2Line1 = "在PWM模式下,定时器2必须工作,PWM的周期由它决定.";
// Said where nothing offers the timer's dialog (a project opened, a clock changed).
inline constexpr std::string_view kUseTimer1 = "请在Timer1设置中使用Timer1.";
inline constexpr std::string_view kUseTimer2 = "请在Timer2设置中使用Timer2.";
}  // namespace ccp_messages

// Timer1 counts to reach `timeText`: time / (4 × divisor / f), rounded as the
// timer calculators round; 1 .. 65535 counts, else the range message.
CalcOutcome CalculateCompareValue(std::string_view timeText, float freqMHz, std::int32_t divisor,
                                  const NumberLocale& locale);

// The PWM period that Timer2 gives with PR2 and its prescaler.
struct PwmTiming {
    double periodUs = 0;
    double frequencyKHz = 0;
    double resolutionBits = 0;  // log2 of the duty steps in one period
    std::int32_t steps = 0;     // duty steps in one period: 4 × (PR2 + 1)
};
std::optional<PwmTiming> PwmTimingOf(float freqMHz, std::int32_t divisor, std::int32_t pr2);

// The 10-bit duty value for `dutyText`: duty × f / divisor, rounded as the
// timer calculators round. A duty longer than the period is refused; a duty
// of the whole period keeps the output high, which the largest value does
// when the period has 1024 steps.
CalcOutcome CalculateDutyValue(std::string_view dutyText, float freqMHz, std::int32_t divisor,
                               std::int32_t pr2, const NumberLocale& locale);

// The 10-bit duty value as the registers take it: the high eight bits in
// CCPRxL, bit 1 in CCPxX, bit 0 in CCPxY.
struct DutyBits {
    std::int16_t high, x, y;
};
constexpr DutyBits SplitDuty(std::int32_t duty) {
    return {static_cast<std::int16_t>(duty >> 2), static_cast<std::int16_t>((duty >> 1) & 1),
            static_cast<std::int16_t>(duty & 1)};
}

// The duty value as a share of the period, in per cent.
double DutyPercent(std::int32_t dutyValue, const PwmTiming& timing);

}  // namespace korvane
