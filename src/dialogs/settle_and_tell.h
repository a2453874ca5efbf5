#pragma once

#include <initializer_list>

#include "calc/settings_calc.h"
#include "chip/settle.h"
#include "controls/app_context.h"

namespace korvane {

// Works out again what follows the crystal and the timers (SettleProject)
// and tells the user, each in its dialog's own box, what could not be; the
// kinds in `toldAlready` the caller has just said itself.
void SettleAndTell(AppContext& context, std::initializer_list<SettingProblem::Kind> toldAlready = {});

}  // namespace korvane
