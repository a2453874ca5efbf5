#pragma once

#include <cstdint>
#include <vector>

#include "calc/settings_calc.h"
#include "calc/timer_calc.h"
#include "settings/project_settings.h"

namespace korvane {

// What the three timers' modules share.

// The period the counts give at the timer's clock (a quarter of its
// frequency); 0 where the frequency is no usable number.
double TimerPeriodUs(std::int64_t counts, std::int64_t prescale, const SettingValue& freqMHz);

// A timer that is on and writes a calculated value works it out from its
// stored time, prescaler and frequency; what failed is told.
void SettleTimer(ProjectSettings& s, TimerKind timer, const NumberLocale& locale,
                 std::vector<SettingProblem>& problems);

}  // namespace korvane
