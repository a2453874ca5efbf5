#pragma once

#include <cstdint>

#include "settings/project_settings.h"

namespace korvane {

// The MSSP module: its modes as the dialog offers them, the SSPM code each
// gives, and its pins. The dialog, the generator and the pin claims share these.

// MsspMode: the option index of the dialog's mode group.
inline constexpr std::int16_t kMsspSpiMaster = 0;
inline constexpr std::int16_t kMsspSpiSlave = 1;
inline constexpr std::int16_t kMsspI2cMaster = 2;
inline constexpr std::int16_t kMsspModeCount = 3;

// MsspSpiClock: Fosc/4, Fosc/16, Fosc/64, Timer2's output / 2; the index is
// the SSPM code of SPI master with that clock.
inline constexpr std::int16_t kMsspSpiClockCount = 4;

// SPI master clocked by Timer2's output / 2.
inline constexpr std::int64_t kSspmSpiTimer2 = 0b0011;
// SSPM3:SSPM0 for the other modes.
inline constexpr std::int64_t kSspmSlaveWithSs = 0b0100;
inline constexpr std::int64_t kSspmSlaveWithoutSs = 0b0101;
inline constexpr std::int64_t kSspmI2cMaster = 0b1000;

// SCK/SCL, SDI/SDA and SDO on port C; SS on port A.
inline constexpr int kSckPin = 3;
inline constexpr int kSdiPin = 4;
inline constexpr int kSdoPin = 5;
inline constexpr int kSsPin = 5;

// SSPADD's seven low bits reload the I2C baud-rate generator.
inline constexpr std::int32_t kLargestSspadd = 127;
// The bus speeds the dialog offers before a typed one, in kHz.
inline constexpr int kI2cStandardKHz = 100;
inline constexpr int kI2cFastKHz = 400;
inline constexpr std::int16_t kI2cTypedSpeed = 2;

inline bool MsspUsed(const ProjectSettings& s) {
    return s.MsspEn == 1;
}
// The chosen mode; an index no dialog gives (a hand-edited file) is taken as
// SPI master, everywhere alike.
inline std::int16_t MsspModeOf(const ProjectSettings& s) {
    return s.MsspMode >= 0 && s.MsspMode < kMsspModeCount ? s.MsspMode : kMsspSpiMaster;
}
inline bool MsspIsI2cMaster(const ProjectSettings& s) {
    return MsspUsed(s) && MsspModeOf(s) == kMsspI2cMaster;
}

// The SSPM code the settings choose; a clock index no dialog gives is Fosc/4.
inline std::int64_t SspmCode(const ProjectSettings& s) {
    switch (MsspModeOf(s)) {
        case kMsspSpiSlave:
            return s.MsspSlaveSelect == 1 ? kSspmSlaveWithSs : kSspmSlaveWithoutSs;
        case kMsspI2cMaster:
            return kSspmI2cMaster;
        default:
            return s.MsspSpiClock >= 0 && s.MsspSpiClock < kMsspSpiClockCount ? s.MsspSpiClock : 0;
    }
}

}  // namespace korvane
