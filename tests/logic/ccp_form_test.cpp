#include "dialogs/ccp_form.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "app/form1.h"
#include "dialogs/timer1_form.h"
#include "fake_platform.h"
#include "platform/form_id.h"

namespace korvane {
namespace {

using Titles = std::vector<std::string>;

const char* const kCapture[] = {"捕捉模式设定", "每个下降沿触发", "每个上升沿触发", "每4个上升沿触发",
                                "每16个上升沿触发"};
const char* const kCompare[] = {"比较模式设定", "匹配时输出1", "匹配时输出0", "匹配时不受影响", "复位TMR1"};
const char* const kTimer1Title = "确认Timer1工作方式";

class CcpDialogTest : public FormFixture<CcpForm> {
protected:
    struct StoredModule {
        SettingValue& enabled;
        std::int16_t& interrupt;
        SettingValue& mode;
        std::int16_t& subCode;
        SettingValue& y;
        SettingValue& x;
        SettingValue& modeCode;
        std::size_t pin;
    };
    StoredModule Stored(int module) {
        auto& s = settings;
        if (module == 0)
            return {s.Ccp1En, s.Ccp1Int, s.Ccp1Mode, s.Ccp1SubCode, s.Ccp1Y, s.Ccp1X, s.Ccp1M, 2};
        return {s.Ccp2En, s.Ccp2Int, s.Ccp2Mode, s.Ccp2SubCode, s.Ccp2Y, s.Ccp2X, s.Ccp2M, 1};
    }

    // Ticks the module's use box and picks a mode and sub-mode as a user would.
    static void Choose(CcpForm& form, int module, int mode, int subMode) {
        auto& m = form.module(module);
        if (!m.useBox.checked()) m.useBox.click();
        m.modeOptions.click(mode);
        if (mode != CcpForm::kPwm) m.subModeOptions.click(subMode);
    }

    // What an open dialog must always show: the boxes and options mirror the
    // settings, the frames follow the mode and the module controls the use box.
    void ExpectShowsSettings(CcpForm& form, const std::string& why) {
        for (int i = 0; i < CcpForm::kModuleCount; ++i) {
            auto& m = form.module(i);
            const StoredModule stored = Stored(i);
            const std::string at = why + " module " + std::to_string(i + 1);
            const bool used = stored.enabled.isTrue();
            const int mode = static_cast<int>(*stored.mode.toNumber());
            EXPECT_EQ(m.useBox.checked(), used) << at;
            EXPECT_TRUE(m.useBox.enabled()) << at;
            EXPECT_EQ(m.modeOptions.selected(), mode) << at;
            EXPECT_EQ(m.subModeOptions.selected(), stored.subCode) << at;
            EXPECT_EQ(m.interruptBox.checked(), stored.interrupt == -1) << at;
            EXPECT_EQ(m.pwmFrame.visible(), mode == CcpForm::kPwm) << at;
            EXPECT_EQ(m.subModeFrame.visible(), mode != CcpForm::kPwm) << at;
            EXPECT_EQ(m.interruptBox.visible(), mode != CcpForm::kPwm) << at;
            EXPECT_EQ(m.yBox.text(), stored.y.toText()) << at;
            EXPECT_EQ(m.xBox.text(), stored.x.toText()) << at;
            EXPECT_EQ(stored.modeCode, SettingValue(used ? CcpModeCode(mode, stored.subCode) : 0)) << at;
            for (Control* c : {static_cast<Control*>(&m.modeFrame), static_cast<Control*>(&m.subModeFrame),
                               static_cast<Control*>(&m.interruptBox), static_cast<Control*>(&m.pwmFrame),
                               static_cast<Control*>(&m.yBox), static_cast<Control*>(&m.xBox),
                               static_cast<Control*>(&m.yLabel), static_cast<Control*>(&m.xLabel)})
                EXPECT_EQ(c->enabled(), used) << at << " " << c->name();
            for (int k = 0; k < 3; ++k) EXPECT_EQ(m.modeOptions.enabled(k), used) << at;
            for (int k = 4; k < 8; ++k) EXPECT_EQ(m.subModeOptions.enabled(k), used) << at;
            if (mode != CcpForm::kPwm) {
                const char* const* texts = mode == CcpForm::kCapture ? kCapture : kCompare;
                EXPECT_EQ(m.subModeFrame.caption(), texts[0]) << at;
                for (int k = 4; k < 8; ++k) EXPECT_EQ(m.subModeOptions.caption(k), texts[k - 3]) << at;
            }
        }
    }
};

TEST_F(CcpDialogTest, OpensWithDefaultsAndClosesWithoutChangingAnything) {
    auto form = Open();
    EXPECT_EQ(form->caption(), "捕捉/比较/脉宽调制(CCP)模块设置");
    EXPECT_EQ(form->name(), "ccp");
    EXPECT_EQ(form->Command1.caption(), "确 定(&E)");
    struct Captions {
        const char *set, *use, *modeFrame, *interrupt, *y, *x;
    };
    const Captions expected[] = {
        {"CCP1模块设置", "使用CCP1模块", "CCP1模式选择", "使用CCP1中断", "CCP1Y:", "CCP1X:"},
        {"CCP2模块设置", "使用CCP2模块", "CCP2模式选择", "使用CCP2中断", "CCP2Y:", "CCP2X:"},
    };
    for (int i = 0; i < CcpForm::kModuleCount; ++i) {
        auto& m = form->module(i);
        EXPECT_EQ(m.moduleFrame.caption(), expected[i].set);
        EXPECT_EQ(m.useBox.caption(), expected[i].use);
        EXPECT_EQ(m.modeFrame.caption(), expected[i].modeFrame);
        EXPECT_EQ(m.interruptBox.caption(), expected[i].interrupt);
        EXPECT_EQ(m.yLabel.caption(), expected[i].y);
        EXPECT_EQ(m.xLabel.caption(), expected[i].x);
        EXPECT_EQ(m.pwmFrame.caption(), "PWM低两位数据");
        EXPECT_EQ(m.modeOptions.caption(0), "捕捉模式");
        EXPECT_EQ(m.modeOptions.caption(1), "比较模式");
        EXPECT_EQ(m.modeOptions.caption(2), "PWM模式");
        EXPECT_EQ(m.yBox.text(), "0");
        EXPECT_EQ(m.xBox.text(), "0");
    }
    EXPECT_EQ(form->module(1).yLabel.caption(), "CCP2Y:");  // the CCP2 labels run the other way
    EXPECT_EQ(form->module(1).subModeOptions.name(), "Opt_Ccp2M");
    ExpectShowsSettings(*form, "defaults");
    EXPECT_FALSE(form->module(0).useBox.checked());
    EXPECT_EQ(form->module(0).subModeOptions.selected(), 4);

    form->Command1.click();
    EXPECT_TRUE(form->unloaded());
    EXPECT_TRUE(platform.events.empty());
    // An unused module claims nothing: port C stays off, RC1 and RC2 outputs.
    EXPECT_TRUE(settings == ProjectSettings{});
}

TEST_F(CcpDialogTest, EveryModeAndSubModeGivesItsCodeAndPinDirection) {
    struct Case {
        int mode, subMode, code, pinDirection;
    };
    const Case cases[] = {
        {0, 4, 4, 1}, {0, 5, 5, 1},  {0, 6, 6, 1},  {0, 7, 7, 1},  {1, 4, 8, 0},
        {1, 5, 9, 0}, {1, 6, 10, 0}, {1, 7, 11, 0}, {2, 4, 12, 0}, {2, 7, 12, 0},
    };
    for (int module = 0; module < CcpForm::kModuleCount; ++module) {
        const int pin = module == 0 ? 2 : 1;
        for (const auto& c : cases) {
            const std::string why = "CCP" + std::to_string(module + 1) + " mode " + std::to_string(c.mode) +
                                    " sub " + std::to_string(c.subMode);
            settings = ProjectSettings{};
            // The user's own port C pins must survive the claim.
            settings.PortCDir = {1, 0, 0, 1, 0, 1, 0, 1};
            auto form = Open();
            // Start from the opposite direction so the claim shows.
            Choose(*form, module, c.mode == CcpForm::kCapture ? CcpForm::kCompare : CcpForm::kCapture, 4);
            Choose(*form, module, c.mode, c.subMode);

            const StoredModule stored = Stored(module);
            EXPECT_EQ(stored.modeCode, SettingValue(c.code)) << why;
            EXPECT_EQ(stored.mode, SettingValue(c.mode)) << why;
            EXPECT_EQ(settings.PortCUsed, 1) << why;
            PinDirections expected = {1, 0, 0, 1, 0, 1, 0, 1};
            expected[pin] = static_cast<std::int16_t>(c.pinDirection);
            EXPECT_EQ(settings.PortCDir, expected) << why;
            // The other module is untouched.
            const StoredModule other = Stored(1 - module);
            EXPECT_FALSE(other.enabled.isTrue()) << why;
            EXPECT_EQ(other.modeCode, SettingValue(0)) << why;
            ExpectShowsSettings(*form, why);
        }
    }
}

TEST_F(CcpDialogTest, CheckingCcp1FromTheDefaultsClaimsRc2AsInput) {
    auto form = Open();
    form->module(0).useBox.click();
    EXPECT_TRUE(settings.Ccp1En.isTrue());
    EXPECT_EQ(settings.Ccp1M, SettingValue(4));
    EXPECT_EQ(settings.PortCDir[2], 1);
    EXPECT_EQ(settings.PortCDir[1], 0);
    EXPECT_EQ(settings.PortCUsed, 1);
    EXPECT_TRUE(form->module(0).modeOptions.enabled(2));
    EXPECT_FALSE(form->module(1).modeOptions.enabled(2));
    ExpectShowsSettings(*form, "CCP1 ticked");
}

// CCP2 and Timer1's oscillator both need RC1: whichever asks second is
// refused, and the module holding the pin keeps its settings.
TEST_F(CcpDialogTest, Rc1GoesToCcp2OrTheTimer1OscillatorNotBoth) {
    const std::string oscillatorFirst =
        "Timer1振荡器已使用RC1口,CCP2模块不能同时使用.\r若要使用CCP2模块,请先将Timer1设置为不使用内部振荡器.";
    const std::string ccp2First =
        "CCP2模块已使用RC1口,Timer1振荡器不能同时使用.\r若要使用Timer1振荡器,请先关闭CCP2模块.";

    Timer1Form timer1(context);
    timer1.load();
    timer1.Chk_T1En.click();
    timer1.Opt_OscInT1.click(1);
    timer1.Command2.click();
    EXPECT_EQ(settings.PortCDir[1], 1);
    auto form = Open();
    form->module(1).useBox.click();
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].title, "RC1口已被占用");
    EXPECT_EQ(platform.messages[0].text, oscillatorFirst);
    EXPECT_FALSE(form->module(1).useBox.checked());
    EXPECT_FALSE(settings.Ccp2En.isTrue());
    EXPECT_EQ(settings.T1OscEn, 1);
    EXPECT_EQ(settings.PortCDir[1], 1);

    // The other way round: with CCP2 on, the oscillator option and switching
    // Timer1 on with its oscillator stored are refused.
    settings = ProjectSettings{};
    platform.messages.clear();
    form = Open();
    form->module(1).useBox.click();
    form->module(1).modeOptions.click(CcpForm::kCompare);
    EXPECT_EQ(settings.PortCDir[1], 0);
    Timer1Form again(context);
    again.load();
    again.Chk_T1En.click();
    again.Opt_OscInT1.click(1);
    EXPECT_EQ(again.Opt_OscInT1.selected(), 0);
    EXPECT_EQ(settings.T1OscEn, 0);
    again.Chk_T1En.click();
    settings.T1OscEn = 1;
    again.Chk_T1En.click();
    EXPECT_FALSE(settings.T1En.isTrue());
    ASSERT_EQ(platform.messages.size(), 2u);
    EXPECT_EQ(platform.messages[0].text, ccp2First);
    EXPECT_EQ(platform.messages[1].text, ccp2First);
    EXPECT_TRUE(settings.Ccp2En.isTrue());
    EXPECT_EQ(settings.PortCDir[1], 0);
}

TEST_F(CcpDialogTest, SwitchingModesKeepsTheSubModeAndTheInterrupt) {
    auto form = Open();
    Choose(*form, 0, CcpForm::kCompare, 7);
    EXPECT_EQ(settings.Ccp1M, SettingValue(11));
    EXPECT_EQ(form->module(0).subModeOptions.caption(7), "复位TMR1");
    EXPECT_EQ(settings.PortCDir[2], 0);
    form->module(0).interruptBox.click();
    EXPECT_EQ(settings.Ccp1Int, -1);

    form->module(0).modeOptions.click(CcpForm::kCapture);
    EXPECT_EQ(form->module(0).subModeOptions.selected(), 7);
    EXPECT_EQ(settings.Ccp1M, SettingValue(7));
    EXPECT_EQ(form->module(0).subModeOptions.caption(7), "每16个上升沿触发");
    EXPECT_EQ(settings.PortCDir[2], 1);

    form->module(0).modeOptions.click(CcpForm::kPwm);
    EXPECT_EQ(settings.Ccp1M, SettingValue(12));
    EXPECT_EQ(settings.PortCDir[2], 0);
    EXPECT_TRUE(form->module(0).pwmFrame.visible());
    EXPECT_FALSE(form->module(0).subModeFrame.visible());
    EXPECT_FALSE(form->module(0).interruptBox.visible());
    EXPECT_EQ(settings.Ccp1Int, -1);  // hidden, not cleared
    EXPECT_EQ(settings.Ccp1SubCode, 7);

    form->module(0).modeOptions.click(CcpForm::kCompare);
    EXPECT_EQ(form->module(0).subModeOptions.selected(), 7);
    EXPECT_EQ(settings.Ccp1M, SettingValue(11));
    EXPECT_TRUE(form->module(0).interruptBox.checked());
    ExpectShowsSettings(*form, "back to compare");
}

TEST_F(CcpDialogTest, UncheckingKeepsTheChoicesAndTheClaimForNextTime) {
    auto form = Open();
    Choose(*form, 1, CcpForm::kCompare, 6);
    form->module(1).interruptBox.click();
    form->module(1).yBox.setText("1");
    EXPECT_EQ(settings.Ccp2M, SettingValue(10));
    EXPECT_EQ(settings.Ccp2Int, -1);

    form->module(1).useBox.click();
    EXPECT_FALSE(settings.Ccp2En.isTrue());
    EXPECT_EQ(settings.Ccp2M, SettingValue(0));
    EXPECT_EQ(settings.Ccp2Int, 0);
    EXPECT_EQ(settings.PortCUsed, 1);
    EXPECT_EQ(settings.PortCDir[1], 0);
    EXPECT_EQ(settings.Ccp2Mode, SettingValue(CcpForm::kCompare));
    EXPECT_EQ(settings.Ccp2SubCode, 6);
    EXPECT_EQ(settings.Ccp2Y, SettingValue(1));
    ExpectShowsSettings(*form, "CCP2 off");
    // Greyed-out controls ignore the user.
    form->module(1).modeOptions.click(CcpForm::kPwm);
    form->module(1).interruptBox.click();
    EXPECT_EQ(settings.Ccp2Mode, SettingValue(CcpForm::kCompare));
    EXPECT_EQ(settings.Ccp2Int, 0);

    form->module(1).useBox.click();
    EXPECT_EQ(settings.Ccp2M, SettingValue(10));
    EXPECT_EQ(settings.Ccp2Int, 0);  // the interrupt has to be chosen again
    ExpectShowsSettings(*form, "CCP2 on again");
}

TEST_F(CcpDialogTest, OpeningShowsTheStoredStateAndClaimsOnlyForUsedModules) {
    struct Case {
        bool used;
        int mode, subCode, interrupt, y, x;
        int interruptAfter, codeAfter;
        std::int16_t portCUsed, pinAfter;
    };
    const Case cases[] = {
        {true, 0, 6, -1, 0, 0, -1, 6, 1, 1},  {true, 1, 5, 0, 1, 0, 0, 9, 1, 0},
        {true, 2, 7, -1, 1, 1, -1, 12, 1, 0}, {false, 2, 5, 0, 1, 1, 0, 0, 0, 1},
        {false, 0, 4, -1, 0, 1, 0, 0, 0, 0},  {false, 1, 7, 0, 0, 0, 0, 0, 0, 1},
    };
    for (int module = 0; module < CcpForm::kModuleCount; ++module) {
        const int pin = module == 0 ? 2 : 1;
        for (const auto& c : cases) {
            const std::string why = "CCP" + std::to_string(module + 1) + " used " + std::to_string(c.used) +
                                    " mode " + std::to_string(c.mode);
            settings = ProjectSettings{};
            const auto stored = Stored(module);
            stored.enabled = c.used;
            stored.mode = c.mode;
            stored.subCode = static_cast<std::int16_t>(c.subCode);
            stored.interrupt = static_cast<std::int16_t>(c.interrupt);
            stored.y = c.y;
            stored.x = c.x;
            // A stored direction the opening must only change for a used module.
            settings.PortCDir[pin] = static_cast<std::int16_t>(c.used ? 1 - c.pinAfter : c.pinAfter);

            auto form = Open();
            auto& m = form->module(module);
            EXPECT_EQ(stored.interrupt, c.interruptAfter) << why;
            EXPECT_EQ(stored.modeCode, SettingValue(c.codeAfter)) << why;
            EXPECT_EQ(settings.PortCUsed, c.portCUsed) << why;
            EXPECT_EQ(settings.PortCDir[pin], c.pinAfter) << why;
            EXPECT_EQ(stored.y, SettingValue(c.y)) << why;
            EXPECT_EQ(stored.x, SettingValue(c.x)) << why;
            // The bit boxes show the stored bits whatever the mode, so a switch
            // to PWM shows what will be generated.
            EXPECT_EQ(m.yBox.text(), std::to_string(c.y)) << why;
            EXPECT_EQ(m.xBox.text(), std::to_string(c.x)) << why;
            ExpectShowsSettings(*form, why);
            EXPECT_TRUE(platform.events.empty()) << why;
        }
    }
}

TEST_F(CcpDialogTest, BitBoxesHoldOnlyZeroOrOne) {
    struct Case {
        const char* entered;  // pasted or set, bypassing the key filter
        const char* shown;
        int stored;
    };
    const Case cases[] = {
        {"1", "1", 1},  {"0", "0", 0},     {"5", "1", 1},   {"", "0", 0},   {"1.0", "1", 1},
        {"01", "1", 1}, {"00", "0", 0},    {"abc", "0", 0}, {"-0", "0", 0}, {"0.5", "1", 1},
        {"-1", "1", 1}, {"1.2.3", "0", 0}, {"10", "1", 1},  {" 1", "1", 1},
    };
    auto form = Open();
    Choose(*form, 0, CcpForm::kPwm, 4);
    Choose(*form, 1, CcpForm::kPwm, 4);
    struct Box {
        TextBox& box;
        SettingValue ProjectSettings::*bit;
    };
    const Box boxes[] = {{form->module(0).yBox, &ProjectSettings::Ccp1Y},
                         {form->module(0).xBox, &ProjectSettings::Ccp1X},
                         {form->module(1).yBox, &ProjectSettings::Ccp2Y},
                         {form->module(1).xBox, &ProjectSettings::Ccp2X}};
    for (const auto& b : boxes) {
        for (const auto& c : cases) {
            // Start from the other bit so every case has to store.
            b.box.setText(c.stored ? "0" : "1");
            const ProjectSettings before = settings;
            b.box.setText(c.entered);
            EXPECT_EQ(b.box.text(), c.shown) << b.box.name() << " '" << c.entered << "'";
            EXPECT_EQ(settings.*b.bit, SettingValue(c.stored)) << b.box.name() << " '" << c.entered << "'";
            // Only its own bit changes.
            ProjectSettings expected = before;
            expected.*b.bit = c.stored;
            EXPECT_TRUE(settings == expected) << b.box.name() << " '" << c.entered << "'";
        }
    }
    EXPECT_TRUE(platform.events.empty());
}

TEST_F(CcpDialogTest, BitBoxesAdmitOnlyZeroOneAndBackspaceAndSelectAllOnFocus) {
    auto form = Open();
    Choose(*form, 0, CcpForm::kPwm, 4);
    Choose(*form, 1, CcpForm::kPwm, 4);
    for (TextBox* box :
         {&form->module(0).yBox, &form->module(0).xBox, &form->module(1).yBox, &form->module(1).xBox}) {
        for (int key : {48, 49, 8}) EXPECT_EQ(box->keyPress(key), key) << box->name() << " " << key;
        for (int key : {50, 57, 97, 46, 45, 32, 13, 27})
            EXPECT_EQ(box->keyPress(key), 0) << box->name() << " " << key;
        int selectAll = 0;
        box->observe([&](Change change) { selectAll += change == Change::SelectAll; });
        box->gotFocus();
        EXPECT_EQ(selectAll, 1) << box->name();
    }
}

TEST_F(CcpDialogTest, InterruptBoxesStoreMinusOneOrZero) {
    auto form = Open();
    form->module(0).useBox.click();
    form->module(1).useBox.click();
    form->module(0).interruptBox.click();
    EXPECT_EQ(settings.Ccp1Int, -1);
    EXPECT_EQ(settings.Ccp2Int, 0);
    form->module(1).interruptBox.click();
    EXPECT_EQ(settings.Ccp2Int, -1);
    form->module(0).interruptBox.click();
    EXPECT_EQ(settings.Ccp1Int, 0);
    EXPECT_EQ(settings.Ccp2Int, -1);
}

TEST_F(CcpDialogTest, ClosingInCaptureOrCompareOffersTimer1) {
    struct Case {
        bool ccp1;
        int mode1;
        bool ccp2;
        int mode2;
        bool asked;   // Timer1
        bool asked2;  // Timer2, off unless timer2On
        bool timer2On = false;
    };
    // Only used modules count: a module left unused in its default capture
    // mode does not need Timer1, nor one left in PWM mode Timer2.
    const Case cases[] = {
        {false, 0, false, 0, false, false},      {true, 0, false, 0, true, false},
        {true, 1, false, 2, true, false},        {false, 0, true, 1, true, false},
        {true, 2, true, 2, false, true},         {true, 2, false, 0, false, true},
        {false, 1, true, 2, false, true},        {true, 2, true, 0, true, true},
        {false, 2, false, 1, false, false},      {true, 2, true, 0, true, false, true},
        {true, 2, false, 2, false, false, true},
    };
    for (const auto answer : {MessageAnswer::Yes, MessageAnswer::No}) {
        for (const auto& c : cases) {
            const std::string why = std::to_string(c.ccp1) + "/" + std::to_string(c.mode1) + " " +
                                    std::to_string(c.ccp2) + "/" + std::to_string(c.mode2) +
                                    (answer == MessageAnswer::Yes ? " Yes" : " No");
            settings = ProjectSettings{};
            platform.events.clear();
            platform.messages.clear();
            settings.Ccp1En = c.ccp1;
            settings.Ccp1Mode = c.mode1;
            settings.Ccp2En = c.ccp2;
            settings.Ccp2Mode = c.mode2;
            settings.T2En = c.timer2On;
            if (c.asked) platform.answers.push_back(answer);
            if (c.asked2) platform.answers.push_back(answer);
            auto form = Open();
            bool closedBeforeTimer1 = false;
            form->observe([&](Change change) { closedBeforeTimer1 |= change == Change::Close; });
            platform.formActions[FormId::Timer1] = [&] { EXPECT_FALSE(closedBeforeTimer1) << why; };
            platform.formActions[FormId::Timer2] = [&] { EXPECT_FALSE(closedBeforeTimer1) << why; };

            form->Command1.click();
            Titles expected;
            if (c.asked) expected.push_back("message:" + std::string(kTimer1Title));
            if (c.asked && answer == MessageAnswer::Yes) expected.push_back("form:Timer1");
            if (c.asked2) expected.push_back("message:确认Timer2工作方式");
            if (c.asked2 && answer == MessageAnswer::Yes) expected.push_back("form:timer2");
            EXPECT_EQ(platform.events, expected) << why;
            EXPECT_TRUE(closedBeforeTimer1) << why;
        }
    }
}

TEST_F(CcpDialogTest, Timer1QuestionIsATwoLineYesNoQuestion) {
    settings.Ccp2En = true;
    settings.Ccp2Mode = CcpForm::kCompare;
    platform.answers.push_back(MessageAnswer::No);
    auto form = Open();
    form->unload();  // the window's close box
    ASSERT_EQ(platform.messages.size(), 1u);
    const auto& question = platform.messages.front();
    EXPECT_EQ(question.title, kTimer1Title);
    EXPECT_EQ(question.text,
              "在捕捉/比较模式下,定时器1必须工作在定时或同步计数方式下.\r"
              "现在需要设置Timer1吗?.按Yes对Timer1进行设置,按NO退出.");
    EXPECT_EQ(question.icon, MessageIcon::Question);
    EXPECT_EQ(question.buttons, MessageButtons::YesNo);
    form->unload();  // closing twice asks once
    EXPECT_EQ(platform.messages.size(), 1u);
}

TEST_F(CcpDialogTest, FromTheSetMenuThroughCaptureToTimer1) {
    Form1 main(context);
    platform.formActions[FormId::Ccp] = [&] {
        auto dialog = Open();
        dialog->module(0).useBox.click();
        dialog->module(0).subModeOptions.click(5);
        dialog->Command1.click();
    };
    platform.answers.push_back(MessageAnswer::Yes);
    main.VbMenuSet_CCP.click();
    EXPECT_EQ(platform.events, (Titles{"form:ccp", "message:" + std::string(kTimer1Title), "form:Timer1"}));
    EXPECT_EQ(settings.Ccp1M, SettingValue(5));
}

TEST_F(CcpDialogTest, AnySequenceOfChoicesReopensAsLeftBehind) {
    // Whatever the user does, the mode code follows the choices, a used
    // module's pin follows its mode, and reopening shows the state unchanged.
    std::mt19937 random(5150);
    for (int round = 0; round < 150; ++round) {
        settings = ProjectSettings{};
        auto form = Open();
        for (int step = 0; step < 12; ++step) {
            auto& m = form->module(static_cast<int>(random() % 2));
            switch (random() % 6) {
                case 0:
                    m.useBox.click();
                    break;
                case 1:
                    m.modeOptions.click(static_cast<int>(random() % 3));
                    break;
                case 2:
                    m.subModeOptions.click(4 + static_cast<int>(random() % 4));
                    break;
                case 3:
                    m.interruptBox.click();
                    break;
                case 4:
                    m.yBox.setText(std::to_string(random() % 3));
                    break;
                default:
                    m.xBox.setText(random() % 2 ? "1" : "x");
                    break;
            }
        }
        const std::string why = "round " + std::to_string(round);
        ExpectShowsSettings(*form, why);
        for (int i = 0; i < CcpForm::kModuleCount; ++i) {
            const StoredModule stored = Stored(i);
            if (!stored.enabled.isTrue()) continue;
            EXPECT_EQ(settings.PortCUsed, 1) << why;
            EXPECT_EQ(settings.PortCDir[stored.pin], stored.mode.equals(0) ? 1 : 0) << why;
        }
        const bool needsTimer1 = (settings.Ccp1En.isTrue() && !settings.Ccp1Mode.equals(2)) ||
                                 (settings.Ccp2En.isTrue() && !settings.Ccp2Mode.equals(2));
        const bool needsTimer2 = (settings.Ccp1En.isTrue() && settings.Ccp1Mode.equals(2)) ||
                                 (settings.Ccp2En.isTrue() && settings.Ccp2Mode.equals(2));
        platform.answers = {MessageAnswer::No, MessageAnswer::No};
        platform.messages.clear();
        form->Command1.click();
        EXPECT_EQ(platform.messages.size(), (needsTimer1 ? 1u : 0u) + (needsTimer2 ? 1u : 0u)) << why;

        const ProjectSettings leftBehind = settings;
        auto reopened = Open();
        ASSERT_TRUE(settings == leftBehind) << why;
        ExpectShowsSettings(*reopened, why + " reopened");
    }
}

TEST_F(CcpDialogTest, CompareTimeGivesTheValueAndABadTimeIsReportedOnClosing) {
    struct Case {
        const char* typed;
        const char* shown;  // the read-out after typing
        float stored;       // the value left in the settings
        const char* message;
    };
    // Timer1 at 4 MHz with 1:2: one count is 2 us. The calculator's own
    // table has the limits and the other refusals.
    const Case cases[] = {
        {"3000", "比较值(Hex):0x5DC", 1500, nullptr},
        {"131072", "比较值(Hex):", 1000, "超出比较范围"},
    };
    for (const auto& c : cases) {
        settings = ProjectSettings{};
        settings.T1PsDiv = 2.0;
        platform.messages.clear();
        auto form = Open();
        Choose(*form, 1, CcpForm::kCompare, 4);
        auto& m = form->module(1);
        EXPECT_TRUE(m.compareBox.visible() && m.compareBox.enabled()) << c.typed;
        EXPECT_FALSE(m.dutyBox.visible()) << c.typed;
        m.compareBox.setText(c.typed);
        EXPECT_EQ(m.compareValue.caption(), c.shown) << c.typed;
        platform.answers = {MessageAnswer::No};
        form->Command1.click();
        EXPECT_EQ(settings.Ccp2CmpValue, c.stored) << c.typed;
        Titles titles;
        if (c.message) titles.push_back(c.message);
        titles.push_back(kTimer1Title);
        EXPECT_EQ(platform.messageTitles(), titles) << c.typed;
    }
}

TEST_F(CcpDialogTest, DutyTimeSetsAllTenBitsAndShowsThePeriod) {
    settings.T2En = true;
    auto form = Open();
    Choose(*form, 0, CcpForm::kPwm, 4);
    auto& m = form->module(0);
    // Timer2 at 4 MHz, 1:1, PR2 at 255: 256 us, 1024 steps.
    EXPECT_EQ(m.pwmPeriod.caption(), "PWM周期:256.000uS(3.906kHz)");
    EXPECT_EQ(m.pwmResolution.caption(), "分辨率:10.0位");
    EXPECT_FALSE(m.compareBox.visible());
    m.dutyBox.setText("64.75");  // 259 = 0x40 * 4 + 3
    EXPECT_EQ(m.yBox.text(), "1");
    EXPECT_EQ(m.xBox.text(), "1");
    EXPECT_EQ(m.dutyPercent.caption(), "占周期25.3%");
    form->Command1.click();  // stored on closing
    EXPECT_EQ(settings.Ccp1DutyReg, 0x40);
    EXPECT_EQ(settings.Ccp1X, SettingValue(1));
    EXPECT_EQ(settings.Ccp1Y, SettingValue(1));

    form = Open();
    auto& again = form->module(0);
    again.xBox.setText("0");  // the low bits can still be set by hand
    EXPECT_EQ(settings.Ccp1X, SettingValue(0));
    again.dutyBox.setText("300");
    EXPECT_EQ(again.dutyPercent.caption(), "占周期");
    form->Command1.click();
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].title, "占空比设置错误");
    EXPECT_EQ(platform.messages[0].icon, MessageIcon::Error);
    EXPECT_EQ(settings.Ccp1DutyReg, 0x40);

    // Reopening keeps the bits typed by hand.
    auto reopened = Open();
    EXPECT_EQ(reopened->module(0).xBox.text(), "0");
    EXPECT_EQ(reopened->module(0).dutyBox.text(), "64.75");
}

// Typed a key at a time, every prefix of a time may give a value of its own:
// 15 us of a 150 us duty, 10000 us of 100000. Only the text the dialog
// closes with is stored; refused, it leaves the value from before it was typed.
TEST_F(CcpDialogTest, TimesAreStoredAsTheDialogClosesNeverAPrefix) {
    struct Case {
        const char* what;
        int mode;
        const char* earlier;  // typed and closed first, accepted
        const char* typed;    // then typed key by key
        const char* readOut;  // the live read-out after the last key
        const char* value;    // the stored value, as "CCPR1 X Y"
        const char* refusedBy;
    };
    // Timer1 at 4 MHz and 1:1: a count a microsecond. Timer2 with PR2 0x63:
    // a 100 us period of 400 steps, four a microsecond.
    const Case cases[] = {
        {"compare beyond Timer1", CcpForm::kCompare, "500", "100000", "比较值(Hex):", "500", "超出比较范围"},
        {"compare accepted", CcpForm::kCompare, "500", "10000", "比较值(Hex):0x2710", "10000", nullptr},
        {"duty beyond the period", CcpForm::kPwm, "25.25", "150", "占周期", "25 0 1", "占空比设置错误"},
        {"duty accepted", CcpForm::kPwm, "25.25", "15.5", "占周期15.5%", "15 1 0", nullptr},
    };
    const auto stored = [&](int mode) {
        if (mode == CcpForm::kCompare) return SettingValue(settings.Ccp1CmpValue).toText();
        return std::to_string(settings.Ccp1DutyReg) + " " + settings.Ccp1X.toText() + " " +
               settings.Ccp1Y.toText();
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        settings = ProjectSettings{};
        settings.T2En = true;
        settings.T2RegText = "0x63";
        platform = FakePlatform{};
        const auto typeInto = [&](const char* text, bool keyByKey) {
            auto form = Open();
            Choose(*form, 0, c.mode, 4);
            auto& m = form->module(0);
            TextBox& box = c.mode == CcpForm::kCompare ? m.compareBox : m.dutyBox;
            const std::string all = text;
            for (std::size_t n = keyByKey ? 1 : all.size(); n <= all.size(); ++n)
                box.setText(all.substr(0, n));
            if (keyByKey) {
                EXPECT_EQ(c.mode == CcpForm::kCompare ? m.compareValue.caption() : m.dutyPercent.caption(),
                          c.readOut);
            }
            platform.answers = {MessageAnswer::No};
            form->Command1.click();
        };
        typeInto(c.earlier, false);
        platform.messages.clear();
        typeInto(c.typed, true);
        EXPECT_EQ(stored(c.mode), c.value);
        Titles titles;
        if (c.refusedBy) titles.push_back(c.refusedBy);
        if (c.mode == CcpForm::kCompare) titles.push_back(kTimer1Title);
        EXPECT_EQ(platform.messageTitles(), titles);
    }
}

TEST_F(CcpDialogTest, NewCrystalGivesNewCompareAndDutyValues) {
    Form1 main(context);
    platform.formActions[FormId::Ccp] = [&] {
        auto dialog = Open();
        Choose(*dialog, 0, CcpForm::kCompare, 4);
        dialog->module(0).compareBox.setText("500");
        Choose(*dialog, 1, CcpForm::kPwm, 4);
        dialog->module(1).dutyBox.setText("100");
        dialog->Command1.click();
    };
    platform.answers = {MessageAnswer::No, MessageAnswer::No};
    main.VbMenuSet_CCP.click();
    EXPECT_EQ(settings.Ccp1CmpValue, 500);
    EXPECT_EQ(settings.Ccp2DutyReg, 100);

    platform.inputs = {"2"};
    main.VbMenuSet_Osc_Click();
    EXPECT_EQ(settings.Ccp1CmpValue, 250);
    EXPECT_EQ(settings.Ccp2DutyReg, 50);
}

}  // namespace
}  // namespace korvane
