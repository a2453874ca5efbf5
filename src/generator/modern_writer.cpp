#include "generator/modern_writer.h"

#include <algorithm>
#include <map>
#include <string_view>

#include "format/number_text.h"
#include "generator/register_bits.h"
#include "generator/source_lines.h"
#include "generator/user_code.h"

namespace korvane {

namespace {

constexpr std::string_view kIndent = "    ";

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

// A whole register built from the bits the classic text writes one by one,
// starting from its value after a reset.
struct WholeRegister {
    std::string_view reg;
    std::uint8_t value;
};

// Every field of the register with its value, bit 7 first.
std::string FieldsComment(const WholeRegister& whole) {
    std::string text = "//";
    for (int bit = 7; bit >= 0; --bit) {
        const std::string_view name = BitNameOf(whole.reg, bit);
        if (name.empty()) continue;
        if (text.size() > 2) text += ' ';
        (text += name) += (whole.value >> bit) & 1 ? "=1" : "=0";
    }
    return text;
}

// The steps with every register that is written bit by bit written whole, at
// the place of its last bit: by then every bit the classic text sets is set,
// and the register's other writes (TMR1H before TMR1ON) come first as there.
void WriteBody(const std::vector<Step>& steps, std::string_view indent, SourceLines& out) {
    std::map<std::string_view, std::size_t> lastStep;
    for (std::size_t i = 0; i < steps.size(); ++i)
        if (const auto* assign = std::get_if<Assign>(&steps[i]))
            for (const Write& write : assign->writes)
                if (const auto place = PlaceOfBit(write.target)) lastStep[place->reg] = i;
    std::map<std::string_view, WholeRegister> registers;
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const Step& step = steps[i];
        if (std::holds_alternative<Blank>(step)) {
            out.Line({});
            continue;
        }
        if (const auto* note = std::get_if<Note>(&step)) {
            out.Comment({indent, note->text});
            continue;
        }
        const auto& assign = std::get<Assign>(step);
        bool anyBit = false;
        for (const Write& write : assign.writes) {
            const auto place = PlaceOfBit(write.target);
            if (!place) {
                const bool last = &write == &assign.writes.back() && !anyBit && !assign.comment.empty();
                out.LineWithComment({indent, write.target, " = ", ValueText(write), ";"},
                                    last ? "  " + assign.comment : std::string());
                continue;
            }
            anyBit = true;
            auto [it, added] =
                registers.try_emplace(place->reg, WholeRegister{place->reg, ResetValueOf(place->reg)});
            const std::uint8_t mask = static_cast<std::uint8_t>(1u << place->bit);
            it->second.value = static_cast<std::uint8_t>((write.value & 1) ? it->second.value | mask
                                                                           : it->second.value & ~mask);
        }
        // A bit's explanation stays where the bit was set.
        if (anyBit && !assign.comment.empty()) out.Comment({indent, assign.comment});
        for (const auto& [reg, last] : lastStep) {
            if (last != i) continue;
            const WholeRegister& whole = registers.at(reg);
            out.LineWithComment({indent, reg, " = ", RegisterByteText(whole.value), ";"},
                                "  " + FieldsComment(whole));
        }
    }
}

// The user's region: written with comments or without, as it is the place
// an update puts the user's code back.
void UserRegion(std::string_view indent, std::string_view name, SourceLines& out) {
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
    if (program.interrupts) {
        out.Line({RoutineHead(form), ";"});
        out.Line({"void fun_intset(void);"});
    }
    for (const Global& global : program.globals)
        out.LineWithComment({global.declaration}, "  " + global.comment);
    for (const Branch& branch : program.branches) {
        if (!branch.enabled) continue;
        if (branch.service == Service::ReadData)
            out.LineWithComment({"volatile unsigned char ", branch.dataVariable, "_byte;"},
                                "  //接收中断读到的字节");
        if (branch.service == Service::SendData) {
            out.LineWithComment({"volatile unsigned char ", branch.dataVariable, "_byte;"},
                                "  //待发送的字节");
            out.LineWithComment({"volatile unsigned char ", branch.dataVariable, "_full;"},
                                "  //置1后打开发送中断(TXIE=1),由中断发送" + branch.dataVariable + "_byte");
        }
    }
    UserRegion({}, kGlobalsRegion, out);
    out.Line({});
}

void Main(const Program& program, OutputFormId form, SourceLines& out) {
    out.Comment({"// 主函数"});
    out.Line({"void main(void)"});
    out.Line({"{"});
    for (const Function& function : program.setups) out.Line({kIndent, function.name, "();"});
    // Interrupts are switched on last, once every peripheral is set up.
    if (program.interrupts) out.Line({kIndent, "fun_intset();"});
    UserRegion(kIndent, kBeforeLoopRegion, out);
    out.Line({kIndent, "while (1) {"});
    UserRegion(std::string(kIndent) + std::string(kIndent), kLoopRegion, out);
    if (program.watchdog) {
        out.LineWithComment(
            {kIndent, kIndent, form == OutputFormId::Xc8 ? "CLRWDT();" : "__asm clrwdt __endasm;"},
            "  //看门狗已打开,主循环中清看门狗");
    }
    out.Line({kIndent, "}"});
    out.Line({"}"});
    out.Line({});
}

void InterruptRoutine(const Program& program, OutputFormId form, SourceLines& out) {
    if (!program.interrupts) return;
    const std::string in2 = std::string(kIndent) + std::string(kIndent);
    const std::string in3 = in2 + std::string(kIndent);
    out.Comment({"//中断子程序"});
    out.Line({RoutineHead(form)});
    out.Line({"{"});
    for (const Branch& branch : program.branches) {
        if (!branch.enabled) continue;
        // The flag rises whether or not its interrupt is on.
        out.Line(
            {kIndent, "if (", BitName(branch.enableBit, form), " && ", BitName(branch.flag, form), ") {"});
        // First in the branch, so the user's code sees the event as it came
        // (RCREG before the branch reads it).
        UserRegion(in2, BranchRegion(branch.flag), out);
        if (!branch.variable.empty())
            out.LineWithComment({in2, branch.variable, " = ", branch.source, ";"}, "  " + branch.readComment);
        switch (branch.service) {
            case Service::ClearFlag:
                out.Line({in2, BitName(branch.flag, form), " = 0;"});
                break;
            case Service::ReadData:
                out.LineWithComment({in2, branch.dataVariable, "_byte = ", branch.dataRegister, ";"},
                                    "  //读" + branch.dataRegister + "清除" + branch.flag + "(只读标志)");
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
        WriteBody(branch.reload, in2, out);
        out.Comment({in2, branch.comment});
        out.Line({kIndent, "}"});
    }
    out.Line({"}"});
    out.Line({});
}

void SetupFunction(const Function& function, SourceLines& out) {
    out.Comment({function.comment});
    out.Line({"void ", function.name, "(void)"});
    out.Line({"{"});
    WriteBody(function.body, kIndent, out);
    UserRegion(kIndent, function.name, out);
    out.Line({"}"});
    out.Line({});
}

void InterruptEnable(const Program& program, SourceLines& out) {
    if (!program.interrupts) return;
    Body body;
    for (const Enable& enable : program.enables) body.SetBit(enable.bit, 1, enable.comment);
    if (std::ranges::any_of(program.enables, &Enable::peripheral)) body.SetBit("PEIE", 1, "//外设中断允许");
    body.SetBit("GIE", 1, "//总中断允许");
    SetupFunction({SetupId::Ports, "fun_intset", "//中断允许设置子程序", std::move(body.steps)}, out);
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
    for (const Function& function : program.setups) SetupFunction(function, out);
    InterruptEnable(program, out);
    std::string text = out.Take();
    // One line end at the end of the file, not an empty line.
    while (text.ends_with("\r\n\r\n")) text.resize(text.size() - 2);
    return Stamped(text);
}

}  // namespace korvane
