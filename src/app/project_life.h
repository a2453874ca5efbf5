#pragma once

#include <functional>
#include <string>

#include "controls/app_context.h"
#include "settings/project_settings.h"

namespace korvane {

// The project as the main window keeps it: the file it was last opened from
// or saved to, the settings as they stood then, and the program's end, which
// asks first when the settings have changed since.
class ProjectLife {
public:
    // `replaced` runs once an opened project's settings stand, before they
    // count as saved: the window shows them.
    ProjectLife(AppContext& context, std::function<void()> replaced);

    // The open dialog, then Open.
    void OpenChosen();
    // Replaces the settings with those of the project file; a file with any
    // fault is refused with a message and the settings stay as they are.
    bool Open(const std::string& path);
    // The save dialog, then the file; false when cancelled or not written.
    bool Save();
    // From now on the settings count as saved.
    void MarkSaved();

    // Whether the program may end: true when nothing is unsaved, or the user
    // saved the project or chose not to.
    bool MayEnd();
    // The closing splash, once, however the end was asked for.
    void End();

    // The project last opened or saved, or "".
    const std::string& path() const { return path_; }

private:
    AppContext& context_;
    std::function<void()> replaced_;
    // Offered again by the save dialog; never replaced by another output.
    std::string path_;
    // The settings as last saved or opened, or as the program started:
    // ending with other settings asks first.
    ProjectSettings saved_;
    // The splash is up: the user has answered already.
    bool ending_ = false;
};

}  // namespace korvane
