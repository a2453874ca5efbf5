#include "generator/register_bits.h"

#include <utility>

namespace korvane {

namespace {

struct RegisterBits {
    std::string_view reg;
    std::uint8_t reset;
    // Bit 7 first; "" for a bit no set-up writes.
    std::string_view bits[8];
};

// From the data sheet's register maps; only the registers written bit by bit.
// clang-format off
constexpr RegisterBits kRegisters[] = {
    {"OPTION_REG", 0xFF, {"RBPU", "INTEDG", "T0CS", "T0SE", "PSA", "PS2", "PS1", "PS0"}},
    {"T1CON", 0x00, {"", "", "T1CKPS1", "T1CKPS0", "T1OSCEN", "T1SYNC", "TMR1CS", "TMR1ON"}},
    {"T2CON", 0x00, {"", "TOUTPS3", "TOUTPS2", "TOUTPS1", "TOUTPS0", "TMR2ON", "T2CKPS1", "T2CKPS0"}},
    {"CCP1CON", 0x00, {"", "", "CCP1X", "CCP1Y", "CCP1M3", "CCP1M2", "CCP1M1", "CCP1M0"}},
    {"CCP2CON", 0x00, {"", "", "CCP2X", "CCP2Y", "CCP2M3", "CCP2M2", "CCP2M1", "CCP2M0"}},
    // TRMT is read-only: the value written leaves it at 0, as data sheets show it.
    {"TXSTA", 0x00, {"CSRC", "TX9", "TXEN", "SYNC", "", "BRGH", "", ""}},
    {"RCSTA", 0x00, {"SPEN", "RX9", "SREN", "CREN", "", "", "", ""}},
    {"SSPCON", 0x00, {"", "", "SSPEN", "CKP", "SSPM3", "SSPM2", "SSPM1", "SSPM0"}},
    {"SSPSTAT", 0x00, {"SMP", "CKE", "", "", "", "", "", ""}},
    {"INTCON", 0x00, {"GIE", "PEIE", "T0IE", "INTE", "RBIE", "T0IF", "INTF", "RBIF"}},
    {"PIE1", 0x00, {"", "ADIE", "RCIE", "TXIE", "SSPIE", "CCP1IE", "TMR2IE", "TMR1IE"}},
    {"PIR1", 0x00, {"", "ADIF", "RCIF", "TXIF", "SSPIF", "CCP1IF", "TMR2IF", "TMR1IF"}},
    {"PIE2", 0x00, {"", "CMIE", "", "", "BCLIE", "", "", "CCP2IE"}},
    {"PIR2", 0x00, {"", "CMIF", "", "", "BCLIF", "", "", "CCP2IF"}},
};
// clang-format on

// Bits the interrupt routine or the drivers use but no set-up writes: named
// through their register, never folded into a written value.
constexpr std::pair<std::string_view, BitPlace> kReadOnlyBits[] = {
    {"FERR", {"RCSTA", 2}},    {"OERR", {"RCSTA", 1}},      {"GO", {"ADCON0", 2}},
    {"EEPGD", {"EECON1", 7}},  {"WREN", {"EECON1", 2}},     {"WR", {"EECON1", 1}},
    {"RD", {"EECON1", 0}},     {"SEN", {"SSPCON2", 0}},     {"RSEN", {"SSPCON2", 1}},
    {"PEN", {"SSPCON2", 2}},   {"RCEN", {"SSPCON2", 3}},    {"ACKEN", {"SSPCON2", 4}},
    {"ACKDT", {"SSPCON2", 5}}, {"ACKSTAT", {"SSPCON2", 6}}, {"BF", {"SSPSTAT", 0}},
    {"R_W", {"SSPSTAT", 2}},
};

// The A parts' comparator bits, which a register's comment names only while
// set: a program without the comparators keeps the comment it had.
constexpr std::string_view kNamedWhenSet[] = {"CMIE"};

}  // namespace

bool NamedOnlyWhenSet(std::string_view bit) {
    for (std::string_view name : kNamedWhenSet)
        if (name == bit) return true;
    return false;
}

std::optional<BitPlace> PlaceOfBit(std::string_view name) {
    for (const RegisterBits& r : kRegisters)
        for (int i = 0; i < 8; ++i)
            if (r.bits[i] == name) return BitPlace{r.reg, 7 - i};
    for (const auto& [bit, place] : kReadOnlyBits)
        if (bit == name) return place;
    return std::nullopt;
}

std::string_view BitNameOf(std::string_view reg, int bit) {
    for (const RegisterBits& r : kRegisters)
        if (r.reg == reg) return r.bits[7 - bit];
    return {};
}

std::uint8_t ResetValueOf(std::string_view reg) {
    for (const RegisterBits& r : kRegisters)
        if (r.reg == reg) return r.reset;
    return 0;
}

}  // namespace korvane
