#pragma once

#include <string>
#include <vector>

#include "settings/project_settings.h"
#include "settings/setting_rules.h"

namespace korvane {

// Every breach, module by module: the prescale divisors, the CCP mode codes,
// then what the part offers.
std::vector<RuleBreach> RuleBreaches(const ProjectSettings& s);

// The settings after switching to part `index`, and what the switch changes,
// one line each; none when it changes nothing the user chose.
struct PartSwitch {
    ProjectSettings after;
    std::vector<std::string> changes;
};
PartSwitch SwitchPart(const ProjectSettings& s, int index);

}  // namespace korvane
