#pragma once

#include <string>

#include "settings/project_settings.h"

namespace korvane {

// The whole C source for the settings in the form they choose, UTF-8 with
// CRLF line ends. Accepts any combination of settings; throws ProgramFault,
// writing nothing, should the program name a register or bit its part does
// not have.
std::string AssembleSource(const ProjectSettings& settings, bool withComments);

}  // namespace korvane
