#include <gtest/gtest.h>

#include <QLabel>
#include <QTest>
#include <QTimer>

#include "controls/app_context.h"
#include "modal_script.h"
#include "qt/closing_splash_view.h"
#include "qt/qt_platform.h"
#include "qt/start_screen_view.h"

namespace korvane {
namespace {

using testing::ModalScript;

class RecordingPlatform : public QtPlatform {
public:
    int ends = 0;
    void endProgram() override { ++ends; }
};

TEST(StartScreenView, ShowsThePictureAndClosesOnAKey) {
    ProjectSettings settings;
    RecordingPlatform platform;
    AppContext context{settings, platform};
    platform.setContext(&context);
    ModalScript script;
    script.then<StartScreenView>([](StartScreenView* view) {
        EXPECT_EQ(view->objectName(), "start");
        EXPECT_TRUE(view->windowTitle().isEmpty());
        EXPECT_TRUE(view->windowFlags() & Qt::FramelessWindowHint);
        auto* timer = view->findChild<QTimer*>("Timer3");
        ASSERT_NE(timer, nullptr);
        EXPECT_TRUE(timer->isActive());
        EXPECT_EQ(timer->interval(), 2000);
        auto* picture = view->findChild<QLabel*>("Picture");
        ASSERT_NE(picture, nullptr);
        // The picture shows just after the window does, which is already at
        // the picture's size.
        EXPECT_TRUE(picture->isVisible());
        EXPECT_EQ(view->size(), picture->size());
        QMouseEvent click(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton,
                          Qt::LeftButton, {});
        QApplication::sendEvent(view, &click);  // clicks do nothing
        EXPECT_TRUE(view->isVisible());
        QTest::keyClick(view, Qt::Key_Shift);  // nor do keys without a character
        EXPECT_TRUE(view->isVisible());
        QTest::keyClick(view, Qt::Key_K);
    });
    platform.showForm(FormId::Start, true);  // returns once the screen has closed
    EXPECT_EQ(script.pending(), 0u);
}

// A main window not shown yet (behind the start screen) owns no dialog;
// once shown, it owns them and they stay above it.
TEST(StartScreenView, OwnedByTheMainWindowOnlyOnceItShows) {
    for (const bool mainShown : {false, true}) {
        ProjectSettings settings;
        RecordingPlatform platform;
        AppContext context{settings, platform};
        platform.setContext(&context);
        QWidget mainWindow;
        platform.setMainWindow(&mainWindow);
        if (mainShown) mainWindow.show();
        QWidget* parent = &mainWindow;
        ModalScript script;
        script.then<StartScreenView>([&](StartScreenView* view) {
            parent = view->parentWidget();
            QTest::keyClick(view, Qt::Key_K);
        });
        platform.showForm(FormId::Start, true);
        EXPECT_EQ(script.pending(), 0u);
        EXPECT_EQ(parent, mainShown ? &mainWindow : nullptr) << "main window shown: " << mainShown;
    }
}

TEST(ClosingSplashView, ThanksTheUserThenEndsTheProgram) {
    ProjectSettings settings;
    RecordingPlatform platform;
    AppContext context{settings, platform};
    platform.setContext(&context);
    platform.showForm(FormId::Splash, false);
    QWidget* splash = nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->objectName() == "frmSplash" && widget->isVisible()) splash = widget;
    ASSERT_NE(splash, nullptr);
    auto* label = splash->findChild<QLabel*>("Label1");
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), "谢谢使用！");
    splash->close();  // ignores closing and keys
    QTest::keyClick(splash, Qt::Key_Escape);
    EXPECT_TRUE(splash->isVisible());
    EXPECT_EQ(platform.ends, 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return platform.ends > 0; }, 3000));
    EXPECT_EQ(platform.ends, 1);
}

}  // namespace
}  // namespace korvane
