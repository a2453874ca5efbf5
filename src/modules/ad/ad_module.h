#pragma once

#include "modules/module.h"

namespace korvane {

extern const Module kAdModule;

}  // namespace korvane
