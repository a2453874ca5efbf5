#include "calc/settings_calc.h"

#include <charconv>
#include <cmath>
#include <string>
#include <system_error>

namespace korvane {

namespace {

// Timer1's divisor is kept as a 64-bit number and may hold anything.
std::int32_t DivisorOrZero(const SettingValue& value) {
    const auto number = value.toNumber();
    constexpr double kLargest = 1 << 16;  // far beyond any prescaler
    if (!number || !(*number >= 1 && *number <= kLargest) || std::trunc(*number) != *number) return 0;
    return static_cast<std::int32_t>(*number);
}

}  // namespace

void StoreSspadd(ProjectSettings& s, const CalcOutcome& outcome) {
    s.MsspSspadd = outcome.status == CalcStatus::Ok ? static_cast<std::int16_t>(outcome.value) : -1;
}

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
    const DutyBits bits = SplitDuty(outcome.value);
    s.*m.dutyReg = bits.high;
    s.*m.x = bits.x;
    s.*m.y = bits.y;
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

void RecalculateCcp(ProjectSettings& s, const CcpModuleFields& m) {
    StoreCompareValue(s, m, CompareFor(s, (s.*m.compareTimeUs).toText(), {}));
    StoreDutyValue(s, m, DutyFor(s, (s.*m.dutyUs).toText(), {}));
}

}  // namespace korvane
