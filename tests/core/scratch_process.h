#pragma once

// What the tests that hand generated text to an outside tool (gcc, gpasm)
// share: a private folder for the files and a command's status and output.

#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

namespace korvane {

// A private scratch folder under the temporary directory, removed with
// everything in it; its path is empty when none could be made.
class ScratchDir {
public:
    explicit ScratchDir(const std::string& prefix) {
        std::string pattern = (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
        if (mkdtemp(pattern.data()) != nullptr) path_ = pattern;
    }
    ~ScratchDir() {
        std::error_code ignored;
        if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

struct CommandRun {
    bool ok = false;     // started and exited with status 0
    std::string output;  // standard output and error together
};

// Runs a shell command line and collects what it prints.
inline CommandRun RunCommand(const std::string& command) {
    CommandRun run;
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (pipe == nullptr) return {false, "could not start: " + command};
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) run.output += buffer;
    run.ok = pclose(pipe) == 0;
    return run;
}

}  // namespace korvane
