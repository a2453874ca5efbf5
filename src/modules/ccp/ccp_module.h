#pragma once

#include "modules/module.h"

namespace korvane {

// The two CCP modules: one folder, two rows.
extern const Module kCcp1Module;
extern const Module kCcp2Module;

}  // namespace korvane
