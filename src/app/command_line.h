// The desktop program's command line, read before Qt starts, so that --help
// and --version need no display.
#pragma once

#include <string>
#include <vector>

namespace korvane {

struct CommandLine {
    enum class Action { Run, Help, Version, BadUsage };
    Action action = Action::Run;
    std::string project;  // Run: the project file to open at start, if any
    std::string problem;  // BadUsage: what is wrong
};

// arguments: everything after the program's name.
CommandLine ReadCommandLine(const std::vector<std::string>& arguments);

// programFolder: where the program, its pictures and its help file are.
std::string CommandLineUsage(const std::string& programFolder);

}  // namespace korvane
