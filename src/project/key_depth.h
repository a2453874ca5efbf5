#pragma once

#include <optional>
#include <string_view>

namespace korvane {

// How deep a project file may nest its keys: tables, dotted keys, inline
// tables and arrays together. Real files need three levels; the TOML parser
// recurses once per level and overflows the stack on some ten thousand.
inline constexpr int kDeepestKey = 100;

// The line where a key, table header or nested value first goes deeper than
// kDeepestKey levels, or nullopt. Looks only at the structure, so it runs
// before the parser and never judges what the parser would refuse.
std::optional<int> FindTooDeepKey(std::string_view text);

}  // namespace korvane
