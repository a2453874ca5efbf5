#pragma once

#include <optional>

#include "modules/module.h"

namespace korvane {

extern const Module kTimer0Module;

// The period Timer0's branch keeps by reloading, where it has one.
std::optional<TimerReload> ReloadTimer0(const ProjectSettings& s);

}  // namespace korvane
