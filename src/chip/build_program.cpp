#include "chip/build_program.h"

#include <algorithm>
#include <cctype>
#include <string>

#include "chip/module_list.h"
#include "generator/config_word.h"
#include "generator/register_fold.h"
#include "generator/sections.h"
#include "generator/user_code.h"
#include "settings/parts.h"
#include "settings/setting_table.h"

namespace korvane {

namespace {

// The classic text keeps the comment it has always had, misspelt "Tiemr".
std::string EnableComment(const ProjectSettings& s, std::string_view comment) {
    std::string text(comment);
    constexpr std::string_view kMisspelt = "Tiemr";
    if (const auto at = text.find(kMisspelt); at != std::string::npos && WritesInDataSheetOrder(s))
        text.replace(at, kMisspelt.size(), "Timer");
    return text;
}

// What the receive branch counts of the bytes it had to drop.
void AddErrorCounters(std::vector<Global>& globals) {
    globals.push_back({"volatile unsigned char " + std::string(kFrameErrorsVariable) + ";",
                       "//帧错误(FERR)而丢弃的字节数"});
    globals.push_back({"volatile unsigned char " + std::string(kOverrunsVariable) + ";",
                       "//接收溢出(OERR)的次数,每次溢出后接收已重新打开"});
}

// The variables a modern branch shares with main: what it read, what waits
// to be sent, what it had to drop.
void AddServiceVariables(const Branch& branch, std::vector<Global>& globals) {
    const std::string v = branch.dataVariable;
    switch (branch.service) {
        case Service::ClearFlag:
            break;
        case Service::ReadData:
            globals.push_back({"volatile unsigned char " + v + "_byte;", "//接收中断读到的字节"});
            globals.push_back({"volatile unsigned char " + v + "_ready;",
                               "//收到新字节时由中断置1;用户取走" + v + "_byte后清0"});
            AddErrorCounters(globals);
            break;
        case Service::RingReceive:
            AddErrorCounters(globals);
            globals.push_back({"volatile unsigned char " + std::string(kRxLostVariable) + ";",
                               "//接收缓冲区满而丢弃的字节数"});
            break;
        case Service::RingSend:
            break;
        case Service::SendData:
            globals.push_back({"volatile unsigned char " + v + "_byte;", "//待发送的字节"});
            globals.push_back({"volatile unsigned char " + v + "_full;",
                               "//置1后打开发送中断(TXIE=1),由中断发送" + v + "_byte"});
            break;
        case Service::ReadResult:
        case Service::KeepResult:
            globals.push_back({"volatile unsigned int " + ResultVariable(branch) + ";",
                               "//转换结束时读到的" + branch.dataRegister + "H:" + branch.dataRegister +
                                   "L(对齐方式见A/D设置)"});
            if (branch.service == Service::KeepResult)
                globals.push_back(
                    {"volatile unsigned char " + v + "_ready;", "//转换结束、结果已存入时由中断置1"});
            break;
    }
}

}  // namespace

Program BuildProgram(const ProjectSettings& s) {
    const bool modern = WritesInDataSheetOrder(s);
    Program program;
    program.part = ChosenPart(s).name;
    for (char& c : program.part) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    // The typed digits, as the baud rates take them: 18.432 MHz is 18432000,
    // where the nearest single gives 18431999. A crystal no dialog would
    // take gives 0 rather than an undefined number.
    const auto hz = CrystalHz(s.CrystalMHz);
    program.crystalHz = hz && *hz >= 0 ? *hz : 0;
    if (s.CfgWrite != 0) {
        ConfigWordLine config{ConfigWord(s), {}, {}};
        const ConfigFields& facts = ChosenPart(s).config;
        for (int f = 0; f < kConfigFieldCount; ++f) {
            const ConfigChoice& choice = ChosenConfig(s, static_cast<ConfigField>(f));
            config.choices.emplace_back(choice.text);
            config.fields.push_back({std::string(facts[f].directive), std::string(choice.option)});
        }
        program.watchdog = ChosenConfig(s, ConfigField::Wdt).bits != 0;
        program.config = std::move(config);
    } else {
        program.watchdog = true;
    }
    for (const SetupFunction& function : SetupFunctions()) {
        Body body;
        bool written = false;
        for (const Module* module : Modules()) {
            if (function.id == SetupId::Start) {
                if (!modern || !module->start || !module->writesSetup(s)) continue;
                module->start(s, body);
                written = written || !body.steps.empty();
                continue;
            }
            if (module->setup != function.id || !module->writesSetup(s)) continue;
            written = true;
            module->build(s, body);
        }
        if (written)
            program.setups.push_back(
                {function.id, function.name, function.comment, std::move(body.steps), {}});
    }
    program.interrupts = AnyInterrupt(s);
    for (const Module* module : Modules()) {
        for (const InterruptSource& source : module->interrupts) {
            const bool drivers = DriversServe(*module, source, s);
            const bool serviced = program.interrupts && (source.serviced(s) || drivers);
            const bool enabled = source.enabled(s) || drivers;
            if (serviced || enabled) {
                Branch branch{source.flag,      source.serviceComment, {}, {}, {}, serviced, enabled,
                              source.enableBit, source.service,        {}, {}, {}, {},       {}};
                if (drivers) branch.service = *source.driverService;
                if (source.variable) {
                    branch.variable = source.variable;
                    branch.source = source.source;
                    branch.readComment = source.readComment;
                    program.globals.push_back({source.declaration, source.declarationComment});
                }
                if (source.dataRegister) {
                    branch.dataRegister = source.dataRegister;
                    branch.dataVariable = source.dataVariable;
                }
                if (source.reload) branch.reload = source.reload(s);
                if (source.userAction) branch.userAction = source.userAction;
                if (modern) {
                    branch.region = BranchRegion(branch.flag);
                    if (enabled) AddServiceVariables(branch, program.globals);
                }
                program.branches.push_back(std::move(branch));
            }
            if (enabled)
                program.enables.push_back(
                    {source.enableBit, EnableComment(s, source.enableComment), source.peripheral});
        }
    }
    for (const Module* module : Modules()) {
        if (!module->drivers || !DriversOn(*module, s)) continue;
        module->drivers(s, program.drivers, program.globals);
        const DriverBudget cost = DriverBudgetOf(*module, s);
        program.driverWords += cost.words;
        program.driverRam += cost.ram;
        if (module->driverBuffers) program.driverBuffers += module->driverBuffers(s);
    }
    if (program.interrupts) {
        Body body;
        for (const Enable& enable : program.enables) body.SetBit(enable.bit, 1, enable.comment);
        if (std::ranges::any_of(program.enables, &Enable::peripheral))
            body.SetBit("PEIE", 1, "//外设中断允许");
        body.SetBit("GIE", 1, modern ? "//总中断允许" : "");
        program.interruptEnable = Function{
            SetupId::InterruptEnable, "fun_intset", "//中断允许设置子程序", std::move(body.steps), {}};
    }
    if (modern) {
        for (Function& function : program.setups) function.region = function.name;
        if (program.interruptEnable) program.interruptEnable->region = program.interruptEnable->name;
        program.globalsRegion = kGlobalsRegion;
        program.beforeLoopRegion = kBeforeLoopRegion;
        program.loopRegion = kLoopRegion;
        for (Function& function : program.setups) function.body = FoldedIntoRegisters(function.body);
        if (program.interruptEnable)
            program.interruptEnable->body = FoldedIntoRegisters(program.interruptEnable->body);
    }
    return program;
}

}  // namespace korvane
