#include "generator/sections.h"

namespace korvane {

namespace {

void WriteSpbrg(const ProjectSettings& s, Body& out) {
    if (const auto spbrg = RegisterNumber(s.SciSpbrgText.toText()))
        out.Set({{"SPBRG", *spbrg, ValueForm::Byte}}, "// 通信波特率为" + s.SciBaud);
}

}  // namespace

void BuildSci(const ProjectSettings& s, Body& out) {
    // The data sheet's order: the baud rate, then the port on, then the
    // transmitter and receiver enabled by themselves.
    const bool inOrder = WritesInDataSheetOrder(s);
    if (s.SciSyncMode.equals(0)) {
        out.CommentKeepingLine("//串行口工作于异步方式");
    } else {
        out.CommentKeepingLine(s.SciClockSource.equals(1) ? "//串行口工作于同步主控方式"
                                                          : "//串行口工作于同步从动方式");
    }
    if (inOrder) WriteSpbrg(s, out);
    out.SetBit("SYNC", BitOf(s.SciSyncMode));
    if (s.SciSyncMode.equals(1)) {
        out.SetBit("CSRC", BitOf(s.SciClockSource));
        if (!inOrder)
            out.SetBit("CREN", BitOf(s.SciContinuous),
                       s.SciContinuous.equals(1) ? "//允许连续接收" : "//不允许边连续接收");
        if (s.SciClockSource.equals(1) && !inOrder) out.SetBit("SREN", BitOf(s.SciSingleRx));
    } else {
        if (!inOrder) out.SetBit("CREN", BitOf(s.SciRxEn));
        out.Set({{"BRGH", s.SciHighSpeed, ValueForm::Decimal}},
                s.SciHighSpeed == 1 ? "//高波特率方式:Baud Rate = Fosc/(16*(SPBRG+1))"
                                    : "//低波特率方式:Baud Rate = Fosc/(64*(SPBRG+1))");
    }
    if (!inOrder) out.SetBit("TXEN", BitOf(s.SciTxEn));
    out.SetBit("TX9", BitOf(s.SciTx9), s.SciTx9.equals(1) ? "//发送数据长度为9位" : "//发送数据长度为8位");
    out.SetBit("RX9", BitOf(s.SciRx9), s.SciRx9.equals(1) ? "//接收数据长度为9位" : "//接收数据长度为8位");
    if (!inOrder) WriteSpbrg(s, out);
    out.SetBit("SPEN", BitOf(s.SciEn));
    if (!inOrder) return;
    // Each set by itself, after the port is on: TXSTA's and RCSTA's other
    // bits stay as written above.
    const auto enable = [&](std::string_view bit, std::int64_t value, std::string_view comment) {
        if (value != 0) out.SetBitAlone(bit, value, comment);
    };
    enable("TXEN", BitOf(s.SciTxEn), "//允许发送");
    if (s.SciSyncMode.equals(1)) {
        enable("CREN", BitOf(s.SciContinuous), s.SciContinuous.equals(1) ? "//允许连续接收" : "");
        if (s.SciClockSource.equals(1)) enable("SREN", BitOf(s.SciSingleRx), "//单字节接收");
    } else {
        enable("CREN", BitOf(s.SciRxEn), "//允许接收");
    }
}

}  // namespace korvane
