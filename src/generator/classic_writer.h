#pragma once

#include <string>

#include "generator/program.h"

namespace korvane {

// The classic writer of a program: the header line, the configuration word
// and its sections joined by CRLF.
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
    Comparator,
    InterruptEnable,
};
// One part of the classic text of a program: whole lines ending with CRLF,
// or nothing when the program has no such part.
std::string ClassicSectionText(const Program& program, ClassicSection section, bool withComments);

}  // namespace korvane
