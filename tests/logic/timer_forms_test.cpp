#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/form1.h"
#include "controls/app_context.h"
#include "dialogs/timer0_form.h"
#include "dialogs/timer1_form.h"
#include "dialogs/timer2_form.h"
#include "fake_platform.h"
#include "platform/form_id.h"
#include "settings/output_form.h"

namespace korvane {
namespace {

const char* const kInputTitle = "输入数据不正确";
const char* const kInputText =
    "你还没有输入必要的数值(定时值或晶振/外部频率),\r"
    "或者输入的数据格式不正确(写了两个以上的小数点).\r"
    "请更正你的以上错误.谢谢！";
const char* const kFrequencyTitle = "晶振频率设置错误";
const char* const kRangeTitle = "超出定时范围";
const char* const kRangeLine1 = "超出定时范围，请重新输入定时时间或晶体/外部频率\r";

class TimerDialogs : public ::testing::Test {
protected:
    ProjectSettings settings;
    FakePlatform platform;
    AppContext context{settings, platform};

    template <class FormClass>
    std::unique_ptr<FormClass> Open() {
        auto form = std::make_unique<FormClass>(context);
        form->load();
        EXPECT_FALSE(context.timerDialogLoading) << "the flag outlives the load";
        return form;
    }
    // The one message box expected since the last call, as "title|text".
    std::string TakeMessage() {
        if (platform.messages.size() != 1) return std::to_string(platform.messages.size()) + " boxes";
        const auto m = platform.messages.front();
        platform.messages.clear();
        EXPECT_EQ(m.icon, MessageIcon::Error);
        EXPECT_EQ(m.buttons, MessageButtons::Ok);
        return m.title + "|" + m.text;
    }
};

// What the three dialogs have in common, seen through one shape so that the
// shared rules are checked on each of them.
struct AnyTimer {
    const char* name;
    std::function<std::unique_ptr<TimerForm>(AppContext&)> make;
    std::function<SettingValue&(ProjectSettings&)> time;
    std::function<SettingValue&(ProjectSettings&)> freq;
    std::function<float&(ProjectSettings&)> error;
    std::function<std::string(ProjectSettings&)> registers;
    std::function<void(TimerForm&)> switchOn;
};

std::vector<AnyTimer> AllTimers() {
    return {
        {"timer0", [](AppContext& c) { return std::make_unique<Timer0Form>(c); },
         [](ProjectSettings& s) -> SettingValue& { return s.T0TimeUs; },
         [](ProjectSettings& s) -> SettingValue& { return s.T0FreqMHz; },
         [](ProjectSettings& s) -> float& { return s.T0ErrorUs; },
         [](ProjectSettings& s) { return s.T0RegText; },
         [](TimerForm& f) { static_cast<Timer0Form&>(f).Chk_T0En.click(); }},
        {"Timer1", [](AppContext& c) { return std::make_unique<Timer1Form>(c); },
         [](ProjectSettings& s) -> SettingValue& { return s.T1TimeUs; },
         [](ProjectSettings& s) -> SettingValue& { return s.T1FreqMHz; },
         [](ProjectSettings& s) -> float& { return s.T1ErrorUs; },
         [](ProjectSettings& s) { return s.T1RegHighText.toText() + " " + s.T1RegLowText; },
         [](TimerForm& f) { static_cast<Timer1Form&>(f).Chk_T1En.click(); }},
        {"timer2", [](AppContext& c) { return std::make_unique<Timer2Form>(c); },
         [](ProjectSettings& s) -> SettingValue& { return s.T2TimeUs; },
         [](ProjectSettings& s) -> SettingValue& { return s.T2FreqMHz; },
         [](ProjectSettings& s) -> float& { return s.T2ErrorUs; },
         [](ProjectSettings& s) { return s.T2RegText; },
         [](TimerForm& f) { static_cast<Timer2Form&>(f).Chk_T2En.click(); }},
    };
}

// The typical run: Timer0 on, 100 us at 4 MHz with 1:2, then the
// generate command puts the timer set-up on the clipboard.
TEST_F(TimerDialogs, TypicalRunFromMenuToGeneratedSource) {
    Form1 main(context);
    platform.formActions[FormId::Timer0] = [&] {
        auto dialog = Open<Timer0Form>();
        dialog->Chk_T0En.click();
        dialog->Txt_Time.setText("100");
        EXPECT_EQ(settings.T0TimeUs, SettingValue("100"));  // stored as typed
        dialog->Command1.click();
        EXPECT_EQ(dialog->Txt_Max.text(), "512");
        EXPECT_EQ(dialog->Txt_Min.text(), "2.000");
        EXPECT_EQ(dialog->Txt_Tmr0.text(), "0xCE");
        EXPECT_EQ(dialog->Txt_Err.text(), "0.000");
        dialog->Command2.click();
        EXPECT_TRUE(dialog->unloaded());
    };
    main.VbMenuSet_T0.click();
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_EQ(settings.T0RegText, "0xCE");
    EXPECT_EQ(settings.T0ErrorUs, 0.0f);
    EXPECT_EQ(settings.T0TimeUs, SettingValue(100.0f));
    EXPECT_EQ(settings.T0FreqMHz, SettingValue(4.0f));

    platform.answers.push_back(MessageAnswer::Yes);
    main.VbMenuTools_c.click();
    EXPECT_NE(platform.clipboard.find("void fun_timerset()\r\n"
                                      "{\r\n"
                                      "//Timer0初始化设置\r\n"
                                      " PSA=0;//Timer0 使用预分频器\r\n"
                                      "//Timer0选择分频率为1:2\r\n"
                                      " PS0=0;PS1=0;PS2=0;\r\n"
                                      "//内部时钟定时方式,定时时间:100uS,误差:0uS\r\n"
                                      " T0CS=0;\r\n"
                                      " TMR0=0xCE;\r\n"
                                      "}\r\n"),
              std::string::npos)
        << platform.clipboard;
    EXPECT_NE(platform.clipboard.find("fun_timerset();"), std::string::npos);
}

// Generates with comments and returns the source.
std::string Generate(Form1& main, FakePlatform& platform) {
    platform.answers.push_back(MessageAnswer::Yes);
    main.VbMenuTools_c.click();
    return platform.clipboard;
}

TEST_F(TimerDialogs, Timer2TypedTimeAndCloseGeneratesThatTimesValue) {
    Form1 main(context);
    platform.formActions[FormId::Timer2] = [&] {
        auto dialog = Open<Timer2Form>();
        dialog->Chk_T2En.click();
        dialog->Txt_Time.setText("200");
        dialog->Command2.click();  // 确定 without 查看
    };
    main.VbMenuSet_T2.click();
    EXPECT_TRUE(platform.messages.empty());
    const std::string source = Generate(main, platform);
    EXPECT_NE(source.find("//定时器2定时时间为:200uS,误差:0uS\r\n PR2=0xC7;//TMR2计数到PR2后自动清零\r\n"),
              std::string::npos)
        << source;
}

// Timing an outside clock, each T0CKI edge after the prescaler is a count:
// 4000 us at 0.1 MHz and 1:2 are 200 counts, not 50.
TEST_F(TimerDialogs, Timer0ExternalClockTimingCountsEveryEdge) {
    Form1 main(context);
    platform.formActions[FormId::Timer0] = [&] {
        auto dialog = Open<Timer0Form>();
        dialog->Chk_T0En.click();
        dialog->Opt_Osc.click(Timer0Form::kExternalTiming);
        dialog->Txt_Osc.setText("0.1");
        dialog->Txt_Time.setText("4000");
        dialog->Command2.click();
    };
    main.VbMenuSet_T0.click();
    EXPECT_TRUE(platform.messages.empty());
    for (bool comments : {true, false}) {
        platform.answers.push_back(comments ? MessageAnswer::Yes : MessageAnswer::No);
        main.VbMenuTools_c.click();
        const std::string expected =
            comments ? "//外部时钟定时方式\r\n T0CS=1;\r\n TMR0=0x38;\r\n}\r\n"
                     : "{\r\n PSA=0;\r\n PS0=0;PS1=0;PS2=0;\r\n T0CS=1;\r\n TMR0=0x38;\r\n}\r\n";
        EXPECT_NE(platform.clipboard.find(expected), std::string::npos) << platform.clipboard;
    }
}

TEST_F(TimerDialogs, FailedTimer0CalculationLeavesNoStaleValueInTheSource) {
    Form1 main(context);
    platform.formActions[FormId::Timer0] = [&] {
        auto dialog = Open<Timer0Form>();
        dialog->Chk_T0En.click();
        dialog->Txt_Time.setText("100");
        dialog->Command1.click();
        EXPECT_EQ(settings.T0RegText, "0xCE");
        dialog->Txt_Time.setText("600");  // beyond 512 us at 1:2
        dialog->Command1.click();
        dialog->Command2.click();
        EXPECT_FALSE(dialog->unloaded());  // the refused time keeps it open
    };
    main.VbMenuSet_T0.click();
    EXPECT_EQ(platform.messageTitles(), (std::vector<std::string>{kRangeTitle, kRangeTitle}));
    platform.messages.clear();
    const std::string source = Generate(main, platform);
    EXPECT_NE(source.find("//内部时钟定时方式,定时时间:600uS,误差:0uS\r\n T0CS=0;\r\n}\r\n"),
              std::string::npos)
        << source;
    EXPECT_EQ(source.find("0xCE"), std::string::npos) << source;
}

TEST_F(TimerDialogs, NewCrystalGivesTimer0ItsValueForTheNewFrequency) {
    Form1 main(context);
    platform.formActions[FormId::Timer0] = [&] {
        auto dialog = Open<Timer0Form>();
        dialog->Chk_T0En.click();
        dialog->Txt_Time.setText("100");
        dialog->Command2.click();
    };
    main.VbMenuSet_T0.click();
    EXPECT_EQ(settings.T0RegText, "0xCE");  // 4 MHz: 2 us a count

    platform.inputs.push_back("8");
    main.VbMenuSet_Osc.click();
    EXPECT_TRUE(platform.messages.empty());  // worked out silently
    const std::string source = Generate(main, platform);
    EXPECT_NE(source.find("//内部时钟定时方式,定时时间:100uS,误差:0uS\r\n T0CS=0;\r\n TMR0=0x9C;\r\n"),
              std::string::npos)
        << source;

    // The dialog opened again shows the same value for the same boxes.
    auto reopened = Open<Timer0Form>();
    reopened->Command1.click();
    EXPECT_EQ(reopened->Txt_Tmr0.text(), "0x9C");
    EXPECT_EQ(settings.T0RegText, "0x9C");
}

TEST_F(TimerDialogs, Timer0LoadRestoresTheStoredState) {
    struct Case {
        const char* what;
        bool on;
        int clockMode;
        bool usePs;
        int psIndex;
        std::int16_t interrupt;
        // expected
        bool modeGroup, prescalerGroup, calculator, edgeGroup, oscEditable, interruptTicked;
        const char* label2;
        std::int16_t ra4;
        std::int16_t divisor;
    };
    const char* internal = "晶振/外部频率(M):";
    const char* external = "外部时钟频率(M):";
    const Case cases[] = {
        {"defaults", false, 0, true, 0, 0, false, false, false, false, false, false, internal, 0, 2},
        {"on, internal", true, 0, true, 3, -1, true, true, true, false, false, true, internal, 0, 16},
        {"on, external, no prescaler", true, 1, false, 3, 0, true, false, true, false, true, false, external,
         1, 1},
        {"on, counting", true, 2, true, 7, 0, true, true, false, true, false, false, external, 1, 256},
        {"off, counting keeps the edges", false, 2, true, 0, 0, false, false, false, true, false, false,
         external, 1, 2},
        {"off clears a stray interrupt", false, 1, true, 0, -1, false, false, false, false, true, false,
         external, 1, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        settings = ProjectSettings{};
        platform.messages.clear();
        settings.T0En = c.on;
        settings.T0ClockMode = c.clockMode;
        settings.T0UsePs = c.usePs;
        settings.T0PsIndex = c.psIndex;
        settings.T0Int = c.interrupt;
        settings.T0TimeUs = "600";  // out of range: a calculation would complain
        auto f = Open<Timer0Form>();

        EXPECT_EQ(f->Chk_T0En.checked(), c.on);
        EXPECT_EQ(f->Opt_Osc.selected(), c.clockMode);
        EXPECT_EQ(f->Opt_Ps.selected(), c.psIndex);
        EXPECT_EQ(f->Chk_Ps.checked(), c.usePs);
        EXPECT_EQ(f->Chk_Ps.enabled(), c.on);
        EXPECT_EQ(f->Frame1.enabled(), c.modeGroup);
        EXPECT_EQ(f->Opt_Osc.enabled(2), c.modeGroup);
        EXPECT_EQ(f->Fra_Ps.enabled(), c.prescalerGroup);
        EXPECT_EQ(f->Opt_Ps.enabled(7), c.prescalerGroup);
        EXPECT_EQ(f->Chk_Int.enabled(), c.on);
        EXPECT_EQ(f->Chk_Int.checked(), c.interruptTicked);
        EXPECT_EQ(settings.T0Int, c.interruptTicked ? -1 : 0);
        EXPECT_EQ(f->Frame2.enabled(), c.calculator);
        EXPECT_EQ(f->Txt_Time.enabled(), c.calculator);
        EXPECT_EQ(f->Label6.enabled(), c.calculator);
        EXPECT_EQ(f->Command1.enabled(), c.calculator);
        EXPECT_TRUE(f->Command2.enabled());
        EXPECT_EQ(f->Frame3.enabled(), c.edgeGroup);
        EXPECT_EQ(f->Opt_CountMode.enabled(1), c.edgeGroup);
        EXPECT_EQ(f->Txt_Osc.readOnly(), !c.oscEditable);
        EXPECT_EQ(f->Label2.caption(), c.label2);
        EXPECT_EQ(settings.PortADir[4], c.ra4);
        EXPECT_EQ(settings.PortAUsed, 1);
        EXPECT_EQ(settings.T0PsDiv, c.divisor);
        // The boxes hand their text straight back; nothing is calculated.
        EXPECT_EQ(f->Txt_Time.text(), "600");
        EXPECT_EQ(f->Txt_Osc.text(), "4");
        EXPECT_EQ(settings.T0FreqMHz, SettingValue("4"));
        EXPECT_EQ(f->Txt_Max.text(), "");
        EXPECT_EQ(f->Txt_Tmr0.text(), "");
        EXPECT_TRUE(platform.messages.empty());
    }
}

TEST_F(TimerDialogs, Timer0ClockOptionsAndRa4) {
    settings.T0En = true;
    settings.PortAUsed = 0;
    auto f = Open<Timer0Form>();
    struct Step {
        int option;
        bool calculator, edges, oscEditable;
        const char* label2;
        std::int16_t ra4;
    };
    const Step steps[] = {
        {2, false, true, false, "晶振/外部频率(M):", 1},  // counting leaves the caption as it was
        {1, true, false, true, "晶振/外部频率(M):", 1},
        {0, true, false, false, "晶振/外部频率(M):", 1},  // internal never releases RA4
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.option);
        f->Opt_Osc.click(step.option);
        EXPECT_EQ(settings.T0ClockMode, SettingValue(step.option));
        EXPECT_EQ(f->Command1.enabled(), step.calculator);
        EXPECT_EQ(f->Txt_Err.enabled(), step.calculator);
        EXPECT_EQ(f->Frame3.enabled(), step.edges);
        EXPECT_EQ(f->Opt_CountMode.enabled(0), step.edges);
        EXPECT_EQ(f->Txt_Osc.readOnly(), !step.oscEditable);
        EXPECT_EQ(f->Label2.caption(), step.label2);
        EXPECT_EQ(settings.PortADir[4], step.ra4);
        EXPECT_EQ(settings.PortAUsed, step.ra4);
    }
    f->Opt_CountMode.click(1);  // unreachable outside counting
    EXPECT_EQ(settings.T0Edge, SettingValue(0));
    f->Opt_Osc.click(2);
    f->Opt_CountMode.click(1);
    EXPECT_EQ(settings.T0Edge, SettingValue(1));

    // Switching off and on again: the calculator follows the clock option,
    // the edge group is left to the clock rules, the prescaler box keeps its tick.
    f->Chk_Int.click();
    EXPECT_EQ(settings.T0Int, -1);
    f->Chk_T0En.click();
    EXPECT_EQ(settings.T0En, SettingValue(false));
    EXPECT_EQ(settings.T0Int, 0);
    EXPECT_FALSE(f->Chk_Int.checked());
    EXPECT_TRUE(f->Chk_Ps.checked());
    EXPECT_TRUE(f->Frame3.enabled());
    f->Chk_T0En.click();
    EXPECT_FALSE(f->Command1.enabled());
    EXPECT_TRUE(f->Fra_Ps.enabled());
    EXPECT_TRUE(platform.messages.empty());

    // Reopening with an outside clock reserves RA4 again, also while Timer0 is off.
    f->Chk_T0En.click();
    f.reset();
    settings.PortADir[4] = 0;
    settings.PortAUsed = 0;
    Open<Timer0Form>();
    EXPECT_EQ(settings.PortADir[4], 1);
    EXPECT_EQ(settings.PortAUsed, 1);
}

TEST_F(TimerDialogs, Timer0PrescalerRecalculatesAtOnce) {
    settings.T0En = true;
    auto f = Open<Timer0Form>();
    f->Chk_Ps.click();  // 1:1 from now on
    EXPECT_EQ(settings.T0UsePs, SettingValue(false));
    EXPECT_EQ(settings.T0PsDiv, 1);
    EXPECT_FALSE(f->Fra_Ps.enabled());
    EXPECT_FALSE(f->Opt_Ps.enabled(0));
    EXPECT_EQ(f->Txt_Max.text(), "256");
    EXPECT_EQ(f->Txt_Tmr0.text(), "0x00");
    EXPECT_EQ(settings.T0RegText, "0x00");

    f->unload();  // closing recalculates too
    f = Open<Timer0Form>();
    EXPECT_FALSE(f->Chk_Ps.checked());
    EXPECT_EQ(settings.T0PsDiv, 1);

    f->Chk_Ps.click();
    EXPECT_EQ(settings.T0PsDiv, 2);
    f->Opt_Ps.click(2);
    EXPECT_EQ(settings.T0PsIndex, SettingValue(2));
    EXPECT_EQ(settings.T0PsDiv, 8);
    EXPECT_EQ(f->Txt_Min.text(), "8.000");
    EXPECT_EQ(f->Txt_Tmr0.text(), "0xE0");  // 256 - 256 / 8
    EXPECT_TRUE(platform.messages.empty());
}

// A period the modern forms' interrupt routine cannot keep up with is
// flagged at once, for the modern forms and an interrupt-driven timer only.
TEST_F(TimerDialogs, Timer0WarnsOfAPeriodShorterThanTheInterruptRoutine) {
    struct Row {
        OutputFormId form;
        const char* time;
        bool interrupt;
        bool warned;
    };
    const Row rows[] = {
        {OutputFormId::Sdcc, "40", true, true},   {OutputFormId::Xc8, "40", true, true},
        {OutputFormId::Sdcc, "200", true, false}, {OutputFormId::Classic, "40", true, false},
        {OutputFormId::Sdcc, "40", false, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.time) + (row.interrupt ? " with" : " without") + " interrupt");
        settings = ProjectSettings{};
        settings.OutputForm = static_cast<std::int16_t>(row.form);
        settings.T0En = true;
        settings.T0Int = row.interrupt ? -1 : 0;
        auto f = Open<Timer0Form>();
        if (f->Chk_Ps.checked()) f->Chk_Ps.click();
        f->Txt_Time.setText(row.time);
        f->Command1.click();
        EXPECT_EQ(f->Lbl_Overhead.visible(), row.warned);
        EXPECT_EQ(!f->Lbl_Overhead.caption().empty(), row.warned);
        if (row.warned) {
            EXPECT_NE(f->Lbl_Overhead.caption().find("只有40个指令周期"), std::string::npos);
        }
        f->unload();
    }
}

// The loading flag is one flag: while any timer dialog loads, no prescaler
// handler of any of them calculates.
TEST_F(TimerDialogs, NoCalculationWhileTheSharedFlagIsSet) {
    settings.T0En = settings.T1En = settings.T2En = true;
    auto t0 = Open<Timer0Form>();
    auto t1 = Open<Timer1Form>();
    auto t2 = Open<Timer2Form>();
    context.timerDialogLoading = true;
    t0->Opt_Ps.click(1);
    t0->Chk_Ps.click();
    t1->Opt_Ps.click(1);
    t2->Opt_Ps.click(1);
    EXPECT_EQ(settings.T0PsDiv, 1);
    EXPECT_EQ(settings.T1PsDiv, SettingValue(2.0));
    EXPECT_EQ(settings.T2PsDiv, 4);
    for (TimerForm* f : std::initializer_list<TimerForm*>{t0.get(), t1.get(), t2.get()})
        EXPECT_EQ(f->Txt_Tmr0.text(), "") << f->name();

    context.timerDialogLoading = false;
    t2->Opt_Ps.click(2);
    EXPECT_EQ(t2->Txt_Tmr0.text(), "0x0F");  // PR2: 256 / 16 counts, less one
}

// A failed calculation empties the start value and the error, so the value
// worked out for the earlier period or frequency is never generated again.
TEST_F(TimerDialogs, FailuresLeaveNoStaleValue) {
    struct Case {
        const char* time;
        const char* freq;
        const char* message;     // title, or "" for none
        const char* storedTime;  // the field afterwards, as text
        bool timeIsNumber;
    };
    const Case cases[] = {
        {"", "4", kInputTitle, "", false},           {".", "4", kInputTitle, ".", false},
        {"1.2.3", "4", kInputTitle, "1.2.3", false}, {"12abc", "4", kInputTitle, "12abc", false},  // pasted
        {"1e3", "4", kInputTitle, "1e3", false},     {"100", "", kInputTitle, "100", true},
        {"100", "0", kFrequencyTitle, "100", true},  {"100000000", "4", kRangeTitle, "1E+08", true},
        {"0.5", "4", kRangeTitle, "0.5", true},
    };
    for (const auto& timer : AllTimers()) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(timer.name) + " " + c.time + " / " + c.freq);
            settings = ProjectSettings{};
            auto f = timer.make(context);
            f->load();
            timer.switchOn(*f);
            f->Command1.click();  // 256 us at 4 MHz: a good result first
            ProjectSettings fresh;
            const std::string none = timer.registers(fresh);
            const std::string registers = timer.registers(settings);
            const std::string maxText = f->Txt_Max.text();
            ASSERT_NE(registers, none);
            ASSERT_EQ(TakeMessage(), "0 boxes");
            f->Txt_Osc.setText(c.freq);
            f->Txt_Time.setText(c.time);
            f->Command1.click();

            ASSERT_EQ(platform.messages.size(), 1u);
            EXPECT_EQ(platform.messages[0].title, c.message);
            platform.messages.clear();
            EXPECT_EQ(timer.time(settings).toText(), c.storedTime);
            EXPECT_EQ(timer.time(settings).kind() == SettingValue::Kind::Text, !c.timeIsNumber);
            EXPECT_EQ(timer.registers(settings), none);
            EXPECT_EQ(f->Txt_Tmr0.text(), "");
            EXPECT_EQ(f->Txt_Err.text(), "");
            EXPECT_EQ(timer.error(settings), 0.0f);
            if (std::string(c.message) != kRangeTitle) {
                EXPECT_EQ(f->Txt_Max.text(), maxText);
            }
        }
    }
}

TEST_F(TimerDialogs, MessageTextsNameTheTimersOwnFrequencyAndDivisor) {
    struct Case {
        std::function<void(ProjectSettings&)> set;
        std::function<std::unique_ptr<TimerForm>(AppContext&)> make;
        const char* text;
    };
    const Case cases[] = {
        {[](ProjectSettings& s) { s.T0TimeUs = 600; },
         [](AppContext& c) { return std::make_unique<Timer0Form>(c); },
         "4M频率在1:2分频设置下的定时范围为2.000-512uS"},
        {[](ProjectSettings& s) { s.T1TimeUs = 70000; },
         [](AppContext& c) { return std::make_unique<Timer1Form>(c); },
         "4M频率在1:1分频设置下的定时范围为1.000-65536uS"},
        {[](ProjectSettings& s) {
             s.T2TimeUs = 300;
             s.T2FreqMHz = "3.6864";
         },
         [](AppContext& c) { return std::make_unique<Timer2Form>(c); },
         "3.6864M频率在1:1分频设置下的定时范围为1.085-278uS"},
        // Past the last count but inside the rounded maximum: no start value.
        {[](ProjectSettings& s) {
             s.T0TimeUs = 79;
             s.T0FreqMHz = 13;
             s.T0UsePs = false;
         },
         [](AppContext& c) { return std::make_unique<Timer0Form>(c); },
         "13M频率在1:1分频设置下的定时范围为0.308-79uS"},
    };
    for (const auto& c : cases) {
        settings = ProjectSettings{};
        c.set(settings);
        auto f = c.make(context);
        f->load();
        f->Command1_Click();
        EXPECT_EQ(TakeMessage(), std::string(kRangeTitle) + "|" + kRangeLine1 + c.text);
        EXPECT_EQ(f->Txt_Tmr0.text(), "");
    }
    EXPECT_TRUE(settings.T0RegText.empty());

    // Too low a frequency for 1:256 overflows the longest period: an input error.
    settings = ProjectSettings{};
    settings.T0En = true;
    settings.T0PsIndex = 7;
    auto t0 = Open<Timer0Form>();
    t0->Opt_Osc.click(1);
    t0->Txt_Osc.setText("0.00001");
    t0->Command1.click();
    EXPECT_EQ(TakeMessage(), std::string(kInputTitle) + "|" + kInputText);
    EXPECT_EQ(settings.T0FreqMHz, SettingValue(0.00001f));
    EXPECT_EQ(t0->Txt_Max.text(), "");
}

TEST_F(TimerDialogs, ClosingRecalculates) {
    for (const auto& timer : AllTimers()) {
        SCOPED_TRACE(timer.name);
        settings = ProjectSettings{};
        auto f = timer.make(context);
        f->load();
        timer.switchOn(*f);
        f->Command1.click();
        const std::string before = timer.registers(settings);
        f->Txt_Time.setText("200");
        f->Command2.click();
        EXPECT_TRUE(f->unloaded());
        EXPECT_TRUE(platform.messages.empty());
        EXPECT_NE(timer.registers(settings), before);
        EXPECT_EQ(timer.time(settings), SettingValue(200.0f));
    }
}

// A time the source would write must give a start value before the dialog
// closes, by 确定 or by Esc and the close box (which unload as 确定 does);
// the refused dialog stays open until the time is put right or the timer is
// switched off. An unused timer's time is kept as typed, unchecked.
TEST_F(TimerDialogs, ClosingRefusesATimeItCannotWorkOut) {
    struct Case {
        const char* what;
        bool on;
        const char* time;
        bool offAfterTyping;
        const char* refusedBy;  // the box's title, or nullptr when it closes
    } const cases[] = {
        {"beyond every timer's range", true, "1000000", false, kRangeTitle},
        {"not a number", true, "1.2.3", false, kInputTitle},
        {"in range", true, "100", false, nullptr},
        {"switched off after typing", true, "1000000", true, nullptr},
        {"never on", false, "1000000", false, nullptr},
    };
    for (const auto& timer : AllTimers()) {
        for (const auto& c : cases) {
            for (const bool byButton : {true, false}) {
                SCOPED_TRACE(std::string(timer.name) + ": " + c.what + (byButton ? ", 确定" : ", Esc"));
                settings = ProjectSettings{};
                platform.messages.clear();
                auto f = timer.make(context);
                f->load();
                if (c.on) timer.switchOn(*f);
                f->Txt_Time.setText(c.time);
                if (c.offAfterTyping) timer.switchOn(*f);
                const auto close = [&] { byButton ? f->Command2.click() : static_cast<void>(f->unload()); };
                close();
                if (c.refusedBy) {
                    EXPECT_FALSE(f->unloaded());
                    EXPECT_EQ(platform.messageTitles(), std::vector<std::string>{c.refusedBy});
                    EXPECT_EQ(timer.registers(settings).find("0x"), std::string::npos);
                    platform.messages.clear();
                    f->Txt_Time.setText("100");
                    close();
                }
                EXPECT_TRUE(f->unloaded());
                EXPECT_TRUE(platform.messages.empty());
                if (!c.on || c.offAfterTyping) {
                    EXPECT_EQ(timer.time(settings), SettingValue(c.time));
                }
            }
        }
    }
}

TEST_F(TimerDialogs, SharedBoxesFilterKeysAndSelectOnFocus) {
    for (const auto& timer : AllTimers()) {
        SCOPED_TRACE(timer.name);
        auto f = timer.make(context);
        f->load();
        for (TextBox* box : {&f->Txt_Time, &f->Txt_Osc}) {
            // Digits, the point and Backspace pass; minus, e, comma, space, Enter, Esc do not.
            for (int key : {48, 57, 46, 8}) EXPECT_EQ(box->keyPress(key), key);
            for (int key : {45, 101, 44, 32, 13, 27}) EXPECT_EQ(box->keyPress(key), 0);
        }
        for (TextBox* box : {&f->Txt_Max, &f->Txt_Min, &f->Txt_Tmr0, &f->Txt_Err})
            EXPECT_TRUE(box->readOnly());
        for (TextBox* box :
             {&f->Txt_Time, &f->Txt_Osc, &f->Txt_Max, &f->Txt_Min, &f->Txt_Tmr0, &f->Txt_Err}) {
            int selections = 0;
            box->observe([&](Change change) { selections += change == Change::SelectAll; });
            box->gotFocus();
            EXPECT_EQ(selections, 1) << box->name();
        }
    }
}

TEST_F(TimerDialogs, ReadOutsFollowTheUsersNumberHabits) {
    context.locale = {"'", "\u2212"};
    settings.T0En = true;
    settings.T0PsIndex = 7;
    settings.T0FreqMHz = 0.5f;
    settings.T0TimeUs = 204800;
    auto f = Open<Timer0Form>();
    f->Command1.click();
    EXPECT_EQ(f->Txt_Min.text(), "2'048.000");
    EXPECT_EQ(f->Txt_Max.text(), "524288");  // plain digits, never grouped
    f->Txt_Time.setText("251");
    f->Opt_Osc.click(1);
    f->Txt_Osc.setText("1");
    f->Opt_Ps.click(0);  // recalculates: 1:2 of an outside 1 MHz, 2 us a count
    EXPECT_EQ(f->Txt_Err.text(), "\u22121.000");
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_EQ(settings.T0ErrorUs, -1.0f);
}

TEST_F(TimerDialogs, Timer1ModesAndRegisters) {
    settings.T1En = true;
    auto f = Open<Timer1Form>();
    EXPECT_EQ(f->Opt_CountMode.selected(), 0);
    EXPECT_FALSE(f->Frame3.enabled());
    EXPECT_TRUE(f->Txt_Osc.readOnly());
    EXPECT_EQ(f->Label2.caption(), "晶振频率(uS):");
    EXPECT_EQ(settings.T1PsDiv, SettingValue(1.0));

    // Options other than the prescaler never calculate.
    f->Opt_Osc.click(1);
    f->Opt_CountMode.click(1);
    f->Opt_OscInT1.click(1);
    EXPECT_EQ(f->Txt_Max.text(), "");
    EXPECT_EQ(settings.T1ClockMode, SettingValue(1));
    EXPECT_EQ(settings.T1SyncMode, SettingValue(1));
    EXPECT_EQ(settings.T1OscEn, 1);
    EXPECT_FALSE(f->Command1.enabled());
    EXPECT_TRUE(f->Frame3.enabled());
    f->Chk_T1En.click();  // off: the synchronisation group stays as it is
    EXPECT_TRUE(f->Opt_CountMode.enabled(0));
    EXPECT_FALSE(f->Fra_T1OscIn.enabled());
    EXPECT_FALSE(f->Opt_Ps.enabled(3));
    f->Chk_T1En.click();
    EXPECT_FALSE(f->Command1.enabled());  // counter mode keeps it off
    f->Opt_Osc.click(0);
    EXPECT_TRUE(f->Command1.enabled());
    EXPECT_FALSE(f->Frame3.enabled());

    struct Case {
        int ps;
        const char* time;
        const char* shown;
        const char* high;
        const char* low;
    };
    const Case cases[] = {
        {0, "50000", "0x3CB0", "0x3C", "0xB0"},
        {3, "500000", "0xBDC", "0x0B", "0xDC"},
        {0, "65530", "0x06", "0x00", "0x06"},
    };
    for (const auto& c : cases) {
        f->Txt_Time.setText(c.time);
        f->Opt_Ps.click(c.ps);  // also recalculates when the option changes
        f->Command1.click();
        EXPECT_EQ(f->Txt_Tmr0.text(), c.shown);
        EXPECT_EQ(settings.T1RegHighText, SettingValue(c.high));
        EXPECT_EQ(settings.T1RegLowText, c.low);
    }
    EXPECT_EQ(settings.T1PsDiv, SettingValue(1.0));
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(TimerDialogs, Timer2PostscalerAndOnOff) {
    settings.T2En = true;
    settings.T2Int = -1;
    settings.T2PsIndex = 2;
    settings.T2PostIndex = 9;
    settings.T2FreqMHz = 20;
    settings.T2TimeUs = 800;
    settings.T1TimeUs = "untouched";
    auto f = Open<Timer2Form>();
    EXPECT_EQ(f->Opt_Ps.selected(), 2);
    EXPECT_EQ(f->Opt_Bs.selected(), 9);
    EXPECT_EQ(f->Opt_Bs.caption(15), "1:16");
    EXPECT_EQ(settings.T2PsDiv, 16);
    EXPECT_TRUE(f->Chk_Int.checked());
    EXPECT_TRUE(f->Txt_Osc.readOnly());

    f->Command1.click();
    EXPECT_EQ(f->Txt_Max.text(), "819");
    EXPECT_EQ(f->Txt_Min.text(), "3.200");
    EXPECT_EQ(settings.T2RegText, "0xF9");
    f->Txt_Time.setText("700");
    f->Opt_Bs.click(0);  // the postscaler plays no part
    EXPECT_EQ(settings.T2PostIndex, SettingValue(0));
    EXPECT_EQ(settings.T2RegText, "0xF9");
    EXPECT_EQ(f->Txt_Tmr0.text(), "0xF9");
    EXPECT_EQ(settings.T1TimeUs, SettingValue("untouched"));

    f->Chk_T2En.click();
    EXPECT_EQ(settings.T2Int, 0);
    for (int i = 0; i < 16; ++i) EXPECT_FALSE(f->Opt_Bs.enabled(i)) << i;
    for (Control* c : std::initializer_list<Control*>{&f->Fra_Ps, &f->Fra_Bs, &f->Chk_Int, &f->Frame4,
                                                      &f->Label1, &f->Command1})
        EXPECT_FALSE(c->enabled()) << c->name();
    EXPECT_TRUE(f->Command2.enabled());
    f->Chk_T2En.click();
    EXPECT_TRUE(f->Opt_Bs.enabled(0));
    EXPECT_TRUE(f->Txt_Err.enabled());
}

}  // namespace
}  // namespace korvane
