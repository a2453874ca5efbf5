#pragma once

#include "modules/module.h"

namespace korvane {

extern const Module kTimer2Module;

}  // namespace korvane
