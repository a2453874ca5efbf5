// The project-file reader on arbitrary bytes: a file is either read, and then
// writes out to a text that reads back to the same record, or refused with a
// message that names the file and a line inside it.
#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

#include "fuzz_check.h"
#include "project/project_file.h"

using namespace korvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::string name = "fuzz.kvp";
    const ProjectReadResult result = ParseProject(text, name);

    if (const auto* error = std::get_if<ProjectError>(&result)) {
        FUZZ_CHECK(error->file == name);
        FUZZ_CHECK(!error->what.empty());
        const auto lines = std::count(text.begin(), text.end(), '\n') + 1;
        FUZZ_CHECK(error->line >= 0 && error->line <= lines);
        FUZZ_CHECK(error->text().rfind(name + ":", 0) == 0);
        return 0;
    }

    // Compared as written texts: a NaN single is the same setting although
    // it never equals itself.
    const std::string written = ProjectText(std::get<ProjectSettings>(result));
    const ProjectReadResult again = ParseProject(written, name);
    FUZZ_CHECK(std::holds_alternative<ProjectSettings>(again));
    FUZZ_CHECK(ProjectText(std::get<ProjectSettings>(again)) == written);
    return 0;
}
