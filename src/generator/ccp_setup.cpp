#include "format/number_text.h"
#include "generator/sections.h"
#include "generator/source_lines.h"
#include "settings/ccp_modules.h"

namespace korvane {

namespace {

// Compare mode codes; the last resets Timer1 on a match (special event).
constexpr std::int64_t kFirstCompareCode = 8;
constexpr std::int64_t kSpecialEventCode = 11;

void WriteModule(const ProjectSettings& s, const CcpModuleFields& m, SourceLines& out) {
    const std::string n(m.name);
    // CCPRx is the register pair named after the module: CCPR1H, CCPR1L.
    const std::string r = "CCPR" + std::to_string(m.number);
    if ((s.*m.mode).equals(2)) {
        // PWM is always mode code 1100, whatever the stored code says.
        out.Line({" ", n, "M0=0;"});
        out.Line({" ", n, "M1=0;"});
        out.Line({" ", n, "M2=1;"});
        out.Line({" ", n, "M3=1;"});
        // No duty worked out (a duty longer than the period): none of its
        // ten bits is written, and the user was told.
        const std::int16_t dutyReg = s.*m.dutyReg;
        if (dutyReg < 0 || dutyReg > 255) return;
        out.Comment({"//PWM占空比:", (s.*m.dutyUs).toText(), "uS"});
        out.Line({" ", r, "L=", RegisterByteText(dutyReg), ";"});
        out.Line({" ", n, "Y=", BitOf(s.*m.y), ";"});
        out.Line({" ", n, "X=", BitOf(s.*m.x), ";"});
    } else {
        const std::int64_t code = RoundedClampedIndex(s.*m.modeCode);
        for (int bit = 0; bit < 4; ++bit) {
            out.Line({" ", n, "M", std::to_string(bit), "=", BitDigit(code, bit), ";"});
        }
        const float value = s.*m.compareValue;
        if (code < kFirstCompareCode || !(value >= 1 && value <= kLargestCompareValue)) return;
        const auto counts = static_cast<std::int64_t>(value);
        out.Comment({"//比较时间:", (s.*m.compareTimeUs).toText(), "uS",
                     code == kSpecialEventCode ? ",即Timer1的周期" : ""});
        out.Line({" ", r, "H=", RegisterByteText(counts / 256), ";", r, "L=", RegisterByteText(counts % 256),
                  ";"});
    }
}

}  // namespace

std::string BuildCcpSetup(const ProjectSettings& s, bool withComments) {
    if (!AnyCcpUsed(s)) return {};
    SourceLines out(withComments);
    out.Comment({"//CCP初始化设置子程序"});
    out.Line({"void fun_ccpset()"});
    out.Line({"{"});
    for (const CcpModuleFields& m : kCcpModules) {
        if (!(s.*m.enabled).isTrue()) continue;
        // CCP2's block always starts with an empty line, even as the first.
        if (m.number == 2) out.Line({});
        out.Comment({"//", m.name, "模块设置"});
        WriteModule(s, m, out);
    }
    out.Line({"}"});
    return out.Take();
}

}  // namespace korvane
