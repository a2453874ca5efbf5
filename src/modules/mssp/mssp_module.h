#pragma once

#include "modules/module.h"

namespace korvane {

extern const Module kMsspModule;

}  // namespace korvane
