#pragma once

#include <optional>
#include <vector>

#include "settings/pin_claims.h"
#include "settings/project_settings.h"

namespace korvane {

// Every rule about the pins the modules take lives here: the module dialogs
// claim them, the Port dialog refuses to give them away and opening a
// project applies them, all by asking the modules through these walks.

// Every pin the settings give a module, in claim order: Timer0, CCP1, CCP2,
// Timer1, SCI, MSSP, RB0/INT, RB change, A/D (its analog pins and reference
// inputs). Timer0 holds RA4 whenever it is clocked from outside, even while
// off; the others only while switched on.
std::vector<PinClaim> PinClaims(const ProjectSettings& s);

// The first claim on a pin, or on any pin of a port.
std::optional<PinClaim> ClaimOn(const ProjectSettings& s, int port, int pin);
std::optional<PinClaim> ClaimOnPort(const ProjectSettings& s, int port);

// Marks each claimed pin's port used and gives the pin its direction.
void ApplyPinClaims(ProjectSettings& s);

// A pin that `taker` claims and another module claims too.
std::optional<PinConflict> ConflictOf(const ProjectSettings& s, PinUse taker);
// The first such pin among all claims.
std::optional<PinConflict> FirstConflict(const ProjectSettings& s);
// Every such pair of claims, the first one first: the pin map marks them all.
std::vector<PinConflict> PinConflicts(const ProjectSettings& s);

// The setting that makes a module take its pins ("SciEn", "T1OscEn").
const char* ClaimingSetting(PinUse use);
// The texts of a use, from the module that makes it.
const PinUseTexts& TextsOf(PinUse use);

// The Port dialog's warnings: a claimed pin may not change, the port of a
// claimed pin may not be switched off.
PinMessage PinTakenMessage(const PinClaim& claim);
PinMessage PortNeededMessage(const ProjectSettings& s, const PinClaim& claim);
// A module that would take a pin another module holds.
PinMessage ConflictMessage(const PinConflict& conflict);

}  // namespace korvane
