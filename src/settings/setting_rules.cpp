#include "settings/setting_rules.h"

#include <type_traits>
#include <variant>

#include "settings/setting_table.h"

namespace korvane {

void RuleFollows(std::vector<RuleBreach>& out, std::string_view setting, const SettingValue& stored,
                 const SettingValue& derived, std::string_view from) {
    if (stored.equals(derived.toNumber().value_or(0))) return;
    out.push_back(
        {setting, stored.toText(), "与" + std::string(from) + "不符(应为" + derived.toText() + ")", derived});
}

void StoreDerived(ProjectSettings& s, std::string_view setting, const SettingValue& value) {
    const Setting* row = FindSetting(setting);
    if (!row) return;
    std::visit(
        [&](auto member) {
            using T = std::remove_reference_t<decltype(s.*member)>;
            if constexpr (std::is_same_v<T, SettingValue>)
                s.*member = value;
            else if constexpr (std::is_same_v<T, std::int16_t>)
                s.*member = static_cast<std::int16_t>(value.toNumber().value_or(0));
        },
        row->member);
}

}  // namespace korvane
