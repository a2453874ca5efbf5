#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "modal_script.h"
#include "view_test_support.h"

namespace korvane {
namespace {

using namespace testing;

TEST(ChipConfigViews, OpenFromTheirMenuItemsAndWriteClicksToTheSettings) {
    MainSetup app;
    ProjectSettings& settings = app.settings;

    ModalScript script;
    script.then<QDialog>([](QDialog* dialog) {
        EXPECT_EQ(dialog->objectName(), "chip");
        EXPECT_EQ(dialog->windowTitle(), "选择芯片");
        auto* part = Find<QRadioButton>(dialog, "Opt_Part(6)");
        ASSERT_NE(part, nullptr);
        EXPECT_EQ(part->text(), "PIC16F876A (28脚)");
        EXPECT_TRUE(Find<QRadioButton>(dialog, "Opt_Part(7)")->isChecked());
        MouseClick(part);
        Find<QPushButton>(dialog, "Command1")->click();
    });
    app.choose("VbMenuSet_Chip");
    EXPECT_EQ(script.pending(), 0u);
    EXPECT_EQ(settings.ChipPart, 6);

    script.then<QDialog>([](QDialog* dialog) {
        EXPECT_EQ(dialog->objectName(), "config");
        EXPECT_EQ(dialog->windowTitle(), "配置字");
        EXPECT_EQ(Find<QLabel>(dialog, "Lbl_Part")->text(), "芯片: PIC16F876A");
        EXPECT_EQ(Find<QGroupBox>(dialog, "Frame1")->title(), "振荡器");
        EXPECT_TRUE(Find<QRadioButton>(dialog, "Opt_Osc(1)")->isChecked());
        // The A parts offer two code-protection choices, not four.
        EXPECT_FALSE(Find<QRadioButton>(dialog, "Opt_Cp(2)")->isVisible());
        auto* watchdog = Find<QCheckBox>(dialog, "Chk_Wdt");
        ASSERT_NE(watchdog, nullptr);
        EXPECT_EQ(watchdog->text(), "看门狗(&W)");
        MouseClick(watchdog);
        EXPECT_EQ(Find<QLabel>(dialog, "Lbl_Word")->text(), "配置字: 0x3F75");
        Find<QPushButton>(dialog, "Command1")->click();
    });
    app.choose("VbMenuSet_Config");
    EXPECT_EQ(script.pending(), 0u);
    EXPECT_EQ(settings.CfgWdt, 1);
}

}  // namespace
}  // namespace korvane
