#include "app/command_line.h"

#include "app/form1.h"

namespace korvane {

CommandLine ReadCommandLine(const std::vector<std::string>& arguments) {
    CommandLine line;
    const auto bad = [&line](std::string problem) {
        line.action = CommandLine::Action::BadUsage;
        line.problem = std::move(problem);
        return line;
    };
    bool optionsEnded = false;
    for (const std::string& arg : arguments) {
        if (!optionsEnded && arg == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && (arg == "--help" || arg == "-h")) {
            line.action = CommandLine::Action::Help;
            return line;
        } else if (!optionsEnded && arg == "--version") {
            line.action = CommandLine::Action::Version;
            return line;
        } else if (!optionsEnded && arg.size() > 1 && arg.front() == '-') {
            return bad("unknown option " + arg);
        } else if (arg.empty()) {
            continue;  // what a launcher passes for no file
        } else if (line.project.empty()) {
            line.project = arg;
        } else {
            return bad("only one project file, please");
        }
    }
    return line;
}

std::string CommandLineUsage(const std::string& programFolder) {
    return "Usage: korvane [FILE.kvp]\n"
           "       korvane --help | --version\n"
           "\n"
           "Starts Korvane, the C code generator for PIC16F87x microcontrollers, and\n"
           "opens the project FILE.kvp when one is given.\n"
           "\n"
           "Without a display, korvane-gen writes the C source of a project file and\n"
           "korvane-calc runs the calculators of the timer, SCI, MSSP and A/D dialogs\n"
           "(see their --help).\n"
           "The help file (Chinese): " +
           programFolder + "/" + kHelpFile + "\n";
}

}  // namespace korvane
