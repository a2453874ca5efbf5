#include <array>

#include "format/number_text.h"
#include "generator/sections.h"
#include "generator/source_lines.h"

namespace korvane {

namespace {

// Pin i of a port is bit i of its TRIS register.
std::int64_t TrisValue(const PinDirections& directions) {
    std::int64_t value = 0;
    for (int pin = 0; pin < 8; ++pin) value += std::int64_t{directions[pin]} << pin;
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
    for (const Port& port : ports) {
        if (port.used == 1) out.Line({port.assign, RegisterByteText(TrisValue(port.directions)), ";"});
    }
    out.Line({"}"});
    return out.Take();
}

}  // namespace korvane
