#pragma once

#include "modules/module.h"

namespace korvane {

// The data EEPROM every part has: nothing to set up, only its drivers,
// chosen in the chip dialog.
extern const Module kEepromModule;

}  // namespace korvane
