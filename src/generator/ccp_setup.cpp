#include "generator/sections.h"
#include "generator/source_lines.h"

namespace korvane {

namespace {

struct CcpModule {
    std::string_view name;  // "CCP1" or "CCP2"
    const SettingValue& mode;
    const SettingValue& modeCode;
    const SettingValue& y;
    const SettingValue& x;
};

void WriteModule(const CcpModule& m, SourceLines& out) {
    const std::string n(m.name);
    if (m.mode.equals(2)) {
        // PWM is always mode code 1100, whatever the stored code says.
        out.Line({" ", n, "M0=0;"});
        out.Line({" ", n, "M1=0;"});
        out.Line({" ", n, "M2=1;"});
        out.Line({" ", n, "M3=1;"});
        out.Line({" ", n, "Y=", m.y.toText(), ";"});
        out.Line({" ", n, "X=", m.x.toText(), ";"});
    } else {
        const std::int64_t code = RoundedClampedIndex(m.modeCode);
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
    if (s.Ccp1En.isTrue()) {
        out.Comment({"//CCP1模块设置"});
        WriteModule({"CCP1", s.Ccp1Mode, s.Ccp1M, s.Ccp1Y, s.Ccp1X}, out);
    }
    if (s.Ccp2En.isTrue()) {
        out.Line({});
        out.Comment({"//CCP2模块设置"});
        WriteModule({"CCP2", s.Ccp2Mode, s.Ccp2M, s.Ccp2Y, s.Ccp2X}, out);
    }
    out.Line({"}"});
    return out.Take();
}

}  // namespace korvane
