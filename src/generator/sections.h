#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "generator/program.h"
#include "settings/project_settings.h"

namespace korvane {

// ADCON1, decided here alone. RA0..RA3, RA5 and RE0..RE2 power up as analog
// inputs, which read 0 and spoil read-modify-write on the port: while the A/D
// module is used its set-up writes its own PCFG, ADFM and ADCS2; otherwise
// set_port makes every pin digital when it sets up port A or E; else nothing.
struct Adcon1Choice {
    std::int64_t value;
    bool byAdSetup;
};
std::optional<Adcon1Choice> Adcon1Of(const ProjectSettings& s);

// The modern forms set each module up in the data sheet's order (latches
// before TRIS, CCPRx before its mode, SPBRG before the serial port is on)
// and start the timers last; the classic text keeps its own order.
bool WritesInDataSheetOrder(const ProjectSettings& s);

// Bit k of an option index.
std::int64_t BitAt(std::int64_t index, int k);
// A 0/1 setting as the bit it is; anything else is 0.
std::int64_t BitOf(const SettingValue& value);
// A calculator's register text as its number ("0x0F"); nothing while no value
// has been worked out, and the statement that would write it is left out.
std::optional<std::int64_t> RegisterNumber(std::string_view text);

}  // namespace korvane
