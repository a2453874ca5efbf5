#include "format/number_text.h"
#include "generator/sections.h"
#include "settings/ccp_modules.h"

namespace korvane {

namespace {

// Compare mode codes; the last resets Timer1 on a match (special event).
constexpr std::int64_t kFirstCompareCode = 8;
constexpr std::int64_t kSpecialEventCode = 11;
constexpr auto kByte = ValueForm::Byte;
// PWM is always mode code 1100, whatever the stored code says.
constexpr std::int64_t kPwmCode = 12;

bool IsPwm(const ProjectSettings& s, const CcpModuleFields& m) {
    return (s.*m.mode).equals(2);
}

bool HasDuty(const ProjectSettings& s, const CcpModuleFields& m) {
    return s.*m.dutyReg >= 0 && s.*m.dutyReg <= 255;
}

void WriteMode(std::int64_t code, const CcpModuleFields& m, Body& out) {
    for (int bit = 0; bit < 4; ++bit)
        out.SetBit(std::string(m.name) + "M" + std::to_string(bit), BitAt(code, bit));
}

// The duty's two low bits, which share CCPxCON with the mode.
void WriteDutyLowBits(const ProjectSettings& s, const CcpModuleFields& m, Body& out) {
    out.SetBit(std::string(m.name) + "Y", BitOf(s.*m.y));
    out.SetBit(std::string(m.name) + "X", BitOf(s.*m.x));
}

void WriteModule(const ProjectSettings& s, const CcpModuleFields& m, Body& out) {
    // CCPRx is the register pair named after the module: CCPR1H, CCPR1L.
    const std::string r = "CCPR" + std::to_string(m.number);
    const bool pwm = IsPwm(s, m);
    const std::int64_t code = pwm ? kPwmCode : RoundedClampedIndex(s.*m.modeCode);
    const bool inOrder = WritesInDataSheetOrder(s);
    // In the data sheet's order the mode comes after CCPRx (a compare could
    // match an undefined CCPRx) and, for a PWM, after Timer2 starts.
    if (!inOrder) WriteMode(code, m, out);
    if (pwm) {
        // No duty worked out (a duty longer than the period): none of its
        // ten bits is written, and the user was told.
        if (!HasDuty(s, m)) return;
        out.Comment({"//PWM占空比:", (s.*m.dutyUs).toText(), "uS"});
        out.Set({{r + "L", s.*m.dutyReg, kByte}});
        if (!inOrder) WriteDutyLowBits(s, m, out);
        return;
    }
    const float value = s.*m.compareValue;
    if (code >= kFirstCompareCode && value >= 1 && value <= kLargestCompareValue) {
        const auto counts = static_cast<std::int64_t>(value);
        out.Comment({"//比较时间:", (s.*m.compareTimeUs).toText(), "uS",
                     code == kSpecialEventCode ? ",即Timer1的周期" : ""});
        out.Set({{r + "H", counts / 256, kByte}, {r + "L", counts % 256, kByte}});
    }
    if (inOrder) WriteMode(code, m, out);
}

void BuildCcp(const ProjectSettings& s, const CcpModuleFields& m, Body& out) {
    // CCP2's block always starts with an empty line, even as the first.
    if (m.number == 2) out.Blank();
    out.Comment({"//", m.name, "模块设置"});
    WriteModule(s, m, out);
}

// A PWM output is switched on after Timer2 runs, its duty's low bits with
// its mode: the data sheet's PWM order.
void StartPwm(const ProjectSettings& s, const CcpModuleFields& m, Body& out) {
    if (!IsPwm(s, m)) return;
    if (HasDuty(s, m)) WriteDutyLowBits(s, m, out);
    WriteMode(kPwmCode, m, out);
}

}  // namespace

void StartCcp1(const ProjectSettings& s, Body& out) {
    StartPwm(s, kCcpModules[0], out);
}

void StartCcp2(const ProjectSettings& s, Body& out) {
    StartPwm(s, kCcpModules[1], out);
}

void BuildCcp1(const ProjectSettings& s, Body& out) {
    BuildCcp(s, kCcpModules[0], out);
}

void BuildCcp2(const ProjectSettings& s, Body& out) {
    BuildCcp(s, kCcpModules[1], out);
}

}  // namespace korvane
