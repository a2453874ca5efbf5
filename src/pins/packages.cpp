#include "pins/packages.h"

namespace korvane {

namespace {

using F = PinFunction;

// The pins both packages share, numbered for each in its own table.
constexpr PackagePin Ra(int number, int bit, std::string_view name, std::string_view aSuffix = {}) {
    return {number, F::Port, 0, bit, name, aSuffix};
}
constexpr PackagePin Port(int number, int port, int bit, std::string_view name) {
    return {number, F::Port, port, bit, name, {}};
}
constexpr PackagePin Fixed(int number, PinFunction function, std::string_view name) {
    return {number, function, -1, -1, name, {}};
}

constexpr PackagePin kDip40[] = {
    Fixed(1, F::Mclr, "MCLR/VPP"),
    Ra(2, 0, "RA0/AN0"),
    Ra(3, 1, "RA1/AN1"),
    Ra(4, 2, "RA2/AN2/VREF-", "/CVREF"),
    Ra(5, 3, "RA3/AN3/VREF+"),
    Ra(6, 4, "RA4/T0CKI", "/C1OUT"),
    Ra(7, 5, "RA5/AN4/SS", "/C2OUT"),
    Port(8, 4, 0, "RE0/RD/AN5"),
    Port(9, 4, 1, "RE1/WR/AN6"),
    Port(10, 4, 2, "RE2/CS/AN7"),
    Fixed(11, F::Vdd, "VDD"),
    Fixed(12, F::Vss, "VSS"),
    Fixed(13, F::Osc1, "OSC1/CLKI"),
    Fixed(14, F::Osc2, "OSC2/CLKO"),
    Port(15, 2, 0, "RC0/T1OSO/T1CKI"),
    Port(16, 2, 1, "RC1/T1OSI/CCP2"),
    Port(17, 2, 2, "RC2/CCP1"),
    Port(18, 2, 3, "RC3/SCK/SCL"),
    Port(19, 3, 0, "RD0/PSP0"),
    Port(20, 3, 1, "RD1/PSP1"),
    Port(21, 3, 2, "RD2/PSP2"),
    Port(22, 3, 3, "RD3/PSP3"),
    Port(23, 2, 4, "RC4/SDI/SDA"),
    Port(24, 2, 5, "RC5/SDO"),
    Port(25, 2, 6, "RC6/TX/CK"),
    Port(26, 2, 7, "RC7/RX/DT"),
    Port(27, 3, 4, "RD4/PSP4"),
    Port(28, 3, 5, "RD5/PSP5"),
    Port(29, 3, 6, "RD6/PSP6"),
    Port(30, 3, 7, "RD7/PSP7"),
    Fixed(31, F::Vss, "VSS"),
    Fixed(32, F::Vdd, "VDD"),
    Port(33, 1, 0, "RB0/INT"),
    Port(34, 1, 1, "RB1"),
    Port(35, 1, 2, "RB2"),
    Port(36, 1, 3, "RB3/PGM"),
    Port(37, 1, 4, "RB4"),
    Port(38, 1, 5, "RB5"),
    Port(39, 1, 6, "RB6/PGC"),
    Port(40, 1, 7, "RB7/PGD"),
};

constexpr PackagePin kDip28[] = {
    Fixed(1, F::Mclr, "MCLR/VPP"),
    Ra(2, 0, "RA0/AN0"),
    Ra(3, 1, "RA1/AN1"),
    Ra(4, 2, "RA2/AN2/VREF-", "/CVREF"),
    Ra(5, 3, "RA3/AN3/VREF+"),
    Ra(6, 4, "RA4/T0CKI", "/C1OUT"),
    Ra(7, 5, "RA5/AN4/SS", "/C2OUT"),
    Fixed(8, F::Vss, "VSS"),
    Fixed(9, F::Osc1, "OSC1/CLKI"),
    Fixed(10, F::Osc2, "OSC2/CLKO"),
    Port(11, 2, 0, "RC0/T1OSO/T1CKI"),
    Port(12, 2, 1, "RC1/T1OSI/CCP2"),
    Port(13, 2, 2, "RC2/CCP1"),
    Port(14, 2, 3, "RC3/SCK/SCL"),
    Port(15, 2, 4, "RC4/SDI/SDA"),
    Port(16, 2, 5, "RC5/SDO"),
    Port(17, 2, 6, "RC6/TX/CK"),
    Port(18, 2, 7, "RC7/RX/DT"),
    Fixed(19, F::Vss, "VSS"),
    Fixed(20, F::Vdd, "VDD"),
    Port(21, 1, 0, "RB0/INT"),
    Port(22, 1, 1, "RB1"),
    Port(23, 1, 2, "RB2"),
    Port(24, 1, 3, "RB3/PGM"),
    Port(25, 1, 4, "RB4"),
    Port(26, 1, 5, "RB5"),
    Port(27, 1, 6, "RB6/PGC"),
    Port(28, 1, 7, "RB7/PGD"),
};

constexpr bool NumberedInOrder(std::span<const PackagePin> pins) {
    for (std::size_t i = 0; i < pins.size(); ++i)
        if (pins[i].number != static_cast<int>(i) + 1) return false;
    return true;
}
static_assert(NumberedInOrder(kDip40) && NumberedInOrder(kDip28), "each pin in its place");

constexpr Package kPackage40{"DIP40", kDip40};
constexpr Package kPackage28{"DIP28", kDip28};

}  // namespace

const Package& PackageOf(const PartFacts& part) {
    return part.pins > 28 ? kPackage40 : kPackage28;
}

std::string PinNameOn(const PackagePin& pin, const PartFacts& part) {
    // The A parts are the ones with the comparator module.
    const bool comparators = part.name.ends_with('A');
    return std::string(pin.name) + std::string(comparators ? pin.aSuffix : std::string_view());
}

}  // namespace korvane
