#include <QApplication>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "app/command_line.h"
#include "files/file_io.h"
#include "qt/app_setup.h"
#include "qt/application.h"
#include "version.h"

namespace {

// The program's folder without Qt, which would need a display to start.
std::string ProgramFolder() {
    std::error_code error;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string(".") : exe.parent_path().string();
}

}  // namespace

int main(int argc, char* argv[]) {
    using namespace korvane;
    const CommandLine line = ReadCommandLine({argv + 1, argv + argc});
    switch (line.action) {
        case CommandLine::Action::Help:
            return WriteStandardOutput("korvane", CommandLineUsage(ProgramFolder())) ? 0 : 1;
        case CommandLine::Action::Version:
            return WriteStandardOutput("korvane", std::string("korvane ") + kVersion + "\n") ? 0 : 1;
        case CommandLine::Action::BadUsage:
            std::fprintf(stderr, "korvane: %s\n\n%s", line.problem.c_str(),
                         CommandLineUsage(ProgramFolder()).c_str());
            return 2;
        case CommandLine::Action::Run:
            break;
    }

    QApplication app(argc, argv);
    PrepareApplication(app);
    // Only the closing splash ends the program.
    QApplication::setQuitOnLastWindowClosed(false);

    QtPlatform platform;
    Application program(platform, SystemNumberLocale());
    program.form.load();  // the start screen first, then the settings
    program.window.show();
    // A project named on the command line (by a file manager or the desktop
    // entry) opens once the window is up, so a fault shows above it.
    if (!line.project.empty()) program.form.OpenProject(line.project);
    return QApplication::exec();
}
