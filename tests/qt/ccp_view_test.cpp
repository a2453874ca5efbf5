#include "qt/ccp_view.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <map>

#include "app/form1.h"
#include "controls/app_context.h"
#include "modal_script.h"
#include "qt/main_window.h"
#include "qt/qt_platform.h"
#include "view_test_support.h"

namespace korvane {
namespace {

using namespace testing;

TEST(CcpView, OpensFromItsMenuItemWithNamesCaptionsAndLayout) {
    const std::map<QString, QString> captions = {
        {"Fra_Ccp1Set", "CCP1模块设置"},
        {"Chk_Ccp1En", "使用CCP1模块"},
        {"Fra_Ccp1Mode", "CCP1模式选择"},
        {"Opt_Ccp1Mode(0)", "捕捉模式"},
        {"Opt_Ccp1Mode(1)", "比较模式"},
        {"Opt_Ccp1Mode(2)", "PWM模式"},
        {"Fra_Ccp1MSet", "捕捉模式设定"},
        {"Chk_CCP1IntEN", "使用CCP1中断"},
        {"Opt_Ccp1M(4)", "每个下降沿触发"},
        {"Opt_Ccp1M(7)", "每16个上升沿触发"},
        {"Fra_Ccp1PWMSet", "PWM低两位数据"},
        {"Label1", "CCP1Y:"},
        {"Label2", "CCP1X:"},
        {"Txt_Ccp1Y", "0"},
        {"Txt_Ccp1X", "0"},
        {"Fra_Ccp2Set", "CCP2模块设置"},
        {"Chk_Ccp2En", "使用CCP2模块"},
        {"Fra_Ccp2Mode", "CCP2模式选择"},
        {"Opt_Ccp2Mode(2)", "PWM模式"},
        {"Fra_Ccp2MSet", "捕捉模式设定"},
        {"Chk_CCP2IntEN", "使用CCP2中断"},
        {"Opt_Ccp2M(5)", "每个上升沿触发"},
        {"Fra_Ccp2PWMSet", "PWM低两位数据"},
        {"Label4", "CCP2Y:"},
        {"Label3", "CCP2X:"},
        {"Txt_Ccp2Y", "0"},
        {"Txt_Ccp2X", "0"},
        {"Lbl_Ccp1CmpTime", "比较时间(uS)(&T):"},
        {"Txt_Ccp1CmpTime", "1000"},
        {"Lbl_Ccp1CmpValue", "比较值(Hex):0x3E8"},
        {"Lbl_Ccp1Duty", "占空比(uS)(&D):"},
        {"Lbl_Ccp1DutyPct", "占周期50.0%"},
        {"Lbl_Ccp2CmpTime", "比较时间(uS)(&M):"},
        {"Lbl_Ccp2Duty", "占空比(uS)(&U):"},
        {"Lbl_Ccp2Period", "PWM周期:256.000uS(3.906kHz)"},
        {"Command1", "确 定(&E)"},
    };
    MainSetup app;
    ModalScript script;
    script.then<QDialog>([&](QDialog* dialog) {
        EXPECT_EQ(dialog->objectName(), "ccp");
        EXPECT_EQ(dialog->windowTitle(), "捕捉/比较/脉宽调制(CCP)模块设置");
        for (const auto& [name, caption] : captions)
            EXPECT_EQ(CaptionOf(dialog, name), caption) << name.toStdString();

        auto* ccp1 = Find<QGroupBox>(dialog, "Fra_Ccp1Set");
        auto* ccp2 = Find<QGroupBox>(dialog, "Fra_Ccp2Set");
        auto* ok = Find<QPushButton>(dialog, "Command1");
        ASSERT_TRUE(ccp1 && ccp2 && ok);
        EXPECT_LE(ccp1->geometry().bottom(), ccp2->y());
        EXPECT_GE(ok->y(), ccp2->geometry().bottom());
        EXPECT_TRUE(ok->isDefault());
        // Each module's sub-mode frame stands right of its mode frame; the
        // PWM frame takes its place and is hidden for now.
        for (const char* n : {"1", "2"}) {
            const QString id(n);
            auto* mode = Find<QGroupBox>(dialog, "Fra_Ccp" + id + "Mode");
            auto* sub = Find<QGroupBox>(dialog, "Fra_Ccp" + id + "MSet");
            auto* pwm = Find<QGroupBox>(dialog, "Fra_Ccp" + id + "PWMSet");
            ASSERT_TRUE(mode && sub && pwm);
            EXPECT_GT(sub->x(), mode->geometry().right());
            EXPECT_EQ(pwm->geometry().topLeft(), sub->geometry().topLeft());
            EXPECT_TRUE(sub->isVisible());
            EXPECT_FALSE(pwm->isVisible());
            EXPECT_FALSE(mode->isEnabled());
            EXPECT_TRUE(Find<QRadioButton>(dialog, "Opt_Ccp" + id + "Mode(0)")->isChecked());
            EXPECT_TRUE(Find<QRadioButton>(dialog, "Opt_Ccp" + id + "M(4)")->isChecked());
            EXPECT_FALSE(Find<QCheckBox>(dialog, "Chk_Ccp" + id + "En")->isChecked());
        }
        ok->click();
    });
    app.choose("VbMenuSet_CCP");
    EXPECT_EQ(script.pending(), 0u);
    EXPECT_TRUE(app.settings == ProjectSettings{});
}

TEST(CcpView, ClicksAndTypedBitsReachTheSettingsAndRefusedKeysDoNot) {
    MainSetup app;
    app.settings.T2En = true;  // PWM then needs no question about Timer2
    ModalScript script;
    script.then<QDialog>([&](QDialog* dialog) {
        MouseClick(Find<QCheckBox>(dialog, "Chk_Ccp2En"));
        EXPECT_TRUE(app.settings.Ccp2En.isTrue());
        EXPECT_TRUE(Find<QGroupBox>(dialog, "Fra_Ccp2Mode")->isEnabled());
        MouseClick(Find<QRadioButton>(dialog, "Opt_Ccp2Mode(1)"));
        EXPECT_EQ(CaptionOf(dialog, "Fra_Ccp2MSet"), "比较模式设定");
        EXPECT_EQ(CaptionOf(dialog, "Opt_Ccp2M(7)"), "复位TMR1");
        MouseClick(Find<QRadioButton>(dialog, "Opt_Ccp2M(7)"));
        EXPECT_EQ(app.settings.Ccp2M, SettingValue(11));
        EXPECT_EQ(app.settings.PortCDir[1], 0);
        EXPECT_EQ(app.settings.PortCUsed, 1);
        MouseClick(Find<QCheckBox>(dialog, "Chk_CCP2IntEN"));
        EXPECT_EQ(app.settings.Ccp2Int, -1);

        MouseClick(Find<QRadioButton>(dialog, "Opt_Ccp2Mode(2)"));
        EXPECT_EQ(app.settings.Ccp2M, SettingValue(12));
        EXPECT_TRUE(Find<QGroupBox>(dialog, "Fra_Ccp2PWMSet")->isVisible());
        EXPECT_FALSE(Find<QGroupBox>(dialog, "Fra_Ccp2MSet")->isVisible());
        EXPECT_FALSE(Find<QCheckBox>(dialog, "Chk_CCP2IntEN")->isVisible());

        auto* x = Find<QLineEdit>(dialog, "Txt_Ccp2X");
        ASSERT_NE(x, nullptr);
        x->end(false);
        // Refused keys never reach the box: not even a passing edit that the
        // change handler would put right again.
        QSignalSpy edits(x, &QLineEdit::textChanged);
        QTest::keyClicks(x, "a2.- 9");
        EXPECT_EQ(edits.count(), 0);
        EXPECT_EQ(x->text(), "0");
        QTest::keyClicks(x, "1");
        EXPECT_EQ(x->text(), "1");  // "01" is put right as soon as it is typed
        EXPECT_EQ(app.settings.Ccp2X, SettingValue(1));
        QTest::keyClick(x, Qt::Key_Backspace);
        EXPECT_EQ(x->text(), "0");  // an empty box means 0
        EXPECT_EQ(app.settings.Ccp2X, SettingValue(0));
        // Pasted text skips the key filter and is corrected instead.
        QApplication::clipboard()->setText("5");
        x->selectAll();
        x->paste();
        EXPECT_EQ(x->text(), "1");
        EXPECT_EQ(app.settings.Ccp2X, SettingValue(1));
        EXPECT_EQ(app.settings.Ccp2Y, SettingValue(0));
        // Enter presses the default button. Both modules are now PWM or
        // unused, so closing asks nothing.
        QTest::keyClick(x, Qt::Key_Return);
    });
    app.choose("VbMenuSet_CCP");
    EXPECT_EQ(script.pending(), 0u);
    EXPECT_EQ(app.settings.Ccp2Int, -1);
    EXPECT_EQ(app.settings.Ccp2SubCode, 7);
}

TEST(CcpView, ClosingInCaptureOpensTimer1AboveTheStillOpenDialog) {
    for (const bool yes : {true, false}) {
        SCOPED_TRACE(yes ? "Yes" : "No");
        MainSetup app;
        QPointer<QDialog> ccp;
        ModalScript script;
        script
            .then<QDialog>([&](QDialog* dialog) {
                ccp = dialog;
                MouseClick(Find<QCheckBox>(dialog, "Chk_Ccp1En"));
                EXPECT_EQ(app.settings.PortCDir[2], 1);
                // The question shows while the click is handled; the script answers it.
                QMetaObject::invokeMethod(Find<QPushButton>(dialog, "Command1"), "click",
                                          Qt::QueuedConnection);
            })
            .then<QMessageBox>([&](QMessageBox* box) {
                EXPECT_EQ(box->windowTitle(), "确认Timer1工作方式");
                EXPECT_EQ(box->icon(), QMessageBox::Question);
                EXPECT_EQ(box->text().split('\n').size(), 2);
                box->button(yes ? QMessageBox::Yes : QMessageBox::No)->click();
            });
        if (yes) {
            script.then<QDialog>([&](QDialog* dialog) {
                EXPECT_EQ(dialog->objectName(), "Timer1");
                EXPECT_TRUE(ccp && ccp->isVisible());
                QMetaObject::invokeMethod(Find<QPushButton>(dialog, "Command2"), "click",
                                          Qt::QueuedConnection);
            });
            // Closed with Timer1 still off: the capture has no clock, and the close says so.
            script.then<QMessageBox>([&](QMessageBox* box) {
                EXPECT_EQ(box->icon(), QMessageBox::Warning);
                box->button(QMessageBox::Ok)->click();
            });
        }
        app.choose("VbMenuSet_CCP");
        EXPECT_EQ(script.pending(), 0u);
        EXPECT_TRUE(app.settings.Ccp1En.isTrue());
        EXPECT_FALSE(ccp);  // gone once the menu command returns
    }
}

}  // namespace
}  // namespace korvane
