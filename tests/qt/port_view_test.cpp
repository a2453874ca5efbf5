#include "qt/port_view.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include "app/form1.h"
#include "controls/app_context.h"
#include "modal_script.h"
#include "qt/main_window.h"
#include "qt/qt_platform.h"
#include "view_test_support.h"

namespace korvane {
namespace {

using namespace testing;

QCheckBox* Box(QWidget* dialog, const QString& name) {
    auto* box = dialog->findChild<QCheckBox*>(name);
    EXPECT_NE(box, nullptr) << name.toStdString();
    return box;
}

TEST(PortView, OpensFromItsMenuItemAndWritesClicksToTheSettings) {
    MainSetup app;
    ProjectSettings& settings = app.settings;

    ModalScript script;
    script.then<QDialog>([](QDialog* dialog) {
        EXPECT_EQ(dialog->objectName(), "Port");
        EXPECT_EQ(dialog->windowTitle(), "Port Set");
        auto* frame1 = dialog->findChild<QGroupBox*>("Frame1");
        ASSERT_NE(frame1, nullptr);
        EXPECT_EQ(frame1->title(), "需要使用的端口");
        const char* const ports[] = {"PortA", "PortB", "PortC", "PortD", "PortE"};
        const char* const prefixes[] = {"RA", "RB", "RC", "RD", "RE"};
        int lastFrameX = -1;
        for (int p = 0; p < 5; ++p) {
            QCheckBox* useBox = Box(dialog, QStringLiteral("Check%1").arg(p + 1));
            auto* frame = dialog->findChild<QGroupBox*>(QStringLiteral("Frame%1").arg(p + 2));
            ASSERT_TRUE(useBox && frame);
            EXPECT_EQ(useBox->text(), ports[p]);
            EXPECT_EQ(frame->title(), ports[p]);
            EXPECT_EQ(useBox->isChecked(), p < 2) << ports[p];
            EXPECT_EQ(frame->isEnabled(), p < 2) << ports[p];
            // The pin frames stand side by side below the use boxes, A on the left.
            EXPECT_GT(frame->x(), lastFrameX) << ports[p];
            EXPECT_GE(frame->y(), frame1->geometry().bottom()) << ports[p];
            lastFrameX = frame->x();
            int lastPinY = -1;
            for (int k = 0; k < 8; ++k) {
                const QString name = QStringLiteral("Chk_Port%1(%2)").arg(QChar('A' + p)).arg(k);
                QCheckBox* pin = Box(dialog, name);
                ASSERT_NE(pin, nullptr);
                EXPECT_EQ(pin->text(), QStringLiteral("%1%2_OUT").arg(prefixes[p]).arg(k));
                EXPECT_GT(pin->y(), lastPinY) << name.toStdString();  // pin 0 at the top
                lastPinY = pin->y();
            }
        }
        auto* ok = dialog->findChild<QPushButton*>("Command1");
        ASSERT_NE(ok, nullptr);
        EXPECT_EQ(ok->text(), "确定(&E)");
        EXPECT_TRUE(ok->isDefault());

        // Each pin's start level beside it, reached from the caption's access key.
        auto* levels = dialog->findChild<QLabel*>("Label1");
        ASSERT_NE(levels, nullptr);
        EXPECT_EQ(levels->text(), "复位后电平(&L)(勾选为高,RA4为开漏,高即释放):");
        EXPECT_EQ(levels->buddy(), Box(dialog, "Chk_LevelA(0)"));
        for (int p = 0; p < 5; ++p) {
            for (int k = 0; k < 8; ++k) {
                QCheckBox* pin = Box(dialog, QStringLiteral("Chk_Port%1(%2)").arg(QChar('A' + p)).arg(k));
                QCheckBox* level = Box(dialog, QStringLiteral("Chk_Level%1(%2)").arg(QChar('A' + p)).arg(k));
                ASSERT_TRUE(pin && level);
                EXPECT_GT(level->x(), pin->x());
                EXPECT_EQ(level->y(), pin->y());
                EXPECT_FALSE(level->toolTip().isEmpty());
            }
        }
        EXPECT_EQ(Box(dialog, "Chk_LevelA(4)")->toolTip(),
                  "RA4为开漏输出,只能拉低:勾选即释放引脚(不驱动),由外接上拉电阻拉高;不勾选为低电平");
        EXPECT_EQ(Box(dialog, "Chk_LevelB(2)")->toolTip(),
                  "复位后该输出引脚的电平:勾选为高电平,不勾选为低电平");
        MouseClick(Box(dialog, "Chk_LevelB(2)"));

        QCheckBox* rb3 = Box(dialog, "Chk_PortB(3)");
        MouseClick(rb3);
        EXPECT_EQ(rb3->text(), "RB3_IN");
        MouseClick(Box(dialog, "Check4"));
        EXPECT_TRUE(dialog->findChild<QGroupBox*>("Frame5")->isEnabled());
        ok->click();
    });
    app.choose("VbMenuSet_PortSet");
    EXPECT_EQ(script.pending(), 0u);
    EXPECT_EQ(settings.PortBDir, (PinDirections{0, 0, 0, 1, 0, 0, 0, 0}));
    EXPECT_EQ(settings.PortDUsed, 1);
    EXPECT_EQ(settings.PortBLevel, (PinLevels{0, 0, 1, 0, 0, 0, 0, 0}));

    // Reopened, it shows what was left behind; Esc closes it like the button.
    script.then<QDialog>([](QDialog* dialog) {
        EXPECT_TRUE(Box(dialog, "Chk_PortB(3)")->isChecked());
        EXPECT_TRUE(Box(dialog, "Check4")->isChecked());
        QTest::keyClick(dialog, Qt::Key_Escape);
    });
    app.choose("VbMenuSet_PortSet");
    EXPECT_EQ(script.pending(), 0u);
}

TEST(PortView, GuardedBoxesRefuseMouseAndSpaceAlike) {
    struct Case {
        const char* box;
        int clockMode;
        bool ccp1, ccp2;
        const char* title;  // nullptr: the change goes ahead
    };
    const Case cases[] = {
        {"Check1", 1, false, false, "禁止关闭RA"},
        {"Chk_PortA(4)", 2, false, false, "RA4口已被占用"},
        {"Check3", 0, true, false, "禁止关闭RC"},
        {"Chk_PortC(2)", 0, true, false, "RC2口已被占用"},
        {"Chk_PortC(1)", 0, false, true, "RC口已被占用"},
        {"Chk_PortC(1)", 0, true, false, nullptr},
        {"Check1", 0, false, false, nullptr},
    };
    for (const bool byKeyboard : {false, true}) {
        for (const auto& c : cases) {
            const std::string why = std::string(c.box) + (byKeyboard ? " by space" : " by mouse");
            ProjectSettings settings;
            settings.T0ClockMode = c.clockMode;
            settings.PortADir[4] = c.clockMode != 0 ? 1 : 0;
            settings.Ccp1En = c.ccp1;
            settings.Ccp2En = c.ccp2;
            settings.PortCUsed = 1;
            settings.PortCDir = {0, 1, 1, 0, 0, 0, 0, 0};
            QtPlatform platform;
            AppContext context{settings, platform};
            PortForm form(context);
            PortView view(form, nullptr);
            form.load();
            view.show();
            const ProjectSettings before = settings;
            QCheckBox* box = Box(&view, c.box);
            ASSERT_NE(box, nullptr) << why;
            const bool wasChecked = box->isChecked();

            // A step even where no warning is due, so a stray one is answered.
            ModalScript script;
            script.then<QMessageBox>([&](QMessageBox* message) {
                if (c.title)
                    EXPECT_EQ(message->windowTitle(), c.title) << why;
                else
                    ADD_FAILURE() << why << ": " << message->windowTitle().toStdString();
                EXPECT_EQ(message->icon(), QMessageBox::Warning) << why;
                EXPECT_EQ(message->text().split('\n').size(), 2) << why;
                message->button(QMessageBox::Ok)->click();
            });
            if (byKeyboard)
                QTest::keyClick(box, Qt::Key_Space);
            else
                MouseClick(box);

            EXPECT_EQ(script.pending(), c.title ? 0u : 1u) << why;
            if (c.title) {
                EXPECT_EQ(box->isChecked(), wasChecked) << why;
                EXPECT_TRUE(settings == before) << why;
            } else {
                EXPECT_NE(box->isChecked(), wasChecked) << why;
                EXPECT_FALSE(settings == before) << why;
            }
        }
    }
}

}  // namespace
}  // namespace korvane
