#pragma once

#include <cstdint>
#include <string>

#include "settings/project_settings.h"

namespace korvane {

// The 14-bit configuration word for the chosen part and field choices.
std::uint16_t ConfigWord(const ProjectSettings& settings);

// The word as written into the source: "0x" and four upper-case digits.
std::string ConfigWordText(std::uint16_t word);

}  // namespace korvane
