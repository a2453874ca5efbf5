#include "chip/settle.h"

#include "chip/claims.h"
#include "chip/module_list.h"

namespace korvane {

std::vector<SettingProblem> SettleProject(ProjectSettings& s, const NumberLocale& locale) {
    std::vector<SettingProblem> problems;
    for (const Module* module : ModulesInSettleOrder())
        if (module->settle) module->settle(s, locale, problems);
    // Pins last: what a module takes depends on what the settle left on.
    ApplyPinClaims(s);
    if (const auto conflict = FirstConflict(s)) {
        const PinMessage message = ConflictMessage(*conflict);
        problems.push_back(
            {SettingProblem::Kind::Pins, ClaimingSetting(conflict->taker.use), message.title, message.text});
    }
    return problems;
}

}  // namespace korvane
