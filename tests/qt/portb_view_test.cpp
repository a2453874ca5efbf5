#include "qt/portb_view.h"

#include <gtest/gtest.h>

#include <QDialog>
#include <QPushButton>
#include <QTest>

#include "view_test_support.h"

namespace korvane {
namespace {

using namespace testing;

TEST(PortBView, OpensFromItsMenuItemAndAnswersItsAccessKeys) {
    MainSetup app;
    ProjectSettings& settings = app.settings;
    const Captions captions = {
        {"Chk_IntE", "使用RB0/INT中断(&I)"},
        {"Fra_Edge", "INT触发边沿"},
        {"Opt_Edge(0)", "下降沿触发(&F)"},
        {"Opt_Edge(1)", "上升沿触发(&R)"},
        {"Chk_RbIE", "使用RB4~RB7电平变化中断(&B)"},
        {"Chk_PullUp", "打开RB口弱上拉(&U)"},
        {"Command1", "确定(&E)"},
    };
    OpenFromMenu(app, "VbMenuSet_PortB", "portb", "RB口中断及上拉设置", captions, [&](QDialog* dialog) {
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog));
        QTest::keyClick(dialog, Qt::Key_I, Qt::AltModifier);
        EXPECT_TRUE(QTest::qWaitFor([&] { return settings.Rb0Int == -1; }, 2000));
        QTest::keyClick(dialog, Qt::Key_R, Qt::AltModifier);
        EXPECT_TRUE(QTest::qWaitFor([&] { return settings.Rb0Edge == 1; }, 2000));
        Find<QPushButton>(dialog, "Command1")->click();
    });
}

}  // namespace
}  // namespace korvane
