#include "format/number_text.h"
#include "generator/sections.h"

namespace korvane {

namespace {
constexpr auto kBit = ValueForm::Bit;
constexpr auto kByte = ValueForm::Byte;
// The period the comment names holds from the first interrupt on.
constexpr std::string_view kReloadComment = "//重装初值,使每次中断间隔为设定的定时时间";
}  // namespace

void BuildTimer0(const ProjectSettings& s, Body& out) {
    out.Comment({"//Timer0初始化设置"});
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

void ReloadTimer0(const ProjectSettings& s, Body& out) {
    if (!s.T0En.isTrue() || s.T0ClockMode.equals(2)) return;
    if (const auto tmr0 = RegisterNumber(s.T0RegText)) out.Set({{"TMR0", *tmr0, kByte}}, kReloadComment);
}

void ReloadTimer1(const ProjectSettings& s, Body& out) {
    if (!s.T1En.isTrue() || !s.T1ClockMode.equals(0)) return;
    const auto tmr1h = RegisterNumber(s.T1RegHighText.toText());
    const auto tmr1l = RegisterNumber(s.T1RegLowText);
    if (tmr1h && tmr1l) out.Set({{"TMR1H", *tmr1h, kByte}, {"TMR1L", *tmr1l, kByte}}, kReloadComment);
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
    out.SetBit("TMR1ON", 1);
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
    out.SetBit("TMR2ON", 1);
}

}  // namespace korvane
