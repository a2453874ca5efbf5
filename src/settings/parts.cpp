#include "settings/parts.h"

#include <algorithm>
#include <optional>
#include <variant>

#include "settings/setting_table.h"

namespace korvane {

namespace {

// The fields both families share. Two-way fields list "off" first, so a
// check box's state is the choice's index.
constexpr ConfigChoice kOsc[] = {
    {"LP", 0x0000, "LP振荡"},
    {"XT", 0x0001, "XT振荡"},
    {"HS", 0x0002, "HS振荡"},
    {"EXTRC", 0x0003, "RC振荡"},
};
constexpr ConfigChoice kWdt[] = {{"OFF", 0x0000, "看门狗关"}, {"ON", 0x0004, "看门狗开"}};
constexpr ConfigChoice kPwrt[] = {{"OFF", 0x0008, "上电延时关"}, {"ON", 0x0000, "上电延时开"}};
constexpr ConfigChoice kBor[] = {{"OFF", 0x0000, "欠压复位关"}, {"ON", 0x0040, "欠压复位开"}};
constexpr ConfigChoice kLvp[] = {{"OFF", 0x0000, "低电压编程关"}, {"ON", 0x0080, "低电压编程开"}};
constexpr ConfigChoice kDebug[] = {{"OFF", 0x0800, "在线调试关"}, {"ON", 0x0000, "在线调试开"}};
constexpr ConfigChoice kCpd[] = {{"OFF", 0x0100, "EEPROM数据不保护"}, {"ON", 0x0000, "EEPROM数据保护"}};

// Code protection: the first two choices mean the same on both families, so
// a part switch keeps them.
constexpr ConfigChoice kCpPlain[] = {
    {"OFF", 0x3030, "代码不保护"},
    {"ALL", 0x0000, "代码全部保护"},
    {"HALF", 0x1010, "代码保护高1/2"},
    {"UPPER_256", 0x2020, "代码保护高256字"},
};
constexpr ConfigChoice kCpA[] = {{"OFF", 0x2000, "代码不保护"}, {"ON", 0x0000, "代码全部保护"}};

// Flash writes: the plain parts only allow or forbid self-writes; the A
// parts protect a block from address 0 instead.
constexpr ConfigChoice kWrtPlain[] = {{"ON", 0x0200, "程序存储器可自写"},
                                      {"OFF", 0x0000, "程序存储器禁止自写"}};
constexpr ConfigChoice kWrtA[] = {
    {"OFF", 0x0600, "程序存储器不写保护"},
    {"256", 0x0400, "写保护低256字"},
    {"1FOURTH", 0x0200, "写保护低1/4"},
    {"HALF", 0x0000, "写保护低1/2"},
};

// In ConfigField order; the families differ only in CP and WRT.
constexpr ConfigFields Family(ConfigFieldFacts cp, ConfigFieldFacts wrt) {
    return {{
        {"FOSC", 0x0003, kOsc},
        {"WDTE", 0x0004, kWdt},
        {"PWRTE", 0x0008, kPwrt},
        {"BOREN", 0x0040, kBor},
        {"LVP", 0x0080, kLvp},
        {"DEBUG", 0x0800, kDebug},
        cp,
        {"CPD", 0x0100, kCpd},
        wrt,
    }};
}
constexpr ConfigFields kConfigPlain = Family({"CP", 0x3030, kCpPlain}, {"WRT", 0x0200, kWrtPlain});
constexpr ConfigFields kConfigA = Family({"CP", 0x2000, kCpA}, {"WRT", 0x0600, kWrtA});

constexpr PartFacts kParts[kPartCount] = {
    {"PIC16F873", 28, 5, false, false, kConfigPlain}, {"PIC16F874", 40, 8, false, false, kConfigPlain},
    {"PIC16F876", 28, 5, false, false, kConfigPlain}, {"PIC16F877", 40, 8, false, false, kConfigPlain},
    {"PIC16F873A", 28, 5, true, true, kConfigA},      {"PIC16F874A", 40, 8, true, true, kConfigA},
    {"PIC16F876A", 28, 5, true, true, kConfigA},      {"PIC16F877A", 40, 8, true, true, kConfigA},
};

constexpr std::int16_t ProjectSettings::*kConfigSettings[kConfigFieldCount] = {
    &ProjectSettings::CfgOsc, &ProjectSettings::CfgWdt, &ProjectSettings::CfgPwrt,
    &ProjectSettings::CfgBor, &ProjectSettings::CfgLvp, &ProjectSettings::CfgDebug,
    &ProjectSettings::CfgCp,  &ProjectSettings::CfgCpd, &ProjectSettings::CfgWrt,
};

constexpr int kPortD = 3;

// A field's setting allows the indexes of the most choices any part offers,
// so a project file can hold nothing beyond them.
constexpr bool RangesFitChoices() {
    using Member = std::int16_t ProjectSettings::*;
    for (int field = 0; field < kConfigFieldCount; ++field) {
        std::size_t most = 0;
        for (const PartFacts& part : kParts) most = std::max(most, part.config[field].choices.size());
        std::optional<AllowedRange> range;
        for (const Setting& setting : kSettings)
            if (std::holds_alternative<Member>(setting.member) &&
                std::get<Member>(setting.member) == kConfigSettings[field])
                range = setting.rule.range;
        if (!range || range->min != 0 || static_cast<std::size_t>(range->max) + 1 != most) return false;
    }
    return true;
}
static_assert(RangesFitChoices(), "a configuration field's range differs from its choices");

}  // namespace

std::span<const PartFacts, kPartCount> Parts() {
    return kParts;
}

std::int16_t ChosenPartIndex(const ProjectSettings& settings) {
    const bool known = settings.ChipPart >= 0 && settings.ChipPart < kPartCount;
    return known ? settings.ChipPart : kDefaultPart;
}

const PartFacts& ChosenPart(const ProjectSettings& settings) {
    return kParts[ChosenPartIndex(settings)];
}

bool PortExists(const ProjectSettings& settings, int port) {
    return port < kPortD || ChosenPart(settings).hasPortsDE();
}

std::int16_t ProjectSettings::*ConfigSetting(ConfigField field) {
    return kConfigSettings[static_cast<int>(field)];
}

const ConfigChoice& ChosenConfig(const ProjectSettings& settings, ConfigField field) {
    const auto choices = ChosenPart(settings).config[static_cast<int>(field)].choices;
    const std::int16_t index = settings.*ConfigSetting(field);
    return choices[index >= 0 && static_cast<std::size_t>(index) < choices.size() ? index : 0];
}

std::int16_t OscillatorForCrystal(float mhz) {
    // Compared as the single the crystal is stored as, so a typed 0.2 is LP.
    if (mhz <= 0.2f) return kOscLp;
    if (mhz <= 4) return kOscXt;
    return kOscHs;
}

void FollowCrystal(ProjectSettings& settings) {
    if (settings.CfgOscByHand != 0 || settings.CfgOsc == kOscRc) return;
    settings.CfgOsc = OscillatorForCrystal(settings.CrystalMHz);
}

}  // namespace korvane
