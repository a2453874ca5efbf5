#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "app/app_context.h"
#include "calc/timer_calc.h"
#include "controls/controls.h"
#include "controls/form.h"

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

// "1:2", "1:4", ...: one caption per ratio, in option order.
std::vector<std::string> RatioCaptions(std::span<const int> ratios);
std::vector<std::string> RatioCaptions(std::initializer_list<int> ratios);

// A stored option index as a whole number from 0 to count - 1; nothing for
// any other value, so it can never pick a non-existent option or shift too far.
std::optional<int> StoredIndex(const SettingValue& value, int count);

// What the Timer0, Timer1 and Timer2 dialogs have in common: the time and
// frequency boxes, the read-outs, the two buttons, and how the calculator is
// run and its results shown and stored. Each dialog adds its own options,
// constants and fields.
class TimerForm : public Form {
public:
    Label Label1{"Label1", timer_captions::kTimeLabel};
    Label Label2;
    Label Label3{"Label3", timer_captions::kMaxLabel};
    Label Label4{"Label4", timer_captions::kMinLabel};
    Label Label5{"Label5", timer_captions::kStartLabel};
    Label Label6{"Label6", timer_captions::kErrorLabel};
    TextBox Txt_Time{"Txt_Time"};
    TextBox Txt_Osc{"Txt_Osc"};
    TextBox Txt_Max{"Txt_Max"};
    TextBox Txt_Min{"Txt_Min"};
    TextBox Txt_Tmr0{"Txt_Tmr0"};
    TextBox Txt_Err{"Txt_Err"};
    Button Command1{"Command1", timer_captions::kCalculate};
    Button Command2{"Command2", timer_captions::kClose};

    // The frame around the read-outs: Frame2 in Timer0, Frame4 in the others.
    virtual Frame& CalculatorFrame() = 0;

    // The typed text goes into the dialog's own time and frequency fields.
    virtual void Txt_Time_Change() = 0;
    virtual void Txt_Osc_Change() = 0;
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
    virtual void CalcTimer() = 0;

protected:
    TimerForm(AppContext& context, std::string name, std::string caption, std::string frequencyCaption);

    // The calculator group: the six labels and boxes, the frame and Command1.
    void SetCalculatorEnabled(bool enabled);
    bool Loading() const { return context_.timerDialogLoading; }
    ProjectSettings& Settings() const { return context_.settings; }

    // Converts the two boxes and works out the start value with the timer's
    // stored divisor; stores the outcome, fills the read-outs and shows a
    // failure. A failure empties the start value and the error, in the
    // read-outs as in the settings.
    void RunCalculator(TimerKind timer);

    AppContext& context_;
};

}  // namespace korvane
