#include "settings/project_settings.h"

#include <variant>

#include "settings/setting_table.h"

namespace korvane {

void ProjectSettings::Reset(SettingGroup group) {
    // Built on first use, so no reset can run before the defaults exist.
    static const ProjectSettings kDefaults;
    for (const Setting& setting : kSettings) {
        if (setting.group != group || setting.onReset == OnReset::Keep) continue;
        std::visit([&](auto member) { this->*member = kDefaults.*member; }, setting.member);
    }
}

}  // namespace korvane
