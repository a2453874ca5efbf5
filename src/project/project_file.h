#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "settings/project_settings.h"

namespace korvane {

// The project file: UTF-8 TOML with a [korvane] header table (format version
// and chip family) and a [settings] table with one key per setting, named as
// the setting is named in ProjectSettings.
namespace project_file {
// Format 2 added the part and the configuration word; a format 1 file names
// only the family and opens with the defaults for them.
inline constexpr std::int64_t kFormatVersion = 2;
inline constexpr std::string_view kChipFamily = "PIC16F87x";
inline constexpr std::string_view kHeaderTable = "korvane";
inline constexpr std::string_view kSettingsTable = "settings";
inline constexpr std::string_view kExtension = ".kvp";
}  // namespace project_file

// What is wrong with a project file, and where.
struct ProjectError {
    std::string file;
    int line = 0;      // 1-based; 0 when no line applies (the file cannot be read)
    std::string what;  // in Chinese, as the desktop program shows it

    // "FILE:LINE: what", or "FILE: what" without a line.
    std::string text() const;
};

// The settings a project file holds, or why it holds none.
using ProjectReadResult = std::variant<ProjectSettings, ProjectError>;

// Parses the text of a project file; `fileName` only names it in errors.
// Keys that are missing keep their defaults.
ProjectReadResult ParseProject(std::string_view text, const std::string& fileName);

// Reads and parses the file at `path`.
ProjectReadResult ReadProjectFile(const std::string& path);

// The complete project file text of `settings`: every setting, its kind kept.
std::string ProjectText(const ProjectSettings& settings);

// Writes the project file through a temporary file that then replaces the
// target, so a failed save leaves an existing file intact. Returns "" on
// success, otherwise the system's reason.
std::string WriteProjectFile(const std::string& path, const ProjectSettings& settings);

}  // namespace korvane
