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
#include <QTest>
#include <functional>
#include <map>
#include <string>

#include "app/form1.h"
#include "controls/app_context.h"
#include "modal_script.h"
#include "qt/main_window.h"
#include "qt/qt_platform.h"
#include "qt/timer0_view.h"
#include "view_test_support.h"

namespace korvane {
namespace {

using namespace testing;

// How many Tab presses lead from the ticked Timer0 box to the time box with
// the defaults; tests/e2e/timer0_dialog.sh types the same number.
constexpr int kTabsFromT0EnToTime = 5;

TEST(TimerViews, EachOpensFromItsMenuItemWithNamesCaptionsAndWorkingControls) {
    const std::map<QString, QString> shared = {
        {"Label1", "输入定时时间(uS):"}, {"Label3", "定时最大值(uS):"},        {"Label4", "定时最小值(uS):"},
        {"Label6", "定时误差值(uS):"},   {"Command1", "查看TMR0值及误差(&V)"}, {"Command2", "确定(&E)"},
    };
    struct Case {
        const char* menuItem;
        const char* name;
        const char* title;
        const char* enableBox;
        std::map<QString, QString> captions;
        std::function<bool(const ProjectSettings&)> enabled;
        const char* shown;  // Txt_Tmr0 after 100 us
    };
    const Case cases[] = {
        {"VbMenuSet_T0",
         "timer0",
         "Timer0 set",
         "Chk_T0En",
         {{"Chk_T0En", "使用Timer0"},
          {"Frame1", "工作方式"},
          {"Opt_Osc(0)", "内部时钟定时"},
          {"Opt_Osc(2)", "计数方式 "},
          {"Frame3", "计数器工作方式"},
          {"Opt_CountMode(1)", "上升沿触发"},
          {"Chk_Ps", "使用预分频器"},
          {"Fra_Ps", "分频设置"},
          {"Opt_Ps(0)", "1:2"},
          {"Opt_Ps(7)", "1:256"},
          {"Chk_Int", "使用T0中断"},
          {"Label2", "晶振/外部频率(M):"},
          {"Label5", "TMR0值(Hex):"},
          {"Frame2", "定时计算器"}},
         [](const ProjectSettings& s) { return s.T0En.isTrue(); },
         "0xCE"},
        {"VbMenuSet_T1",
         "Timer1",
         "Timer1 set",
         "Chk_T1En",
         {{"Chk_T1En", "使用Timer1"},
          {"Opt_Osc(0)", "定时方式"},
          {"Opt_CountMode(0)", "同步方式"},
          {"Fra_T1OscIn", "T1内部定时器"},
          {"Opt_OscInT1(1)", "使用"},
          {"Fra_Ps", "预分频设置"},
          {"Opt_Ps(3)", "1:8"},
          {"Chk_Int", "使用T1中断"},
          {"Label2", "晶振频率(uS):"},
          {"Label5", "TMR0值(Hex):"},
          {"Frame4", "定时计算器"}},
         [](const ProjectSettings& s) { return s.T1En.isTrue(); },
         "0xFF9C"},
        {"VbMenuSet_T2",
         "timer2",
         "Timer2 set",
         "Chk_T2En",
         {{"Chk_T2En", "使用Timer2"},
          {"Opt_Ps(2)", "1:16"},
          {"Fra_Bs", "后分频设置"},
          {"Opt_Bs(0)", "1:1"},
          {"Opt_Bs(15)", "1:16"},
          {"Chk_Int", "使用T2中断"},
          {"Label5", "PR2值(Hex):"},
          {"Frame4", "定时计算器"}},
         [](const ProjectSettings& s) { return s.T2En.isTrue(); },
         "0x63"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        MainSetup app;
        ModalScript script;
        script.then<QDialog>([&](QDialog* dialog) {
            EXPECT_EQ(dialog->objectName(), c.name);
            EXPECT_EQ(dialog->windowTitle(), c.title);
            for (const auto* table : {&shared, &c.captions})
                for (const auto& [name, caption] : *table)
                    EXPECT_EQ(CaptionOf(dialog, name), caption) << name.toStdString();

            auto* enable = Find<QCheckBox>(dialog, c.enableBox);
            auto* time = Find<QLineEdit>(dialog, "Txt_Time");
            ASSERT_TRUE(enable && time);
            EXPECT_FALSE(time->isEnabled());
            QTest::mouseClick(enable, Qt::LeftButton, {}, QPoint(4, enable->height() / 2));
            EXPECT_TRUE(c.enabled(app.settings));
            EXPECT_TRUE(time->isEnabled());

            // Refused keys never reach the box; pasted text is not filtered.
            time->clear();
            QTest::keyClicks(time, "1a0-0 ");
            EXPECT_EQ(time->text(), "100");
            QApplication::clipboard()->setText("5e");
            time->paste();
            EXPECT_EQ(time->text(), "1005e");
            time->setSelection(3, 2);
            QTest::keyClick(time, Qt::Key_Backspace);
            EXPECT_EQ(time->text(), "100");

            Find<QPushButton>(dialog, "Command1")->click();
            EXPECT_EQ(Find<QLineEdit>(dialog, "Txt_Tmr0")->text(), c.shown);
            Find<QPushButton>(dialog, "Command2")->click();
        });
        app.choose(c.menuItem);
        EXPECT_EQ(script.pending(), 0u);
    }
}

TEST(TimerViews, FailuresAreShownAsStopBoxesWithOneLinePerLine) {
    MainSetup app;
    app.settings.T0En = true;
    ModalScript script;
    script
        .then<QDialog>([](QDialog* dialog) {
            Find<QLineEdit>(dialog, "Txt_Time")->setText("1.2.3");
            // The box shows after the click returns; the script answers it.
            QMetaObject::invokeMethod(Find<QPushButton>(dialog, "Command1"), "click", Qt::QueuedConnection);
        })
        .then<QMessageBox>([](QMessageBox* box) {
            EXPECT_EQ(box->windowTitle(), "输入数据不正确");
            EXPECT_EQ(box->icon(), QMessageBox::Critical);
            EXPECT_EQ(box->text().split('\n').size(), 3);
            box->button(QMessageBox::Ok)->click();
        })
        // Closing recalculates: the same box once more, and the dialog stays
        // until the time is put right.
        .then<QMessageBox>([](QMessageBox* box) {
            EXPECT_EQ(box->windowTitle(), "输入数据不正确");
            box->button(QMessageBox::Ok)->click();
        })
        .then<QDialog>([](QDialog* dialog) {
            EXPECT_EQ(dialog->objectName(), "timer0");
            Find<QLineEdit>(dialog, "Txt_Time")->setText("100");
            QMetaObject::invokeMethod(dialog, "reject", Qt::QueuedConnection);
        });
    bool closedByScript = false;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (script.pending() != 2) return;
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog || dialog->objectName() != "timer0") return;
        closer.stop();
        closedByScript = true;
        QMetaObject::invokeMethod(dialog, "reject", Qt::QueuedConnection);  // the close box
    });
    closer.start(5);
    app.choose("VbMenuSet_T0");
    EXPECT_TRUE(closedByScript);
    EXPECT_EQ(script.pending(), 0u);
    EXPECT_EQ(app.settings.T0TimeUs, SettingValue(100.0f));
}

// The keyboard path the end-to-end test takes: focus starts on the Timer0
// box, space ticks it, Tabs reach the time box, Alt+V calculates and Alt+E
// closes.
TEST(TimerViews, Timer0FromTheKeyboard) {
    ProjectSettings settings;
    QtPlatform platform;
    AppContext context{settings, platform};
    Timer0Form form(context);
    Timer0View view(form, nullptr);
    form.load();
    view.show();
    QApplication::setActiveWindow(&view);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&view));

    auto* enable = Find<QCheckBox>(&view, "Chk_T0En");
    auto* time = Find<QLineEdit>(&view, "Txt_Time");
    ASSERT_TRUE(enable && time);
    EXPECT_EQ(QApplication::focusWidget(), enable);
    QTest::keyClick(enable, Qt::Key_Space);
    EXPECT_TRUE(settings.T0En.isTrue());
    int tabs = 0;
    while (QApplication::focusWidget() != time && tabs < 40) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        ++tabs;
    }
    EXPECT_EQ(tabs, kTabsFromT0EnToTime);
    // Focus selects the whole text, so typing replaces it.
    ASSERT_TRUE(QTest::qWaitFor([&] { return time->selectedText() == "256"; }, 1000));
    QTest::keyClicks(time, "100");
    EXPECT_EQ(settings.T0TimeUs, SettingValue("100"));
    // An access key presses its button the animated way, a moment later.
    QTest::keyClick(time, Qt::Key_V, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return settings.T0RegText == "0xCE"; }, 2000));
    EXPECT_EQ(Find<QLineEdit>(&view, "Txt_Err")->text(), "0.000");
    // Enter in the box neither calculates again nor closes.
    settings.T0RegText.clear();
    QTest::keyClick(time, Qt::Key_Return);
    EXPECT_TRUE(view.isVisible());
    EXPECT_TRUE(settings.T0RegText.empty());
    QTest::keyClick(time, Qt::Key_E, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return form.unloaded(); }, 2000));
    EXPECT_FALSE(view.isVisible());
    EXPECT_EQ(settings.T0RegText, "0xCE");  // recalculated on the way out
}

}  // namespace
}  // namespace korvane
