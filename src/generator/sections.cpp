#include "generator/sections.h"

#include <charconv>

#include "settings/ad_converter.h"
#include "settings/output_form.h"
#include "settings/setting_table.h"

namespace korvane {

std::optional<Adcon1Choice> Adcon1Of(const ProjectSettings& s) {
    if (AdUsed(s)) return Adcon1Choice{AdAdcon1(s), true};
    // PCFG = 011x: every pin of ports A and E digital.
    constexpr std::int64_t kAllDigital = kPcfgAllDigital;
    if (s.PortAUsed == 1 || s.PortEUsed == 1) return Adcon1Choice{kAllDigital, false};
    return std::nullopt;
}

bool WritesInDataSheetOrder(const ProjectSettings& s) {
    return OutputFormOf(s) != OutputFormId::Classic;
}

std::int64_t BitAt(std::int64_t index, int k) {
    return (index >> k) & 1;
}

std::int64_t BitOf(const SettingValue& value) {
    return value.equals(1) ? 1 : 0;
}

std::optional<std::int64_t> RegisterNumber(std::string_view text) {
    if (text.empty() || !HasShape(text, TextShape::Register)) return std::nullopt;
    std::int64_t value = 0;
    std::from_chars(text.data() + 2, text.data() + text.size(), value, 16);
    return value;
}

}  // namespace korvane
