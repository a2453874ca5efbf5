#include "generator/program_check.h"

#include <set>
#include <string_view>
#include <utility>

namespace korvane {

namespace {

struct PartNames {
    std::string_view part;
    std::string_view names;  // each between blanks
};

constexpr PartNames kPartNames[] = {
#include "part_names.inc"
};

// gputils names an active-low bit with NOT_ in front (NOT_RBPU, NOT_T1SYNC);
// the compilers' headers and the data sheet's register maps leave it off.
bool PartHas(std::string_view names, std::string_view name) {
    for (const std::string_view prefix : {"", "NOT_"})
        if (names.find(" " + std::string(prefix) + std::string(name) + " ") != std::string_view::npos)
            return true;
    return false;
}

// Every name the writers spell for the program: what its steps write, what
// each branch tests, reads and reloads, and the enables.
std::set<std::string> NamesOf(const Program& program) {
    std::set<std::string> names;
    const auto steps = [&](const std::vector<Step>& body) {
        for (const Step& step : body) {
            if (const auto* assign = std::get_if<Assign>(&step))
                for (const Write& write : assign->writes) names.insert(write.target);
            if (const auto* read = std::get_if<Read>(&step)) names.insert(read->source);
        }
    };
    for (const Function& function : program.setups) steps(function.body);
    for (const Branch& branch : program.branches) {
        names.insert(branch.flag);
        if (!branch.enabled && !branch.serviced) continue;
        if (branch.enabled) names.insert(branch.enableBit);
        if (!branch.source.empty()) names.insert(branch.source);
        switch (branch.service) {
            case Service::ClearFlag:
                break;
            case Service::ReadData:
            case Service::RingReceive:
                // The receive branch's error bits and the receiver's restart.
                names.insert({branch.dataRegister, "FERR", "OERR", "CREN"});
                break;
            case Service::SendData:
            case Service::RingSend:
                names.insert(branch.dataRegister);
                break;
            case Service::ReadResult:
            case Service::KeepResult:
                names.insert({branch.dataRegister + "H", branch.dataRegister + "L"});
                break;
        }
        if (branch.reload && branch.reload->timer == 0) names.insert("TMR0");
        if (branch.reload && branch.reload->timer == 1) names.insert({"TMR1L", "TMR1H", "T1CON", "TMR1ON"});
    }
    for (const Enable& enable : program.enables) names.insert(enable.bit);
    for (const Driver& driver : program.drivers)
        for (const std::string& line : driver.body)
            SpellBits(line, [&](std::string_view bit) {
                names.emplace(bit);
                return std::string();
            });
    if (program.interrupts) names.insert({"PEIE", "GIE"});
    return names;
}

}  // namespace

std::vector<std::string> NamesThePartLacks(const Program& program) {
    std::string_view known;
    for (const PartNames& part : kPartNames)
        if (part.part == program.part) known = part.names;
    std::vector<std::string> lacking;
    for (const std::string& name : NamesOf(program))
        if (!PartHas(known, name)) lacking.push_back(name);
    return lacking;
}

std::string ProgramFaultText(const ProgramFault& fault) {
    std::string names;
    for (const std::string& name : fault.names) names += (names.empty() ? "" : ", ") + name;
    return "生成的程序用到了" + fault.part + "没有的寄存器或位: " + names + "。未生成源程序。";
}

}  // namespace korvane
