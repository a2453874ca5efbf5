#include "modules/timer1/timer1_module.h"

#include "format/number_text.h"
#include "generator/sections.h"
#include "modules/timer_common.h"

namespace korvane {

namespace {

constexpr auto kBit = ValueForm::Bit;
constexpr auto kByte = ValueForm::Byte;
// T1OSO/T1CKI and T1OSI.
constexpr int kTimer1ClockPin = 0, kTimer1OscillatorPin = 1;

bool Timer1Written(const ProjectSettings& s) {
    return s.T1En.isTrue();
}

void BuildTimer1(const ProjectSettings& s, Body& out) {
    out.Blank();
    out.Comment({"//Timer1初始化设置"});
    out.Comment({"//timer1使用预分频率1:", s.T1PsDiv.toText()});
    const std::int64_t ps = RoundedClampedIndex(s.T1PsIndex);
    out.Set({{"T1CKPS0", BitAt(ps, 0), kBit}, {"T1CKPS1", BitAt(ps, 1), kBit}});
    out.Comment({s.T1OscEn != 0 ? "//使用T1内部振荡器" : "//不使用T1内部振荡器"});
    out.Set({{"T1OSCEN", s.T1OscEn, ValueForm::Decimal}});
    if (s.T1ClockMode.equals(0)) {
        out.Comment({"//Timer1工作定时器模式,定时时间:", s.T1TimeUs.toText(),
                     "uS,误差:", SingleText(s.T1ErrorUs), "uS"});
        out.SetBit("TMR1CS", 0);
        const auto tmr1h = RegisterNumber(s.T1RegHighText.toText());
        const auto tmr1l = RegisterNumber(s.T1RegLowText);
        if (tmr1h && tmr1l) out.Set({{"TMR1H", *tmr1h, kByte}, {"TMR1L", *tmr1l, kByte}});
    } else {
        const bool synchronised = s.T1SyncMode.equals(0);
        out.Comment({synchronised ? "//Timer1工作计数器模式(与外部时钟同步)"
                                  : "//Timer1工作计数器模式(与外部时钟不同步)"});
        // External clock on T1CKI; the chip's T1SYNC bit is active-low, so 0
        // synchronises the counter with the external clock.
        out.Set({{"TMR1CS", 1, kBit}, {"T1SYNC", synchronised ? 0 : 1, kBit}});
        out.Set({{"TMR1H", 0, kByte}, {"TMR1L", 0, kByte}}, {}, Layout::Chained);
    }
    if (!WritesInDataSheetOrder(s)) out.SetBit("TMR1ON", 1);
}

// Started last, once the CCP modules it drives are set up.
void StartTimer1(const ProjectSettings&, Body& out) {
    out.SetBitAlone("TMR1ON", 1, "//启动Timer1");
}

constexpr InterruptSource kInterrupts[] = {
    {.serviced = [](const ProjectSettings& s) { return s.T1Int != 0; },
     .enabled = [](const ProjectSettings& s) { return s.T1Int != 0; },
     .peripheral = true,
     .flag = "TMR1IF",
     .serviceComment = "//Timer1中断服务子程序",
     .enableBit = "TMR1IE",
     .enableComment = "//Tiemr1中断允许",
     .reload = ReloadTimer1},
};

void ClaimPins(const ProjectSettings& s, std::vector<PinClaim>& out) {
    constexpr int kCounterMode = 1;
    if (!s.T1En.isTrue()) return;
    if (s.T1ClockMode.equals(kCounterMode))
        out.push_back({PinUse::Timer1Clock, kPortC, kTimer1ClockPin, true, PinSignal::DigitalInput});
    if (s.T1OscEn != 0) {
        out.push_back({PinUse::Timer1Oscillator, kPortC, kTimer1ClockPin, true, PinSignal::Oscillator});
        out.push_back({PinUse::Timer1Oscillator, kPortC, kTimer1OscillatorPin, true, PinSignal::Oscillator});
    }
}

constexpr PinUseTexts kPinUses[] = {
    {PinUse::Timer1Clock, "T1ClockMode", "Timer1计数器", "将Timer1设置为定时方式"},
    {PinUse::Timer1Oscillator, "T1OscEn", "Timer1振荡器", "将Timer1设置为不使用内部振荡器"},
};

std::string PinText(const ProjectSettings&, const PinClaim& claim) {
    if (claim.use == PinUse::Timer1Clock) return "Timer1计数输入T1CKI";
    return claim.pin == kTimer1ClockPin ? "Timer1振荡器T1OSO" : "Timer1振荡器T1OSI";
}

void Settle(ProjectSettings& s, const NumberLocale& locale, std::vector<SettingProblem>& problems) {
    SettleTimer(s, TimerKind::Timer1, locale, problems);
}

// The dialog keeps Timer1's divisor as a 64-bit number.
void Rules(const ProjectSettings& s, std::vector<RuleBreach>& out) {
    RuleFollows(out, "T1PsDiv", s.T1PsDiv, static_cast<double>(1 << RoundedClampedIndex(s.T1PsIndex)),
                "T1PsIndex");
}

}  // namespace

std::optional<TimerReload> ReloadTimer1(const ProjectSettings& s) {
    if (!s.T1En.isTrue() || !s.T1ClockMode.equals(0)) return std::nullopt;
    const auto tmr1h = RegisterNumber(s.T1RegHighText.toText());
    const auto tmr1l = RegisterNumber(s.T1RegLowText);
    if (!tmr1h || !tmr1l) return std::nullopt;
    const std::int64_t counts = 65536 - (*tmr1h * 256 + *tmr1l);
    const double div = s.T1PsDiv.toNumber().value_or(1);
    const std::int64_t prescale = div >= 1 && div <= 8 ? static_cast<std::int64_t>(div) : 1;
    return TimerReload{1, counts, prescale, TimerPeriodUs(counts, prescale, s.T1FreqMHz), true};
}

constexpr Module kTimer1Module = {
    .name = "Timer1",
    .setup = SetupId::Timers,
    .writesSetup = Timer1Written,
    .build = BuildTimer1,
    .interrupts = kInterrupts,
    .claimPins = ClaimPins,
    .pinUses = kPinUses,
    .pinText = PinText,
    .settle = Settle,
    .rules = Rules,
    .form = FormId::Timer1,
    .start = StartTimer1,
};

}  // namespace korvane
