#include "settings/pin_claims.h"

namespace korvane {

bool MayShare(PinSignal a, PinSignal b) {
    const auto analog = [](PinSignal s) {
        return s == PinSignal::AnalogInput || s == PinSignal::ReferenceInput || s == PinSignal::AnalogOutput;
    };
    // One voltage may be read by many, driven by one.
    return analog(a) && analog(b) && !(a == PinSignal::AnalogOutput && b == PinSignal::AnalogOutput);
}

std::string PinName(int port, int pin) {
    constexpr const char kPortLetters[] = "ABCDE";
    return std::string("R") + kPortLetters[port] + std::to_string(pin);
}

}  // namespace korvane
