#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QWidget>
#include <functional>
#include <map>

#include "app/form1.h"
#include "controls/app_context.h"
#include "modal_script.h"
#include "qt/application.h"
#include "qt/main_window.h"
#include "qt/qt_platform.h"
#include "settings/project_settings.h"

namespace korvane::testing {

// The caption of the widget named `name`, whatever kind it is.
inline QString CaptionOf(QWidget* dialog, const QString& name) {
    QWidget* widget = dialog->findChild<QWidget*>(name);
    if (!widget) return "<missing " + name + ">";
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) return button->text();
    if (auto* frame = qobject_cast<QGroupBox*>(widget)) return frame->title();
    if (auto* label = qobject_cast<QLabel*>(widget)) return label->text();
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) return edit->text();
    return "<no caption: " + name + ">";
}

template <class Widget>
Widget* Find(QWidget* dialog, const QString& name) {
    auto* widget = dialog->findChild<Widget*>(name);
    EXPECT_NE(widget, nullptr) << name.toStdString();
    return widget;
}

// A click where a check box or option button takes it as a toggle.
inline void MouseClick(QAbstractButton* button) {
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(4, button->height() / 2));
}

// The running program as a test needs it: settings, platform and the shown
// main window, from whose menu the dialogs open.
struct MainSetup {
    QtPlatform platform;
    Application program{platform};
    ProjectSettings& settings = program.settings;
    AppContext& context = program.context;
    Form1& form = program.form;
    MainWindow& window = program.window;
    MainSetup() { window.show(); }
    // Chooses the main window's menu item `name`; a dialog it opens is modal,
    // so this returns once the dialog has closed.
    void choose(const char* name) {
        QAction* item = window.findChild<QAction*>(name);
        ASSERT_NE(item, nullptr) << name;
        item->trigger();
    }
};

using Captions = std::map<QString, QString>;

// Chooses the menu item `item` and checks the dialog it opens: its name, its
// title and `captions`; `use` then works in it and closes it.
inline void OpenFromMenu(MainSetup& app, const char* item, const QString& name, const QString& title,
                         const Captions& captions, const std::function<void(QDialog*)>& use) {
    ModalScript script;
    script.then<QDialog>([&](QDialog* dialog) {
        EXPECT_EQ(dialog->objectName(), name);
        EXPECT_EQ(dialog->windowTitle(), title);
        for (const auto& [widget, caption] : captions)
            EXPECT_EQ(CaptionOf(dialog, widget), caption) << widget.toStdString();
        use(dialog);
    });
    app.choose(item);
    EXPECT_EQ(script.pending(), 0u) << item;
}

}  // namespace korvane::testing
