#include "generator/classic_writer.h"

#include <algorithm>
#include <array>

#include "format/number_text.h"
#include "generator/config_word.h"
#include "generator/source_lines.h"

namespace korvane {

namespace {

std::string ValueText(const Write& write) {
    switch (write.form) {
        case ValueForm::Byte:
            return RegisterByteText(write.value);
        case ValueForm::Bit:
        case ValueForm::Decimal:
            break;
    }
    return std::to_string(write.value);
}

std::string StatementText(const Assign& assign) {
    std::string text;
    switch (assign.layout) {
        case Layout::Packed:
            for (const Write& write : assign.writes) text += write.target + "=" + ValueText(write) + ";";
            break;
        case Layout::Spaced:
            for (const Write& write : assign.writes) text += write.target + " = " + ValueText(write) + ";";
            break;
        case Layout::Chained:
            for (const Write& write : assign.writes) text += write.target + "=";
            if (!assign.writes.empty())
                text.replace(text.size() - 1, 1, "=" + ValueText(assign.writes.back()) + ";");
            break;
    }
    return text;
}

void WriteSteps(const std::vector<Step>& steps, SourceLines& out) {
    for (const Step& step : steps) {
        if (std::holds_alternative<Blank>(step)) {
            out.Line({});
        } else if (const auto* note = std::get_if<Note>(&step)) {
            if (out.withComments())
                out.Line({note->text});
            else if (note->keepsLine)
                out.Line({});
        } else if (const auto* assign = std::get_if<Assign>(&step)) {
            out.LineWithComment({" ", StatementText(*assign)}, assign->comment);
        } else if (const auto* wait = std::get_if<Wait>(&step)) {
            out.LineWithComment(
                {" {volatile unsigned char n=", std::to_string(wait->loops), ";while(n)n--;}"},
                wait->comment);
        } else if (const auto* read = std::get_if<Read>(&step)) {
            out.LineWithComment({" ", read->variable, "=", read->source, ";"}, read->comment);
        }
    }
}

void WriteFunction(const Function& function, SourceLines& out) {
    out.Comment({function.comment});
    out.Line({"void ", function.name, "()"});
    out.Line({"{"});
    WriteSteps(function.body, out);
    out.Line({"}"});
}

std::string Declarations(const Program& program, bool withComments) {
    SourceLines out(withComments);
    out.Comment({"// 函数声明部份"});
    if (program.interrupts) out.Line({"void interrupt IRQ(void);"});
    if (program.interruptEnable) out.Line({"void ", program.interruptEnable->name, "();"});
    for (const Function& function : program.setups) out.Line({"void ", function.name, "();"});
    for (const Global& global : program.globals) out.LineWithComment({global.declaration}, global.comment);
    return out.Take();
}

std::string Main(const Program& program, bool withComments) {
    SourceLines out(withComments);
    out.Comment({"// 主函数"});
    out.Line({"void main()"});
    out.Line({"{"});
    for (const Function& function : program.setups) out.Line({" ", function.name, "();"});
    // Interrupts are switched on last, once every peripheral is set up.
    if (program.interruptEnable) out.Line({" ", program.interruptEnable->name, "();"});
    out.Line({"}"});
    return out.Take();
}

std::string InterruptService(const Program& program, bool withComments) {
    if (!program.interrupts) return {};
    SourceLines out(withComments);
    out.Comment({"//中断子程序"});
    out.Line({"void interrupt IRQ(void)"});
    out.Line({"{"});
    for (const Branch& branch : program.branches) {
        if (!branch.serviced) continue;
        out.Line({" if(", branch.flag, ")"});
        out.Line({"  {"});
        if (!branch.variable.empty())
            out.LineWithComment({"   ", branch.variable, "=", branch.source, ";"}, branch.readComment);
        out.Line({"   ", branch.flag, "=0;"});
        out.Comment({"    ", branch.comment});
        out.Line({"  }"});
    }
    out.Line({"}"});
    return out.Take();
}

std::string InterruptEnable(const Program& program, bool withComments) {
    if (!program.interruptEnable) return {};
    SourceLines out(withComments);
    WriteFunction(*program.interruptEnable, out);
    return out.Take();
}

std::string Setup(const Program& program, SetupId id, bool withComments) {
    const auto function = std::ranges::find(program.setups, id, &Function::id);
    if (function == program.setups.end()) return {};
    SourceLines out(withComments);
    WriteFunction(*function, out);
    return out.Take();
}

std::string ConfigText(const ConfigWordLine& config, bool withComments) {
    SourceLines out(withComments);
    if (withComments) {
        // A number, never the compilers' symbolic names: those differ between versions.
        std::string names = "//配置字:";
        for (const std::string& choice : config.choices) (names += ' ') += choice;
        out.Comment({names});
    }
    out.Line({"__CONFIG(", ConfigWordText(config.word), ");"});
    return out.Take();
}

}  // namespace

std::string WriteClassic(const Program& program, bool withComments) {
    std::string text =
        "#include<pic.h>\r\n" + ClassicSectionText(program, ClassicSection::ConfigWord, withComments);
    text += "\r\n";
    struct Section {
        ClassicSection section;
        // The first sections keep their separator even when empty; the MSSP's,
        // the A/D's and the comparators', added since, bring one only with
        // their text, so a project that does not use them generates what it
        // always did.
        bool separatedWhenEmpty;
    };
    constexpr Section kSections[] = {
        {ClassicSection::Declarations, true},
        {ClassicSection::Main, true},
        {ClassicSection::Ports, true},
        {ClassicSection::InterruptService, true},
        {ClassicSection::Timers, true},
        {ClassicSection::Ccp, true},
        {ClassicSection::Sci, true},
        {ClassicSection::Mssp, false},
        {ClassicSection::Ad, false},
        {ClassicSection::Comparator, false},
        {ClassicSection::InterruptEnable, true},
    };
    bool first = true;
    for (const Section& section : kSections) {
        const std::string part = ClassicSectionText(program, section.section, withComments);
        if (part.empty() && !section.separatedWhenEmpty) continue;
        if (!first) text += "\r\n";
        first = false;
        text += part;
    }
    return text;
}

std::string ClassicSectionText(const Program& program, ClassicSection section, bool withComments) {
    switch (section) {
        case ClassicSection::ConfigWord:
            return program.config ? ConfigText(*program.config, withComments) : std::string();
        case ClassicSection::Declarations:
            return Declarations(program, withComments);
        case ClassicSection::Main:
            return Main(program, withComments);
        case ClassicSection::Ports:
            return Setup(program, SetupId::Ports, withComments);
        case ClassicSection::InterruptService:
            return InterruptService(program, withComments);
        case ClassicSection::Timers:
            return Setup(program, SetupId::Timers, withComments);
        case ClassicSection::Ccp:
            return Setup(program, SetupId::Ccp, withComments);
        case ClassicSection::Sci:
            return Setup(program, SetupId::Sci, withComments);
        case ClassicSection::Mssp:
            return Setup(program, SetupId::Mssp, withComments);
        case ClassicSection::Ad:
            return Setup(program, SetupId::Ad, withComments);
        case ClassicSection::Comparator:
            return Setup(program, SetupId::Comparator, withComments);
        case ClassicSection::InterruptEnable:
            return InterruptEnable(program, withComments);
    }
    return {};
}

}  // namespace korvane
