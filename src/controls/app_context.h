#pragma once

#include "format/number_text.h"
#include "platform/main_window_actions.h"
#include "platform/platform.h"
#include "settings/project_settings.h"

namespace korvane {

// What every form is built with: the one settings record, the platform, the
// user's number habits, and the few things forms share.
struct AppContext {
    ProjectSettings& settings;
    Platform& platform;
    NumberLocale locale{};
    // Where the three timer dialogs keep their one shared loading state:
    // while any of them loads, no prescaler handler recalculates.
    bool timerDialogLoading = false;
    // The main window, for the setup guide's crystal, generate and help steps.
    MainWindowActions* mainWindow = nullptr;
};

}  // namespace korvane
