#include <array>

#include "format/number_text.h"
#include "generator/sections.h"
#include "settings/chip_facts.h"
#include "settings/parts.h"
#include "settings/pin_claims.h"

namespace korvane {

namespace {

// Pin i of a port is bit i of its TRIS register; bits that are no pin stay 0.
std::int64_t TrisValue(const PinDirections& directions, int pins) {
    std::int64_t value = 0;
    for (int pin = 0; pin < pins; ++pin) value += std::int64_t{directions[pin]} << pin;
    return value;
}

}  // namespace

void BuildPorts(const ProjectSettings& s, Body& out) {
    struct Port {
        std::int16_t used;
        const PinDirections& directions;
        std::string_view tris;
    };
    const std::array<Port, 5> ports{{
        {s.PortAUsed, s.PortADir, "TRISA"},
        {s.PortBUsed, s.PortBDir, "TRISB"},
        {s.PortCUsed, s.PortCDir, "TRISC"},
        {s.PortDUsed, s.PortDDir, "TRISD"},
        {s.PortEUsed, s.PortEDir, "TRISE"},
    }};
    for (std::size_t p = 0; p < ports.size(); ++p) {
        // A 28-pin part has no TRISD or TRISE to write.
        if (ports[p].used != 1 || !PortExists(s, static_cast<int>(p))) continue;
        out.Set(
            {{std::string(ports[p].tris), TrisValue(ports[p].directions, kPinsOfPort[p]), ValueForm::Byte}},
            {}, Layout::Spaced);
    }
    if (const auto adcon1 = Adcon1Of(s); adcon1 && !adcon1->byAdSetup) {
        out.Comment({PortExists(s, kPortE) ? "//PORTA、PORTE设为数字I/O" : "//PORTA设为数字I/O"});
        out.Set({{"ADCON1", adcon1->value, ValueForm::Byte}}, {}, Layout::Spaced);
    }
}

}  // namespace korvane
