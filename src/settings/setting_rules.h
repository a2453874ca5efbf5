#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/project_settings.h"

namespace korvane {

// A value that breaks a rule tying it to other settings: one that follows
// from others (a prescale divisor, a CCP mode code) and disagrees with them,
// or one the chosen part does not offer. No dialog stores such a value.
struct RuleBreach {
    std::string_view setting;
    std::string value;  // as stored
    std::string rule;   // what it must be, in Chinese: "超出范围(0到1)", "应为8(由T1PsIndex决定)"
    // The value it must take, where others decide it alone.
    std::optional<SettingValue> derived = std::nullopt;
};

// A breach when `stored` differs from `derived`, the value that follows from
// the settings named in `from`.
void RuleFollows(std::vector<RuleBreach>& out, std::string_view setting, const SettingValue& stored,
                 const SettingValue& derived, std::string_view from);

// Stores a number in the setting named `setting`, in the kind its dialog stores.
void StoreDerived(ProjectSettings& s, std::string_view setting, const SettingValue& value);

}  // namespace korvane
