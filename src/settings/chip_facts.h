#pragma once

#include <cstdint>

namespace korvane {

// Pins that a peripheral takes over, and how the settings record an
// interrupt; the dialogs that claim, refuse or tick them share these.

// Timer0 counts an outside clock on RA4.
inline constexpr int kTimer0ClockPin = 4;
// CCP1 uses RC2, CCP2 uses RC1.
inline constexpr int kCcp1Pin = 2;
inline constexpr int kCcp2Pin = 1;

// Port B's RB0/INT pin and the four pins whose change raises RBIF.
inline constexpr int kRb0IntPin = 0;
inline constexpr int kFirstRbChangePin = 4;
inline constexpr int kLastRbChangePin = 7;

// How many pins of each port A..E the TRIS register sets. Port A has RA0..RA5
// only. TRISE has only RE0..RE2: bit 4 (PSPMODE) would turn port D into the
// parallel slave port and bits 5..7 are status bits. The settings keep eight
// directions for every port all the same.
inline constexpr int kPinsOfPort[] = {6, 8, 8, 8, 3};

// CCPRx is 16 bits; 0 would match as Timer1 starts, so it is no compare time.
inline constexpr std::int32_t kLargestCompareValue = 65535;
// The duty cycle is 10 bits: CCPRxL and the two bits CCPxX and CCPxY.
inline constexpr std::int32_t kLargestDutyValue = 1023;
// PR2 after power-on, which Timer2 counts to until the program sets it.
inline constexpr std::int32_t kPr2AtPowerOn = 255;

// An interrupt setting holds -1 while the interrupt is on and 0 while it is off.
inline constexpr std::int16_t kInterruptOn = -1;

// The table of parts (settings/parts.h) has eight rows; ChipPart indexes it.
// The part of a new project, and of a file that names only the family, is the
// PIC16F877A, its last row.
inline constexpr std::int16_t kPartCount = 8;
inline constexpr std::int16_t kDefaultPart = 7;

// Oscillator choices, the index into the configuration word's FOSC field.
enum OscillatorChoice : std::int16_t { kOscLp = 0, kOscXt = 1, kOscHs = 2, kOscRc = 3 };

}  // namespace korvane
