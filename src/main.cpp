#include <QApplication>

#include "app/app_context.h"
#include "app/form1.h"
#include "qt/app_setup.h"
#include "qt/binders.h"
#include "qt/main_window.h"
#include "qt/qt_platform.h"
#include "settings/project_settings.h"

int main(int argc, char* argv[]) {
    using namespace korvane;
    QApplication app(argc, argv);
    PrepareApplication(app);
    // Only the closing splash ends the program.
    QApplication::setQuitOnLastWindowClosed(false);

    ProjectSettings settings;
    QtPlatform platform;
    AppContext context{settings, platform, SystemNumberLocale()};
    platform.setContext(&context);
    Form1 form(context);
    context.mainWindow = &form;
    MainWindow window(form);
    platform.setMainWindow(&window);
    form.load();  // the start screen first, then the settings
    window.show();
    // A project named on the command line (by a file manager or the desktop
    // entry) opens once the window is up, so a fault shows above it.
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() > 1) form.OpenProject(FromQt(arguments.at(1)));
    return QApplication::exec();
}
