#include "modules/config_word/config_word_module.h"

#include "settings/parts.h"
#include "settings/setting_table.h"

namespace korvane {

namespace {

bool Never(const ProjectSettings&) {
    return false;
}

void Settle(ProjectSettings& s, const NumberLocale&, std::vector<SettingProblem>&) {
    FollowCrystal(s);
}

// Each field's choice the chosen part offers.
void Rules(const ProjectSettings& s, std::vector<RuleBreach>& out) {
    static constexpr std::string_view kFieldSettings[kConfigFieldCount] = {
        "CfgOsc", "CfgWdt", "CfgPwrt", "CfgBor", "CfgLvp", "CfgDebug", "CfgCp", "CfgCpd", "CfgWrt"};
    const PartFacts& part = ChosenPart(s);
    for (int f = 0; f < kConfigFieldCount; ++f) {
        const std::int16_t choice = s.*ConfigSetting(static_cast<ConfigField>(f));
        const auto choices = static_cast<std::int64_t>(part.config[f].choices.size());
        if (choice >= choices)
            out.push_back({kFieldSettings[f], std::to_string(choice),
                           "超出范围(" + RangeText({0, static_cast<std::int32_t>(choices - 1)}) + ")，" +
                               std::string(part.name) + "没有此选项"});
    }
}

// A field's choice survives the switch only where it means the same on the
// new part; otherwise the field falls back to its first choice.
void SwitchPart(const ProjectSettings& before, ProjectSettings& after, std::vector<std::string>& changes) {
    const PartFacts& part = ChosenPart(after);
    for (int f = 0; f < kConfigFieldCount; ++f) {
        const auto field = static_cast<ConfigField>(f);
        const std::string_view meaning = ChosenConfig(before, field).text;
        const auto choices = part.config[f].choices;
        std::int16_t& choice = after.*ConfigSetting(field);
        const bool same = choice >= 0 && static_cast<std::size_t>(choice) < choices.size() &&
                          choices[choice].text == meaning;
        // The first choice is every field's default, which a switch keeps.
        if (same || choice == 0) continue;
        choice = 0;
        changes.push_back("配置字的\"" + std::string(meaning) + "\"将改为\"" +
                          std::string(ChosenConfig(after, field).text) + "\"");
    }
}

}  // namespace

constexpr Module kConfigWordModule = {
    .name = "ConfigWord",
    .writesSetup = Never,
    .settle = Settle,
    .rules = Rules,
    .switchPart = SwitchPart,
    .form = FormId::ConfigWord,
};

}  // namespace korvane
