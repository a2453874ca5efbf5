#include "settings/pin_claims.h"

namespace korvane {

bool IsAnalog(PinSignal s) {
    return s == PinSignal::AnalogInput || s == PinSignal::ReferenceInput || s == PinSignal::AnalogOutput;
}

bool MayShare(PinSignal a, PinSignal b) {
    // One voltage may be read by many, driven by one.
    return IsAnalog(a) && IsAnalog(b) && !(a == PinSignal::AnalogOutput && b == PinSignal::AnalogOutput);
}

std::string PinName(int port, int pin) {
    constexpr const char kPortLetters[] = "ABCDE";
    return std::string("R") + kPortLetters[port] + std::to_string(pin);
}

}  // namespace korvane
