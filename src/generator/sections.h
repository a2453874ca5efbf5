#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "settings/project_settings.h"

namespace korvane {

// The conditions that decide which sections exist; declarations and main use
// the same ones, so every function is declared and called exactly when defined.
bool AnyPortUsed(const ProjectSettings& s);
bool AnyTimerUsed(const ProjectSettings& s);
// Port B's INTEDG and RBPU sit in OPTION_REG beside Timer0's bits, so
// fun_timerset writes them and exists for them too.
bool PortBOptionsWritten(const ProjectSettings& s);
bool TimerSetupWritten(const ProjectSettings& s);
bool AnyCcpUsed(const ProjectSettings& s);
bool SciUsed(const ProjectSettings& s);
bool AnyInterrupt(const ProjectSettings& s);
// The MSSP's two interrupts count only while the module is used, the bus
// collision only for an I2C master.
bool SspInterrupt(const ProjectSettings& s);
bool BusCollisionInterrupt(const ProjectSettings& s);

// ADCON1, decided here alone. RA0..RA3, RA5 and RE0..RE2 power up as analog
// inputs, which read 0 and spoil read-modify-write on the port: while the A/D
// module is used its set-up writes its own PCFG, ADFM and ADCS2; otherwise
// set_port makes every pin digital when it sets up port A or E; else nothing.
struct Adcon1Choice {
    std::int64_t value;
    bool byAdSetup;
};
std::optional<Adcon1Choice> Adcon1Of(const ProjectSettings& s);

// The eight section builders. Each is a pure function of the settings and the
// comment flag and returns either nothing or whole lines ending with CRLF.
std::string BuildDeclarations(const ProjectSettings& settings, bool withComments);
std::string BuildMain(const ProjectSettings& settings, bool withComments);
std::string BuildPortSetup(const ProjectSettings& settings, bool withComments);
std::string BuildInterruptService(const ProjectSettings& settings, bool withComments);
std::string BuildTimerSetup(const ProjectSettings& settings, bool withComments);
std::string BuildCcpSetup(const ProjectSettings& settings, bool withComments);
std::string BuildSciSetup(const ProjectSettings& settings, bool withComments);
std::string BuildInterruptEnable(const ProjectSettings& settings, bool withComments);
// The MSSP's set-up, which stands between the SCI's and the interrupt enables.
std::string BuildMsspSetup(const ProjectSettings& settings, bool withComments);
// The A/D converter's set-up, after the MSSP's.
std::string BuildAdSetup(const ProjectSettings& settings, bool withComments);
bool AdInterrupt(const ProjectSettings& s);

}  // namespace korvane
