#include "settings/pin_claims.h"

namespace korvane {

std::string PinName(int port, int pin) {
    constexpr const char kPortLetters[] = "ABCDE";
    return std::string("R") + kPortLetters[port] + std::to_string(pin);
}

}  // namespace korvane
