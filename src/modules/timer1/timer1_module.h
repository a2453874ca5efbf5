#pragma once

#include <optional>

#include "modules/module.h"

namespace korvane {

extern const Module kTimer1Module;

// The period Timer1's branch keeps by reloading, in timer mode.
std::optional<TimerReload> ReloadTimer1(const ProjectSettings& s);

}  // namespace korvane
