#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "settings/ad_converter.h"
#include "settings/chip_facts.h"
#include "settings/mssp.h"
#include "settings/project_settings.h"

namespace korvane {

// The dialog (or the main window, for the crystal) a setting belongs to.
enum class SettingGroup {
    Crystal,
    Ports,
    Timer0,
    Timer1,
    Timer2,
    Ccp,
    Sci,
    Mssp,
    Chip,
    ConfigWord,
    PortB,
    Ad,
};
inline constexpr SettingGroup kEveryGroup[] = {
    SettingGroup::Crystal, SettingGroup::Ports,      SettingGroup::Timer0, SettingGroup::Timer1,
    SettingGroup::Timer2,  SettingGroup::Ccp,        SettingGroup::Sci,    SettingGroup::Mssp,
    SettingGroup::Chip,    SettingGroup::ConfigWord, SettingGroup::PortB,  SettingGroup::Ad,
};

// What resetting its group does to a setting. Calculator outputs, the chosen
// baud rate and the SCI's interrupt boxes keep their values.
enum class OnReset { Default, Keep };

// Where a setting lives; the alternative is the setting's kind.
using SettingMember =
    std::variant<float ProjectSettings::*, std::int16_t ProjectSettings::*, std::string ProjectSettings::*,
                 PinDirections ProjectSettings::*, SettingValue ProjectSettings::*>;

// The whole numbers a setting may hold: an int16 itself, every pin of a pin
// list, and a loosely typed value as the number it rounds to (half to even,
// as the generator reads an option index).
struct AllowedRange {
    std::int16_t min;
    std::int16_t max;
};
inline constexpr AllowedRange kPinDirection{0, 1};
inline constexpr AllowedRange kInterruptFlag{kInterruptOn, 0};
// The index of one of `count` options.
constexpr AllowedRange Options(std::int16_t count) {
    return {0, static_cast<std::int16_t>(count - 1)};
}

struct Setting {
    std::string_view name;  // in the project file, as the member is named
    SettingMember member;
    SettingGroup group;
    std::optional<AllowedRange> range = std::nullopt;  // nothing: any value of its kind
    OnReset onReset = OnReset::Default;
};

// Every setting, once. A member added to ProjectSettings needs its row here;
// the build fails until it has one.
#define KORVANE_SETTING(name, ...)                 \
    Setting {                                      \
#name, &ProjectSettings::name, __VA_ARGS__ \
    }
// clang-format off
inline constexpr Setting kSettings[] = {
    KORVANE_SETTING(CrystalMHz, SettingGroup::Crystal),

    KORVANE_SETTING(PortADir, SettingGroup::Ports, kPinDirection),
    KORVANE_SETTING(PortBDir, SettingGroup::Ports, kPinDirection),
    KORVANE_SETTING(PortCDir, SettingGroup::Ports, kPinDirection),
    KORVANE_SETTING(PortDDir, SettingGroup::Ports, kPinDirection),
    KORVANE_SETTING(PortEDir, SettingGroup::Ports, kPinDirection),
    KORVANE_SETTING(PortAUsed, SettingGroup::Ports),
    KORVANE_SETTING(PortBUsed, SettingGroup::Ports),
    KORVANE_SETTING(PortCUsed, SettingGroup::Ports),
    KORVANE_SETTING(PortDUsed, SettingGroup::Ports),
    KORVANE_SETTING(PortEUsed, SettingGroup::Ports),

    KORVANE_SETTING(T0En, SettingGroup::Timer0),
    KORVANE_SETTING(T0Int, SettingGroup::Timer0, kInterruptFlag),
    KORVANE_SETTING(T0UsePs, SettingGroup::Timer0),
    KORVANE_SETTING(T0PsIndex, SettingGroup::Timer0, Options(8)),
    KORVANE_SETTING(T0PsDiv, SettingGroup::Timer0),
    KORVANE_SETTING(T0ClockMode, SettingGroup::Timer0, Options(3)),
    KORVANE_SETTING(T0Edge, SettingGroup::Timer0, Options(2)),
    KORVANE_SETTING(T0FreqMHz, SettingGroup::Timer0),
    KORVANE_SETTING(T0TimeUs, SettingGroup::Timer0),
    KORVANE_SETTING(T0ErrorUs, SettingGroup::Timer0, std::nullopt, OnReset::Keep),
    KORVANE_SETTING(T0RegText, SettingGroup::Timer0, std::nullopt, OnReset::Keep),

    KORVANE_SETTING(T1En, SettingGroup::Timer1),
    KORVANE_SETTING(T1Int, SettingGroup::Timer1, kInterruptFlag),
    KORVANE_SETTING(T1PsIndex, SettingGroup::Timer1, Options(4)),
    KORVANE_SETTING(T1PsDiv, SettingGroup::Timer1),
    KORVANE_SETTING(T1ClockMode, SettingGroup::Timer1, Options(2)),
    KORVANE_SETTING(T1SyncMode, SettingGroup::Timer1, Options(2)),
    KORVANE_SETTING(T1OscEn, SettingGroup::Timer1, Options(2)),
    KORVANE_SETTING(T1FreqMHz, SettingGroup::Timer1),
    KORVANE_SETTING(T1TimeUs, SettingGroup::Timer1),
    KORVANE_SETTING(T1ErrorUs, SettingGroup::Timer1, std::nullopt, OnReset::Keep),
    KORVANE_SETTING(T1RegHighText, SettingGroup::Timer1, std::nullopt, OnReset::Keep),
    KORVANE_SETTING(T1RegLowText, SettingGroup::Timer1, std::nullopt, OnReset::Keep),

    KORVANE_SETTING(T2En, SettingGroup::Timer2),
    KORVANE_SETTING(T2Int, SettingGroup::Timer2, kInterruptFlag),
    KORVANE_SETTING(T2PsIndex, SettingGroup::Timer2, Options(3)),
    KORVANE_SETTING(T2PostIndex, SettingGroup::Timer2, Options(16)),
    KORVANE_SETTING(T2PsDiv, SettingGroup::Timer2),
    KORVANE_SETTING(T2FreqMHz, SettingGroup::Timer2),
    KORVANE_SETTING(T2TimeUs, SettingGroup::Timer2),
    KORVANE_SETTING(T2ErrorUs, SettingGroup::Timer2, std::nullopt, OnReset::Keep),
    KORVANE_SETTING(T2RegText, SettingGroup::Timer2, std::nullopt, OnReset::Keep),

    KORVANE_SETTING(Ccp1En, SettingGroup::Ccp),
    KORVANE_SETTING(Ccp2En, SettingGroup::Ccp),
    KORVANE_SETTING(Ccp1Int, SettingGroup::Ccp, kInterruptFlag),
    KORVANE_SETTING(Ccp2Int, SettingGroup::Ccp, kInterruptFlag),
    KORVANE_SETTING(Ccp1Mode, SettingGroup::Ccp, Options(3)),
    KORVANE_SETTING(Ccp2Mode, SettingGroup::Ccp, Options(3)),
    KORVANE_SETTING(Ccp1M, SettingGroup::Ccp),
    KORVANE_SETTING(Ccp2M, SettingGroup::Ccp),
    // The sub-mode options are numbered 4 to 7.
    KORVANE_SETTING(Ccp1SubCode, SettingGroup::Ccp, AllowedRange{4, 7}),
    KORVANE_SETTING(Ccp2SubCode, SettingGroup::Ccp, AllowedRange{4, 7}),
    KORVANE_SETTING(Ccp1Y, SettingGroup::Ccp),
    KORVANE_SETTING(Ccp2Y, SettingGroup::Ccp),
    KORVANE_SETTING(Ccp1X, SettingGroup::Ccp),
    KORVANE_SETTING(Ccp2X, SettingGroup::Ccp),
    KORVANE_SETTING(Ccp1CmpTimeUs, SettingGroup::Ccp),
    KORVANE_SETTING(Ccp2CmpTimeUs, SettingGroup::Ccp),
    KORVANE_SETTING(Ccp1CmpValue, SettingGroup::Ccp),
    KORVANE_SETTING(Ccp2CmpValue, SettingGroup::Ccp),
    KORVANE_SETTING(Ccp1DutyUs, SettingGroup::Ccp),
    KORVANE_SETTING(Ccp2DutyUs, SettingGroup::Ccp),
    KORVANE_SETTING(Ccp1DutyReg, SettingGroup::Ccp),
    KORVANE_SETTING(Ccp2DutyReg, SettingGroup::Ccp),

    KORVANE_SETTING(SciEn, SettingGroup::Sci),
    KORVANE_SETTING(SciTxEn, SettingGroup::Sci),
    KORVANE_SETTING(SciRxEn, SettingGroup::Sci),
    KORVANE_SETTING(SciSyncMode, SettingGroup::Sci, Options(2)),
    KORVANE_SETTING(SciTx9, SettingGroup::Sci, Options(2)),
    KORVANE_SETTING(SciClockSource, SettingGroup::Sci, Options(2)),
    KORVANE_SETTING(SciTxInt, SettingGroup::Sci, std::nullopt, OnReset::Keep),
    KORVANE_SETTING(SciRxInt, SettingGroup::Sci, std::nullopt, OnReset::Keep),
    KORVANE_SETTING(SciContinuous, SettingGroup::Sci, Options(2)),
    KORVANE_SETTING(SciSingleRx, SettingGroup::Sci),
    KORVANE_SETTING(SciRx9, SettingGroup::Sci, Options(2)),
    KORVANE_SETTING(SciHighSpeed, SettingGroup::Sci, Options(2)),
    KORVANE_SETTING(SciErrLimit, SettingGroup::Sci),
    KORVANE_SETTING(SciBaud, SettingGroup::Sci, std::nullopt, OnReset::Keep),
    KORVANE_SETTING(SciSpbrgText, SettingGroup::Sci, std::nullopt, OnReset::Keep),

    KORVANE_SETTING(MsspEn, SettingGroup::Mssp, Options(2)),
    KORVANE_SETTING(MsspMode, SettingGroup::Mssp, Options(kMsspModeCount)),
    KORVANE_SETTING(MsspSpiClock, SettingGroup::Mssp, Options(kMsspSpiClockCount)),
    KORVANE_SETTING(MsspSlaveSelect, SettingGroup::Mssp, Options(2)),
    KORVANE_SETTING(MsspCkp, SettingGroup::Mssp, Options(2)),
    KORVANE_SETTING(MsspCke, SettingGroup::Mssp, Options(2)),
    KORVANE_SETTING(MsspSmp, SettingGroup::Mssp, Options(2)),
    KORVANE_SETTING(MsspI2cSpeed, SettingGroup::Mssp, Options(3)),
    KORVANE_SETTING(MsspI2cKHz, SettingGroup::Mssp),
    KORVANE_SETTING(MsspSlewControl, SettingGroup::Mssp, Options(2)),
    // -1: no value worked out for the rate at this crystal.
    KORVANE_SETTING(MsspSspadd, SettingGroup::Mssp, AllowedRange{-1, kLargestSspadd}, OnReset::Keep),
    KORVANE_SETTING(MsspInt, SettingGroup::Mssp, kInterruptFlag),
    KORVANE_SETTING(MsspBclInt, SettingGroup::Mssp, kInterruptFlag),

    KORVANE_SETTING(ChipPart, SettingGroup::Chip, Options(kPartCount)),
    // A field's range is the most choices any part has; the table of parts
    // checks that these agree with it.
    KORVANE_SETTING(CfgOsc, SettingGroup::ConfigWord, Options(4)),
    KORVANE_SETTING(CfgOscByHand, SettingGroup::ConfigWord, Options(2)),
    KORVANE_SETTING(CfgWdt, SettingGroup::ConfigWord, Options(2)),
    KORVANE_SETTING(CfgPwrt, SettingGroup::ConfigWord, Options(2)),
    KORVANE_SETTING(CfgBor, SettingGroup::ConfigWord, Options(2)),
    KORVANE_SETTING(CfgLvp, SettingGroup::ConfigWord, Options(2)),
    KORVANE_SETTING(CfgDebug, SettingGroup::ConfigWord, Options(2)),
    KORVANE_SETTING(CfgCp, SettingGroup::ConfigWord, Options(4)),
    KORVANE_SETTING(CfgCpd, SettingGroup::ConfigWord, Options(2)),
    KORVANE_SETTING(CfgWrt, SettingGroup::ConfigWord, Options(4)),
    KORVANE_SETTING(CfgWrite, SettingGroup::ConfigWord, Options(2)),

    KORVANE_SETTING(Rb0Int, SettingGroup::PortB, kInterruptFlag),
    KORVANE_SETTING(Rb0Edge, SettingGroup::PortB, Options(2)),
    KORVANE_SETTING(RbChangeInt, SettingGroup::PortB, kInterruptFlag),
    KORVANE_SETTING(RbPullUp, SettingGroup::PortB, Options(2)),

    KORVANE_SETTING(AdEn, SettingGroup::Ad, Options(2)),
    KORVANE_SETTING(AdPcfg, SettingGroup::Ad, Options(kPcfgCount)),
    KORVANE_SETTING(AdChannel, SettingGroup::Ad, Options(kAdChannelCount)),
    // 0b111 is FRC as 0b011 is; the dialog stores 0b011.
    KORVANE_SETTING(AdClock, SettingGroup::Ad, Options(7)),
    KORVANE_SETTING(AdClockByHand, SettingGroup::Ad, Options(2)),
    KORVANE_SETTING(AdRightJustify, SettingGroup::Ad, Options(2)),
    KORVANE_SETTING(AdInt, SettingGroup::Ad, kInterruptFlag),
};
// clang-format on
#undef KORVANE_SETTING

// The row of the setting named `name`, or null.
const Setting* FindSetting(std::string_view name);

bool WithinRange(const AllowedRange& range, std::int64_t whole);
// A value within the range: a number, not NaN, that rounds into it.
bool WithinRange(const AllowedRange& range, const SettingValue& value);

}  // namespace korvane
