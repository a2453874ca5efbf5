#include "app/project_life.h"

#include <utility>
#include <variant>

#include "app/save_dialog.h"
#include "dialogs/settle_and_tell.h"
#include "project/project_file.h"
#include "settings/setting_table.h"

namespace korvane {

namespace {

constexpr const char* kUnsavedTitle = "保存工程";
constexpr const char* kUnsavedText = "工程设置已更改,退出前是否保存工程?";
const std::string kProjectInitialName = "project1" + std::string(project_file::kExtension);
const std::string kProjectFilter =
    "Korvane工程(*" + std::string(project_file::kExtension) + ")|*" + std::string(project_file::kExtension);
constexpr const char* kOpenProjectFailedTitle = "打开工程失败";

}  // namespace

ProjectLife::ProjectLife(AppContext& context, std::function<void()> replaced)
    : context_(context), replaced_(std::move(replaced)), saved_(context.settings) {}

void ProjectLife::OpenChosen() {
    const std::string path = context_.platform.openFileDialog(kProjectFilter);
    if (!path.empty()) Open(path);
}

bool ProjectLife::Open(const std::string& path) {
    const ProjectReadResult read = ReadProjectFile(path);
    if (const auto* error = std::get_if<ProjectError>(&read)) {
        const std::string where =
            error->line > 0 ? "第" + std::to_string(error->line) + "行：" : std::string();
        context_.platform.messageBox(
            "无法打开工程文件：\r" + path + "\r" + where + error->what + "\r当前设置未改变。",
            kOpenProjectFailedTitle, MessageIcon::Error, MessageButtons::Ok);
        return false;
    }
    // The dialogs load from the settings each time they open, so they show
    // the project from their next opening on.
    context_.settings = std::get<ProjectSettings>(read);
    path_ = path;
    // The file may come from an older version or an editor: the register
    // values and pins follow from its settings, as the dialogs would leave them.
    SettleAndTell(context_);
    replaced_();
    MarkSaved();
    return true;
}

bool ProjectLife::Save() {
    const std::string path = ChooseSavePath(context_.platform, path_.empty() ? kProjectInitialName : path_,
                                            kProjectFilter, std::string(project_file::kExtension));
    if (path.empty()) return false;
    if (const std::string error = WriteProjectFile(path, context_.settings); !error.empty()) {
        context_.platform.messageBox(WriteFailedText(path, error), kSaveFailedTitle, MessageIcon::Error,
                                     MessageButtons::Ok);
        return false;
    }
    path_ = path;
    MarkSaved();
    return true;
}

void ProjectLife::MarkSaved() {
    saved_ = context_.settings;
}

bool ProjectLife::MayEnd() {
    // Once the splash is up the user has answered already.
    if (ending_ || SameChoices(context_.settings, saved_)) return true;
    switch (context_.platform.messageBox(kUnsavedText, kUnsavedTitle, MessageIcon::Question,
                                         MessageButtons::YesNoCancel)) {
        case MessageAnswer::Yes:
            return Save();
        case MessageAnswer::No:
            return true;
        case MessageAnswer::Ok:
        case MessageAnswer::Cancel:
            break;
    }
    return false;
}

void ProjectLife::End() {
    // Exit followed by closing the window must not start a second splash.
    if (ending_) return;
    ending_ = true;
    context_.platform.showForm(FormId::Splash, false);
}

}  // namespace korvane
