#include "dialogs/settle_and_tell.h"

#include <algorithm>

#include "chip/settle.h"

namespace korvane {

void SettleAndTell(AppContext& context, std::initializer_list<SettingProblem::Kind> toldAlready) {
    using Kind = SettingProblem::Kind;
    for (const SettingProblem& problem : SettleProject(context.settings, context.locale)) {
        if (std::ranges::find(toldAlready, problem.kind) != toldAlready.end()) continue;
        // Calculators refuse with an error; the serial port's notices, the
        // pins' and the timers' warnings keep the icons their dialogs use.
        MessageIcon icon = MessageIcon::Warning;
        if (problem.kind == Kind::Timer || problem.kind == Kind::Ccp || problem.kind == Kind::I2cRate)
            icon = MessageIcon::Error;
        else if (problem.kind == Kind::Baud)
            icon = MessageIcon::Information;
        context.platform.messageBox(problem.text, problem.title, icon, MessageButtons::Ok);
    }
}

}  // namespace korvane
