#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "settings/project_settings.h"

namespace korvane {

// The pins the modules take over. Every rule about them lives here: the
// module dialogs claim them, the Port dialog refuses to give them away and
// opening a project applies them, all by asking this one table.

// Why a pin is taken. Timer1 takes pins for two reasons, which never
// conflict with each other.
enum class PinUse {
    Timer0Clock,
    Ccp1,
    Ccp2,
    Timer1Clock,
    Timer1Oscillator,
    Sci,
    Mssp,
    Rb0Int,
    RbChange,
    Analog,
};
inline constexpr std::size_t kPinUseCount = static_cast<std::size_t>(PinUse::Analog) + 1;

inline constexpr int kPortA = 0;
inline constexpr int kPortB = 1;
inline constexpr int kPortC = 2;
inline constexpr int kPortD = 3;
inline constexpr int kPortE = 4;

struct PinClaim {
    PinUse use;
    int port;  // 0 = A .. 4 = E
    int pin;
    bool input;
};

// Every pin the settings give a module, in the order Timer0, CCP1, CCP2,
// Timer1, SCI, MSSP, RB0/INT, RB change, A/D (its analog pins and reference
// inputs). Timer0 holds RA4 whenever it is clocked from outside, even while off;
// the others only while switched on.
std::vector<PinClaim> PinClaims(const ProjectSettings& s);

// Each module's claims, registered in the module table.
namespace claims {
void Timer0(const ProjectSettings& s, std::vector<PinClaim>& out);
void Ccp1(const ProjectSettings& s, std::vector<PinClaim>& out);
void Ccp2(const ProjectSettings& s, std::vector<PinClaim>& out);
void Timer1(const ProjectSettings& s, std::vector<PinClaim>& out);
void Sci(const ProjectSettings& s, std::vector<PinClaim>& out);
void Mssp(const ProjectSettings& s, std::vector<PinClaim>& out);
void PortB(const ProjectSettings& s, std::vector<PinClaim>& out);
void Ad(const ProjectSettings& s, std::vector<PinClaim>& out);
}  // namespace claims

// The first claim on a pin, or on any pin of a port.
std::optional<PinClaim> ClaimOn(const ProjectSettings& s, int port, int pin);
std::optional<PinClaim> ClaimOnPort(const ProjectSettings& s, int port);

// Marks each claimed pin's port used and gives the pin its direction.
void ApplyPinClaims(ProjectSettings& s);

// Two modules that want one pin: `holder` comes first in claim order.
struct PinConflict {
    PinClaim holder;
    PinClaim taker;
};
// A pin that `taker` claims and another module claims too.
std::optional<PinConflict> ConflictOf(const ProjectSettings& s, PinUse taker);
// The first such pin among all claims.
std::optional<PinConflict> FirstConflict(const ProjectSettings& s);
// Every such pair of claims, the first one first: the pin map marks them all.
std::vector<PinConflict> PinConflicts(const ProjectSettings& s);

// The setting that makes a module take its pins ("SciEn", "T1OscEn").
const char* ClaimingSetting(PinUse use);

struct PinMessage {
    std::string title;
    std::string text;  // lines joined by "\r"
};
// The Port dialog's warnings: a claimed pin may not change, the port of a
// claimed pin may not be switched off.
PinMessage PinTakenMessage(const PinClaim& claim);
PinMessage PortNeededMessage(const ProjectSettings& s, const PinClaim& claim);
// A module that would take a pin another module holds.
PinMessage ConflictMessage(const PinConflict& conflict);

}  // namespace korvane
