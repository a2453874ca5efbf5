#pragma once

#include <cstdint>
#include <string>

#include "settings/project_settings.h"

namespace korvane {

// Every field of the settings record, by stored type, for the tests and fuzz
// targets that fill a record with arbitrary values. A field added to the
// record belongs in one of these lists.
using S = ProjectSettings;

inline constexpr SettingValue S::*kValueFields[] = {
    &S::T0En,          &S::T0UsePs,       &S::T0PsIndex,   &S::T0ClockMode, &S::T0Edge,
    &S::T0FreqMHz,     &S::T0TimeUs,      &S::T1En,        &S::T1PsIndex,   &S::T1PsDiv,
    &S::T1ClockMode,   &S::T1SyncMode,    &S::T1FreqMHz,   &S::T1TimeUs,    &S::T1RegHighText,
    &S::T2En,          &S::T2PsIndex,     &S::T2PostIndex, &S::T2FreqMHz,   &S::T2TimeUs,
    &S::Ccp1En,        &S::Ccp2En,        &S::Ccp1Mode,    &S::Ccp2Mode,    &S::Ccp1M,
    &S::Ccp2M,         &S::Ccp1Y,         &S::Ccp2Y,       &S::Ccp1X,       &S::Ccp2X,
    &S::Ccp1CmpTimeUs, &S::Ccp2CmpTimeUs, &S::Ccp1DutyUs,  &S::Ccp2DutyUs,  &S::SciEn,
    &S::SciTxEn,       &S::SciRxEn,       &S::SciSyncMode, &S::SciTx9,      &S::SciClockSource,
    &S::SciTxInt,      &S::SciContinuous, &S::SciSingleRx, &S::SciRx9,      &S::SciErrLimit,
    &S::SciSpbrgText,
};
inline constexpr std::int16_t S::*kInt16Fields[] = {
    &S::PortAUsed, &S::PortBUsed,    &S::PortCUsed,   &S::PortDUsed,   &S::PortEUsed,
    &S::T0Int,     &S::T0PsDiv,      &S::T1Int,       &S::T1OscEn,     &S::T2Int,
    &S::T2PsDiv,   &S::Ccp1Int,      &S::Ccp2Int,     &S::Ccp1SubCode, &S::Ccp2SubCode,
    &S::SciRxInt,  &S::SciHighSpeed, &S::Ccp1DutyReg, &S::Ccp2DutyReg,
};
inline constexpr float S::*kSingleFields[] = {&S::CrystalMHz, &S::T0ErrorUs,    &S::T1ErrorUs,
                                              &S::T2ErrorUs,  &S::Ccp1CmpValue, &S::Ccp2CmpValue};
inline constexpr std::string S::*kTextFields[] = {&S::T0RegText, &S::T1RegLowText, &S::T2RegText,
                                                  &S::SciBaud};
inline constexpr PinDirections S::*kPinFields[] = {&S::PortADir, &S::PortBDir, &S::PortCDir, &S::PortDDir,
                                                   &S::PortEDir};

}  // namespace korvane
