#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "settings/ad_converter.h"
#include "settings/chip_facts.h"
#include "settings/mssp.h"
#include "settings/output_form.h"
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
    Comparator,
};
inline constexpr SettingGroup kEveryGroup[] = {
    SettingGroup::Crystal,    SettingGroup::Ports,      SettingGroup::Timer0, SettingGroup::Timer1,
    SettingGroup::Timer2,     SettingGroup::Ccp,        SettingGroup::Sci,    SettingGroup::Mssp,
    SettingGroup::Chip,       SettingGroup::ConfigWord, SettingGroup::PortB,  SettingGroup::Ad,
    SettingGroup::Comparator,
};

// What resetting its group does to a setting. Calculator outputs, the chosen
// baud rate and the SCI's interrupt boxes keep their values.
enum class OnReset { Default, Keep };

// Where a setting lives; the alternative is the setting's kind.
using SettingMember =
    std::variant<float ProjectSettings::*, std::int16_t ProjectSettings::*, std::string ProjectSettings::*,
                 PinDirections ProjectSettings::*, SettingValue ProjectSettings::*>;

// The whole numbers a setting may hold: an int16 itself, every pin of a pin
// list, a single that counts something, a loosely typed number.
struct AllowedRange {
    std::int32_t min;
    std::int32_t max;
};

// The kinds a loosely typed setting may hold: those its control stores.
using Kinds = std::uint8_t;
constexpr Kinds KindBit(SettingValue::Kind kind) {
    return static_cast<Kinds>(1U << static_cast<int>(kind));
}
inline constexpr Kinds kInt16Kind = KindBit(SettingValue::Kind::Int16);
inline constexpr Kinds kFlagKind = KindBit(SettingValue::Kind::Flag);
inline constexpr Kinds kTextKind = KindBit(SettingValue::Kind::Text);

// What a text may hold.
enum class TextShape {
    Decimal,   // what a number box lets through: digits and full stops
    Register,  // a register value as the source writes it ("0x0F"), or none yet
    Digits,    // a baud rate's digits, or none yet
};

// What a setting may hold besides its C++ type. Every number must be finite.
struct ValueRule {
    std::optional<AllowedRange> range = std::nullopt;  // nothing: any whole or fractional number
    Kinds kinds = kInt16Kind;                          // loosely typed settings only
    TextShape shape = TextShape::Decimal;              // texts only
    bool positive = false;                             // a frequency: above 0
};

inline constexpr ValueRule kAnyNumber{};
inline constexpr ValueRule kFrequency{.positive = true};
inline constexpr ValueRule kPinDirection{AllowedRange{0, 1}};
inline constexpr ValueRule kPinLevel{AllowedRange{0, 1}};
inline constexpr ValueRule kInterruptFlag{AllowedRange{kInterruptOn, 0}};
// A whole number from `min` to `max`.
constexpr ValueRule Whole(std::int32_t min, std::int32_t max) {
    return {AllowedRange{min, max}};
}
// The index of one of `count` options; also a box's 0/1 state.
constexpr ValueRule Options(std::int32_t count) {
    return Whole(0, count - 1);
}
// A check box's true or false.
inline constexpr ValueRule kTicked{.kinds = kFlagKind};
// A number box: its text as typed, or the number a calculator made of it.
inline constexpr ValueRule kTypedNumber{.kinds =
                                            kInt16Kind | KindBit(SettingValue::Kind::Single) | kTextKind};
// A time a calculator accepted; the box's text is never stored.
inline constexpr ValueRule kAcceptedNumber{.kinds = kInt16Kind | KindBit(SettingValue::Kind::Single)};
// A calculator's register value as the source writes it.
inline constexpr ValueRule kRegisterText{.kinds = kTextKind, .shape = TextShape::Register};

// Whether a text has its shape.
bool HasShape(std::string_view text, TextShape shape);

// Why a value breaks its setting's rule, if it does.
enum class Refusal { None, Kind, Range, Shape };
// A number: finite, above 0 for a frequency, whole within a range.
Refusal CheckNumber(const ValueRule& rule, double number);
// A loosely typed value: one of the rule's kinds, and a number or text it allows.
Refusal CheckValue(const ValueRule& rule, const SettingValue& value);

// What a setting holds when a project file does not name it: its default,
// or off, for what files written before it existed did not have.
enum class WhenAbsent { Default, Off };

struct Setting {
    std::string_view name;  // in the project file, as the member is named
    SettingMember member;
    SettingGroup group;
    ValueRule rule;
    OnReset onReset = OnReset::Default;
    WhenAbsent whenAbsent = WhenAbsent::Default;
};

// Every setting, once. A member added to ProjectSettings needs its row here;
// the build fails until it has one.
#define KORVANE_SETTING(name, ...)                 \
    Setting {                                      \
#name, &ProjectSettings::name, __VA_ARGS__ \
    }
// clang-format off
inline constexpr Setting kSettings[] = {
    KORVANE_SETTING(CrystalMHz, SettingGroup::Crystal, kFrequency),

    KORVANE_SETTING(PortADir, SettingGroup::Ports, kPinDirection),
    KORVANE_SETTING(PortBDir, SettingGroup::Ports, kPinDirection),
    KORVANE_SETTING(PortCDir, SettingGroup::Ports, kPinDirection),
    KORVANE_SETTING(PortDDir, SettingGroup::Ports, kPinDirection),
    KORVANE_SETTING(PortEDir, SettingGroup::Ports, kPinDirection),
    KORVANE_SETTING(PortAUsed, SettingGroup::Ports, Options(2)),
    KORVANE_SETTING(PortBUsed, SettingGroup::Ports, Options(2)),
    KORVANE_SETTING(PortCUsed, SettingGroup::Ports, Options(2)),
    KORVANE_SETTING(PortDUsed, SettingGroup::Ports, Options(2)),
    KORVANE_SETTING(PortEUsed, SettingGroup::Ports, Options(2)),
    // A file that names no levels starts every output low.
    KORVANE_SETTING(PortALevel, SettingGroup::Ports, kPinLevel),
    KORVANE_SETTING(PortBLevel, SettingGroup::Ports, kPinLevel),
    KORVANE_SETTING(PortCLevel, SettingGroup::Ports, kPinLevel),
    KORVANE_SETTING(PortDLevel, SettingGroup::Ports, kPinLevel),
    KORVANE_SETTING(PortELevel, SettingGroup::Ports, kPinLevel),

    KORVANE_SETTING(T0En, SettingGroup::Timer0, kTicked),
    KORVANE_SETTING(T0Int, SettingGroup::Timer0, kInterruptFlag),
    KORVANE_SETTING(T0UsePs, SettingGroup::Timer0, kTicked),
    KORVANE_SETTING(T0PsIndex, SettingGroup::Timer0, Options(8)),
    // Follows T0UsePs and T0PsIndex: 1, or 2 to 256.
    KORVANE_SETTING(T0PsDiv, SettingGroup::Timer0, Whole(1, 256)),
    KORVANE_SETTING(T0ClockMode, SettingGroup::Timer0, Options(3)),
    KORVANE_SETTING(T0Edge, SettingGroup::Timer0, Options(2)),
    KORVANE_SETTING(T0FreqMHz, SettingGroup::Timer0, kTypedNumber),
    KORVANE_SETTING(T0TimeUs, SettingGroup::Timer0, kTypedNumber),
    KORVANE_SETTING(T0ErrorUs, SettingGroup::Timer0, kAnyNumber, OnReset::Keep),
    KORVANE_SETTING(T0RegText, SettingGroup::Timer0, kRegisterText, OnReset::Keep),

    KORVANE_SETTING(T1En, SettingGroup::Timer1, kTicked),
    KORVANE_SETTING(T1Int, SettingGroup::Timer1, kInterruptFlag),
    KORVANE_SETTING(T1PsIndex, SettingGroup::Timer1, Options(4)),
    // Follows T1PsIndex; the dialog stores a 64-bit number.
    KORVANE_SETTING(T1PsDiv, SettingGroup::Timer1,
                    (ValueRule{AllowedRange{1, 8}, kInt16Kind | KindBit(SettingValue::Kind::Double)})),
    KORVANE_SETTING(T1ClockMode, SettingGroup::Timer1, Options(2)),
    KORVANE_SETTING(T1SyncMode, SettingGroup::Timer1, Options(2)),
    KORVANE_SETTING(T1OscEn, SettingGroup::Timer1, Options(2)),
    KORVANE_SETTING(T1FreqMHz, SettingGroup::Timer1, kTypedNumber),
    KORVANE_SETTING(T1TimeUs, SettingGroup::Timer1, kTypedNumber),
    KORVANE_SETTING(T1ErrorUs, SettingGroup::Timer1, kAnyNumber, OnReset::Keep),
    KORVANE_SETTING(T1RegHighText, SettingGroup::Timer1, kRegisterText, OnReset::Keep),
    KORVANE_SETTING(T1RegLowText, SettingGroup::Timer1, kRegisterText, OnReset::Keep),

    KORVANE_SETTING(T2En, SettingGroup::Timer2, kTicked),
    KORVANE_SETTING(T2Int, SettingGroup::Timer2, kInterruptFlag),
    KORVANE_SETTING(T2PsIndex, SettingGroup::Timer2, Options(3)),
    KORVANE_SETTING(T2PostIndex, SettingGroup::Timer2, Options(16)),
    // Follows T2PsIndex: 1, 4 or 16.
    KORVANE_SETTING(T2PsDiv, SettingGroup::Timer2, Whole(1, 16)),
    KORVANE_SETTING(T2FreqMHz, SettingGroup::Timer2, kTypedNumber),
    KORVANE_SETTING(T2TimeUs, SettingGroup::Timer2, kTypedNumber),
    KORVANE_SETTING(T2ErrorUs, SettingGroup::Timer2, kAnyNumber, OnReset::Keep),
    KORVANE_SETTING(T2RegText, SettingGroup::Timer2, kRegisterText, OnReset::Keep),

    KORVANE_SETTING(Ccp1En, SettingGroup::Ccp, kTicked),
    KORVANE_SETTING(Ccp2En, SettingGroup::Ccp, kTicked),
    KORVANE_SETTING(Ccp1Int, SettingGroup::Ccp, kInterruptFlag),
    KORVANE_SETTING(Ccp2Int, SettingGroup::Ccp, kInterruptFlag),
    KORVANE_SETTING(Ccp1Mode, SettingGroup::Ccp, Options(3)),
    KORVANE_SETTING(Ccp2Mode, SettingGroup::Ccp, Options(3)),
    // Follows the module's use, mode and sub-mode: 0, 4 to 11, or 12 (PWM).
    KORVANE_SETTING(Ccp1M, SettingGroup::Ccp, Whole(0, 12)),
    KORVANE_SETTING(Ccp2M, SettingGroup::Ccp, Whole(0, 12)),
    // The sub-mode options are numbered 4 to 7.
    KORVANE_SETTING(Ccp1SubCode, SettingGroup::Ccp, Whole(4, 7)),
    KORVANE_SETTING(Ccp2SubCode, SettingGroup::Ccp, Whole(4, 7)),
    KORVANE_SETTING(Ccp1Y, SettingGroup::Ccp, Options(2)),
    KORVANE_SETTING(Ccp2Y, SettingGroup::Ccp, Options(2)),
    KORVANE_SETTING(Ccp1X, SettingGroup::Ccp, Options(2)),
    KORVANE_SETTING(Ccp2X, SettingGroup::Ccp, Options(2)),
    KORVANE_SETTING(Ccp1CmpTimeUs, SettingGroup::Ccp, kAcceptedNumber),
    KORVANE_SETTING(Ccp2CmpTimeUs, SettingGroup::Ccp, kAcceptedNumber),
    // 0: no value worked out for the time with Timer1's clock.
    KORVANE_SETTING(Ccp1CmpValue, SettingGroup::Ccp, Whole(0, kLargestCompareValue)),
    KORVANE_SETTING(Ccp2CmpValue, SettingGroup::Ccp, Whole(0, kLargestCompareValue)),
    KORVANE_SETTING(Ccp1DutyUs, SettingGroup::Ccp, kAcceptedNumber),
    KORVANE_SETTING(Ccp2DutyUs, SettingGroup::Ccp, kAcceptedNumber),
    // -1: no duty worked out for the time with Timer2's period.
    KORVANE_SETTING(Ccp1DutyReg, SettingGroup::Ccp, Whole(-1, 255)),
    KORVANE_SETTING(Ccp2DutyReg, SettingGroup::Ccp, Whole(-1, 255)),
    KORVANE_SETTING(CcpDrivers, SettingGroup::Ccp, Options(2), OnReset::Default, WhenAbsent::Off),

    // The check boxes store their state, 0 or 1.
    KORVANE_SETTING(SciEn, SettingGroup::Sci, Options(2)),
    KORVANE_SETTING(SciTxEn, SettingGroup::Sci, Options(2)),
    KORVANE_SETTING(SciRxEn, SettingGroup::Sci, Options(2)),
    KORVANE_SETTING(SciSyncMode, SettingGroup::Sci, Options(2)),
    KORVANE_SETTING(SciTx9, SettingGroup::Sci, Options(2)),
    KORVANE_SETTING(SciClockSource, SettingGroup::Sci, Options(2)),
    KORVANE_SETTING(SciTxInt, SettingGroup::Sci, Options(2), OnReset::Keep),
    KORVANE_SETTING(SciRxInt, SettingGroup::Sci, Options(2), OnReset::Keep),
    KORVANE_SETTING(SciContinuous, SettingGroup::Sci, Options(2)),
    KORVANE_SETTING(SciSingleRx, SettingGroup::Sci, Options(2)),
    KORVANE_SETTING(SciRx9, SettingGroup::Sci, Options(2)),
    KORVANE_SETTING(SciHighSpeed, SettingGroup::Sci, Options(2)),
    // The typed limit, or 0 when the box was emptied.
    KORVANE_SETTING(SciErrLimit, SettingGroup::Sci, (ValueRule{.kinds = kInt16Kind | kTextKind})),
    KORVANE_SETTING(SciBaud, SettingGroup::Sci, (ValueRule{.shape = TextShape::Digits}), OnReset::Keep),
    KORVANE_SETTING(SciSpbrgText, SettingGroup::Sci, kRegisterText, OnReset::Keep),
    KORVANE_SETTING(SciDrivers, SettingGroup::Sci, Options(2), OnReset::Default, WhenAbsent::Off),
    KORVANE_SETTING(SciRxBuffer, SettingGroup::Sci, Whole(4, 64)),
    KORVANE_SETTING(SciTxBuffer, SettingGroup::Sci, Whole(4, 64)),

    KORVANE_SETTING(MsspEn, SettingGroup::Mssp, Options(2)),
    KORVANE_SETTING(MsspMode, SettingGroup::Mssp, Options(kMsspModeCount)),
    KORVANE_SETTING(MsspSpiClock, SettingGroup::Mssp, Options(kMsspSpiClockCount)),
    KORVANE_SETTING(MsspSlaveSelect, SettingGroup::Mssp, Options(2)),
    KORVANE_SETTING(MsspCkp, SettingGroup::Mssp, Options(2)),
    KORVANE_SETTING(MsspCke, SettingGroup::Mssp, Options(2)),
    KORVANE_SETTING(MsspSmp, SettingGroup::Mssp, Options(2)),
    KORVANE_SETTING(MsspI2cSpeed, SettingGroup::Mssp, Options(3)),
    KORVANE_SETTING(MsspI2cKHz, SettingGroup::Mssp, kTypedNumber),
    KORVANE_SETTING(MsspSlewControl, SettingGroup::Mssp, Options(2)),
    // -1: no value worked out for the rate at this crystal.
    KORVANE_SETTING(MsspSspadd, SettingGroup::Mssp, Whole(-1, kLargestSspadd), OnReset::Keep),
    KORVANE_SETTING(MsspInt, SettingGroup::Mssp, kInterruptFlag),
    KORVANE_SETTING(MsspBclInt, SettingGroup::Mssp, kInterruptFlag),
    KORVANE_SETTING(MsspDrivers, SettingGroup::Mssp, Options(2), OnReset::Default, WhenAbsent::Off),

    KORVANE_SETTING(ChipPart, SettingGroup::Chip, Options(kPartCount)),
    KORVANE_SETTING(OutputForm, SettingGroup::Chip, Options(kOutputFormCount)),
    KORVANE_SETTING(EepromDrivers, SettingGroup::Chip, Options(2), OnReset::Default, WhenAbsent::Off),
    // A field's range is the most choices any part has; the table of parts
    // checks that these agree with it, and the file's part narrows them.
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
    KORVANE_SETTING(AdDrivers, SettingGroup::Ad, Options(2), OnReset::Default, WhenAbsent::Off),

    KORVANE_SETTING(CmpEn, SettingGroup::Comparator, Options(2)),
    KORVANE_SETTING(CmpMode, SettingGroup::Comparator, Options(8)),
    KORVANE_SETTING(CmpC1Inv, SettingGroup::Comparator, Options(2)),
    KORVANE_SETTING(CmpC2Inv, SettingGroup::Comparator, Options(2)),
    KORVANE_SETTING(CmpCis, SettingGroup::Comparator, Options(2)),
    KORVANE_SETTING(CmpInt, SettingGroup::Comparator, kInterruptFlag),
    KORVANE_SETTING(CvrEn, SettingGroup::Comparator, Options(2)),
    KORVANE_SETTING(CvrOe, SettingGroup::Comparator, Options(2)),
    KORVANE_SETTING(CvrRange, SettingGroup::Comparator, Options(2)),
    KORVANE_SETTING(CvrValue, SettingGroup::Comparator, Options(16)),
};
// clang-format on
#undef KORVANE_SETTING

// Whether the settings hold a value for `setting` that keeps its rule.
bool KeepsRule(const Setting& setting, const ProjectSettings& s);

// Whether two records hold the same choices. A loosely typed value counts as
// its text: a number box's "4" and the 4 a calculator made of it are one
// choice, as are a divisor stored as a whole number and as a 64-bit one.
bool SameChoices(const ProjectSettings& a, const ProjectSettings& b);

// The row of the setting named `name`, or null.
const Setting* FindSetting(std::string_view name);

bool WithinRange(const AllowedRange& range, std::int64_t whole);
// "0到7", as refusals name a range.
std::string RangeText(const AllowedRange& range);

}  // namespace korvane
