#pragma once

#include <span>
#include <string>
#include <string_view>

#include "settings/parts.h"

namespace korvane {

// The packages of the PIC16F87x(A) as data: which pin carries which
// function. The pin map draws them and the pin table reads them; nothing
// else knows a pin number.

enum class PinFunction { Port, Vdd, Vss, Mclr, Osc1, Osc2 };

struct PackagePin {
    int number;
    PinFunction function;
    int port;  // 0 = A .. 4 = E, for a port pin; else -1
    int bit;
    std::string_view name;     // as the data sheet's pin diagram names it
    std::string_view aSuffix;  // what the A parts' comparators add ("/C1OUT")
};

struct Package {
    std::string_view name;  // "DIP40"
    std::span<const PackagePin> pins;
};

// The package the chosen part comes in: DIP40 for the 16F874/877(A),
// DIP28 for the 16F873/876(A).
const Package& PackageOf(const PartFacts& part);

// The pin's full name on that part: "RA4/T0CKI", on an A part "RA4/T0CKI/C1OUT".
std::string PinNameOn(const PackagePin& pin, const PartFacts& part);

}  // namespace korvane
