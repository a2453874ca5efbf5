#include "settings/setting_rules.h"

#include <algorithm>
#include <type_traits>
#include <variant>

#include "settings/ad_converter.h"
#include "settings/ccp_modules.h"
#include "settings/parts.h"
#include "settings/setting_table.h"

namespace korvane {

namespace {

// A value that follows from `from`; `derived` has the kind its dialog stores.
void Follows(std::vector<RuleBreach>& out, std::string_view setting, const SettingValue& stored,
             const SettingValue& derived, std::string_view from) {
    if (stored.equals(derived.toNumber().value_or(0))) return;
    out.push_back(
        {setting, stored.toText(), "与" + std::string(from) + "不符(应为" + derived.toText() + ")", derived});
}

void PrescalersAgree(const ProjectSettings& s, std::vector<RuleBreach>& out) {
    const auto t0 = RoundedClampedIndex(s.T0PsIndex);
    Follows(out, "T0PsDiv", s.T0PsDiv, s.T0UsePs.isTrue() ? std::int16_t(2 << t0) : std::int16_t{1},
            "T0UsePs和T0PsIndex");
    // The dialog keeps Timer1's divisor as a 64-bit number.
    Follows(out, "T1PsDiv", s.T1PsDiv, static_cast<double>(1 << RoundedClampedIndex(s.T1PsIndex)),
            "T1PsIndex");
    Follows(out, "T2PsDiv", s.T2PsDiv, std::int16_t(1 << 2 * RoundedClampedIndex(s.T2PsIndex)), "T2PsIndex");
}

void CcpCodesAgree(const ProjectSettings& s, std::vector<RuleBreach>& out) {
    for (const CcpModuleFields& m : kCcpModules) {
        const int code = (s.*m.enabled).isTrue()
                             ? CcpModeCode(static_cast<int>(RoundedClampedIndex(s.*m.mode)), s.*m.subCode)
                             : 0;
        const bool first = m.number == 1;
        Follows(out, first ? "Ccp1M" : "Ccp2M", s.*m.modeCode, std::int16_t(code),
                first ? "Ccp1En、Ccp1Mode和Ccp1SubCode" : "Ccp2En、Ccp2Mode和Ccp2SubCode");
    }
}

// The configuration word's choices and the A/D converter's codes the chosen part offers.
void PartOffers(const ProjectSettings& s, std::vector<RuleBreach>& out) {
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
    if (!AdUsed(s)) return;
    const std::vector<int> channels = AnalogChannels(s, s.AdPcfg);
    if (channels.empty()) {
        out.push_back({"AdPcfg", std::to_string(s.AdPcfg), "不设模拟输入，而A/D转换模块已使用"});
        return;
    }
    if (std::find(channels.begin(), channels.end(), s.AdChannel) == channels.end()) {
        std::string list;
        for (int channel : channels) list += (list.empty() ? "" : ",") + std::to_string(channel);
        out.push_back({"AdChannel", std::to_string(s.AdChannel), "不是AdPcfg所设的模拟通道(" + list + ")"});
    }
    if (!ClockOnPart(AdClockOf(s.AdClock), PartHasAdcs2(s)))
        out.push_back({"AdClock", std::to_string(s.AdClock), std::string(part.name) + "没有此转换时钟"});
}

}  // namespace

std::vector<RuleBreach> RuleBreaches(const ProjectSettings& s) {
    std::vector<RuleBreach> out;
    PrescalersAgree(s, out);
    CcpCodesAgree(s, out);
    PartOffers(s, out);
    return out;
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
