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
// The lines directly after the include line: the __CONFIG line, with a
// comment line before it naming every field's choice when comments are on.
// Empty when the user sets the word in the programmer instead.
std::string BuildConfigWord(const ProjectSettings& settings, bool withComments);

// The classic text's sections, each for the settings alone: whole lines
// ending with CRLF, or nothing when the program has no such part.
std::string BuildDeclarations(const ProjectSettings& settings, bool withComments);
std::string BuildMain(const ProjectSettings& settings, bool withComments);
std::string BuildPortSetup(const ProjectSettings& settings, bool withComments);
std::string BuildInterruptService(const ProjectSettings& settings, bool withComments);
std::string BuildTimerSetup(const ProjectSettings& settings, bool withComments);
std::string BuildCcpSetup(const ProjectSettings& settings, bool withComments);
std::string BuildSciSetup(const ProjectSettings& settings, bool withComments);
std::string BuildMsspSetup(const ProjectSettings& settings, bool withComments);
std::string BuildAdSetup(const ProjectSettings& settings, bool withComments);
std::string BuildInterruptEnable(const ProjectSettings& settings, bool withComments);

}  // namespace korvane
