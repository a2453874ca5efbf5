#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "calc/timer_calc.h"
#include "controls/controls.h"
#include "settings/setting_value.h"

namespace korvane {

// Reading stored choices back into the dialogs. A dialog refuses what is no
// option (the generator instead rounds and clamps, see RoundedClampedIndex).

// A stored option index as a whole number from 0 to count - 1; nothing for
// any other value, so it can never pick a non-existent option or shift too far.
std::optional<int> OptionIndexOrNothing(const SettingValue& value, int count);

// Selects the stored option, which runs its handler; leaves the group alone
// when the value is no option of it.
void SelectStoredOption(OptionGroup& group, const SettingValue& value);

// What a dialog's interrupt box stores: -1 ticked, as every module's
// interrupt setting holds it, 0 not.
std::int16_t InterruptSetting(const CheckBox& box);

// The prescale divisor of an option index: the ratio the option shows, or 0
// (which the calculator refuses as an input error) when the index is no option.
int PrescaleRatio(TimerKind timer, std::optional<int> index);

// "1:2", "1:4", ...: one caption per ratio, in option order.
std::vector<std::string> RatioCaptions(std::span<const int> ratios);
std::vector<std::string> RatioCaptions(std::initializer_list<int> ratios);

}  // namespace korvane
