#pragma once

#include "generator/program.h"
#include "settings/project_settings.h"

namespace korvane {

// The whole program the settings describe: every module's set-up, its
// interrupts and their enables, the variables they share with main and,
// in the modern forms, where the user's code goes.
Program BuildProgram(const ProjectSettings& s);

}  // namespace korvane
