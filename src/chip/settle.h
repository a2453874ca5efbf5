#pragma once

#include <vector>

#include "calc/settings_calc.h"
#include "settings/project_settings.h"

namespace korvane {

// Works out again everything that follows the crystal, the timers and the
// part, as the dialogs leave it on closing; the crystal command, opening a
// project, korvane-gen and the dialogs whose close changes a clock all call
// it. Each timer that is on and writes a calculated value works it out from
// its stored time, prescaler and frequency; a serial port in use gets the
// SPBRG of its rate, or of the slowest usable one when that rate is not, and
// goes off when none is; the CCP modules' compare and duty values follow
// Timer1 and Timer2; an I2C master in use gets the SSPADD of its rate; the
// oscillator and the A/D clock follow the crystal unless chosen by hand;
// every module takes its pins. Returns what could not be done, in that order,
// with what a module in use lacks (Timer1 for capture and compare, Timer2
// for PWM and an SPI clock from it).
std::vector<SettingProblem> SettleProject(ProjectSettings& s, const NumberLocale& locale);

}  // namespace korvane
