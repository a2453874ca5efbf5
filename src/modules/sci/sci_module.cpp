#include "modules/sci/sci_module.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "generator/sections.h"
#include "settings/output_form.h"

namespace korvane {

namespace {

void WriteSpbrg(const ProjectSettings& s, Body& out) {
    if (const auto spbrg = RegisterNumber(s.SciSpbrgText.toText()))
        out.Set({{"SPBRG", *spbrg, ValueForm::Byte}}, "// 通信波特率为" + s.SciBaud);
}

bool SciUsed(const ProjectSettings& s) {
    return s.SciEn.equals(1);
}

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

constexpr InterruptSource kInterrupts[] = {
    {.serviced = [](const ProjectSettings& s) { return s.SciTxInt.equals(1); },
     .enabled = [](const ProjectSettings& s) { return s.SciTxInt.equals(1); },
     .peripheral = true,
     .flag = "TXIF",
     .serviceComment = "//SCI串行口发送中断服务子程序",
     .enableBit = "TXIE",
     .enableComment = "//SCI串行口发送中断允许",
     .service = Service::SendData,
     .dataRegister = "TXREG",
     .dataVariable = "sci_tx",
     .driverService = Service::RingSend},
    {.serviced = [](const ProjectSettings& s) { return s.SciRxInt == 1; },
     .enabled = [](const ProjectSettings& s) { return s.SciRxInt == 1; },
     .peripheral = true,
     .flag = "RCIF",
     .serviceComment = "//SCI串行口接收中断服务子程序",
     .enableBit = "RCIE",
     .enableComment = "//SCI串行口接收中断允许",
     .service = Service::ReadData,
     .dataRegister = "RCREG",
     .dataVariable = "sci_rx",
     .driverService = Service::RingReceive},
};

// RC6 is TX (or CK), RC7 RX (or DT).
constexpr int kTxPin = 6, kRxPin = 7;

// The USART drives TX itself, but only with both TRIS bits set.
void ClaimPins(const ProjectSettings& s, std::vector<PinClaim>& out) {
    if (!SciUsed(s)) return;
    const bool sync = s.SciSyncMode.equals(1);
    out.push_back({PinUse::Sci, kPortC, kTxPin, true, sync ? PinSignal::Bus : PinSignal::DrivenOutput});
    out.push_back({PinUse::Sci, kPortC, kRxPin, true, sync ? PinSignal::Bus : PinSignal::DigitalInput});
}

constexpr PinUseTexts kPinUses[] = {
    {PinUse::Sci, "SciEn", "SCI串行口", "关闭SCI串行口"},
};

std::string PinText(const ProjectSettings& s, const PinClaim& claim) {
    const bool tx = claim.pin == kTxPin;
    if (s.SciSyncMode.equals(1)) return tx ? "SCI同步时钟CK" : "SCI同步数据DT";
    return tx ? "SCI发送TX" : "SCI接收RX";
}

// A serial port in use gets the SPBRG of its rate, or of the slowest usable
// one when that rate is not (said, unless no rate was chosen yet), and goes
// off when none is.
void Settle(ProjectSettings& s, const NumberLocale& locale, std::vector<SettingProblem>& problems) {
    using Kind = SettingProblem::Kind;
    const BaudCalcResult baud =
        CalcBaudList({s.CrystalMHz, SciBaudDivisor(s), s.SciErrLimit.toText(), locale});
    const BaudEntry* chosen = FindBaudEntry(baud.entries, s.SciBaud);
    // A port not in use keeps its rate for the next opening of its dialog.
    if (chosen || !s.SciEn.equals(1)) {
        s.SciSpbrgText = chosen ? chosen->spbrgText : std::string();
        return;
    }
    chosen = baud.chosen();
    if (!chosen) {
        s.SciEn = 0;
        s.SciSpbrgText = std::string();
        problems.push_back(
            {Kind::Baud, "SciBaud", std::string(kNoUsableRateTitle), NoUsableRateText(s.CrystalMHz)});
        return;
    }
    if (!s.SciBaud.empty())
        problems.push_back({Kind::Baud, "SciBaud", std::string(kRateChangedTitle),
                            RateChangedText(s.SciBaud, chosen->rateText, s.CrystalMHz)});
    s.SciBaud = chosen->rateText;
    s.SciSpbrgText = chosen->spbrgText;
}

bool DriversAsked(const ProjectSettings& s) {
    return SciUsed(s) && s.SciDrivers != 0;
}

// The ring buffers' names follow the branches' variables.
void Drivers(const ProjectSettings& s, std::vector<Driver>& out, std::vector<Global>& globals) {
    const Ring rx = RingOf("sci_rx");
    const Ring tx = RingOf("sci_tx");
    const auto ring = [&](const Ring& r, std::int16_t size, const char* what) {
        globals.push_back({"#define " + r.size + " " + std::to_string(size),
                           "//" + std::string(what) + "缓冲区字节数(2的幂)"});
        globals.push_back({"volatile unsigned char " + r.buffer + "[" + r.size + "];",
                           "//" + std::string(what) + "缓冲区"});
        globals.push_back({"volatile unsigned char " + r.head + ", " + r.tail + ";",
                           "//" + std::string(what) + "缓冲区的写入和取出位置,各只由一方改动"});
    };
    ring(rx, s.SciRxBuffer, "接收");
    ring(tx, s.SciTxBuffer, "发送");
    out.push_back({"unsigned char sci_write(unsigned char byte)",
                   "//放入一个要发送的字节;不等待;放入返回1,发送缓冲区满返回0",
                   {"if ((unsigned char)(" + tx.head + " - " + tx.tail + ") == " + tx.size + ") return 0;",
                    tx.buffer + "[" + tx.head + " & (" + tx.size + " - 1)] = byte;", tx.head + "++;",
                    "{TXIE} = 1;", "return 1;"}});
    out.push_back({"void sci_put(unsigned char byte)",
                   "//发送一个字节;发送缓冲区满时等待(会阻塞,不可在中断中调用);无返回值",
                   {"while (!sci_write(byte))", "    ;"}});
    out.push_back({"unsigned char sci_read(void)",
                   "//取出一个收到的字节;不等待;没有字节时返回0,先用sci_rx_count()判断",
                   {"unsigned char byte;", "if (" + rx.head + " == " + rx.tail + ") return 0;",
                    "byte = " + rx.buffer + "[" + rx.tail + " & (" + rx.size + " - 1)];", rx.tail + "++;",
                    "return byte;"}});
    out.push_back({"unsigned char sci_rx_count(void)",
                   "//接收缓冲区中的字节数;不等待",
                   {"return (unsigned char)(" + rx.head + " - " + rx.tail + ");"}});
    out.push_back(
        {"unsigned char sci_tx_room(void)",
         "//发送缓冲区的空位数;不等待",
         {"return (unsigned char)(" + tx.size + " - (unsigned char)(" + tx.head + " - " + tx.tail + "));"}});
    // printf's character output: XC8 calls putch, SDCC putchar.
    if (OutputFormOf(s) == OutputFormId::Xc8)
        out.push_back({"void putch(char c)",
                       "//printf的输出:经发送缓冲区发送;缓冲区满时等待(会阻塞)",
                       {"sci_put((unsigned char)c);"}});
    else
        out.push_back({"int putchar(int c)",
                       "//printf的输出:经发送缓冲区发送;缓冲区满时等待(会阻塞);返回c",
                       {"sci_put((unsigned char)c);", "return c;"}});
}

// Ring buffer sizes are powers of two, for the mask.
void Rules(const ProjectSettings& s, std::vector<RuleBreach>& out) {
    for (const auto& [name, size] :
         {std::pair{"SciRxBuffer", s.SciRxBuffer}, std::pair{"SciTxBuffer", s.SciTxBuffer}})
        if (std::ranges::find(kRingSizes, size) == std::end(kRingSizes))
            out.push_back({name, std::to_string(size), "应为2的幂(4到64)"});
}

}  // namespace

constexpr Module kSciModule = {
    .name = "SCI",
    .setup = SetupId::Sci,
    .writesSetup = SciUsed,
    .build = BuildSci,
    .interrupts = kInterrupts,
    .claimPins = ClaimPins,
    .pinUses = kPinUses,
    .pinText = PinText,
    .settle = Settle,
    .rules = Rules,
    .driversOn = DriversAsked,
    .drivers = Drivers,
    // A 20 MHz project whose only interrupts are the drivers': the routine
    // they need is counted in.
    .driverBudget = {.words = 375, .ram = 24},
    .driverBuffers = [](const ProjectSettings& s) { return s.SciRxBuffer + s.SciTxBuffer; },
    .form = FormId::Sci,
};

}  // namespace korvane
