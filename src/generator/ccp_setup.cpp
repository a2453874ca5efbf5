#include "generator/sections.h"
#include "generator/source_lines.h"
#include "settings/ccp_modules.h"

namespace korvane {

namespace {

void WriteModule(const ProjectSettings& s, const CcpModuleFields& m, SourceLines& out) {
    const std::string n(m.name);
    if ((s.*m.mode).equals(2)) {
        // PWM is always mode code 1100, whatever the stored code says.
        out.Line({" ", n, "M0=0;"});
        out.Line({" ", n, "M1=0;"});
        out.Line({" ", n, "M2=1;"});
        out.Line({" ", n, "M3=1;"});
        out.Line({" ", n, "Y=", (s.*m.y).toText(), ";"});
        out.Line({" ", n, "X=", (s.*m.x).toText(), ";"});
    } else {
        const std::int64_t code = RoundedClampedIndex(s.*m.modeCode);
        for (int bit = 0; bit < 4; ++bit) {
            out.Line({" ", n, "M", std::to_string(bit), "=", BitDigit(code, bit), ";"});
        }
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
