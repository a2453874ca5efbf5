#include "dialogs/stored_options.h"

#include <cmath>

#include "settings/chip_facts.h"

namespace korvane {

std::optional<int> OptionIndexOrNothing(const SettingValue& value, int count) {
    const auto number = value.toNumber();
    if (!number || !(*number >= 0 && *number < count) || std::trunc(*number) != *number) return std::nullopt;
    return static_cast<int>(*number);
}

void SelectStoredOption(OptionGroup& group, const SettingValue& value) {
    if (const auto index = OptionIndexOrNothing(value, group.count())) group.select(*index);
}

std::int16_t InterruptSetting(const CheckBox& box) {
    return box.checked() ? kInterruptOn : std::int16_t{0};
}

int PrescaleRatio(TimerKind timer, std::optional<int> index) {
    const std::span<const int> ratios = PrescalerRatios(timer);
    if (!index || *index < 0 || *index >= static_cast<int>(ratios.size())) return 0;
    return ratios[static_cast<std::size_t>(*index)];
}

std::vector<std::string> RatioCaptions(std::span<const int> ratios) {
    std::vector<std::string> captions;
    for (int ratio : ratios) captions.push_back("1:" + std::to_string(ratio));
    return captions;
}

std::vector<std::string> RatioCaptions(std::initializer_list<int> ratios) {
    return RatioCaptions(std::span<const int>(ratios.begin(), ratios.size()));
}

}  // namespace korvane
