#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDialog>
#include <QPushButton>
#include <QRadioButton>

#include "view_test_support.h"

namespace korvane {
namespace {

using namespace testing;

TEST(ChipConfigViews, OpenFromTheirMenuItemsAndWriteClicksToTheSettings) {
    MainSetup app;
    OpenFromMenu(app, "VbMenuSet_Chip", "chip", "选择芯片", {{"Opt_Part(6)", "PIC16F876A (28脚)"}},
                 [](QDialog* dialog) {
                     MouseClick(Find<QRadioButton>(dialog, "Opt_Part(6)"));
                     Find<QPushButton>(dialog, "Command1")->click();
                 });
    EXPECT_EQ(app.settings.ChipPart, 6);

    OpenFromMenu(app, "VbMenuSet_Config", "config", "配置字",
                 {{"Frame1", "振荡器"}, {"Chk_Wdt", "看门狗(&W)"}}, [](QDialog* dialog) {
                     MouseClick(Find<QCheckBox>(dialog, "Chk_Wdt"));
                     Find<QPushButton>(dialog, "Command1")->click();
                 });
    EXPECT_EQ(app.settings.CfgWdt, 1);
}

}  // namespace
}  // namespace korvane
