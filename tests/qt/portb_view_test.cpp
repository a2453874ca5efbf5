#include "qt/portb_view.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <map>

#include "modal_script.h"
#include "view_test_support.h"

namespace korvane {
namespace {

using namespace testing;

TEST(PortBView, OpensFromItsMenuItemAndAnswersItsAccessKeys) {
    MainSetup app;
    ProjectSettings& settings = app.settings;

    ModalScript script;
    script.then<QDialog>([&](QDialog* dialog) {
        EXPECT_EQ(dialog->objectName(), "portb");
        EXPECT_EQ(dialog->windowTitle(), "RB口中断及上拉设置");
        const std::map<QString, QString> captions = {
            {"Chk_IntE", "使用RB0/INT中断(&I)"},
            {"Fra_Edge", "INT触发边沿"},
            {"Opt_Edge(0)", "下降沿触发(&F)"},
            {"Opt_Edge(1)", "上升沿触发(&R)"},
            {"Chk_RbIE", "使用RB4~RB7电平变化中断(&B)"},
            {"Chk_PullUp", "打开RB口弱上拉(&U)"},
            {"Command1", "确定(&E)"},
        };
        for (const auto& [name, caption] : captions)
            EXPECT_EQ(CaptionOf(dialog, name), caption) << name.toStdString();
        EXPECT_FALSE(Find<QGroupBox>(dialog, "Fra_Edge")->isEnabled());

        // The access keys tick the boxes and choose the edge.
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog));
        QTest::keyClick(dialog, Qt::Key_I, Qt::AltModifier);
        EXPECT_TRUE(QTest::qWaitFor([&] { return settings.Rb0Int == -1; }, 2000));
        EXPECT_TRUE(Find<QGroupBox>(dialog, "Fra_Edge")->isEnabled());
        QTest::keyClick(dialog, Qt::Key_R, Qt::AltModifier);
        EXPECT_TRUE(QTest::qWaitFor([&] { return settings.Rb0Edge == 1; }, 2000));
        MouseClick(Find<QCheckBox>(dialog, "Chk_PullUp"));
        EXPECT_EQ(settings.RbPullUp, 1);
        Find<QPushButton>(dialog, "Command1")->click();
    });
    app.choose("VbMenuSet_PortB");
    EXPECT_EQ(script.pending(), 0u);
    EXPECT_EQ(settings.PortBDir[0], 1);
}

}  // namespace
}  // namespace korvane
