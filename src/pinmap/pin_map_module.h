#pragma once

#include <string>

#include "pins/pin_table.h"

// korvane-gen draws the pin map through this one function of a module of
// its own (modules/korvane-pinmap.so in its folder), loaded only for
// --pin-map: the tool itself links no GUI library and starts as fast as
// before. A folder of its own, so that no packaging takes it for a library
// of the system's.
inline constexpr const char* kPinMapModule = "modules/korvane-pinmap.so";
inline constexpr const char* kPinMapEntry = "korvane_pin_map_bytes";
// Draws `table` as a picture, SVG or PNG by `path`'s suffix, into `*bytes`;
// "" or what went wrong in `*error`. The tool writes the bytes itself, with
// the checks every output has.
using PinMapBytesEntry = void (*)(const korvane::PinTable* table, const char* path, std::string* bytes,
                                  std::string* error);
