#include "modules/ports/ports_module.h"

#include <array>

#include "format/number_text.h"
#include "generator/sections.h"
#include "settings/chip_facts.h"
#include "settings/output_form.h"
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

// Bit i is pin i's start level, for outputs only: an input's latch bit
// would drive the pin the moment user code made it an output.
std::int64_t LatchValue(const PinLevels& levels, const PinDirections& directions, int pins) {
    std::int64_t value = 0;
    for (int pin = 0; pin < pins; ++pin)
        if (directions[pin] == 0) value += std::int64_t{levels[pin] == 1} << pin;
    return value;
}

bool AnyPortUsed(const ProjectSettings& s) {
    // Ports D and E count only on a part that has them.
    const std::int16_t used[] = {s.PortAUsed, s.PortBUsed, s.PortCUsed, s.PortDUsed, s.PortEUsed};
    for (int port = 0; port < 5; ++port)
        if (used[port] != 0 && PortExists(s, port)) return true;
    return false;
}

void BuildPorts(const ProjectSettings& s, Body& out) {
    struct Port {
        std::int16_t used;
        const PinDirections& directions;
        const PinLevels& levels;
        std::string_view latch;
        std::string_view tris;
    };
    const std::array<Port, 5> ports{{
        {s.PortAUsed, s.PortADir, s.PortALevel, "PORTA", "TRISA"},
        {s.PortBUsed, s.PortBDir, s.PortBLevel, "PORTB", "TRISB"},
        {s.PortCUsed, s.PortCDir, s.PortCLevel, "PORTC", "TRISC"},
        {s.PortDUsed, s.PortDDir, s.PortDLevel, "PORTD", "TRISD"},
        {s.PortEUsed, s.PortEDir, s.PortELevel, "PORTE", "TRISE"},
    }};
    // The classic text keeps the latches as the chip powers up.
    const bool latchesFirst = OutputFormOf(s) != OutputFormId::Classic;
    bool said = false;
    for (std::size_t p = 0; p < ports.size(); ++p) {
        // A 28-pin part has no TRISD or TRISE to write.
        if (ports[p].used != 1 || !PortExists(s, static_cast<int>(p))) continue;
        // The latch powers up unknown: set before TRIS, no output ever drives
        // a level the user did not choose.
        if (latchesFirst) {
            if (!said) out.Comment({"//先写锁存器再定方向,输出引脚一开始就是设定的电平"});
            said = true;
            out.Set({{std::string(ports[p].latch),
                      LatchValue(ports[p].levels, ports[p].directions, kPinsOfPort[p]), ValueForm::Byte}},
                    {}, Layout::Spaced);
        }
        out.Set(
            {{std::string(ports[p].tris), TrisValue(ports[p].directions, kPinsOfPort[p]), ValueForm::Byte}},
            {}, Layout::Spaced);
    }
    if (const auto adcon1 = Adcon1Of(s); adcon1 && !adcon1->byAdSetup) {
        out.Comment({PortExists(s, kPortE) ? "//PORTA、PORTE设为数字I/O" : "//PORTA设为数字I/O"});
        out.Set({{"ADCON1", adcon1->value, ValueForm::Byte}}, {}, Layout::Spaced);
    }
}

// A part without ports D and E no longer sets them up.
void SwitchPart(const ProjectSettings& before, ProjectSettings& after, std::vector<std::string>& changes) {
    const PartFacts& part = ChosenPart(after);
    if (part.hasPortsDE() || (before.PortDUsed == 0 && before.PortEUsed == 0)) return;
    changes.push_back(std::string(part.name) + "没有端口D和E。");
    changes.push_back("切换到" + std::string(part.name) + "将不再设置PortD和PortE");
    after.PortDUsed = 0;
    after.PortEUsed = 0;
}

}  // namespace

constexpr Module kPortsModule = {
    .name = "Ports",
    .setup = SetupId::Ports,
    .writesSetup = AnyPortUsed,
    .build = BuildPorts,
    .switchPart = SwitchPart,
    .form = FormId::Port,
};

}  // namespace korvane
