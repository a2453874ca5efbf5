#pragma once

#include <string>
#include <vector>

#include "generator/program.h"

namespace korvane {

// The check every program passes before a writer spells it: each register
// and bit it names must exist on its part, as gputils' include file for the
// part lists them (a table made at build time). A name missing from the
// part would otherwise be written as a bare assignment that only the
// compiler refuses, or worse, that means something else.
std::vector<std::string> NamesThePartLacks(const Program& program);

// Thrown by the source assembly when the check fails: the program is not
// written at all.
struct ProgramFault {
    std::string part;
    std::vector<std::string> names;
};
// What the window and korvane-gen say of it.
std::string ProgramFaultText(const ProgramFault& fault);

}  // namespace korvane
