#include "qt/sci_view.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <map>

#include "app/form1.h"
#include "controls/app_context.h"
#include "modal_script.h"
#include "qt/binders.h"
#include "qt/main_window.h"
#include "qt/qt_platform.h"
#include "view_test_support.h"

namespace korvane {
namespace {

using namespace testing;

QStringList Items(QListWidget* list) {
    QStringList items;
    for (int i = 0; i < list->count(); ++i) items << list->item(i)->text();
    return items;
}

TEST(SciView, OpensFromItsMenuItemAndWritesWhatTheUserDoes) {
    MainSetup app;
    ProjectSettings& settings = app.settings;

    ModalScript script;
    script.then<QDialog>([&](QDialog* dialog) {
        EXPECT_EQ(dialog->objectName(), "sci");
        EXPECT_EQ(dialog->windowTitle(), "SCI(串行通信接口)设置");
        const std::map<QString, QString> captions = {
            {"Chk_Spen", "使用串行口"},
            {"Fra_Mode", "工作方式"},
            {"Opt_Sync(0)", "异步方式"},
            {"Opt_Sync(1)", "同步方式"},
            {"Fra_Baud", "波特率选择"},
            {"Opt_Baud(1)", "高速波特率"},
            {"Opt_Baud(0)", "低速波特率"},
            {"Fra_Tx", "发送设置"},
            {"Chk_TxEn", "允许发送"},
            {"Chk_TxIE", "允许发送中断"},
            {"Fra_TxLen", "发送长度"},
            {"Opt_Tx89(1)", "发送9位数据"},
            {"Opt_Tx89(0)", "发送8位数据"},
            {"Fra_Osc", "同步时钟源"},
            {"Opt_TxSyncOsc(1)", "主控方式"},
            {"Opt_TxSyncOsc(0)", "从动方式"},
            {"Fra_Rx", "接收设置"},
            {"Chk_RxEn", "允许接收"},
            {"Chk_Sren", "允许单字节接收"},
            {"Chk_RcIE", "允许接收中断"},
            {"Fra_RxLen", "接收长度"},
            {"Opt_Rx89(0)", "接收8位数据"},
            {"Opt_Rx89(1)", "接收9位数据"},
            {"Fra_Continuum", "同步连续接收"},
            {"Opt_ContinuumEn(0)", "关闭连续接收"},
            {"Opt_ContinuumEn(1)", "允许连续接收"},
            {"Fra_BaudCal", "可用波特率计算器"},
            {"Label1", "误差值限制(±n%)bps"},
            {"Label2", "晶振频率(MHZ)"},
            {"Label3", "可用波特率："},
            {"Label4", "SPBRG 值:"},
            {"Label5", "实际波特率bps："},
            {"Label6", "使用波特率:"},
            {"Label7", "SPBRG:"},
            {"Command2", "计算波特率(&C)"},
            {"Command1", "确定(&E)"},
            {"Txt_Err", "0.2"},
            {"Txt_Osc", "4"},
            {"Txt_Brg", "No"},
        };
        for (const auto& [name, caption] : captions)
            EXPECT_EQ(CaptionOf(dialog, name), caption) << name.toStdString();

        auto* spen = Find<QCheckBox>(dialog, "Chk_Spen");
        auto* err = Find<QLineEdit>(dialog, "Txt_Err");
        auto* rates = Find<QListWidget>(dialog, "List1");
        auto* spbrgs = Find<QListWidget>(dialog, "List2");
        auto* combo = Find<QComboBox>(dialog, "Combo_UseBaud");
        auto* brg = Find<QLineEdit>(dialog, "Txt_Brg");
        ASSERT_TRUE(spen && err && rates && spbrgs && combo && brg);
        // Switched off, the calculator is greyed out but the SPBRG box is not.
        EXPECT_FALSE(err->isEnabled());
        EXPECT_TRUE(brg->isEnabled());
        EXPECT_TRUE(Find<QPushButton>(dialog, "Command2")->isEnabled());

        QTest::mouseClick(spen, Qt::LeftButton, {}, QPoint(4, spen->height() / 2));
        EXPECT_TRUE(settings.SciEn.equals(1));
        EXPECT_TRUE(err->isEnabled());
        EXPECT_EQ(Items(rates), QStringList({"19200", "9600", "4800", "2400", "1200"}));
        EXPECT_EQ(Find<QListWidget>(dialog, "List3")->item(0)->text(), "19,230.76923");
        EXPECT_EQ(combo->currentText(), "1200");
        EXPECT_EQ(brg->text(), "0xCF");

        // Typed keys pass the filter; the new limit counts once calculated.
        err->setFocus();
        err->selectAll();
        QTest::keyClicks(err, "2a-");
        EXPECT_EQ(err->text(), "2");
        EXPECT_EQ(settings.SciErrLimit, SettingValue("2"));
        QTest::mouseClick(Find<QPushButton>(dialog, "Command2"), Qt::LeftButton);
        EXPECT_EQ(Items(spbrgs), QStringList({"0x0C", "0x19", "0x33", "0x66", "0xCC"}));

        // Choosing another entry by keyboard stores it with its SPBRG.
        combo->setFocus();
        QTest::keyClick(combo, Qt::Key_Down);
        const int picked = combo->currentIndex();
        ASSERT_GE(picked, 0);
        EXPECT_EQ(settings.SciBaud, FromQt(rates->item(picked)->text()));
        EXPECT_EQ(brg->text(), spbrgs->item(picked)->text());
        EXPECT_EQ(settings.SciSpbrgText, SettingValue(FromQt(brg->text())));

        // Synchronous mode greys out the speed and "允许接收".
        QTest::mouseClick(Find<QRadioButton>(dialog, "Opt_Sync(1)"), Qt::LeftButton, {}, QPoint(4, 4));
        EXPECT_FALSE(Find<QGroupBox>(dialog, "Fra_Baud")->isEnabled());
        EXPECT_FALSE(Find<QCheckBox>(dialog, "Chk_RxEn")->isEnabled());
        EXPECT_TRUE(Find<QCheckBox>(dialog, "Chk_Sren")->isEnabled());
        EXPECT_EQ(rates->item(0)->text(), "38400");
        Find<QPushButton>(dialog, "Command1")->click();
    });
    app.choose("VbMenuSet_Sci");
    EXPECT_EQ(script.pending(), 0u);
    EXPECT_TRUE(settings.SciSyncMode.equals(1));
    EXPECT_EQ(settings.SciBaud, "4800");
    // The 2 % limit still applies: 1e6 / 205 = 4878 lies inside 4800's window.
    EXPECT_EQ(settings.SciSpbrgText, SettingValue("0xCC"));
}

TEST(SciView, ClosingWithNoUsableRateTellsTheUserAndSwitchesThePortOff) {
    ProjectSettings settings;
    settings.SciEn = 1;
    settings.SciErrLimit = "0";  // nothing at 4 MHz is exact
    QtPlatform platform;
    AppContext context{settings, platform};
    SciForm form(context);
    SciView view(form, nullptr);
    form.load();
    view.show();
    EXPECT_EQ(Find<QLineEdit>(&view, "Txt_Brg")->text(), "No");

    ModalScript script;
    script.then<QMessageBox>([](QMessageBox* box) {
        EXPECT_EQ(box->windowTitle(), "不使用SCI串行口退出");
        EXPECT_EQ(box->icon(), QMessageBox::Information);
        const QStringList lines = box->text().split('\n');
        ASSERT_EQ(lines.size(), 3);
        EXPECT_EQ(lines[0], "4M晶振在此方式下无可用波特率");
        box->button(QMessageBox::Ok)->click();
    });
    // The close box and Esc go the same way as the OK button.
    QTest::keyClick(&view, Qt::Key_Escape);
    EXPECT_EQ(script.pending(), 0u);
    EXPECT_TRUE(form.unloaded());
    EXPECT_TRUE(settings.SciEn.equals(0));
}

}  // namespace
}  // namespace korvane
