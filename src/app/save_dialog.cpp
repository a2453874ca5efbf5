#include "app/save_dialog.h"

#include <filesystem>
#include <system_error>

namespace korvane {

namespace {

constexpr const char* kReplaceTitle = "文件已存在";

std::string ReplaceText(const std::string& path) {
    return path + "\r已存在,是否替换它?";
}

// A file name as typed in a save dialog, with `extension` (".c") added when
// its last part has none; a name that has one is kept.
std::string WithExtension(const std::string& path, const std::string& extension) {
    if (std::filesystem::path(path).has_extension()) return path;
    return path + extension;
}

}  // namespace

std::string WriteFailedText(const std::string& path, const std::string& error) {
    return "无法写入文件：\r" + path + "\r" + error;
}

std::string ChooseSavePath(DesktopServices& desktop, const std::string& initialName,
                           const std::string& filter, const std::string& extension) {
    const std::string chosen = desktop.saveFileDialog(initialName, filter);
    if (chosen.empty()) return {};
    std::string path = WithExtension(chosen, extension);
    // The dialog asked about the name as typed; the file written is another.
    std::error_code error;
    if (path != chosen && std::filesystem::exists(path, error) &&
        desktop.messageBox(ReplaceText(path), kReplaceTitle, MessageIcon::Question, MessageButtons::YesNo) !=
            MessageAnswer::Yes)
        return {};
    return path;
}

}  // namespace korvane
