#include "format/number_text.h"
#include "generator/sections.h"

namespace korvane {

namespace {
constexpr auto kBit = ValueForm::Bit;
constexpr auto kByte = ValueForm::Byte;
}  // namespace

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

namespace {

// The period the counts give at the timer's clock (a quarter of its
// frequency); 0 where the frequency is no usable number.
double PeriodUs(std::int64_t counts, std::int64_t prescale, const SettingValue& freqMHz) {
    const double mhz = freqMHz.toNumber().value_or(0);
    if (!(mhz > 0 && mhz < 1e3)) return 0;
    return static_cast<double>(counts * prescale) * 4 / mhz;
}

}  // namespace

std::optional<TimerReload> ReloadTimer0(const ProjectSettings& s) {
    if (!s.T0En.isTrue() || s.T0ClockMode.equals(2)) return std::nullopt;
    const auto tmr0 = RegisterNumber(s.T0RegText);
    if (!tmr0) return std::nullopt;
    const std::int64_t prescale = s.T0UsePs.isTrue() ? std::int64_t{s.T0PsDiv} : 1;
    return TimerReload{0, 256 - *tmr0, prescale, PeriodUs(256 - *tmr0, prescale, s.T0FreqMHz)};
}

std::optional<TimerReload> ReloadTimer1(const ProjectSettings& s) {
    if (!s.T1En.isTrue() || !s.T1ClockMode.equals(0)) return std::nullopt;
    const auto tmr1h = RegisterNumber(s.T1RegHighText.toText());
    const auto tmr1l = RegisterNumber(s.T1RegLowText);
    if (!tmr1h || !tmr1l) return std::nullopt;
    const std::int64_t counts = 65536 - (*tmr1h * 256 + *tmr1l);
    const double div = s.T1PsDiv.toNumber().value_or(1);
    const std::int64_t prescale = div >= 1 && div <= 8 ? static_cast<std::int64_t>(div) : 1;
    return TimerReload{1, counts, prescale, PeriodUs(counts, prescale, s.T1FreqMHz)};
}

// Only the two bits, so that Timer0's bits of OPTION_REG keep their values.
void BuildPortBOptions(const ProjectSettings& s, Body& out) {
    out.Blank();
    out.Comment({"//RB口功能设置"});
    if (s.Rb0Int != 0) {
        const bool rising = s.Rb0Edge == 1;
        out.Comment({"//RB0/INT中断,", rising ? "上升沿触发" : "下降沿触发"});
        out.SetBit("INTEDG", rising ? 1 : 0);
    }
    // RBPU is active low: 0 switches the pull-ups on.
    if (s.RbPullUp == 1) out.SetBit("RBPU", 0, "//打开RB口弱上拉");
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

void BuildTimer2(const ProjectSettings& s, Body& out) {
    out.Blank();
    out.Comment({"//Timer2初始化设置"});
    out.Comment({"//timer2使用预分频率1:", std::to_string(s.T2PsDiv)});
    // Only 1:1, 1:4 and 1:16 exist; index 2 and above all select 1:16.
    const std::int64_t ps = RoundedClampedIndex(s.T2PsIndex);
    const bool sixteen = ps >= 2;
    out.Set({{"T2CKPS0", sixteen ? 0 : BitAt(ps, 0), kBit}, {"T2CKPS1", sixteen ? 1 : 0, kBit}});
    const std::int64_t post = RoundedClampedIndex(s.T2PostIndex);
    out.Comment({"//timer2使用后分频率1:", std::to_string(post + 1)});
    for (int bit = 0; bit < 4; ++bit) out.SetBit("TOUTPS" + std::to_string(bit), BitAt(post, bit));
    out.Comment({"//定时器2定时时间为:", s.T2TimeUs.toText(), "uS,误差:", SingleText(s.T2ErrorUs), "uS"});
    // Timer2 restarts by itself on reaching PR2, so no reload is needed.
    if (const auto pr2 = RegisterNumber(s.T2RegText))
        out.Set({{"PR2", *pr2, kByte}}, "//TMR2计数到PR2后自动清零");
    if (!WritesInDataSheetOrder(s)) out.SetBit("TMR2ON", 1);
}

// Started last, before the PWM outputs it clocks are switched on.
void StartTimer2(const ProjectSettings&, Body& out) {
    out.SetBitAlone("TMR2ON", 1, "//启动Timer2");
}

}  // namespace korvane
