#include <gtest/gtest.h>

#include <QApplication>
#include <QFileInfo>
#include <QTest>
#include <string>
#include <utility>
#include <vector>

#include "modal_script.h"
#include "qt/application.h"
#include "qt/form_dialog.h"
#include "qt/qt_platform.h"

namespace korvane {
namespace {

using testing::ModalScript;
using Opened = std::vector<std::pair<std::string, std::string>>;

// A desktop that notes where it was asked to open the help.
class HelpRecordingPlatform : public QtPlatform {
public:
    Opened opened;
    void openDocument(const std::string& fileName, const std::string& page) override {
        opened.emplace_back(fileName, page);
    }
};

TEST(HelpKey, F1OpensTheHelpAtTheWindowsOwnPage) {
    HelpRecordingPlatform platform;
    Application program{platform};
    program.window.show();
    // Every dialog, from the guide on: the page the form table names exists,
    // and F1 asks for it.
    for (auto id = static_cast<int>(FormId::Guide); id <= static_cast<int>(kLastFormId); ++id) {
        const auto form = static_cast<FormId>(id);
        const char* page = FormHelpPage(form);
        SCOPED_TRACE(FormName(form));
        EXPECT_TRUE(QFileInfo::exists(QStringLiteral(KORVANE_HELP_SOURCE_DIR "/") + page));
        platform.opened.clear();
        ModalScript script;
        script.then<FormDialog>([](FormDialog* dialog) {
            EXPECT_TRUE(QTest::qWaitForWindowActive(dialog));
            QTest::keyClick(dialog, Qt::Key_F1);
            dialog->form().unload();
        });
        platform.showForm(form, true);
        EXPECT_EQ(script.pending(), 0u);
        EXPECT_EQ(platform.opened, (Opened{{"korvane.chm", page}}));
    }

    // In the main window F1 is Help → 内容: the help's start page.
    platform.opened.clear();
    QApplication::setActiveWindow(&program.window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&program.window));
    QTest::keyClick(&program.window, Qt::Key_F1);
    EXPECT_EQ(platform.opened, (Opened{{"korvane.chm", ""}}));
}

}  // namespace
}  // namespace korvane
