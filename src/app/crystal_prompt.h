#pragma once

#include <optional>

#include "controls/app_context.h"
#include "settings/setting_value.h"

namespace korvane {

// A timer's frequency setting as a crystal, or nothing when it is no number.
std::optional<float> CrystalOf(const SettingValue& frequency);

// 设置晶体频率: asks until the answer is a frequency above zero, which the
// three timers then run from; a cancel or a word leaves Timer0's frequency.
void AskCrystal(AppContext& context);

}  // namespace korvane
