#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "calc/baud_calc.h"
#include "calc/ccp_calc.h"
#include "calc/i2c_calc.h"
#include "calc/timer_calc.h"
#include "settings/ccp_modules.h"
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

// The timers whose start value the generator writes: Timer0 while timing,
// Timer1 in timer mode, Timer2 always; each only while it is on.
bool WritesCalculatedValue(const ProjectSettings& s, TimerKind timer);

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

// The Timer1 frequency and PR2 that the CCP calculators use. PR2 is the
// value the Timer2 set-up writes, or its power-on value while none was worked out.
float Timer1FreqOrZero(const ProjectSettings& s);
std::int32_t Timer2Pr2(const ProjectSettings& s);

// A module's compare value or duty cycle for a typed time, with the clocks the
// settings hold now.
CalcOutcome CompareFor(const ProjectSettings& s, std::string_view timeText, const NumberLocale& locale);
CalcOutcome DutyFor(const ProjectSettings& s, std::string_view dutyText, const NumberLocale& locale);
std::optional<PwmTiming> PwmTimingFor(const ProjectSettings& s);

// Store a calculation's result: on success the converted time and the value
// (the duty value split into CCPRxL, CCPxX and CCPxY); on failure only the
// value goes (0 or -1), so that no value worked out for another clock is
// generated.
void StoreCompareOutcome(ProjectSettings& s, const CcpModuleFields& m, const CalcOutcome& outcome);
void StoreDutyOutcome(ProjectSettings& s, const CcpModuleFields& m, const CalcOutcome& outcome);

// Both modules' compare values (Timer1) or duty values (Timer2) worked out
// again from their stored times, after the clock they run on has changed.
// The duty overwrites CCPxX and CCPxY typed by hand.
void RecalculateCompare(ProjectSettings& s);
void RecalculateDuty(ProjectSettings& s);
// One module's compare and duty values, both.
void RecalculateCcp(ProjectSettings& s, const CcpModuleFields& m);

// SSPADD for a typed I2C rate at the crystal the settings hold; storing it
// keeps the converted rate and the value, or on failure leaves -1, so that no
// SSPADD worked out for another crystal is generated. A new crystal or an
// opened project works out SSPADD alone, the rate staying as typed.
CalcOutcome SspaddFor(const ProjectSettings& s, std::string_view rateText, const NumberLocale& locale);
void StoreSspaddOutcome(ProjectSettings& s, const CalcOutcome& outcome);
// SSPADD only: a recalculation keeps the rate as it was typed.
void StoreSspadd(ProjectSettings& s, const CalcOutcome& outcome);

// Something the dialogs would have told the user, or a value that follows
// the crystal or the timers and can no longer be worked out.
struct SettingProblem {
    enum class Kind { Timer, Baud, Ccp, NeedsTimer, I2cRate, Pins };
    Kind kind;
    std::string setting;  // the setting at fault: T2TimeUs, SciBaud, Ccp1DutyUs, T2En, MsspI2cKHz, T1OscEn
    std::string title;    // the dialog's own message
    std::string text;     // lines joined by "\r"
};

}  // namespace korvane
