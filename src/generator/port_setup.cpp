#include <array>

#include "format/number_text.h"
#include "generator/sections.h"
#include "generator/source_lines.h"
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

std::string BuildPortSetup(const ProjectSettings& s, bool withComments) {
    if (!AnyPortUsed(s)) return {};
    struct Port {
        std::int16_t used;
        const PinDirections& directions;
        std::string_view assign;
    };
    const std::array<Port, 5> ports{{
        {s.PortAUsed, s.PortADir, " TRISA = "},
        {s.PortBUsed, s.PortBDir, " TRISB = "},
        {s.PortCUsed, s.PortCDir, " TRISC = "},
        {s.PortDUsed, s.PortDDir, " TRISD = "},
        {s.PortEUsed, s.PortEDir, " TRISE = "},
    }};

    SourceLines out(withComments);
    out.Comment({"//端口I/O定义子程序"});
    out.Line({"void set_port()"});
    out.Line({"{"});
    for (std::size_t p = 0; p < ports.size(); ++p) {
        // A 28-pin part has no TRISD or TRISE to write.
        if (ports[p].used != 1 || !PortExists(s, static_cast<int>(p))) continue;
        out.Line({ports[p].assign, RegisterByteText(TrisValue(ports[p].directions, kPinsOfPort[p])), ";"});
    }
    if (const auto adcon1 = Adcon1Of(s); adcon1 && !adcon1->byAdSetup) {
        out.Comment({PortExists(s, kPortE) ? "//PORTA、PORTE设为数字I/O" : "//PORTA设为数字I/O"});
        out.Line({" ADCON1 = ", RegisterByteText(adcon1->value), ";"});
    }
    out.Line({"}"});
    return out.Take();
}

}  // namespace korvane
