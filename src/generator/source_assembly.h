#pragma once

#include <string>

#include "settings/project_settings.h"

namespace korvane {

// The whole C source for the settings: the header line and the eight sections
// joined by CRLF. UTF-8, CRLF line ends. Accepts any combination of settings.
std::string AssembleSource(const ProjectSettings& settings, bool withComments);

}  // namespace korvane
