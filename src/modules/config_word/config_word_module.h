#pragma once

#include "modules/module.h"

namespace korvane {

// The configuration word: no set-up function, no pins, but its choices
// follow the crystal and the part.
extern const Module kConfigWordModule;

}  // namespace korvane
