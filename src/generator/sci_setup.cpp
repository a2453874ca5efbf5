#include "generator/sections.h"
#include "generator/source_lines.h"

namespace korvane {

std::string BuildSciSetup(const ProjectSettings& s, bool withComments) {
    if (!SciUsed(s)) return {};
    SourceLines out(withComments);
    out.Comment({"//SCI串行口初始化设置子程序"});
    out.Line({"void fun_sciset()"});
    out.Line({"{"});
    // Without comments the mode line stays as an empty line.
    if (!withComments) {
        out.Line({});
    } else if (s.SciSyncMode.equals(0)) {
        out.Line({"//串行口工作于异步方式"});
    } else {
        out.Line({s.SciClockSource.equals(1) ? "//串行口工作于同步主控方式" : "//串行口工作于同步从动方式"});
    }
    out.Line({" SYNC=", BitOf(s.SciSyncMode), ";"});
    if (s.SciSyncMode.equals(1)) {
        out.Line({" CSRC=", BitOf(s.SciClockSource), ";"});
        out.LineWithComment({" CREN=", BitOf(s.SciContinuous), ";"},
                            s.SciContinuous.equals(1) ? "//允许连续接收" : "//不允许边连续接收");
        if (s.SciClockSource.equals(1)) out.Line({" SREN=", BitOf(s.SciSingleRx), ";"});
    } else {
        out.Line({" CREN=", BitOf(s.SciRxEn), ";"});
        out.LineWithComment({" BRGH=", std::to_string(s.SciHighSpeed), ";"},
                            s.SciHighSpeed == 1 ? "//高波特率方式:Baud Rate = Fosc/(16*(SPBRG+1))"
                                                : "//低波特率方式:Baud Rate = Fosc/(64*(SPBRG+1))");
    }
    out.Line({" TXEN=", BitOf(s.SciTxEn), ";"});
    out.LineWithComment({" TX9=", BitOf(s.SciTx9), ";"},
                        s.SciTx9.equals(1) ? "//发送数据长度为9位" : "//发送数据长度为8位");
    out.LineWithComment({" RX9=", BitOf(s.SciRx9), ";"},
                        s.SciRx9.equals(1) ? "//接收数据长度为9位" : "//接收数据长度为8位");
    const std::string baudComment = "// 通信波特率为" + s.SciBaud;
    const std::string spbrgText = s.SciSpbrgText.toText();
    if (const auto spbrg = RegisterValue(spbrgText))
        out.LineWithComment({" SPBRG=", *spbrg, ";"}, baudComment);
    out.Line({" SPEN=", BitOf(s.SciEn), ";"});
    out.Line({"}"});
    return out.Take();
}

}  // namespace korvane
