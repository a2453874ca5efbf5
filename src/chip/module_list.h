#pragma once

#include <span>

#include "modules/module.h"

namespace korvane {

// Every module, in the order the generated program sets it up and services
// its interrupts.
std::span<const Module* const> Modules();
std::span<const SetupFunction> SetupFunctions();
// The modules in claim order (the first claim on a pin holds it) and in
// settle order (the order their problems are told).
std::span<const Module* const> ModulesInClaimOrder();
std::span<const Module* const> ModulesInSettleOrder();

// The module whose row has the texts of `use`.
const Module& ModuleOfUse(PinUse use);

// Whether the module's driver functions are written: asked for, and the
// form has drivers.
bool DriversOn(const Module& module, const ProjectSettings& s);
// Whether its drivers serve the source's branch, enabled whatever else says.
bool DriversServe(const Module& module, const InterruptSource& source, const ProjectSettings& s);

// Whether any interrupt is enabled: the routine and fun_intset exist.
bool AnyInterrupt(const ProjectSettings& s);

}  // namespace korvane
