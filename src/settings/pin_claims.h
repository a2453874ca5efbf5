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
};
inline constexpr std::size_t kPinUseCount = static_cast<std::size_t>(PinUse::Analog) + 1;

inline constexpr int kPortA = 0;
inline constexpr int kPortB = 1;
inline constexpr int kPortC = 2;
inline constexpr int kPortD = 3;
inline constexpr int kPortE = 4;

struct PinClaim {
    PinUse use;
    int port;  // 0 = A .. 4 = E
    int pin;
    bool input;
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
