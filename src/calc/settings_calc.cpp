#include "calc/settings_calc.h"

#include <charconv>
#include <cmath>
#include <string>
#include <system_error>

#include "modules/module_table.h"
#include "settings/ad_converter.h"
#include "settings/mssp.h"
#include "settings/parts.h"
#include "settings/pin_claims.h"

namespace korvane {

namespace {

// Timer1's divisor is kept as a 64-bit number and may hold anything.
std::int32_t DivisorOrZero(const SettingValue& value) {
    const auto number = value.toNumber();
    constexpr double kLargest = 1 << 16;  // far beyond any prescaler
    if (!number || !(*number >= 1 && *number <= kLargest) || std::trunc(*number) != *number) return 0;
    return static_cast<std::int32_t>(*number);
}

// SSPADD only: a recalculation keeps the rate as it was typed.
void StoreSspadd(ProjectSettings& s, const CalcOutcome& outcome) {
    s.MsspSspadd = outcome.status == CalcStatus::Ok ? static_cast<std::int16_t>(outcome.value) : -1;
}

}  // namespace

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

namespace {

using Kind = SettingProblem::Kind;

// A timer that is on and writes a calculated value works it out from its
// stored time, prescaler and frequency.
void SettleTimer(ProjectSettings& s, TimerKind timer, const NumberLocale& locale,
                 std::vector<SettingProblem>& problems) {
    struct TimerNames {
        const char* time;
        const char* frequency;
    };
    constexpr TimerNames kNames[] = {
        {"T0TimeUs", "T0FreqMHz"}, {"T1TimeUs", "T1FreqMHz"}, {"T2TimeUs", "T2FreqMHz"}};
    if (!WritesCalculatedValue(s, timer)) return;
    const TimerSettings fields = SettingsOf(s, timer);
    // The texts a reopened dialog would put into its boxes.
    const TimerCalcOutcome outcome =
        CalculateTimerPeriod(TimerInput(s, timer, fields.timeUs.toText(), fields.freqMHz.toText(), locale));
    StoreTimerOutcome(s, timer, outcome);
    if (!outcome.message) return;
    // The time is read first: past it, the frequency is at fault.
    const TimerNames& names = kNames[static_cast<int>(timer)];
    const bool frequency = outcome.timeUs && outcome.status != TimerCalcStatus::OutOfRange;
    problems.push_back({Kind::Timer, frequency ? names.frequency : names.time, outcome.message->title,
                        outcome.message->text});
}

// The compare and duty values follow Timer1's and Timer2's clocks even where
// those timers are not set up here; a module in use says what it lacks.
void SettleCcp(ProjectSettings& s, const CcpModuleFields& m, std::vector<SettingProblem>& problems) {
    StoreCompareValue(s, m, CompareFor(s, (s.*m.compareTimeUs).toText(), {}));
    StoreDutyValue(s, m, DutyFor(s, (s.*m.dutyUs).toText(), {}));
    if (!(s.*m.enabled).isTrue()) return;
    using namespace ccp_messages;
    const std::string n = "Ccp" + std::to_string(m.number);
    const auto mode = RoundedClampedIndex(s.*m.mode);
    if (mode == kCcpPwm) {
        if (const auto message = DutyFor(s, (s.*m.dutyUs).toText(), {}).message)
            problems.push_back({Kind::Ccp, n + "DutyUs", message->title, message->text});
        if (!s.T2En.isTrue())
            problems.push_back(
                {Kind::NeedsTimer, "T2En", std::string(kTimer2Title),
                 std::string(m.name) + ": " + std::string(kTimer2Line1) + "\r" + std::string(kUseTimer2)});
        return;
    }
    if (mode == kCcpCompare) {
        if (const auto message = CompareFor(s, (s.*m.compareTimeUs).toText(), {}).message)
            problems.push_back({Kind::Ccp, n + "CmpTimeUs", message->title, message->text});
    }
    if (!s.T1En.isTrue())
        problems.push_back(
            {Kind::NeedsTimer, "T1En", std::string(kTimer1Title),
             std::string(m.name) + ": " + std::string(kTimer1Line1) + "\r" + std::string(kUseTimer1)});
}

}  // namespace

namespace settle {

void Timer0(ProjectSettings& s, const NumberLocale& locale, std::vector<SettingProblem>& problems) {
    SettleTimer(s, TimerKind::Timer0, locale, problems);
}

void Timer1(ProjectSettings& s, const NumberLocale& locale, std::vector<SettingProblem>& problems) {
    SettleTimer(s, TimerKind::Timer1, locale, problems);
}

void Timer2(ProjectSettings& s, const NumberLocale& locale, std::vector<SettingProblem>& problems) {
    SettleTimer(s, TimerKind::Timer2, locale, problems);
}

void Ccp1(ProjectSettings& s, const NumberLocale&, std::vector<SettingProblem>& problems) {
    SettleCcp(s, kCcpModules[0], problems);
}

void Ccp2(ProjectSettings& s, const NumberLocale&, std::vector<SettingProblem>& problems) {
    SettleCcp(s, kCcpModules[1], problems);
}

// A serial port in use gets the SPBRG of its rate, or of the slowest usable
// one when that rate is not (said, unless no rate was chosen yet), and goes
// off when none is.
void Sci(ProjectSettings& s, const NumberLocale& locale, std::vector<SettingProblem>& problems) {
    const BaudCalcResult baud =
        CalcBaudList({s.CrystalMHz, SciBaudDivisor(s), s.SciErrLimit.toText(), locale});
    const BaudEntry* chosen = FindBaudEntry(baud.entries, s.SciBaud);
    // A port not in use keeps its rate for the next opening of its dialog.
    if (chosen || !s.SciEn.equals(1)) {
        s.SciSpbrgText = chosen ? chosen->spbrgText : std::string();
        return;
    }
    chosen = baud.chosen();
    if (!chosen) {
        s.SciEn = 0;
        s.SciSpbrgText = std::string();
        problems.push_back(
            {Kind::Baud, "SciBaud", std::string(kNoUsableRateTitle), NoUsableRateText(s.CrystalMHz)});
        return;
    }
    if (!s.SciBaud.empty())
        problems.push_back({Kind::Baud, "SciBaud", std::string(kRateChangedTitle),
                            RateChangedText(s.SciBaud, chosen->rateText, s.CrystalMHz)});
    s.SciBaud = chosen->rateText;
    s.SciSpbrgText = chosen->spbrgText;
}

// An I2C master in use gets the SSPADD of its rate; an SPI master clocked by
// Timer2 needs Timer2.
void Mssp(ProjectSettings& s, const NumberLocale& locale, std::vector<SettingProblem>& problems) {
    if (MsspIsI2cMaster(s)) {
        const CalcOutcome outcome = SspaddFor(s, s.MsspI2cKHz.toText(), locale);
        StoreSspadd(s, outcome);
        if (outcome.message)
            problems.push_back({Kind::I2cRate, "MsspI2cKHz", outcome.message->title, outcome.message->text});
    }
    if (MsspUsed(s) && MsspModeOf(s) == kMsspSpiMaster && SspmCode(s) == kSspmSpiTimer2 && !s.T2En.isTrue())
        problems.push_back({Kind::NeedsTimer, "T2En", std::string(ccp_messages::kTimer2Title),
                            "MSSP: SPI主控方式的时钟为TMR2输出/2,定时器2必须工作.\r" +
                                std::string(ccp_messages::kUseTimer2)});
}

void Ad(ProjectSettings& s, const NumberLocale&, std::vector<SettingProblem>&) {
    FollowCrystalAd(s);
}

void ConfigWord(ProjectSettings& s, const NumberLocale&, std::vector<SettingProblem>&) {
    FollowCrystal(s);
}

}  // namespace settle

std::vector<SettingProblem> SettleProject(ProjectSettings& s, const NumberLocale& locale) {
    std::vector<SettingProblem> problems;
    for (const Module* module : ModulesInSettleOrder())
        if (module->settle) module->settle(s, locale, problems);
    // Pins last: what a module takes depends on what the settle left on.
    ApplyPinClaims(s);
    if (const auto conflict = FirstConflict(s)) {
        const PinMessage message = ConflictMessage(*conflict);
        problems.push_back({Kind::Pins, ClaimingSetting(conflict->taker.use), message.title, message.text});
    }
    return problems;
}

}  // namespace korvane
