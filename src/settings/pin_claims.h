#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "settings/project_settings.h"

namespace korvane {

// The pins the modules take over: what a claim is. Each module says which
// pins it claims, in its own folder; chip/claims.h walks them all.

// Why a pin is taken. Timer1 takes pins for two reasons, which never
// conflict with each other.
enum class PinUse {
    Timer0Clock,
    Ccp1,
    Ccp2,
    Timer1Clock,
    Timer1Oscillator,
    Sci,
    Mssp,
    Rb0Int,
    RbChange,
    Analog,
    Comparator,        // its inputs and outputs on RA0..RA5
    VoltageReference,  // CVREF out on RA2
};
inline constexpr std::size_t kPinUseCount = static_cast<std::size_t>(PinUse::VoltageReference) + 1;

inline constexpr int kPortA = 0;
inline constexpr int kPortB = 1;
inline constexpr int kPortC = 2;
inline constexpr int kPortD = 3;
inline constexpr int kPortE = 4;

// What a claim does with its pin, which decides whether two modules may
// share it: readers of an analog voltage may (the A/D converter and the
// comparators both on RA0..RA3, an A/D reference from CVREF), nothing else may.
enum class PinSignal {
    AnalogInput,
    ReferenceInput,
    AnalogOutput,  // CVREF on RA2
    DigitalInput,
    DrivenOutput,
    OpenDrainOutput,  // C1OUT on RA4
    Bus,              // driven by turns: I2C, the USART's synchronous lines
    Oscillator,       // Timer1's crystal
};
bool MayShare(PinSignal a, PinSignal b);
// An analog voltage, read or driven.
bool IsAnalog(PinSignal signal);

struct PinClaim {
    PinUse use;
    int port;  // 0 = A .. 4 = E
    int pin;
    bool input;  // its TRIS bit: some modules drive a pin whose TRIS bit is set
    PinSignal signal;
};

// The texts of one use, kept by the module that makes it: the setting that
// makes it, who holds the pins and what frees them. The older uses keep the
// warnings the Port dialog has always shown; the others get theirs built in
// the same style.
struct FixedMessage {
    const char* title;
    const char* line1;
    const char* line2;
};
struct PinUseTexts {
    PinUse use;
    const char* setting;
    const char* user;
    const char* release;
    std::optional<FixedMessage> pinTaken = std::nullopt;
    std::optional<FixedMessage> portNeeded = std::nullopt;
};

// Two modules that want one pin: `holder` comes first in claim order.
struct PinConflict {
    PinClaim holder;
    PinClaim taker;
};

struct PinMessage {
    std::string title;
    std::string text;  // lines joined by "\r"
};

// "RA4"
std::string PinName(int port, int pin);

}  // namespace korvane
