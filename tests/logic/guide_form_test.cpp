#include "guide/guide_form.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/form1.h"
#include "chip/assemble.h"
#include "fake_platform.h"
#include "generator/classic_writer.h"

namespace korvane {
namespace {

using Strings = std::vector<std::string>;

const char* const kLaterQuestions[] = {
    "是否需要设置配置字?",
    "是否需要设置晶振频率?(现设置的频率为:4M)",
    "是否需要定义端口?",
    "是否需要设置RB口中断及上拉?",
    "是否需要设置定时器0?",
    "是否需要设置定时器1?",
    "是否需要设置定时器2?",
    "是否需要设置A/D转换模块?",
    "是否需要设置CCP模块?",
    "是否需要设置SCI串行口模块?",
    "是否需要设置MSSP(SPI/I2C)模块?",
    "是否需要设置比较器和参考电压模块?",
    "是否需要生成C文件?",
};

// The guide above a loaded main window, over a scripted platform.
class GuideStory : public ::testing::Test {
protected:
    GuideStory() {
        context.mainWindow = &mainWindow;
        guide.load();
    }

    ProjectSettings settings;
    FakePlatform platform;
    AppContext context{settings, platform};
    Form1 mainWindow{context};
    GuideForm guide{context};
};

TEST_F(GuideStory, OpensAtStepOneWithYesAndItsPicture) {
    EXPECT_EQ(guide.name(), "guide");
    EXPECT_EQ(guide.caption(), "设置向导");
    EXPECT_EQ(guide.Label1.caption(), "欢迎使用Korvane 设置向导:");
    EXPECT_EQ(guide.Label.caption(), "是否需要选择芯片型号?");
    EXPECT_EQ(guide.OptYesNo.caption(0), "是");
    EXPECT_EQ(guide.OptYesNo.caption(1), "否");
    EXPECT_EQ(guide.OptYesNo.selected(), 0);
    EXPECT_EQ(guide.GuideStep, 1);
    EXPECT_EQ(guide.GuideAnswer, 0);
    EXPECT_EQ(guide.Picture1.path(), "/opt/korvane/guide1.jpg");
    EXPECT_EQ(guide.Command1.caption(), "下一步(&N)");
    EXPECT_EQ(guide.Command2.caption(), "退 出(&E)");
    EXPECT_EQ(guide.Command3.caption(), "帮 助(&H)");
    EXPECT_EQ(guide.Command4.caption(), "上一步(&B)");
    EXPECT_TRUE(guide.Command1.enabled());
    EXPECT_FALSE(guide.Command4.enabled());
    EXPECT_TRUE(platform.events.empty());
    EXPECT_EQ(settings, ProjectSettings{});
}

TEST_F(GuideStory, NoPressesOpenNothingAndEndOnFinish) {
    constexpr int kLast = GuideForm::kStepCount;
    guide.OptYesNo.click(1);
    EXPECT_EQ(guide.GuideAnswer, 1);
    for (int step = 1; step <= kLast; ++step) {
        guide.Command1.click();
        EXPECT_EQ(guide.GuideStep, step + 1);
        // After the last step no question is left to answer.
        EXPECT_EQ(guide.Label.caption(), step < kLast ? kLaterQuestions[step - 1] : GuideForm::kDoneText)
            << step;
        EXPECT_EQ(guide.OptYesNo.enabled(0), step < kLast) << step;
        EXPECT_EQ(guide.Command1.enabled(), step < kLast) << step;
        EXPECT_EQ(guide.Command2.caption(), step < kLast ? "退 出(&E)" : "完 成(&C)") << step;
    }
    EXPECT_TRUE(platform.events.empty());
    EXPECT_EQ(settings, ProjectSettings{});
    EXPECT_EQ(mainWindow.Text1.text(), "");

    // A disabled Next, or a stray call past the end, does nothing.
    guide.Command1.click();
    guide.OptYesNo.click(0);
    guide.Command1_Click();
    EXPECT_EQ(guide.GuideStep, GuideForm::kDone);
    EXPECT_TRUE(platform.events.empty());
}

TEST_F(GuideStory, YesPressesRunEveryStepInOrderLikeTheMenu) {
    platform.inputs = {"8"};
    platform.answers = {MessageAnswer::Yes};
    // What the user does in two of the dialogs must reach the generated text.
    platform.formActions[FormId::Port] = [&] { settings.PortCUsed = 1; };
    platform.formActions[FormId::Timer0] = [&] { settings.T0En = true; };
    for (int step = 1; step <= GuideForm::kStepCount; ++step) guide.Command1.click();

    EXPECT_EQ(platform.events,
              (Strings{"form:chip", "form:config", "input:晶体设置", "form:Port", "form:portb", "form:timer0",
                       "form:Timer1", "form:timer2", "form:ad", "form:ccp", "form:sci", "form:mssp",
                       "form:comparator", "message:提示", "clipboard", "message:已复制文本"}));
    ASSERT_EQ(platform.inputBoxes.size(), 1u);
    EXPECT_EQ(platform.inputBoxes[0].prompt, "请输入晶体振荡频率(MHZ)");
    EXPECT_EQ(platform.inputBoxes[0].defaultText, "4");
    EXPECT_EQ(settings.CrystalMHz, 8.0f);
    EXPECT_TRUE(settings.T2FreqMHz.equals(8));

    const std::string expected = AssembleSource(settings, true);
    EXPECT_NE(expected.find("set_port"), std::string::npos);
    EXPECT_NE(expected.find("fun_timerset"), std::string::npos);
    EXPECT_EQ(mainWindow.Text1.text(), expected);
    EXPECT_EQ(platform.clipboard, expected);
    EXPECT_TRUE(mainWindow.WithComments);
    EXPECT_FALSE(guide.Command1.enabled());
    EXPECT_EQ(guide.Command2.caption(), "完 成(&C)");
}

TEST_F(GuideStory, AnswerStaysUntilChangedAndDecidesEachStep) {
    // Before each press: 'Y' picks 是, 'N' picks 否, '.' keeps
    // the answer. The crystal input is cancelled and the comment question
    // answered No wherever they come.
    struct Case {
        const char* clicks;
        Strings forms;
        bool crystal, generated;
    } const cases[] = {
        {"..............",
         {"chip", "config", "Port", "portb", "timer0", "Timer1", "timer2", "ad", "ccp", "sci", "mssp",
          "comparator"},
         true,
         true},
        {"N.............", {}, false, false},
        {"..N...........", {"chip", "config"}, false, false},
        {".....NY.......",
         {"chip", "config", "Port", "portb", "Timer1", "timer2", "ad", "ccp", "sci", "mssp", "comparator"},
         true,
         true},
        {"N..N......Y...", {"sci", "mssp", "comparator"}, false, true},
        {"NYNY.NYNY.NN.Y", {"config", "Port", "portb", "Timer1", "ad", "ccp"}, false, true},
        {".............N",
         {"chip", "config", "Port", "portb", "timer0", "Timer1", "timer2", "ad", "ccp", "sci", "mssp",
          "comparator"},
         true,
         false},
    };
    for (const auto& c : cases) {
        platform = FakePlatform{};
        platform.inputs = {""};
        platform.answers = {MessageAnswer::No};
        mainWindow.Text1.setText("");
        guide.load();
        for (int step = 0; step < GuideForm::kStepCount; ++step) {
            if (c.clicks[step] != '.') guide.OptYesNo.click(c.clicks[step] == 'Y' ? 0 : 1);
            guide.Command1.click();
        }
        EXPECT_EQ(platform.shownForms, c.forms) << c.clicks;
        EXPECT_EQ(platform.inputBoxes.size(), c.crystal ? 1u : 0u) << c.clicks;
        EXPECT_EQ(platform.clipboardPuts, c.generated ? 1 : 0) << c.clicks;
        EXPECT_EQ(mainWindow.Text1.text().empty(), !c.generated) << c.clicks;
        EXPECT_EQ(guide.GuideStep, GuideForm::kDone) << c.clicks;
    }
}

TEST_F(GuideStory, LoadingAgainStartsOverWithYesAndTheCurrentCrystal) {
    guide.OptYesNo.click(1);
    for (int i = 0; i < GuideForm::kStepCount; ++i) guide.Command1.click();
    settings.CrystalMHz = 3.6864f;
    guide.load();
    EXPECT_EQ(guide.GuideStep, 1);
    EXPECT_EQ(guide.GuideAnswer, 0);
    EXPECT_EQ(guide.OptYesNo.selected(), 0);
    EXPECT_EQ(guide.Label.caption(), "是否需要选择芯片型号?");
}

TEST(GuideQuestion, CrystalFrequencyWithAtMostSevenDigits) {
    struct Case {
        float crystal;
        const char* shown;
    } const cases[] = {
        {4, "4"},   {3.6864f, "3.6864"}, {11.0592f, "11.0592"},
        {20, "20"}, {0.5f, "0.5"},       {1.2345678f, "1.234568"},
        {-1, "-1"},
    };
    for (const auto& c : cases) {
        ProjectSettings settings;
        settings.CrystalMHz = c.crystal;
        FakePlatform platform;
        AppContext context{settings, platform};
        GuideForm guide(context);
        EXPECT_EQ(guide.Question(3), std::string("是否需要设置晶振频率?(现设置的频率为:") + c.shown + "M)");
    }
}

TEST(GuideCrystalStep, BehavesExactlyAsTheMenuCommand) {
    // The same inputs through the guide's first step and through the menu
    // must leave the same settings, boxes and events behind.
    const Strings inputSequences[] = {{"8"}, {"0", "-4", "12"}, {""}, {"abc"}, {"-1", ""}};
    for (const auto& inputs : inputSequences) {
        ProjectSettings viaGuide, viaMenu;
        viaGuide.T0FreqMHz = viaMenu.T0FreqMHz = std::string("10");
        FakePlatform guidePlatform, menuPlatform;
        guidePlatform.inputs.assign(inputs.begin(), inputs.end());
        menuPlatform.inputs.assign(inputs.begin(), inputs.end());
        AppContext guideContext{viaGuide, guidePlatform}, menuContext{viaMenu, menuPlatform};
        Form1 guideMain(guideContext), menuMain(menuContext);
        guideContext.mainWindow = &guideMain;
        GuideForm guide(guideContext);
        guide.load();
        // Past the chip and configuration-word steps to the crystal.
        guide.OptYesNo.click(1);
        guide.Command1.click();
        guide.Command1.click();
        guide.OptYesNo.click(0);
        guide.Command1.click();
        menuMain.VbMenuSet_Osc.click();

        const std::string what = inputs.front();
        EXPECT_EQ(viaGuide, viaMenu) << what;
        EXPECT_EQ(guidePlatform.events, menuPlatform.events) << what;
        ASSERT_EQ(guidePlatform.inputBoxes.size(), menuPlatform.inputBoxes.size()) << what;
        for (std::size_t i = 0; i < guidePlatform.inputBoxes.size(); ++i)
            EXPECT_EQ(guidePlatform.inputBoxes[i].defaultText, menuPlatform.inputBoxes[i].defaultText)
                << what;
        EXPECT_EQ(guide.GuideStep, 4);
        EXPECT_EQ(guide.Label.caption(), "是否需要定义端口?");
    }
}

TEST_F(GuideStory, LeavingAsksOnlyBeforeTheEnd) {
    struct Case {
        const char* what;
        int presses;  // Next presses before leaving, with 否 chosen
        std::vector<MessageAnswer> answers;
        bool closed;
        std::size_t questions;
    } const cases[] = {
        {"exit, No", 2, {MessageAnswer::No}, false, 1},
        {"exit, Yes", 2, {MessageAnswer::Yes}, true, 1},
        {"exit at the last step, No", GuideForm::kStepCount - 1, {MessageAnswer::No}, false, 1},
        {"finish", GuideForm::kStepCount, {}, true, 0},
    };
    for (const auto& c : cases) {
        ProjectSettings s;
        FakePlatform p;
        AppContext ctx{s, p};
        GuideForm g(ctx);
        g.load();
        g.OptYesNo.click(1);
        for (int i = 0; i < c.presses; ++i) g.Command1.click();
        const std::string label = g.Label.caption();
        p.answers.assign(c.answers.begin(), c.answers.end());
        g.Command2.click();

        EXPECT_EQ(g.unloaded(), c.closed) << c.what;
        ASSERT_EQ(p.messages.size(), c.questions) << c.what;
        for (const auto& m : p.messages) {
            EXPECT_EQ(m.title, "退出提示");
            EXPECT_EQ(m.text, "未完成设置,您确定要退出设置向导吗?");
            EXPECT_EQ(m.icon, MessageIcon::Question);
            EXPECT_EQ(m.buttons, MessageButtons::YesNo);
        }
        // Nothing moved, whether the guide stayed or went.
        EXPECT_EQ(g.GuideStep, c.presses + 1) << c.what;
        EXPECT_EQ(g.GuideAnswer, 1) << c.what;
        EXPECT_EQ(g.OptYesNo.selected(), 1) << c.what;
        EXPECT_EQ(g.Label.caption(), label) << c.what;
    }
}

TEST_F(GuideStory, HelpOpensTheHelpFileAtTheGuidesPage) {
    guide.Command3.click();
    EXPECT_EQ(platform.events, (Strings{"open:korvane.chm#guide.html"}));
    EXPECT_EQ(guide.GuideStep, 1);
}

TEST_F(GuideStory, BackReturnsToTheStepBeforeAndFromTheEnd) {
    constexpr int kLast = GuideForm::kStepCount;
    // Presses with 否 chosen ('N' next, 'B' back), then what the guide shows.
    struct Case {
        const char* presses;
        int step;
        bool backEnabled;
    } const cases[] = {
        {"", 1, false},
        {"B", 1, false},  // nothing before the first step
        {"N", 2, true},
        {"NB", 1, false},
        {"NNBBN", 2, true},
        {"NNNNNNNNNNNNNN", GuideForm::kDone, true},
        {"NNNNNNNNNNNNNNB", kLast, true},
        {"NNNNNNNNNNNNNNBN", GuideForm::kDone, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.presses);
        ProjectSettings s;
        FakePlatform p;
        AppContext ctx{s, p};
        GuideForm g(ctx);
        g.load();
        g.OptYesNo.click(GuideForm::kNo);
        for (const char* press = c.presses; *press; ++press)
            (*press == 'N' ? g.Command1 : g.Command4).click();

        const bool done = c.step == GuideForm::kDone;
        EXPECT_EQ(g.GuideStep, c.step);
        EXPECT_EQ(g.Label.caption(), done ? GuideForm::kDoneText : g.Question(c.step));
        EXPECT_EQ(g.Command4.enabled(), c.backEnabled);
        EXPECT_EQ(g.Command1.enabled(), !done);
        EXPECT_EQ(g.OptYesNo.enabled(GuideForm::kYes), !done);
        EXPECT_EQ(g.Command2.caption(), done ? "完 成(&C)" : "退 出(&E)");
        // The answer stays; going back opens nothing.
        EXPECT_EQ(g.GuideAnswer, GuideForm::kNo);
        EXPECT_TRUE(p.events.empty());
    }
}

TEST_F(GuideStory, AStepAnsweredAgainAfterBackRunsItsDialog) {
    guide.OptYesNo.click(GuideForm::kNo);
    for (int step = 1; step <= GuideForm::kStepCount; ++step) guide.Command1.click();
    // From the end back to the last step, 是 this time: the generation runs
    // and the guide ends as before.
    guide.Command4.click();
    guide.OptYesNo.click(GuideForm::kYes);
    platform.answers = {MessageAnswer::No};
    guide.Command1.click();
    EXPECT_EQ(platform.events, (Strings{"message:提示", "clipboard", "message:已复制文本"}));
    EXPECT_EQ(mainWindow.Text1.text(), AssembleSource(settings, false));
    EXPECT_EQ(guide.GuideStep, GuideForm::kDone);
    platform.events.clear();
    // Back over two steps to Timer0's, 是: its dialog opens, then Timer1's.
    for (int i = 0; i < GuideForm::kDone - 6; ++i) guide.Command4.click();
    EXPECT_EQ(guide.Label.caption(), "是否需要设置定时器0?");
    guide.Command1.click();
    guide.Command1.click();
    EXPECT_EQ(platform.events, (Strings{"form:timer0", "form:Timer1"}));
}

}  // namespace
}  // namespace korvane
