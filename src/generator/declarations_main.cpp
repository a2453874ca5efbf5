#include "generator/sections.h"
#include "generator/source_lines.h"
#include "settings/ad_converter.h"
#include "settings/mssp.h"

namespace korvane {

std::string BuildDeclarations(const ProjectSettings& s, bool withComments) {
    SourceLines out(withComments);
    out.Comment({"// 函数声明部份"});
    if (AnyInterrupt(s)) {
        out.Line({"void interrupt IRQ(void);"});
        out.Line({"void fun_intset();"});
    }
    if (AnyPortUsed(s)) out.Line({"void set_port();"});
    if (TimerSetupWritten(s)) out.Line({"void fun_timerset();"});
    if (AnyCcpUsed(s)) out.Line({"void fun_ccpset();"});
    if (SciUsed(s)) out.Line({"void fun_sciset();"});
    if (MsspUsed(s)) out.Line({"void fun_msspset();"});
    if (AdUsed(s)) out.Line({"void fun_adset();"});
    // The RB change branch stores PORTB here, where main may read it too.
    if (s.RbChangeInt != 0)
        out.LineWithComment({"volatile unsigned char portb_state;"}, "//RB口电平变化中断时读到的PORTB值");
    return out.Take();
}

std::string BuildMain(const ProjectSettings& s, bool withComments) {
    SourceLines out(withComments);
    out.Comment({"// 主函数"});
    out.Line({"void main()"});
    out.Line({"{"});
    if (AnyPortUsed(s)) out.Line({" set_port();"});
    if (TimerSetupWritten(s)) out.Line({" fun_timerset();"});
    if (AnyCcpUsed(s)) out.Line({" fun_ccpset();"});
    if (SciUsed(s)) out.Line({" fun_sciset();"});
    if (MsspUsed(s)) out.Line({" fun_msspset();"});
    if (AdUsed(s)) out.Line({" fun_adset();"});
    // Interrupts are switched on last, once every peripheral is set up.
    if (AnyInterrupt(s)) out.Line({" fun_intset();"});
    out.Line({"}"});
    return out.Take();
}

}  // namespace korvane
