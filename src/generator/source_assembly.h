#pragma once

#include <string>

#include "generator/program.h"
#include "settings/project_settings.h"

namespace korvane {

// The whole C source for the settings in the form they choose. The classic
// form: the header line, the configuration word and ten sections joined by
// CRLF. UTF-8, CRLF line ends. Accepts any combination of settings; throws
// ProgramFault, writing nothing, should the program name a register or bit
// its part does not have.
std::string AssembleSource(const ProjectSettings& settings, bool withComments);

// The classic writer of a program.
std::string WriteClassic(const Program& program, bool withComments);
// The parts of the classic text, in its order.
enum class ClassicSection {
    ConfigWord,  // the __CONFIG line and its comment; empty when the user sets the word
    Declarations,
    Main,
    Ports,
    InterruptService,
    Timers,
    Ccp,
    Sci,
    Mssp,
    Ad,
    InterruptEnable,
};
// One part of the classic text of a program: whole lines ending with CRLF,
// or nothing when the program has no such part.
std::string ClassicSectionText(const Program& program, ClassicSection section, bool withComments);

}  // namespace korvane
