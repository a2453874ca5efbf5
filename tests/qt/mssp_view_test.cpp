#include "qt/mssp_view.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "view_test_support.h"

namespace korvane {
namespace {

using namespace testing;

TEST(MsspView, OpensFromItsMenuItemAndWritesWhatTheUserDoes) {
    MainSetup app;
    ProjectSettings& settings = app.settings;
    const Captions captions = {
        {"Chk_SspEn", "使用MSSP模块"},
        {"Fra_Mode", "工作方式"},
        {"Opt_Mode(0)", "SPI主控方式"},
        {"Opt_Mode(1)", "SPI从动方式"},
        {"Opt_Mode(2)", "I2C主控方式"},
        {"Fra_SpiClock", "SPI主控时钟"},
        {"Opt_SpiClock(0)", "Fosc/4"},
        {"Opt_SpiClock(1)", "Fosc/16"},
        {"Opt_SpiClock(2)", "Fosc/64"},
        {"Opt_SpiClock(3)", "TMR2输出/2"},
        {"Chk_Ss", "使用SS引脚(RA5)"},
        {"Fra_Ckp", "时钟极性(CKP)"},
        {"Opt_Ckp(0)", "空闲时为低电平"},
        {"Opt_Ckp(1)", "空闲时为高电平"},
        {"Fra_Cke", "发送时刻(CKE)"},
        {"Opt_Cke(0)", "时钟由空闲变为有效时"},
        {"Opt_Cke(1)", "时钟由有效变为空闲时"},
        {"Chk_Smp", "在数据输出时间的末尾采样(SMP)"},
        {"Fra_I2c", "I2C总线速率"},
        {"Opt_I2cSpeed(0)", "100kHz"},
        {"Opt_I2cSpeed(1)", "400kHz"},
        {"Opt_I2cSpeed(2)", "自定义"},
        {"Label1", "速率(kHz)(&R):"},
        {"Chk_Slew", "使用压摆率控制(SMP=0)"},
        {"Label2", "SSPADD:"},
        {"Label3", "实际速率(kHz):"},
        {"Label4", "误差(%):"},
        {"Command2", "计算SSPADD值(&V)"},
        {"Chk_SspIE", "允许MSSP中断(SSPIE)"},
        {"Chk_BclIE", "允许总线冲突中断(BCLIE)"},
        {"Command1", "确定(&E)"},
    };
    OpenFromMenu(app, "VbMenuSet_Mssp", "mssp", "MSSP(主控同步串行口)设置", captions, [&](QDialog* dialog) {
        MouseClick(Find<QCheckBox>(dialog, "Chk_SspEn"));
        EXPECT_EQ(settings.MsspEn, 1);
        // A typed key passes the rate box's filter or not.
        MouseClick(Find<QRadioButton>(dialog, "Opt_Mode(2)"));
        MouseClick(Find<QRadioButton>(dialog, "Opt_I2cSpeed(2)"));
        auto* rate = Find<QLineEdit>(dialog, "Txt_I2cKHz");
        ASSERT_NE(rate, nullptr);
        rate->setFocus();
        rate->selectAll();
        QTest::keyClicks(rate, "5x0");
        EXPECT_EQ(rate->text(), "50");
        Find<QPushButton>(dialog, "Command1")->click();
    });
    EXPECT_EQ(settings.MsspMode, 2);
    EXPECT_EQ(settings.MsspSspadd, 0x13);  // worked out once more on closing
}

}  // namespace
}  // namespace korvane
