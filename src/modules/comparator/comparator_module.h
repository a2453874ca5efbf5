#pragma once

#include "modules/module.h"

namespace korvane {

extern const Module kComparatorModule;

}  // namespace korvane
