#include "qt/ad_view.h"

#include <gtest/gtest.h>

#include <QDialog>
#include <QRadioButton>
#include <QTest>

#include "view_test_support.h"

namespace korvane {
namespace {

using namespace testing;

TEST(AdView, OpensFromItsMenuItemAndAnswersItsAccessKeys) {
    MainSetup app;
    ProjectSettings& settings = app.settings;
    const Captions captions = {
        {"Chk_AdEn", "使用A/D转换模块(&U)"},
        {"Fra_Pcfg", "模拟/数字引脚设置(PCFG)"},
        {"Fra_Channel", "首先转换的通道"},
        {"Opt_Channel(5)", "AN5(RE0)"},
        {"Fra_Clock", "转换时钟"},
        {"Fra_Format", "转换结果格式"},
        {"Opt_Format(1)", "右对齐(ADFM=1)"},
        {"Chk_AdInt", "A/D转换中断(&I)"},
        {"Command1", "确定(&E)"},
    };
    OpenFromMenu(app, "VbMenuSet_Ad", "ad", "A/D转换模块设置", captions, [&](QDialog* dialog) {
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog));
        QTest::keyClick(dialog, Qt::Key_U, Qt::AltModifier);
        EXPECT_TRUE(QTest::qWaitFor([&] { return settings.AdEn == 1; }, 2000));
        QTest::keyClick(dialog, Qt::Key_I, Qt::AltModifier);
        EXPECT_TRUE(QTest::qWaitFor([&] { return settings.AdInt == -1; }, 2000));
        MouseClick(Find<QRadioButton>(dialog, "Opt_Clock(4)"));  // Fosc/32
        QTest::keyClick(dialog, Qt::Key_Return);
    });
    EXPECT_EQ(settings.AdClockByHand, 1);
}

}  // namespace
}  // namespace korvane
