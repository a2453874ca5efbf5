#include "app/update_flow.h"

#include <cstddef>
#include <cstdint>
#include <utility>

#include "app/save_dialog.h"
#include "format/line_diff.h"
#include "format/utf8.h"
#include "generator/user_code.h"
#include "settings/output_form.h"

namespace korvane {

namespace {

constexpr const char* kUpdateTitle = "更新C文件";
constexpr const char* kUpdateClassicText =
    "经典格式的源程序没有用户代码区,不能更新.\r请在选择芯片对话框中选择XC8或SDCC格式.";

// The question above the diff: what the merge could not do on its own.
std::string ChangeQuestion(const std::string& path, const MergedText& merged) {
    std::string question = "更新将对文件作如下修改(- 去掉的行, + 增加的行)。";
    if (merged.carriedOnly) question += "\r" + std::string(kCarriedOnlyText) + "。";
    if (!merged.conflicts.empty()) {
        question += "\r有" + std::to_string(merged.conflicts.size()) + "处冲突,在新文本的第";
        for (std::size_t i = 0; i < merged.conflicts.size(); ++i)
            question += (i ? "、" : "") + std::to_string(merged.conflicts[i]);
        question += "行:两者都保留在冲突标记<<<<<<< ======= >>>>>>>之间,需要手工解决。";
    }
    return question + "\r是否写入" + path + "?";
}

// The closing message: where the old file went, and what became of the
// regions of modules that left or came back.
std::string DoneText(const std::string& path, const MergedText& merged, const SourceWriteResult& written) {
    std::string done = "已更新：\r" + path + "\r原文件已保存为" + written.backup;
    if (!merged.kept.empty()) {
        done += "\r\r以下用户代码区的模块已去掉,其代码已注释掉,保留在文件末尾：";
        for (const std::string& name : merged.kept) done += "\r" + QuoteShort(name);
    }
    for (const std::string& name : merged.restored) done += "\r\r" + RestoredText(name);
    if (!written.baseError.empty())
        done +=
            "\r\r" + WriteFailedText(BasePath(path), written.baseError) + "\r下次更新只能带入用户代码区。";
    return done;
}

}  // namespace

UpdateFlow::UpdateFlow(DesktopServices& desktop, const ProjectSettings& settings,
                       const std::string& projectPath, Hooks hooks)
    : desktop_(desktop), settings_(settings), projectPath_(projectPath), hooks_(std::move(hooks)) {}

void UpdateFlow::Run() {
    const std::string path = desktop_.openFileDialog(kSourceFilter);
    if (path.empty()) return;
    // A project still on the classic form updates a file in the form the
    // file was written in.
    ProjectSettings settings = settings_;
    if (OutputFormOf(settings) == OutputFormId::Classic) {
        const auto form = SourceFileForm(path);
        if (!form) {
            desktop_.messageBox(kUpdateClassicText, kUpdateTitle, MessageIcon::Information,
                                MessageButtons::Ok);
            return;
        }
        settings.OutputForm = static_cast<std::int16_t>(*form);
    }
    const auto text = hooks_.generate(settings);
    if (!text) return;
    const auto update = Prepare(path, *text);
    if (!update || !Agreed(path, *update)) return;
    const SourceWriteResult written = WriteSourceUpdate(path, *update, {projectPath_});
    if (!written.error.empty()) {
        desktop_.messageBox(WriteFailedText(path, written.error), kSaveFailedTitle, MessageIcon::Error,
                            MessageButtons::Ok);
        return;
    }
    hooks_.updated(*text, update->merged.text);
    desktop_.messageBox(DoneText(path, update->merged, written), kUpdateTitle, MessageIcon::Information,
                        MessageButtons::Ok);
}

std::optional<SourceUpdate> UpdateFlow::Prepare(const std::string& path, const std::string& text) {
    SourceUpdate update = PrepareSourceUpdate(path, text, false);
    if (update.status == SourceUpdate::Status::Refused) {
        // The copy keeps what the user wrote outside the regions.
        if (desktop_.messageBox("无法更新文件：\r" + path + "\r第" + std::to_string(update.refusal.line) +
                                    "行：" + update.refusal.reason + "\r文件未写入。\r\r是否将原文件保存为" +
                                    BackupPattern(path) + "后覆盖它?",
                                kUpdateTitle, MessageIcon::Warning,
                                MessageButtons::YesNo) != MessageAnswer::Yes)
            return std::nullopt;
        update = PrepareSourceUpdate(path, text, true);
    }
    if (update.status != SourceUpdate::Status::Ready) {
        desktop_.messageBox("无法更新文件：\r" + path + "\r" + update.error, kUpdateTitle, MessageIcon::Error,
                            MessageButtons::Ok);
        return std::nullopt;
    }
    return update;
}

bool UpdateFlow::Agreed(const std::string& path, const SourceUpdate& update) {
    const std::string changes = UnifiedDiff(update.before, update.merged.text, path, path);
    if (changes.empty()) {
        desktop_.messageBox("文件已是最新,无需更新：\r" + path, kUpdateTitle, MessageIcon::Information,
                            MessageButtons::Ok);
        return false;
    }
    return desktop_.diffBox(ChangeQuestion(path, update.merged), changes, kUpdateTitle) == MessageAnswer::Yes;
}

}  // namespace korvane
