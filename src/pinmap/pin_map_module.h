#pragma once

#include <string>

#include "pins/pin_table.h"

// korvane-gen draws the pin map through this one function of a module of
// its own (modules/korvane-pinmap.so in its folder), loaded only for
// --pin-map: the tool itself links no GUI library and starts as fast as
// before. A folder of its own, so that no packaging takes it for a library
// of the system's.
inline constexpr const char* kPinMapModule = "modules/korvane-pinmap.so";
inline constexpr const char* kPinMapEntry = "korvane_save_pin_map";
// Writes `table` as a picture to `path`; "" or what went wrong in `*error`.
using SavePinMapEntry = void (*)(const korvane::PinTable* table, const char* path, std::string* error);
