#pragma once

#include "modules/module.h"

namespace korvane {

// Port B's interrupts, its INTEDG and its pull-ups.
extern const Module kPortBModule;

}  // namespace korvane
