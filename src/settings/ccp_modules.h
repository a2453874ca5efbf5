#pragma once

#include <cstdint>
#include <string_view>

#include "settings/chip_facts.h"
#include "settings/project_settings.h"

namespace korvane {

// The mode options of a module, and the mode bits CCPxM3..CCPxM0 for a mode
// and a sub-mode option (4..7): PWM is 12, capture the sub-mode itself,
// compare the sub-mode + 4.
inline constexpr int kCcpCapture = 0, kCcpCompare = 1, kCcpPwm = 2;
inline constexpr int kCcpPwmCode = 12;
constexpr int CcpModeCode(int mode, int subMode) {
    if (mode == kCcpPwm) return kCcpPwmCode;
    if (mode == kCcpCapture) return subMode;
    return subMode + 4;
}

// The settings of one CCP module as members of the project settings, so that
// everything that handles both modules names each setting once: the dialog,
// the generator and the recalculation walk this table.
struct CcpModuleFields {
    std::string_view name;  // "CCP1": its register and bit names start with it
    int number;             // 1 or 2
    int pin;                // its pin on port C
    SettingValue ProjectSettings::*enabled;
    std::int16_t ProjectSettings::*interrupt;
    SettingValue ProjectSettings::*mode;
    std::int16_t ProjectSettings::*subCode;
    SettingValue ProjectSettings::*modeCode;
    SettingValue ProjectSettings::*y;
    SettingValue ProjectSettings::*x;
    SettingValue ProjectSettings::*compareTimeUs;
    float ProjectSettings::*compareValue;
    SettingValue ProjectSettings::*dutyUs;
    std::int16_t ProjectSettings::*dutyReg;
};

inline constexpr CcpModuleFields kCcpModules[] = {
    {"CCP1", 1, kCcp1Pin, &ProjectSettings::Ccp1En, &ProjectSettings::Ccp1Int, &ProjectSettings::Ccp1Mode,
     &ProjectSettings::Ccp1SubCode, &ProjectSettings::Ccp1M, &ProjectSettings::Ccp1Y, &ProjectSettings::Ccp1X,
     &ProjectSettings::Ccp1CmpTimeUs, &ProjectSettings::Ccp1CmpValue, &ProjectSettings::Ccp1DutyUs,
     &ProjectSettings::Ccp1DutyReg},
    {"CCP2", 2, kCcp2Pin, &ProjectSettings::Ccp2En, &ProjectSettings::Ccp2Int, &ProjectSettings::Ccp2Mode,
     &ProjectSettings::Ccp2SubCode, &ProjectSettings::Ccp2M, &ProjectSettings::Ccp2Y, &ProjectSettings::Ccp2X,
     &ProjectSettings::Ccp2CmpTimeUs, &ProjectSettings::Ccp2CmpValue, &ProjectSettings::Ccp2DutyUs,
     &ProjectSettings::Ccp2DutyReg},
};

}  // namespace korvane
