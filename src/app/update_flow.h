#pragma once

#include <functional>
#include <optional>
#include <string>

#include "files/source_update.h"
#include "platform/platform.h"
#include "settings/project_settings.h"

namespace korvane {

// 更新C文件: a C file of the XC8 or SDCC form generated again from the
// settings, the user's code and edits merged in, the change shown and
// written only when the user agrees, the file as it was kept as a backup.
class UpdateFlow {
public:
    struct Hooks {
        // The source for `settings`, the comment question asked first, or
        // nothing when it cannot be generated (the user was told).
        std::function<std::optional<std::string>(const ProjectSettings& settings)> generate;
        // The file was written: `generated` is the program alone, `merged`
        // the file's new text.
        std::function<void(const std::string& generated, const std::string& merged)> updated;
    };

    // `projectPath` is the open project's file, which no update replaces.
    UpdateFlow(DesktopServices& desktop, const ProjectSettings& settings, const std::string& projectPath,
               Hooks hooks);

    // The whole command, from the open dialog to the closing message.
    void Run();

private:
    // The merge of `text` into the file, or nothing when it cannot be made
    // or the user would not keep a copy and go past a refusal.
    std::optional<SourceUpdate> Prepare(const std::string& path, const std::string& text);
    // Whether the user agrees to the change shown.
    bool Agreed(const std::string& path, const SourceUpdate& update);

    DesktopServices& desktop_;
    const ProjectSettings& settings_;
    const std::string& projectPath_;
    Hooks hooks_;
};

}  // namespace korvane
