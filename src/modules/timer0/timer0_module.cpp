#include "modules/timer0/timer0_module.h"

#include "format/number_text.h"
#include "generator/sections.h"
#include "modules/timer_common.h"
#include "settings/chip_facts.h"

namespace korvane {

namespace {

constexpr auto kBit = ValueForm::Bit;
constexpr auto kByte = ValueForm::Byte;

bool Timer0Written(const ProjectSettings& s) {
    return s.T0En.isTrue();
}

void BuildTimer0(const ProjectSettings& s, Body& out) {
    out.Comment({"//Timer0初始化设置"});
    // Taking the prescaler from the watchdog can reset the chip unless the
    // watchdog is cleared first, as the data sheet's example does.
    if (s.T0UsePs.isTrue() && WritesInDataSheetOrder(s))
        out.ClearWatchdog("//预分频器从看门狗改给Timer0之前先清看门狗");
    if (s.T0UsePs.isTrue()) {
        out.SetBit("PSA", 0, "//Timer0 使用预分频器");
        out.Comment({"//Timer0选择分频率为1:", std::to_string(s.T0PsDiv)});
        const std::int64_t ps = RoundedClampedIndex(s.T0PsIndex);
        out.Set({{"PS0", BitAt(ps, 0), kBit}, {"PS1", BitAt(ps, 1), kBit}, {"PS2", BitAt(ps, 2), kBit}});
    }
    if (!s.T0ClockMode.equals(2)) {
        if (s.T0ClockMode.equals(0)) {
            out.Comment({"//内部时钟定时方式,定时时间:", s.T0TimeUs.toText(),
                         "uS,误差:", SingleText(s.T0ErrorUs), "uS"});
        } else {
            out.Comment({"//外部时钟定时方式"});
        }
        out.SetBit("T0CS", BitOf(s.T0ClockMode));
        if (const auto tmr0 = RegisterNumber(s.T0RegText)) out.Set({{"TMR0", *tmr0, kByte}});
    } else {
        const bool falling = s.T0Edge.equals(0);
        out.Comment({"//外部时钟计数方式,", falling ? "下降沿触发" : "上升沿触发"});
        out.SetBit("T0CS", 1);
        out.Set({{"TMR0", 0, kByte}});
        // T0SE set counts on the falling edge of T0CKI, cleared on the rising one.
        out.SetBit("T0SE", falling ? 1 : 0);
    }
}

constexpr InterruptSource kInterrupts[] = {
    {.serviced = [](const ProjectSettings& s) { return s.T0Int != 0; },
     .enabled = [](const ProjectSettings& s) { return s.T0Int != 0; },
     .flag = "T0IF",
     .serviceComment = "//Timer0中断服务子程序",
     .enableBit = "T0IE",
     .enableComment = "//Tiemr0中断允许",
     .reload = ReloadTimer0},
};

// Timer0 holds RA4 whenever it is clocked from outside, even while off.
void ClaimPins(const ProjectSettings& s, std::vector<PinClaim>& out) {
    if (!s.T0ClockMode.equals(0))
        out.push_back({PinUse::Timer0Clock, kPortA, kTimer0ClockPin, true, PinSignal::DigitalInput});
}

constexpr PinUseTexts kPinUses[] = {
    {PinUse::Timer0Clock, "T0ClockMode", "定时器0外部时钟", "将定时器0设置为使用内部时钟",
     FixedMessage{"RA4口已被占用", "定时器0选择了外部时钟输入,RA4必须定义为输入.",
                  "若要定义为输出,请先将定时器0设置为使用内部时钟."},
     FixedMessage{"禁止关闭RA", "定时器0需使用RA4口,不可关闭", "若需关闭RA口,请先设定定时器0不为计数模式"}},
};

std::string PinText(const ProjectSettings&, const PinClaim&) {
    return "Timer0外部时钟T0CKI";
}

void Settle(ProjectSettings& s, const NumberLocale& locale, std::vector<SettingProblem>& problems) {
    SettleTimer(s, TimerKind::Timer0, locale, problems);
}

void Rules(const ProjectSettings& s, std::vector<RuleBreach>& out) {
    const auto ps = RoundedClampedIndex(s.T0PsIndex);
    RuleFollows(out, "T0PsDiv", s.T0PsDiv, s.T0UsePs.isTrue() ? std::int16_t(2 << ps) : std::int16_t{1},
                "T0UsePs和T0PsIndex");
}

}  // namespace

std::optional<TimerReload> ReloadTimer0(const ProjectSettings& s) {
    if (!s.T0En.isTrue() || s.T0ClockMode.equals(2)) return std::nullopt;
    const auto tmr0 = RegisterNumber(s.T0RegText);
    if (!tmr0) return std::nullopt;
    const std::int64_t prescale = s.T0UsePs.isTrue() ? std::int64_t{s.T0PsDiv} : 1;
    return TimerReload{0, 256 - *tmr0, prescale, TimerPeriodUs(256 - *tmr0, prescale, s.T0FreqMHz),
                       s.T0ClockMode.equals(0)};
}

constexpr Module kTimer0Module = {
    .name = "Timer0",
    .setup = SetupId::Timers,
    .writesSetup = Timer0Written,
    .build = BuildTimer0,
    .interrupts = kInterrupts,
    .claimPins = ClaimPins,
    .pinUses = kPinUses,
    .pinText = PinText,
    .settle = Settle,
    .rules = Rules,
    .form = FormId::Timer0,
};

}  // namespace korvane
