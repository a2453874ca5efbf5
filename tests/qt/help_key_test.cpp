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
    const struct {
        FormId form;
        const char* page;
    } cases[] = {
        {FormId::Guide, "guide.html"},   {FormId::Port, "port.html"},     {FormId::Timer0, "timer0.html"},
        {FormId::Timer1, "timer1.html"}, {FormId::Timer2, "timer2.html"}, {FormId::Ccp, "ccp.html"},
        {FormId::Sci, "sci.html"},       {FormId::Chip, "chip.html"},     {FormId::ConfigWord, "config.html"},
        {FormId::Mssp, "mssp.html"},     {FormId::PortB, "portb.html"},   {FormId::Ad, "ad.html"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(FormName(c.form));
        EXPECT_TRUE(QFileInfo::exists(QStringLiteral(KORVANE_HELP_SOURCE_DIR "/") + c.page));
        platform.opened.clear();
        ModalScript script;
        script.then<FormDialog>([](FormDialog* dialog) {
            EXPECT_TRUE(QTest::qWaitForWindowActive(dialog));
            QTest::keyClick(dialog, Qt::Key_F1);
            dialog->form().unload();
        });
        platform.showForm(c.form, true);
        EXPECT_EQ(script.pending(), 0u);
        EXPECT_EQ(platform.opened, (Opened{{"korvane.chm", c.page}}));
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
