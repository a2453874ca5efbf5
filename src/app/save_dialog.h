#pragma once

#include <string>

#include "platform/platform.h"

namespace korvane {

// The C files' filter: saving the text, and choosing a file to update.
inline constexpr const char* kSourceFilter = "C文件(*.c)|*.c";
// Every box that says a file was not written.
inline constexpr const char* kSaveFailedTitle = "保存失败";

// The text of that box: `path` and why it could not be written.
std::string WriteFailedText(const std::string& path, const std::string& error);

// The save dialog of every save command: the chosen path with the command's
// extension, or "" when the user cancels or keeps an existing file the
// extension leads to.
std::string ChooseSavePath(DesktopServices& desktop, const std::string& initialName,
                           const std::string& filter, const std::string& extension);

}  // namespace korvane
