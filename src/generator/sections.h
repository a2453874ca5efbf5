#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "generator/program.h"
#include "settings/project_settings.h"

namespace korvane {

// Whether each module writes its part of a set-up function; the module table
// registers them, and declarations and main follow from the functions written.
bool AnyPortUsed(const ProjectSettings& s);
bool Timer0Written(const ProjectSettings& s);
// Port B's INTEDG and RBPU sit in OPTION_REG beside Timer0's bits, so
// fun_timerset writes them and exists for them too.
bool PortBOptionsWritten(const ProjectSettings& s);
bool Timer1Written(const ProjectSettings& s);
bool Timer2Written(const ProjectSettings& s);
bool Ccp1Written(const ProjectSettings& s);
bool Ccp2Written(const ProjectSettings& s);
bool SciUsed(const ProjectSettings& s);
// The MSSP's two interrupts count only while the module is used, the bus
// collision only for an I2C master.
bool SspInterrupt(const ProjectSettings& s);
bool BusCollisionInterrupt(const ProjectSettings& s);
bool AdInterrupt(const ProjectSettings& s);

// ADCON1, decided here alone. RA0..RA3, RA5 and RE0..RE2 power up as analog
// inputs, which read 0 and spoil read-modify-write on the port: while the A/D
// module is used its set-up writes its own PCFG, ADFM and ADCS2; otherwise
// set_port makes every pin digital when it sets up port A or E; else nothing.
struct Adcon1Choice {
    std::int64_t value;
    bool byAdSetup;
};
std::optional<Adcon1Choice> Adcon1Of(const ProjectSettings& s);

// Each module's statements in its set-up function: pure functions of the
// settings, registered in the module table.
void BuildPorts(const ProjectSettings& s, Body& out);
void BuildTimer0(const ProjectSettings& s, Body& out);
void BuildPortBOptions(const ProjectSettings& s, Body& out);
void BuildTimer1(const ProjectSettings& s, Body& out);
void BuildTimer2(const ProjectSettings& s, Body& out);
void BuildCcp1(const ProjectSettings& s, Body& out);
void BuildCcp2(const ProjectSettings& s, Body& out);
void BuildSci(const ProjectSettings& s, Body& out);
void BuildMssp(const ProjectSettings& s, Body& out);
void BuildAd(const ProjectSettings& s, Body& out);

// The modern forms set each module up in the data sheet's order (latches
// before TRIS, CCPRx before its mode, SPBRG before the serial port is on)
// and start the timers last; the classic text keeps its own order.
bool WritesInDataSheetOrder(const ProjectSettings& s);

// What the start function does for a module, once every module is set up.
void StartTimer1(const ProjectSettings& s, Body& out);
void StartTimer2(const ProjectSettings& s, Body& out);
void StartCcp1(const ProjectSettings& s, Body& out);
void StartCcp2(const ProjectSettings& s, Body& out);

// The period a timer's branch keeps by reloading, where the timer has one.
std::optional<TimerReload> ReloadTimer0(const ProjectSettings& s);
std::optional<TimerReload> ReloadTimer1(const ProjectSettings& s);

// The whole program the settings describe.
Program BuildProgram(const ProjectSettings& s);

// Bit k of an option index.
std::int64_t BitAt(std::int64_t index, int k);
// A 0/1 setting as the bit it is; anything else is 0.
std::int64_t BitOf(const SettingValue& value);
// A calculator's register text as its number ("0x0F"); nothing while no value
// has been worked out, and the statement that would write it is left out.
std::optional<std::int64_t> RegisterNumber(std::string_view text);

}  // namespace korvane
