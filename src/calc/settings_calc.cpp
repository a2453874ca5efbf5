#include "calc/settings_calc.h"

#include <charconv>
#include <cmath>
#include <string>
#include <system_error>

#include "settings/ad_converter.h"
#include "settings/mssp.h"
#include "settings/pin_claims.h"

namespace korvane {

namespace {

constexpr TimerKind kTimers[] = {TimerKind::Timer0, TimerKind::Timer1, TimerKind::Timer2};

// Timer1's divisor is kept as a 64-bit number and may hold anything.
std::int32_t DivisorOrZero(const SettingValue& value) {
    const auto number = value.toNumber();
    constexpr double kLargest = 1 << 16;  // far beyond any prescaler
    if (!number || !(*number >= 1 && *number <= kLargest) || std::trunc(*number) != *number) return 0;
    return static_cast<std::int32_t>(*number);
}

// The timers whose start value the generator writes: Timer0 while timing,
// Timer1 in timer mode, Timer2 always; each only while it is on.
bool WritesCalculatedValue(const ProjectSettings& s, TimerKind timer) {
    switch (timer) {
        case TimerKind::Timer0:
            return s.T0En.isTrue() && !s.T0ClockMode.equals(2);
        case TimerKind::Timer1:
            return s.T1En.isTrue() && s.T1ClockMode.equals(0);
        case TimerKind::Timer2:
            break;
    }
    return s.T2En.isTrue();
}

// SSPADD only: a recalculation keeps the rate as it was typed.
void StoreSspadd(ProjectSettings& s, const CalcOutcome& outcome) {
    s.MsspSspadd = outcome.status == CalcStatus::Ok ? static_cast<std::int16_t>(outcome.value) : -1;
}

}  // namespace

TimerSettings SettingsOf(ProjectSettings& s, TimerKind timer) {
    switch (timer) {
        case TimerKind::Timer0:
            return {.enabled = s.T0En,
                    .interrupt = s.T0Int,
                    .timeUs = s.T0TimeUs,
                    .freqMHz = s.T0FreqMHz,
                    .errorUs = s.T0ErrorUs};
        case TimerKind::Timer1:
            return {.enabled = s.T1En,
                    .interrupt = s.T1Int,
                    .timeUs = s.T1TimeUs,
                    .freqMHz = s.T1FreqMHz,
                    .errorUs = s.T1ErrorUs};
        case TimerKind::Timer2:
            break;
    }
    return {.enabled = s.T2En,
            .interrupt = s.T2Int,
            .timeUs = s.T2TimeUs,
            .freqMHz = s.T2FreqMHz,
            .errorUs = s.T2ErrorUs};
}

std::int32_t TimerDivisor(const ProjectSettings& s, TimerKind timer) {
    switch (timer) {
        case TimerKind::Timer0:
            return s.T0PsDiv;
        case TimerKind::Timer1:
            return DivisorOrZero(s.T1PsDiv);
        case TimerKind::Timer2:
            break;
    }
    return s.T2PsDiv;
}

TimerCalcInput TimerInput(const ProjectSettings& s, TimerKind timer, std::string timeText,
                          std::string freqText, const NumberLocale& locale) {
    constexpr int kExternalTiming = 1;
    return {.timer = timer,
            .divisor = TimerDivisor(s, timer),
            .timeText = std::move(timeText),
            .freqText = std::move(freqText),
            .locale = locale,
            .externalClock = timer == TimerKind::Timer0 && s.T0ClockMode.equals(kExternalTiming)};
}

void StoreTimerOutcome(ProjectSettings& s, TimerKind timer, const TimerCalcOutcome& outcome) {
    const TimerSettings fields = SettingsOf(s, timer);
    // A box that did not convert keeps its typed text in the field.
    if (outcome.timeUs) fields.timeUs = *outcome.timeUs;
    if (outcome.freqMHz) fields.freqMHz = *outcome.freqMHz;

    const TimerPreload none;
    const TimerPreload& preload = outcome.preload ? *outcome.preload : none;
    fields.errorUs = preload.errorUs;
    switch (timer) {
        case TimerKind::Timer0:
            s.T0RegText = preload.registerText;
            return;
            break;
        case TimerKind::Timer1:
            // TMR1H and TMR1L are written separately; the whole value is only shown.
            s.T1RegHighText = preload.highText;
            s.T1RegLowText = preload.lowText;
            // Compare counts Timer1's ticks, whose prescaler may just have changed.
            RecalculateCompare(s);
            return;
        case TimerKind::Timer2:
            s.T2RegText = preload.registerText;
            // PWM runs on Timer2's period and prescaler.
            RecalculateDuty(s);
            return;
    }
}

std::int16_t SciBaudDivisor(const ProjectSettings& s) {
    return ModeBaudDivisor(s.SciSyncMode.equals(1), s.SciHighSpeed != 0);
}

void RecalculateForCrystal(ProjectSettings& s, const NumberLocale& locale) {
    for (TimerKind timer : kTimers) {
        if (!WritesCalculatedValue(s, timer)) continue;
        const TimerSettings fields = SettingsOf(s, timer);
        // The texts a reopened dialog would put into its boxes.
        StoreTimerOutcome(s, timer,
                          CalculateTimerPeriod(
                              TimerInput(s, timer, fields.timeUs.toText(), fields.freqMHz.toText(), locale)));
    }

    const BaudCalcResult baud =
        CalcBaudList({s.CrystalMHz, SciBaudDivisor(s), s.SciErrLimit.toText(), locale});
    const BaudEntry* chosen = FindBaudEntry(baud.entries, s.SciBaud);
    s.SciSpbrgText = chosen ? chosen->spbrgText : std::string();
    RecalculateCompare(s);
    RecalculateDuty(s);
    if (MsspModeOf(s) == kMsspI2cMaster) StoreSspadd(s, SspaddFor(s, s.MsspI2cKHz.toText(), locale));
    FollowCrystalAd(s);
}

CalcOutcome SspaddFor(const ProjectSettings& s, std::string_view rateText, const NumberLocale& locale) {
    return CalculateSspadd(rateText, s.CrystalMHz, locale);
}

void StoreSspaddOutcome(ProjectSettings& s, const CalcOutcome& outcome) {
    if (outcome.status == CalcStatus::Ok) s.MsspI2cKHz = *outcome.input;
    StoreSspadd(s, outcome);
}

float Timer1FreqOrZero(const ProjectSettings& s) {
    return ParseSingle(s.T1FreqMHz.toText()).value_or(0.0f);
}

std::int32_t Timer2Pr2(const ProjectSettings& s) {
    const std::string& text = s.T2RegText;
    std::int32_t pr2 = 0;
    if (text.size() < 3 || text.size() > 4 || !text.starts_with("0x")) return kPr2AtPowerOn;
    const auto [end, error] = std::from_chars(text.data() + 2, text.data() + text.size(), pr2, 16);
    if (error != std::errc() || end != text.data() + text.size()) return kPr2AtPowerOn;
    return pr2;
}

CalcOutcome CompareFor(const ProjectSettings& s, std::string_view timeText, const NumberLocale& locale) {
    return CalculateCompareValue(timeText, Timer1FreqOrZero(s), TimerDivisor(s, TimerKind::Timer1), locale);
}

CalcOutcome DutyFor(const ProjectSettings& s, std::string_view dutyText, const NumberLocale& locale) {
    return CalculateDutyValue(dutyText, ParseSingle(s.T2FreqMHz.toText()).value_or(0.0f),
                              TimerDivisor(s, TimerKind::Timer2), Timer2Pr2(s), locale);
}

std::optional<PwmTiming> PwmTimingFor(const ProjectSettings& s) {
    return PwmTimingOf(ParseSingle(s.T2FreqMHz.toText()).value_or(0.0f), TimerDivisor(s, TimerKind::Timer2),
                       Timer2Pr2(s));
}

namespace {

// The register values only: a recalculation keeps the stored time as it was
// typed (and of the kind it was stored in).
void StoreCompareValue(ProjectSettings& s, const CcpModuleFields& m, const CalcOutcome& outcome) {
    s.*m.compareValue = outcome.status == CalcStatus::Ok ? static_cast<float>(outcome.value) : 0;
}

void StoreDutyValue(ProjectSettings& s, const CcpModuleFields& m, const CalcOutcome& outcome) {
    if (outcome.status != CalcStatus::Ok) {
        s.*m.dutyReg = -1;
        return;
    }
    s.*m.dutyReg = static_cast<std::int16_t>(outcome.value >> 2);
    s.*m.x = static_cast<std::int16_t>((outcome.value >> 1) & 1);
    s.*m.y = static_cast<std::int16_t>(outcome.value & 1);
}

}  // namespace

void StoreCompareOutcome(ProjectSettings& s, const CcpModuleFields& m, const CalcOutcome& outcome) {
    if (outcome.status == CalcStatus::Ok) s.*m.compareTimeUs = *outcome.input;
    StoreCompareValue(s, m, outcome);
}

void StoreDutyOutcome(ProjectSettings& s, const CcpModuleFields& m, const CalcOutcome& outcome) {
    if (outcome.status == CalcStatus::Ok) s.*m.dutyUs = *outcome.input;
    StoreDutyValue(s, m, outcome);
}

void RecalculateCompare(ProjectSettings& s) {
    for (const CcpModuleFields& m : kCcpModules)
        StoreCompareValue(s, m, CompareFor(s, (s.*m.compareTimeUs).toText(), {}));
}

void RecalculateDuty(ProjectSettings& s) {
    for (const CcpModuleFields& m : kCcpModules) StoreDutyValue(s, m, DutyFor(s, (s.*m.dutyUs).toText(), {}));
}

std::vector<SettingProblem> SettleProject(ProjectSettings& s, const NumberLocale& locale) {
    using Kind = SettingProblem::Kind;
    struct TimerNames {
        const char* time;
        const char* frequency;
    };
    constexpr TimerNames kNames[] = {
        {"T0TimeUs", "T0FreqMHz"}, {"T1TimeUs", "T1FreqMHz"}, {"T2TimeUs", "T2FreqMHz"}};

    std::vector<SettingProblem> problems;
    for (TimerKind timer : kTimers) {
        if (!WritesCalculatedValue(s, timer)) continue;
        const TimerSettings fields = SettingsOf(s, timer);
        const TimerCalcOutcome outcome = CalculateTimerPeriod(
            TimerInput(s, timer, fields.timeUs.toText(), fields.freqMHz.toText(), locale));
        StoreTimerOutcome(s, timer, outcome);
        if (!outcome.message) continue;
        // The time is read first: past it, the frequency is at fault.
        const TimerNames& names = kNames[static_cast<int>(timer)];
        const bool frequency = outcome.timeUs && outcome.status != TimerCalcStatus::OutOfRange;
        problems.push_back({Kind::Timer, frequency ? names.frequency : names.time, outcome.message->title,
                            outcome.message->text});
    }

    if (s.SciEn.equals(1)) {
        const BaudCalcResult baud =
            CalcBaudList({s.CrystalMHz, SciBaudDivisor(s), s.SciErrLimit.toText(), locale});
        const BaudEntry* chosen = FindBaudEntry(baud.entries, s.SciBaud);
        if (!chosen) chosen = baud.chosen();
        if (chosen) {
            s.SciBaud = chosen->rateText;
            s.SciSpbrgText = chosen->spbrgText;
        } else {
            s.SciEn = 0;
            problems.push_back(
                {Kind::Baud, "SciBaud", std::string(kNoUsableRateTitle), NoUsableRateText(s.CrystalMHz)});
        }
    }

    // The compare and duty values follow Timer1's and Timer2's clocks even
    // where those timers are not set up here.
    RecalculateCompare(s);
    RecalculateDuty(s);

    if (MsspIsI2cMaster(s)) {
        const CalcOutcome outcome = SspaddFor(s, s.MsspI2cKHz.toText(), locale);
        StoreSspadd(s, outcome);
        if (outcome.message)
            problems.push_back({Kind::I2cRate, "MsspI2cKHz", outcome.message->title, outcome.message->text});
    }

    FollowCrystalAd(s);
    ApplyPinClaims(s);
    if (const auto conflict = FirstConflict(s)) {
        const PinMessage message = ConflictMessage(*conflict);
        problems.push_back({Kind::Pins, ClaimingSetting(conflict->taker.use), message.title, message.text});
    }
    return problems;
}

}  // namespace korvane
