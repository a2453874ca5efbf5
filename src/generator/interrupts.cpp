#include <array>

#include "generator/sections.h"
#include "generator/source_lines.h"

namespace korvane {

namespace {

constexpr std::string_view kPortBStateRead = "   portb_state=PORTB;";

struct InterruptSource {
    bool serviced;    // gets a branch in IRQ
    bool enabled;     // gets its enable bit in fun_intset
    bool peripheral;  // its enable bit (PIE1/PIE2) takes effect only with PEIE set
    std::string_view flag;
    std::string_view serviceComment;
    std::string_view enableBit;
    std::string_view enableComment;
    // A statement the branch needs before the flag can be cleared, with its comment.
    std::string_view beforeClear = {};
    std::string_view beforeClearComment = {};
};

// The sources in the order both functions handle them. A CCP branch
// follows whether the module is used; its enable line follows its interrupt.
// One row a source, as the table reads best.
// clang-format off
auto Sources(const ProjectSettings& s) {
    return std::to_array<InterruptSource>({
        {s.T0Int != 0, s.T0Int != 0, false, "T0IF", "    //Timer0中断服务子程序", " T0IE=1;", "//Tiemr0中断允许"},
        {s.Rb0Int != 0, s.Rb0Int != 0, false, "INTF", "    //RB0/INT中断服务子程序", " INTE=1;", "//RB0/INT中断允许"},
        // RBIF is set again at once while RB4..RB7 differ from what PORTB last
        // read. The value is stored: a read whose value is dropped some
        // compilers leave out, volatile or not.
        {s.RbChangeInt != 0, s.RbChangeInt != 0, false, "RBIF", "    //RB口电平变化中断服务子程序", " RBIE=1;", "//RB口电平变化中断允许",
         kPortBStateRead, "//先读PORTB结束电平失配,否则RBIF清零后又被置位,中断反复进入"},
        {s.T1Int != 0, s.T1Int != 0, true, "TMR1IF", "    //Timer1中断服务子程序", " TMR1IE=1;", "//Tiemr1中断允许"},
        {s.T2Int != 0, s.T2Int != 0, true, "TMR2IF", "    //Timer2中断服务子程序", " TMR2IE=1;", "//Tiemr2中断允许"},
        {s.Ccp1En.isTrue(), s.Ccp1Int != 0, true, "CCP1IF", "    //CCP1中断服务子程序", " CCP1IE=1;", "//CCP1中断允许"},
        {s.Ccp2En.isTrue(), s.Ccp2Int != 0, true, "CCP2IF", "    //CCP2中断服务子程序", " CCP2IE=1;", "//CCP2中断允许"},
        {s.SciTxInt.equals(1), s.SciTxInt.equals(1), true, "TXIF", "    //SCI串行口发送中断服务子程序", " TXIE=1;", "//SCI串行口发送中断允许"},
        {s.SciRxInt == 1, s.SciRxInt == 1, true, "RCIF", "    //SCI串行口接收中断服务子程序", " RCIE=1;", "//SCI串行口接收中断允许"},
        {SspInterrupt(s), SspInterrupt(s), true, "SSPIF", "    //MSSP中断服务子程序", " SSPIE=1;", "//MSSP中断允许"},
        {BusCollisionInterrupt(s), BusCollisionInterrupt(s), true, "BCLIF", "    //I2C总线冲突中断服务子程序", " BCLIE=1;", "//I2C总线冲突中断允许"},
        {AdInterrupt(s), AdInterrupt(s), true, "ADIF", "    //A/D转换中断服务子程序", " ADIE=1;", "//A/D转换中断允许"},
    });
}
// clang-format on

}  // namespace

std::string BuildInterruptService(const ProjectSettings& s, bool withComments) {
    if (!AnyInterrupt(s)) return {};
    SourceLines out(withComments);
    out.Comment({"//中断子程序"});
    out.Line({"void interrupt IRQ(void)"});
    out.Line({"{"});
    for (const InterruptSource& source : Sources(s)) {
        if (!source.serviced) continue;
        out.Line({" if(", source.flag, ")"});
        out.Line({"  {"});
        if (!source.beforeClear.empty()) out.LineWithComment({source.beforeClear}, source.beforeClearComment);
        out.Line({"   ", source.flag, "=0;"});
        out.Comment({source.serviceComment});
        out.Line({"  }"});
    }
    out.Line({"}"});
    return out.Take();
}

std::string BuildInterruptEnable(const ProjectSettings& s, bool withComments) {
    if (!AnyInterrupt(s)) return {};
    SourceLines out(withComments);
    out.Comment({"//中断允许设置子程序"});
    out.Line({"void fun_intset()"});
    out.Line({"{"});
    bool anyPeripheral = false;
    for (const InterruptSource& source : Sources(s)) {
        if (!source.enabled) continue;
        out.LineWithComment({source.enableBit}, source.enableComment);
        anyPeripheral = anyPeripheral || source.peripheral;
    }
    if (anyPeripheral) out.LineWithComment({" PEIE=1;"}, "//外设中断允许");
    out.Line({" GIE=1;"});
    out.Line({"}"});
    return out.Take();
}

}  // namespace korvane
