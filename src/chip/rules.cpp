#include "chip/rules.h"

#include "chip/module_list.h"

namespace korvane {

std::vector<RuleBreach> RuleBreaches(const ProjectSettings& s) {
    std::vector<RuleBreach> out;
    for (const Module* module : Modules())
        if (module->rules) module->rules(s, out);
    return out;
}

PartSwitch SwitchPart(const ProjectSettings& s, int index) {
    PartSwitch result{s, {}};
    result.after.ChipPart = static_cast<std::int16_t>(index);
    for (const Module* module : Modules())
        if (module->switchPart) module->switchPart(s, result.after, result.changes);
    return result;
}

}  // namespace korvane
