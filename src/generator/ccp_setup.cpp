#include "format/number_text.h"
#include "generator/sections.h"
#include "settings/ccp_modules.h"

namespace korvane {

namespace {

// Compare mode codes; the last resets Timer1 on a match (special event).
constexpr std::int64_t kFirstCompareCode = 8;
constexpr std::int64_t kSpecialEventCode = 11;
constexpr auto kByte = ValueForm::Byte;

void WriteModule(const ProjectSettings& s, const CcpModuleFields& m, Body& out) {
    const std::string n(m.name);
    // CCPRx is the register pair named after the module: CCPR1H, CCPR1L.
    const std::string r = "CCPR" + std::to_string(m.number);
    // PWM is always mode code 1100, whatever the stored code says.
    constexpr std::int64_t kPwmCode = 12;
    const bool pwm = (s.*m.mode).equals(2);
    const std::int64_t code = pwm ? kPwmCode : RoundedClampedIndex(s.*m.modeCode);
    for (int bit = 0; bit < 4; ++bit) out.SetBit(n + "M" + std::to_string(bit), BitAt(code, bit));
    if (pwm) {
        // No duty worked out (a duty longer than the period): none of its
        // ten bits is written, and the user was told.
        const std::int16_t dutyReg = s.*m.dutyReg;
        if (dutyReg < 0 || dutyReg > 255) return;
        out.Comment({"//PWM占空比:", (s.*m.dutyUs).toText(), "uS"});
        out.Set({{r + "L", dutyReg, kByte}});
        out.SetBit(n + "Y", BitOf(s.*m.y));
        out.SetBit(n + "X", BitOf(s.*m.x));
        return;
    }
    const float value = s.*m.compareValue;
    if (code < kFirstCompareCode || !(value >= 1 && value <= kLargestCompareValue)) return;
    const auto counts = static_cast<std::int64_t>(value);
    out.Comment({"//比较时间:", (s.*m.compareTimeUs).toText(), "uS",
                 code == kSpecialEventCode ? ",即Timer1的周期" : ""});
    out.Set({{r + "H", counts / 256, kByte}, {r + "L", counts % 256, kByte}});
}

void BuildCcp(const ProjectSettings& s, const CcpModuleFields& m, Body& out) {
    // CCP2's block always starts with an empty line, even as the first.
    if (m.number == 2) out.Blank();
    out.Comment({"//", m.name, "模块设置"});
    WriteModule(s, m, out);
}

}  // namespace

void BuildCcp1(const ProjectSettings& s, Body& out) {
    BuildCcp(s, kCcpModules[0], out);
}

void BuildCcp2(const ProjectSettings& s, Body& out) {
    BuildCcp(s, kCcpModules[1], out);
}

}  // namespace korvane
