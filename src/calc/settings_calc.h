#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "calc/baud_calc.h"
#include "calc/timer_calc.h"
#include "settings/project_settings.h"

namespace korvane {

// The calculators run against the project settings. The dialogs and the
// crystal command both store through these, so a result is kept, or dropped,
// the same way wherever it was worked out.

// The settings every timer has, for the timer given.
struct TimerSettings {
    SettingValue& enabled;
    std::int16_t& interrupt;
    SettingValue& timeUs;
    SettingValue& freqMHz;
    float& errorUs;
};
TimerSettings SettingsOf(ProjectSettings& s, TimerKind timer);

// The prescale divisor a timer's calculator uses; 0 (which the calculator
// refuses as an input error) when the stored value is no whole positive number.
std::int32_t TimerDivisor(const ProjectSettings& s, TimerKind timer);

// What the timer's calculator works with besides the two texts: its divisor
// and, for Timer0 in external-clock timing, one count per clock edge.
TimerCalcInput TimerInput(const ProjectSettings& s, TimerKind timer, std::string timeText,
                          std::string freqText, const NumberLocale& locale);

// Stores what a timer calculation gave: the converted time and frequency in
// place of the typed texts, and the register texts and error. On any failure
// the register texts are emptied and the error is 0, so that no value worked
// out for another period or frequency is ever generated under the new one.
void StoreTimerOutcome(ProjectSettings& s, TimerKind timer, const TimerCalcOutcome& outcome);

// Clock periods per bit for SPBRG 0 in the SCI mode the settings hold.
std::int16_t SciBaudDivisor(const ProjectSettings& s);

// After the crystal has changed: each timer that is on and writes a calculated
// start value is worked out again from its stored period and prescaler with
// its new frequency, without a message; SPBRG is recomputed for the chosen
// rate at the stored error limit, or emptied when that rate is no longer usable.
void RecalculateForCrystal(ProjectSettings& s, const NumberLocale& locale);

// Something the dialogs would have told the user while closing.
struct SettingProblem {
    enum class Kind { Timer, Baud, Pins };
    Kind kind;
    std::string setting;  // the setting at fault: T2TimeUs, SciBaud, T1OscEn
    std::string title;    // the dialog's own message
    std::string text;     // lines joined by "\r"
};

// What the dialogs do on closing, done for settings that come from a file
// (written by hand or by an older version): each timer that is on and writes
// a calculated value works it out from its stored time, prescaler and
// frequency; a serial port in use gets the SPBRG of its rate, or of the
// slowest usable one when that rate is not, and goes off when none is; every
// module takes its pins. Returns what could not be done, in that order.
std::vector<SettingProblem> SettleProject(ProjectSettings& s, const NumberLocale& locale);

}  // namespace korvane
