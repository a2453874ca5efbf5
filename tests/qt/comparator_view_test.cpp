#include "qt/comparator_view.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QTest>

#include "modules/comparator/comparator.h"
#include "view_test_support.h"

namespace korvane {
namespace {

using namespace testing;

// The menu item opens it; the access keys reach the module and its
// reference, and a step picked in the box shows its voltage at once.
TEST(ComparatorView, OpensFromItsMenuItemAndShowsThePickedReference) {
    MainSetup app;
    ProjectSettings& settings = app.settings;
    const Captions captions = {
        {"Chk_CmpEn", "使用比较器模块(&U)"},
        {"Opt_Mode(6)", "110: 四个输入切换到两个比较器,参考为CVREF"},
        {"Chk_CvrEn", "打开参考电压(&V)"},
        {"Lbl_CvrStep", "CVR3:CVR0(&R)"},
        {"Command1", "确定(&E)"},
    };
    OpenFromMenu(app, "VbMenuSet_Cmp", "comparator", "比较器和参考电压模块设置", captions,
                 [&](QDialog* dialog) {
                     ASSERT_TRUE(QTest::qWaitForWindowActive(dialog));
                     QTest::keyClick(dialog, Qt::Key_U, Qt::AltModifier);
                     EXPECT_TRUE(QTest::qWaitFor([&] { return settings.CmpEn == 1; }, 2000));
                     QTest::keyClick(dialog, Qt::Key_V, Qt::AltModifier);
                     EXPECT_TRUE(QTest::qWaitFor([&] { return settings.CvrEn == 1; }, 2000));
                     auto* combo = Find<QComboBox>(dialog, "Combo_Cvr");
                     ASSERT_TRUE(combo && combo->isEnabled());
                     // The caption's access key reaches the box, whose entries step down.
                     QTest::keyClick(dialog, Qt::Key_R, Qt::AltModifier);
                     EXPECT_TRUE(QTest::qWaitFor([&] { return combo->hasFocus(); }, 2000));
                     for (int key = 0; key < kCvrSteps && settings.CvrValue != 6; ++key)
                         QTest::keyClick(combo, Qt::Key_Down);
                     EXPECT_EQ(settings.CvrValue, 6);
                     EXPECT_EQ(CaptionOf(dialog, "Lbl_Cvref"), "CVREF=6/24VDD,VDD=5V时为1.250V");
                     if (const char* shot = std::getenv("KORVANE_SHOT")) dialog->grab().save(shot);
                     QTest::keyClick(dialog, Qt::Key_Return);
                 });
}

}  // namespace
}  // namespace korvane
