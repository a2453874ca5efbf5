#include "qt/ad_view.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <map>

#include "modal_script.h"
#include "view_test_support.h"

namespace korvane {
namespace {

using namespace testing;

TEST(AdView, OpensFromItsMenuItemAndAnswersItsAccessKeys) {
    MainSetup app;
    ProjectSettings& settings = app.settings;
    settings.ChipPart = 3;  // 16F877: the A parts' clocks are hidden

    ModalScript script;
    script.then<QDialog>([&](QDialog* dialog) {
        EXPECT_EQ(dialog->objectName(), "ad");
        EXPECT_EQ(dialog->windowTitle(), "A/D转换模块设置");
        const std::map<QString, QString> captions = {
            {"Chk_AdEn", "使用A/D转换模块(&U)"},
            {"Fra_Pcfg", "模拟/数字引脚设置(PCFG)"},
            {"Fra_Channel", "首先转换的通道"},
            {"Opt_Channel(5)", "AN5(RE0)"},
            {"Fra_Clock", "转换时钟"},
            {"Fra_Format", "转换结果格式"},
            {"Opt_Format(1)", "右对齐(ADFM=1)"},
            {"Chk_AdInt", "A/D转换中断(&I)"},
            {"Lbl_Tad", "晶振4MHz: TAD=2.000uS,转换时间24.000uS"},
            {"Command1", "确定(&E)"},
        };
        for (const auto& [name, caption] : captions)
            EXPECT_EQ(CaptionOf(dialog, name), caption) << name.toStdString();
        EXPECT_FALSE(Find<QRadioButton>(dialog, "Opt_Clock(1)")->isVisible());
        EXPECT_FALSE(Find<QGroupBox>(dialog, "Fra_Pcfg")->isEnabled());

        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog));
        QTest::keyClick(dialog, Qt::Key_U, Qt::AltModifier);
        EXPECT_TRUE(QTest::qWaitFor([&] { return settings.AdEn == 1; }, 2000));
        EXPECT_TRUE(Find<QGroupBox>(dialog, "Fra_Pcfg")->isEnabled());
        QTest::keyClick(dialog, Qt::Key_I, Qt::AltModifier);
        EXPECT_TRUE(QTest::qWaitFor([&] { return settings.AdInt == -1; }, 2000));
        MouseClick(Find<QRadioButton>(dialog, "Opt_Clock(4)"));  // Fosc/32
        EXPECT_EQ(CaptionOf(dialog, "Lbl_Tad"), "晶振4MHz: TAD=8.000uS,转换时间96.000uS");
        QTest::keyClick(dialog, Qt::Key_Return);
    });
    app.choose("VbMenuSet_Ad");
    EXPECT_EQ(script.pending(), 0u);
    EXPECT_EQ(settings.PortADir[0], 1);  // AN0 claimed as an input
    EXPECT_EQ(settings.AdClockByHand, 1);
}

}  // namespace
}  // namespace korvane
