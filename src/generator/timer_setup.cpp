#include "format/number_text.h"
#include "generator/sections.h"
#include "generator/source_lines.h"

namespace korvane {

namespace {

void WriteTimer0(const ProjectSettings& s, SourceLines& out) {
    out.Comment({"//Timer0初始化设置"});
    if (s.T0UsePs.isTrue()) {
        out.LineWithComment({" PSA=0;"}, "//Timer0 使用预分频器");
        out.Comment({"//Timer0选择分频率为1:", std::to_string(s.T0PsDiv)});
        const std::int64_t ps = RoundedClampedIndex(s.T0PsIndex);
        out.Line({" PS0=", BitDigit(ps, 0), ";", "PS1=", BitDigit(ps, 1), ";", "PS2=", BitDigit(ps, 2), ";"});
    }
    if (!s.T0ClockMode.equals(2)) {
        if (s.T0ClockMode.equals(0)) {
            out.Comment({"//内部时钟定时方式,定时时间:", s.T0TimeUs.toText(),
                         "uS,误差:", SingleText(s.T0ErrorUs), "uS"});
        } else {
            out.Comment({"//外部时钟定时方式"});
        }
        out.Line({" T0CS=", BitOf(s.T0ClockMode), ";"});
        if (const auto tmr0 = RegisterValue(s.T0RegText)) out.Line({" TMR0=", *tmr0, ";"});
    } else {
        const bool falling = s.T0Edge.equals(0);
        out.Comment({"//外部时钟计数方式,", falling ? "下降沿触发" : "上升沿触发"});
        out.Line({" T0CS=1", ";"});
        out.Line({" TMR0=0x00", ";"});
        // T0SE set counts on the falling edge of T0CKI, cleared on the rising one.
        out.Line({" T0SE=", falling ? "1" : "0", ";"});
    }
}

// Only the two bits, so that Timer0's bits of OPTION_REG keep their values.
void WritePortBOptions(const ProjectSettings& s, SourceLines& out) {
    out.Line({});
    out.Comment({"//RB口功能设置"});
    if (s.Rb0Int != 0) {
        const bool rising = s.Rb0Edge == 1;
        out.Comment({"//RB0/INT中断,", rising ? "上升沿触发" : "下降沿触发"});
        out.Line({" INTEDG=", rising ? "1" : "0", ";"});
    }
    // RBPU is active low: 0 switches the pull-ups on.
    if (s.RbPullUp == 1) out.LineWithComment({" RBPU=0;"}, "//打开RB口弱上拉");
}

void WriteTimer1(const ProjectSettings& s, SourceLines& out) {
    out.Line({});
    out.Comment({"//Timer1初始化设置"});
    out.Comment({"//timer1使用预分频率1:", s.T1PsDiv.toText()});
    const std::int64_t ps = RoundedClampedIndex(s.T1PsIndex);
    out.Line({" T1CKPS0=", BitDigit(ps, 0), ";", "T1CKPS1=", BitDigit(ps, 1), ";"});
    out.Comment({s.T1OscEn != 0 ? "//使用T1内部振荡器" : "//不使用T1内部振荡器"});
    out.Line({" T1OSCEN=", std::to_string(s.T1OscEn), ";"});
    if (s.T1ClockMode.equals(0)) {
        out.Comment({"//Timer1工作定时器模式,定时时间:", s.T1TimeUs.toText(),
                     "uS,误差:", SingleText(s.T1ErrorUs), "uS"});
        out.Line({" TMR1CS=0;"});
        const std::string high = s.T1RegHighText.toText();
        const auto tmr1h = RegisterValue(high);
        const auto tmr1l = RegisterValue(s.T1RegLowText);
        if (tmr1h && tmr1l) out.Line({" TMR1H=", *tmr1h, ";", "TMR1L=", *tmr1l, ";"});
    } else {
        const bool synchronised = s.T1SyncMode.equals(0);
        out.Comment({synchronised ? "//Timer1工作计数器模式(与外部时钟同步)"
                                  : "//Timer1工作计数器模式(与外部时钟不同步)"});
        // External clock on T1CKI; the chip's T1SYNC bit is active-low, so 0
        // synchronises the counter with the external clock.
        out.Line({" TMR1CS=1;", "T1SYNC=", synchronised ? "0" : "1", ";"});
        out.Line({" TMR1H=TMR1L=0x00;"});
    }
    out.Line({" TMR1ON=1;"});
}

void WriteTimer2(const ProjectSettings& s, SourceLines& out) {
    out.Line({});
    out.Comment({"//Timer2初始化设置"});
    out.Comment({"//timer2使用预分频率1:", std::to_string(s.T2PsDiv)});
    // Only 1:1, 1:4 and 1:16 exist; index 2 and above all select 1:16.
    const std::int64_t ps = RoundedClampedIndex(s.T2PsIndex);
    const bool sixteen = ps >= 2;
    out.Line({" T2CKPS0=", sixteen ? "0" : BitDigit(ps, 0), ";", "T2CKPS1=", sixteen ? "1" : "0", ";"});
    const std::int64_t post = RoundedClampedIndex(s.T2PostIndex);
    out.Comment({"//timer2使用后分频率1:", std::to_string(post + 1)});
    out.Line({" TOUTPS0=", BitDigit(post, 0), ";"});
    out.Line({" TOUTPS1=", BitDigit(post, 1), ";"});
    out.Line({" TOUTPS2=", BitDigit(post, 2), ";"});
    out.Line({" TOUTPS3=", BitDigit(post, 3), ";"});
    out.Comment({"//定时器2定时时间为:", s.T2TimeUs.toText(), "uS,误差:", SingleText(s.T2ErrorUs), "uS"});
    // Timer2 restarts by itself on reaching PR2, so no reload is needed.
    if (const auto pr2 = RegisterValue(s.T2RegText))
        out.LineWithComment({" PR2=", *pr2, ";"}, "//TMR2计数到PR2后自动清零");
    out.Line({" TMR2ON=1;"});
}

}  // namespace

std::string BuildTimerSetup(const ProjectSettings& s, bool withComments) {
    if (!TimerSetupWritten(s)) return {};
    SourceLines out(withComments);
    out.Comment({"//定时器初始化设置子程序"});
    out.Line({"void fun_timerset()"});
    out.Line({"{"});
    if (s.T0En.isTrue()) WriteTimer0(s, out);
    if (PortBOptionsWritten(s)) WritePortBOptions(s, out);
    if (s.T1En.isTrue()) WriteTimer1(s, out);
    if (s.T2En.isTrue()) WriteTimer2(s, out);
    out.Line({"}"});
    return out.Take();
}

}  // namespace korvane
