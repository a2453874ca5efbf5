#include "generator/modern_writer.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <string_view>

#include "format/number_text.h"
#include "generator/interrupt_timing.h"
#include "generator/register_bits.h"
#include "generator/source_lines.h"
#include "generator/user_code.h"

namespace korvane {

namespace {

constexpr std::string_view kIndent = "    ";
// Where the compiler chooses the instructions, the cycles between reading
// and writing the count are not known here, and the comment says so.
constexpr std::string_view kUnmeasuredReload =
    "//"
    "重装:初值加到正在计数的值上,间隔不受进入中断的延迟和用户代码影响;编译器读写计数之间的几个周期未计入,"
    "间隔可能略长";
// The period the comment names holds from the first interrupt on.
constexpr std::string_view kReloadComment = "//重装初值,使每次中断间隔为设定的定时时间";

std::string ValueText(const Write& write) {
    return write.form == ValueForm::Byte ? RegisterByteText(write.value) : std::to_string(write.value);
}

// XC8's headers name a bit through its register's union ("PIR1bits.TMR1IF");
// SDCC's define the bare name as that member, so the union would be named twice.
std::string BitName(std::string_view bit, OutputFormId form) {
    const auto place = PlaceOfBit(bit);
    if (!place || form != OutputFormId::Xc8) return std::string(bit);
    return std::string(place->reg) + "bits." + std::string(bit);
}

std::string_view ClearWatchdogStatement(OutputFormId form) {
    return form == OutputFormId::Xc8 ? "CLRWDT();" : "__asm clrwdt __endasm;";
}

// The steps as statements: registers the model folded are written whole,
// a bit set alone is named through its register where the form wants that.
void WriteBody(const std::vector<Step>& steps, std::string_view indent, OutputFormId form, SourceLines& out) {
    for (const Step& step : steps) {
        if (std::holds_alternative<Blank>(step)) {
            out.Line({});
        } else if (const auto* note = std::get_if<Note>(&step)) {
            out.Comment({indent, note->text});
        } else if (const auto* clear = std::get_if<ClearWatchdog>(&step)) {
            out.LineWithComment({indent, ClearWatchdogStatement(form)}, "  " + clear->comment);
        } else if (const auto* wait = std::get_if<Wait>(&step)) {
            // XC8 counts the delay from _XTAL_FREQ; SDCC has no such macro.
            if (form == OutputFormId::Xc8)
                out.LineWithComment({indent, "__delay_us(", std::to_string(wait->microseconds), ");"},
                                    "  " + wait->comment);
            else
                out.LineWithComment({indent, "{ volatile unsigned char n = ", std::to_string(wait->loops),
                                     "; while (n) n--; }"},
                                    "  " + wait->comment);
        } else if (const auto* read = std::get_if<Read>(&step)) {
            out.LineWithComment({indent, read->variable, " = ", read->source, ";"}, "  " + read->comment);
        } else if (const auto* assign = std::get_if<Assign>(&step)) {
            for (const Write& write : assign->writes) {
                const bool last = &write == &assign->writes.back() && !assign->comment.empty();
                out.LineWithComment({indent, assign->alone ? BitName(write.target, form) : write.target,
                                     " = ", ValueText(write), ";"},
                                    last ? "  " + assign->comment : std::string());
            }
        }
    }
}

// The user's region: written with comments or without, as it is the place
// an update puts the user's code back.
void UserRegion(std::string_view indent, std::string_view name, SourceLines& out) {
    if (name.empty()) return;
    out.Line({indent, RegionStart(name)});
    out.Line({indent, RegionEnd(name)});
}

constexpr std::string_view kXc8Header = "#include <xc.h>";
constexpr std::string_view kSdccHeader = "#include <stdint.h>";  // after the part's own

void Header(const Program& program, OutputFormId form, SourceLines& out) {
    if (form == OutputFormId::Xc8) {
        out.Line({kXc8Header});
    } else {
        out.Line({"#include <", program.part, ".h>"});
        out.Line({kSdccHeader});
    }
    if (program.config) {
        std::string choices = "//配置字:";
        for (const std::string& choice : program.config->choices) (choices += ' ') += choice;
        out.Comment({choices});
        std::string fields;
        for (const ConfigOption& field : program.config->fields) {
            if (form == OutputFormId::Xc8)
                fields += (fields.empty() ? "" : ", ") + field.directive + " = " + field.option;
            else
                fields += (fields.empty() ? "_" : " & _") + field.directive + "_" + field.option;
        }
        if (form == OutputFormId::Xc8)
            out.Line({"#pragma config ", fields});
        else
            out.Line({"static __code uint16_t __at(_CONFIG) configword = ", fields, ";"});
    }
    if (!program.drivers.empty())
        out.Comment({"//驱动函数约占程序存储器", std::to_string(program.driverWords), "字、RAM ",
                     std::to_string(program.driverRam), "字节(另有缓冲区",
                     std::to_string(program.driverBuffers), "字节),按SDCC编译、与不生成驱动函数时相比"});
    // The delay macros of XC8 read the crystal from here.
    if (form == OutputFormId::Xc8) out.Line({"#define _XTAL_FREQ ", std::to_string(program.crystalHz)});
    out.Line({});
}

std::string_view RoutineHead(OutputFormId form) {
    return form == OutputFormId::Xc8 ? "void __interrupt() isr(void)" : "void isr(void) __interrupt(0)";
}

void Declarations(const Program& program, OutputFormId form, SourceLines& out) {
    out.Comment({"// 函数声明部份"});
    for (const Function& function : program.setups) out.Line({"void ", function.name, "(void);"});
    if (program.interrupts) out.Line({RoutineHead(form), ";"});
    if (program.interruptEnable) out.Line({"void ", program.interruptEnable->name, "(void);"});
    for (const Driver& driver : program.drivers) {
        out.Comment({driver.comment});
        out.Line({driver.declaration, ";"});
    }
    for (const Global& global : program.globals)
        out.LineWithComment({global.declaration}, "  " + global.comment);
    UserRegion({}, program.globalsRegion, out);
    out.Line({});
}

void Main(const Program& program, OutputFormId form, SourceLines& out) {
    out.Comment({"// 主函数"});
    out.Line({"void main(void)"});
    out.Line({"{"});
    for (const Function& function : program.setups) out.Line({kIndent, function.name, "();"});
    // Interrupts are switched on last, once every peripheral is set up.
    if (program.interruptEnable) out.Line({kIndent, program.interruptEnable->name, "();"});
    UserRegion(kIndent, program.beforeLoopRegion, out);
    out.Line({kIndent, "while (1) {"});
    UserRegion(std::string(kIndent) + std::string(kIndent), program.loopRegion, out);
    if (program.watchdog) {
        out.LineWithComment({kIndent, kIndent, ClearWatchdogStatement(form)},
                            "  //看门狗已打开,主循环中清看门狗");
    }
    out.Line({kIndent, "}"});
    out.Line({"}"});
    out.Line({});
}

// The local that carries a source's event from the first pass to the second.
std::string DueName(const Branch& branch) {
    std::string name = branch.flag;
    for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return name + "_due";
}

// The timer's start value added to its running count. The value is the
// period in counts taken from the overflow, plus the counts the reload
// itself loses: the data sheet's two-cycle inhibit after a write, the
// cycles between reading and writing the count or the timer stood still,
// and the partial prescaler count a write clears.
void WriteReload(const TimerReload& reload, std::string_view indent, OutputFormId form, SourceLines& out) {
    const bool sdcc = form == OutputFormId::Sdcc;
    // Cycles of the instruction clock; a count of an outside clock loses none to them.
    const std::int64_t lost = !reload.instructionClock ? 0
                              : reload.timer == 0
                                  ? (sdcc ? kSdccTimer0ReloadCycles : kTimer0WriteInhibitCycles)
                                  : (sdcc ? kSdccTimer1StoppedCycles : 0);
    // With a prescaler the cycles lost come to lost + 0..P-1: the nearest
    // whole number of counts keeps the period within one count.
    const std::int64_t p = std::max<std::int64_t>(reload.prescale, 1);
    const std::int64_t counts = (2 * lost + 2 * p - 1) / (2 * p);
    const std::int64_t range = reload.timer == 0 ? 256 : 65536;
    // A period shorter than the reload itself cannot be kept: the shortest one is written.
    const std::int64_t add = std::clamp<std::int64_t>(range - reload.counts + counts, 0, range - 1);
    const std::string in2 = std::string(indent) + std::string(kIndent);
    if (reload.timer == 0) {
        if (sdcc) {
            // One addwf reads, adds and writes TMR0: the cycles it loses are known.
            out.Comment({indent, "//TMR0 += ", RegisterByteText(add), ",用一条addwf指令读、加、写TMR0"});
            out.Line({indent, "__asm"});
            out.Line({in2, "BANKSEL _TMR0"});
            out.Line({in2, "movlw   ", RegisterByteText(add)});
            out.Line({in2, "addwf   _TMR0, f"});
            out.LineWithComment({indent, "__endasm;"}, "  " + std::string(kReloadComment));
        } else {
            out.LineWithComment({indent, "TMR0 += ", RegisterByteText(add), ";"},
                                "  " + std::string(kUnmeasuredReload));
        }
        return;
    }
    const std::string low = RegisterByteText(add % 256);
    const std::string high = RegisterByteText(add / 256);
    const std::string value = high + low.substr(2);
    if (sdcc) {
        out.Comment({indent, "//TMR1 += ", value,
                     ":先停止Timer1(TMR1ON = 0),低字节的进位(STATUS的C)加到高字节,再启动"});
        out.Line({indent, "__asm"});
        out.Line({in2, "BANKSEL _T1CON"});
        out.Line({in2, "bcf     _T1CON, 0"});
        out.Line({in2, "movlw   ", low});
        out.Line({in2, "addwf   _TMR1L, f"});
        out.Line({in2, "btfsc   0x03, 0"});
        out.Line({in2, "incf    _TMR1H, f"});
        out.Line({in2, "movlw   ", high});
        out.Line({in2, "addwf   _TMR1H, f"});
        out.Line({in2, "bsf     _T1CON, 0"});
        out.LineWithComment({indent, "__endasm;"}, "  " + std::string(kReloadComment));
        return;
    }
    out.LineWithComment({indent, BitName("TMR1ON", form), " = 0;"},
                        "  //停止Timer1再相加,两个字节之间不会进位出错");
    out.Line({indent, "TMR1L += ", low, ";"});
    out.LineWithComment({indent, "if (TMR1L < ", low, ") TMR1H++;"}, "  //低字节有进位");
    out.Line({indent, "TMR1H += ", high, ";"});
    out.LineWithComment({indent, BitName("TMR1ON", form), " = 1;"}, "  " + std::string(kUnmeasuredReload));
}

// How long the user's code may run before a timer's period suffers.
void WriteBudget(const Program& program, const TimerReload& reload, std::string_view indent,
                 OutputFormId form, SourceLines& out) {
    const double cyclesPerUs = static_cast<double>(program.crystalHz) / 4e6;
    if (!(reload.periodUs > 0) || !(cyclesPerUs > 0)) return;
    const auto periodCycles = static_cast<std::int64_t>(std::llround(reload.periodUs * cyclesPerUs));
    const std::string period = "周期" + std::to_string(periodCycles) + "个指令周期(" +
                               FixedDecimalText(reload.periodUs, 1, kPlainNumbers) + "uS)";
    const std::string beyond = ";超出时下一次中断推迟,周期不变,推迟超过一个周期则少一次中断";
    if (form != OutputFormId::Sdcc) {
        constexpr std::string_view kCompilerOverhead =
            ",减去中断进入、退出和第一步所用的周期(由编译器决定),"
            "余下为本周期内所有中断的用户代码合计可用的时间";
        out.Comment({indent, "//时间预算:", period, kCompilerOverhead, beyond});
        return;
    }
    const std::int64_t overhead = InterruptOverheadCycles(program);
    const std::int64_t budget = std::max<std::int64_t>(periodCycles - overhead, 0);
    out.Comment({indent, "//时间预算:", period, ",减去中断进入、退出和第一步约", std::to_string(overhead),
                 "个周期,本周期内所有中断的用户代码合计不超过", std::to_string(budget), "个周期(",
                 FixedDecimalText(static_cast<double>(budget) / cyclesPerUs, 1, kPlainNumbers), "uS)",
                 beyond});
}

// An overrun stops reception until CREN is cleared and set again, once
// both bytes of the FIFO are read.
void WriteOverrun(const Branch& branch, OutputFormId form, SourceLines& out) {
    const std::string in2 = std::string(kIndent) + std::string(kIndent);
    const std::string in3 = in2 + std::string(kIndent);
    out.LineWithComment({in2, "if (", BitName("OERR", form), " && !", BitName(branch.flag, form), ") {"},
                        "  //溢出:FIFO中的两个字节都已取走,按数据手册清CREN再置位,接收才继续");
    out.Line({in3, BitName("CREN", form), " = 0;"});
    out.Line({in3, BitName("CREN", form), " = 1;"});
    out.Line({in3, kOverrunsVariable, "++;"});
    out.Line({in2, "}"});
}

// The first pass: what must happen at once for a source (clear the flag,
// read the data, reload the timer); the user's code runs in the second.
void FirstPass(const Branch& branch, OutputFormId form, SourceLines& out) {
    const std::string in2 = std::string(kIndent) + std::string(kIndent);
    const std::string in3 = in2 + std::string(kIndent);
    out.Line({kIndent, "if (", BitName(branch.enableBit, form), " && ", BitName(branch.flag, form), ") {"});
    if (!branch.variable.empty())
        out.LineWithComment({in2, branch.variable, " = ", branch.source, ";"}, "  " + branch.readComment);
    switch (branch.service) {
        case Service::ClearFlag:
            out.Line({in2, BitName(branch.flag, form), " = 0;"});
            break;
        case Service::ReadData: {
            const std::string v = branch.dataVariable;
            out.LineWithComment({in2, "unsigned char framing = ", BitName("FERR", form), ";"},
                                "  //先读RCSTA的FERR:它属于FIFO顶上、下面要读的字节");
            out.LineWithComment({in2, "unsigned char byte = ", branch.dataRegister, ";"},
                                "  //读" + branch.dataRegister + "清除" + branch.flag + "(只读标志)");
            out.Line({in2, "if (framing) {"});
            out.LineWithComment({in3, kFrameErrorsVariable, "++;"}, "  //帧错误:丢弃这个字节");
            out.Line({in2, "} else {"});
            out.Line({in3, v, "_byte = byte;"});
            out.Line({in3, v, "_ready = 1;"});
            out.Line({in3, DueName(branch), " = 1;"});
            out.Line({in2, "}"});
            WriteOverrun(branch, form, out);
            out.Line({kIndent, "}"});
            return;
        }
        case Service::RingReceive: {
            const Ring ring = RingOf(branch.dataVariable);
            out.LineWithComment({in2, "unsigned char framing = ", BitName("FERR", form), ";"},
                                "  //先读RCSTA的FERR:它属于FIFO顶上、下面要读的字节");
            out.LineWithComment({in2, "unsigned char byte = ", branch.dataRegister, ";"},
                                "  //读" + branch.dataRegister + "清除" + branch.flag + "(只读标志)");
            out.Line({in2, "if (framing) {"});
            out.LineWithComment({in3, kFrameErrorsVariable, "++;"}, "  //帧错误:丢弃这个字节");
            out.Line(
                {in2, "} else if ((unsigned char)(", ring.head, " - ", ring.tail, ") == ", ring.size, ") {"});
            out.LineWithComment({in3, kRxLostVariable, "++;"}, "  //缓冲区满:丢弃这个字节");
            out.Line({in2, "} else {"});
            out.Line({in3, ring.buffer, "[", ring.head, " & (", ring.size, " - 1)] = byte;"});
            out.Line({in3, ring.head, "++;"});
            out.Line({in3, DueName(branch), " = 1;"});
            out.Line({in2, "}"});
            WriteOverrun(branch, form, out);
            out.Line({kIndent, "}"});
            return;
        }
        case Service::RingSend: {
            const Ring ring = RingOf(branch.dataVariable);
            out.Line({in2, "if (", ring.head, " != ", ring.tail, ") {"});
            out.LineWithComment(
                {in3, branch.dataRegister, " = ", ring.buffer, "[", ring.tail, " & (", ring.size, " - 1)];"},
                "  //写" + branch.dataRegister + "清除" + branch.flag + "(只读标志)");
            out.Line({in3, ring.tail, "++;"});
            out.Line({in2, "} else {"});
            out.LineWithComment({in3, BitName(branch.enableBit, form), " = 0;"},
                                "  //发送缓冲区已空:关闭发送中断,sci_write()再打开");
            out.Line({in2, "}"});
            break;
        }
        case Service::ReadResult:
        case Service::KeepResult:
            out.Line({in2, BitName(branch.flag, form), " = 0;"});
            out.LineWithComment({in2, ResultVariable(branch), " = ((unsigned int)", branch.dataRegister,
                                 "H << 8) | ", branch.dataRegister, "L;"},
                                "  //下一次转换会覆盖结果,先读出");
            if (branch.service == Service::KeepResult) out.Line({in2, branch.dataVariable, "_ready = 1;"});
            break;
        case Service::SendData:
            out.Line({in2, "if (", branch.dataVariable, "_full) {"});
            out.LineWithComment({in3, branch.dataRegister, " = ", branch.dataVariable, "_byte;"},
                                "  //写" + branch.dataRegister + "清除" + branch.flag + "(只读标志)");
            out.Line({in3, branch.dataVariable, "_full = 0;"});
            out.Line({in2, "} else {"});
            out.LineWithComment({in3, BitName(branch.enableBit, form), " = 0;"},
                                "  //没有数据要发送:关闭发送中断,否则中断反复进入");
            out.Line({in2, "}"});
            break;
    }
    if (branch.reload) WriteReload(*branch.reload, in2, form, out);
    out.Line({in2, DueName(branch), " = 1;"});
    out.Line({kIndent, "}"});
}

void InterruptRoutine(const Program& program, OutputFormId form, SourceLines& out) {
    if (!program.interrupts) return;
    const std::string in2 = std::string(kIndent) + std::string(kIndent);
    out.Comment({"//中断子程序"});
    out.Line({RoutineHead(form)});
    out.Line({"{"});
    std::vector<const Branch*> enabled;
    for (const Branch& branch : program.branches)
        if (branch.enabled) enabled.push_back(&branch);
    for (const Branch* branch : enabled)
        out.LineWithComment({kIndent, "unsigned char ", DueName(*branch), " = 0;"},
                            "  //本次进入时" + branch->flag + "中断已发生");
    out.Comment({kIndent,
                 "//第一步:每个已发生的中断先做要紧的事(清标志、重装定时器、读数据),"
                 "所以定时周期和收到的字节与下面用户代码的长短无关"});
    for (const Branch* branch : enabled) FirstPass(*branch, form, out);
    out.Comment({kIndent, "//第二步:运行已发生的中断的用户代码"});
    for (const Branch* one : enabled) {
        const Branch& branch = *one;
        out.Line({kIndent, "if (", DueName(branch), ") {"});
        out.Comment({in2, branch.comment});
        if (branch.reload) WriteBudget(program, *branch.reload, in2, form, out);
        if (branch.service == Service::ReadData)
            out.Comment({in2, "//", branch.dataVariable, "_byte是刚收到的字节"});
        if (branch.service == Service::RingReceive)
            out.Comment({in2, "//收到的字节已放入接收缓冲区,用sci_read()取出"});
        if (branch.service == Service::ReadResult || branch.service == Service::KeepResult)
            out.Comment({in2, "//", ResultVariable(branch), "是本次转换的结果"});
        if (!branch.userAction.empty()) out.Comment({in2, branch.userAction});
        UserRegion(in2, branch.region, out);
        out.Line({kIndent, "}"});
    }
    out.Line({"}"});
    out.Line({});
}

void SetupFunction(const Function& function, OutputFormId form, SourceLines& out) {
    out.Comment({function.comment});
    out.Line({"void ", function.name, "(void)"});
    out.Line({"{"});
    WriteBody(function.body, kIndent, form, out);
    UserRegion(kIndent, function.region, out);
    out.Line({"}"});
    out.Line({});
}

void DriverFunction(const Driver& driver, OutputFormId form, SourceLines& out) {
    out.Comment({driver.comment});
    out.Line({driver.declaration});
    out.Line({"{"});
    for (const std::string& line : driver.body)
        out.Line({kIndent, SpellBits(line, [form](std::string_view bit) { return BitName(bit, form); })});
    out.Line({"}"});
    out.Line({});
}

}  // namespace

std::optional<OutputFormId> ModernFormOf(std::string_view text) {
    // The header comes right after the stamp, in the first lines.
    constexpr int kHeaderLines = 40;
    std::string_view previous;
    for (int n = 0; n < kHeaderLines && !text.empty(); ++n) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (line.ends_with('\r')) line.remove_suffix(1);
        if (line == kXc8Header) return OutputFormId::Xc8;
        if (line == kSdccHeader && previous.starts_with("#include <pic")) return OutputFormId::Sdcc;
        previous = line;
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return std::nullopt;
}

std::string WriteModern(const Program& program, OutputFormId form, bool withComments) {
    SourceLines out(withComments);
    Header(program, form, out);
    Declarations(program, form, out);
    Main(program, form, out);
    InterruptRoutine(program, form, out);
    for (const Function& function : program.setups) SetupFunction(function, form, out);
    if (program.interruptEnable) SetupFunction(*program.interruptEnable, form, out);
    for (const Driver& driver : program.drivers) DriverFunction(driver, form, out);
    std::string text = out.Take();
    // One line end at the end of the file, not an empty line.
    while (text.ends_with("\r\n\r\n")) text.resize(text.size() - 2);
    return Stamped(text);
}

}  // namespace korvane
