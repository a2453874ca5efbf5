#pragma once

#include <cstdint>
#include <initializer_list>
#include <vector>

#include "calc/settings_calc.h"
#include "calc/timer_calc.h"
#include "controls/app_context.h"
#include "controls/controls.h"
#include "controls/form.h"
#include "dialogs/stored_options.h"

namespace korvane {

// Captions that more than one timer dialog shows.
namespace timer_captions {
inline constexpr const char* kTimeLabel = "输入定时时间(uS):";
inline constexpr const char* kCrystalLabel = "晶振频率(uS):";
inline constexpr const char* kMaxLabel = "定时最大值(uS):";
inline constexpr const char* kMinLabel = "定时最小值(uS):";
inline constexpr const char* kStartLabel = "TMR0值(Hex):";
inline constexpr const char* kErrorLabel = "定时误差值(uS):";
inline constexpr const char* kCalculatorFrame = "定时计算器";
inline constexpr const char* kCalculate = "查看TMR0值及误差(&V)";
inline constexpr const char* kClose = "确定(&E)";
inline constexpr const char* kModeFrame = "工作方式";
inline constexpr const char* kCounterFrame = "计数器工作方式";
inline constexpr const char* kCounting = "计数方式 ";  // the blank belongs to the caption
inline constexpr const char* kPrescalerFrame = "预分频设置";
}  // namespace timer_captions

// What tells the three timer dialogs apart in the parts they share.
struct TimerFormTexts {
    const char* name;
    const char* caption;
    const char* frequencyLabel;                               // Label2 until a rule sets it
    const char* interruptBox;                                 // Chk_Int
    const char* registerLabel = timer_captions::kStartLabel;  // Label5
};

// What the Timer0, Timer1 and Timer2 dialogs have in common: the time and
// frequency boxes, the read-outs, the interrupt box, the two buttons, the
// start and end of loading, the on/off rules, and how the calculator is run
// and its results shown and stored. Each dialog adds its own options.
class TimerForm : public Form {
public:
    Label Label1{"Label1", timer_captions::kTimeLabel};
    Label Label2;
    Label Label3{"Label3", timer_captions::kMaxLabel};
    Label Label4{"Label4", timer_captions::kMinLabel};
    Label Label5;
    Label Label6{"Label6", timer_captions::kErrorLabel};
    TextBox Txt_Time{"Txt_Time"};
    TextBox Txt_Osc{"Txt_Osc"};
    TextBox Txt_Max{"Txt_Max"};
    TextBox Txt_Min{"Txt_Min"};
    TextBox Txt_Tmr0{"Txt_Tmr0"};
    TextBox Txt_Err{"Txt_Err"};
    Button Command1{"Command1", timer_captions::kCalculate};
    Button Command2{"Command2", timer_captions::kClose};
    CheckBox Chk_Int;
    // Shown while the timer's interrupt period is shorter than the modern
    // forms' interrupt routine itself takes.
    Label Lbl_Overhead{"Lbl_Overhead"};

    // The frame around the read-outs: Frame2 in Timer0, Frame4 in the others.
    virtual Frame& calculatorFrame() = 0;

    // Closing works out the time once more while the source will write the
    // timer's start value, so a time typed and closed with 确定 never keeps an
    // earlier period's value; a time refused keeps the dialog open until it is
    // put right or the timer switched off. An unused timer's time is not checked.
    void Form_QueryUnload(bool& cancel) override;
    void Form_Unload() override;
    // The typed text goes into the dialog's own time and frequency fields.
    void Txt_Time_Change();
    void Txt_Osc_Change();
    void Chk_Int_Click();
    void Txt_Time_KeyPress(std::int16_t& keyAscii);
    void Txt_Osc_KeyPress(std::int16_t& keyAscii);
    void Txt_Time_GotFocus();
    void Txt_Osc_GotFocus();
    void Txt_Max_GotFocus();
    void Txt_Min_GotFocus();
    void Txt_Tmr0_GotFocus();
    void Txt_Err_GotFocus();
    void Command1_Click();
    void Command2_Click();
    // Converts the two boxes and works out the start value with the timer's
    // stored divisor; stores the outcome, fills the read-outs and shows a
    // failure. A failure empties the start value and the error, in the
    // read-outs as in the settings. True when a start value was worked out.
    bool CalcTimer();
    void ShowOverheadWarning();

protected:
    TimerForm(AppContext& context, TimerKind timer, const TimerFormTexts& texts);

    // The controls besides the interrupt box that the on/off box enables and
    // disables, set once by each dialog's constructor.
    void SwitchWithOnOff(std::initializer_list<Control*> controls,
                         std::initializer_list<OptionGroup*> groups);
    // The first steps of every load: the stored time and frequency.
    void LoadTimeAndFrequency();
    // The last steps: the interrupt box, then the on/off box and its rules.
    void LoadInterruptAndOnOff(CheckBox& onOffBox);
    // The on/off box's handler: stores it and applies the rules.
    void OnOffClicked(const CheckBox& onOffBox);
    void ApplyOnOffRules(bool on);
    // A dialog's own rules beyond the switched controls.
    virtual void ApplyOwnOnOffRules(bool /*on*/) {}
    // False while a counting mode is selected, which needs no calculator: its
    // group then stays as the mode rules left it when the timer goes on.
    virtual bool Timing() const { return true; }
    // The mode rules shared by Timer0 and Timer1: counting greys out the
    // calculator and opens the counter frame.
    void ApplyCountingRules(bool counting, Frame& counterFrame, OptionGroup& counterOptions);

    // The calculator group: the six labels and boxes, the frame and Command1.
    void SetCalculatorEnabled(bool enabled);
    ProjectSettings& settings() const { return context_.settings; }

    AppContext& context_;

private:
    TimerKind timer_;
    std::vector<Control*> switched_;
    std::vector<OptionGroup*> switchedGroups_;
};

}  // namespace korvane
