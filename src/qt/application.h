#pragma once

#include "app/form1.h"
#include "controls/app_context.h"
#include "qt/main_window.h"
#include "qt/qt_platform.h"
#include "settings/project_settings.h"

namespace korvane {

// The program's objects, wired once: the settings, the main window's logic
// and its window, on the desktop `platform` (the program's QtPlatform, or a
// test's variant of it), which opens every other form with this context.
class Application {
public:
    explicit Application(QtPlatform& platform, const NumberLocale& locale = {})
        : context{settings, platform, locale}, form{context}, window{form} {
        platform.setContext(&context);
        platform.setMainWindow(&window);
        context.mainWindow = &form;
    }
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    ProjectSettings settings;
    AppContext context;
    Form1 form;
    MainWindow window;
};

}  // namespace korvane
