#include "dialogs/timer_form.h"

#include <cmath>

#include "app/key_filters.h"
#include "calc/settings_calc.h"

namespace korvane {

std::vector<std::string> RatioCaptions(std::span<const int> ratios) {
    std::vector<std::string> captions;
    for (int ratio : ratios) captions.push_back("1:" + std::to_string(ratio));
    return captions;
}

std::vector<std::string> RatioCaptions(std::initializer_list<int> ratios) {
    return RatioCaptions(std::span<const int>(ratios.begin(), ratios.size()));
}

std::optional<int> StoredIndex(const SettingValue& value, int count) {
    const auto number = value.toNumber();
    if (!number || !(*number >= 0 && *number < count) || std::trunc(*number) != *number) return std::nullopt;
    return static_cast<int>(*number);
}

TimerForm::TimerForm(AppContext& context, std::string name, std::string caption, std::string frequencyCaption)
    : Form(std::move(name), std::move(caption)),
      Label2("Label2", std::move(frequencyCaption)),
      context_(context) {
    for (TextBox* readOut : {&Txt_Max, &Txt_Min, &Txt_Tmr0, &Txt_Err}) readOut->setReadOnly(true);

    Txt_Time.onChange = [this] { Txt_Time_Change(); };
    Txt_Osc.onChange = [this] { Txt_Osc_Change(); };
    Txt_Time.onKeyPress = [this](std::int16_t& key) { Txt_Time_KeyPress(key); };
    Txt_Osc.onKeyPress = [this](std::int16_t& key) { Txt_Osc_KeyPress(key); };
    Txt_Time.onGotFocus = [this] { Txt_Time_GotFocus(); };
    Txt_Osc.onGotFocus = [this] { Txt_Osc_GotFocus(); };
    Txt_Max.onGotFocus = [this] { Txt_Max_GotFocus(); };
    Txt_Min.onGotFocus = [this] { Txt_Min_GotFocus(); };
    Txt_Tmr0.onGotFocus = [this] { Txt_Tmr0_GotFocus(); };
    Txt_Err.onGotFocus = [this] { Txt_Err_GotFocus(); };
    Command1.onClick = [this] { Command1_Click(); };
    Command2.onClick = [this] { Command2_Click(); };
}

void TimerForm::Txt_Time_KeyPress(std::int16_t& keyAscii) {
    DecimalKeyFilter(keyAscii);
}
void TimerForm::Txt_Osc_KeyPress(std::int16_t& keyAscii) {
    DecimalKeyFilter(keyAscii);
}

// A box that gets the focus offers its whole text for overtyping or copying.
void TimerForm::Txt_Time_GotFocus() {
    Txt_Time.selectAll();
}
void TimerForm::Txt_Osc_GotFocus() {
    Txt_Osc.selectAll();
}
void TimerForm::Txt_Max_GotFocus() {
    Txt_Max.selectAll();
}
void TimerForm::Txt_Min_GotFocus() {
    Txt_Min.selectAll();
}
void TimerForm::Txt_Tmr0_GotFocus() {
    Txt_Tmr0.selectAll();
}
void TimerForm::Txt_Err_GotFocus() {
    Txt_Err.selectAll();
}

void TimerForm::Command1_Click() {
    CalcTimer();
}

void TimerForm::Command2_Click() {
    unload();
}

void TimerForm::SetCalculatorEnabled(bool enabled) {
    for (Control* control : std::initializer_list<Control*>{
             &Label1, &Label2, &Label3, &Label4, &Label5, &Label6, &Txt_Time, &Txt_Osc, &Txt_Max, &Txt_Min,
             &Txt_Tmr0, &Txt_Err, &CalculatorFrame(), &Command1})
        control->setEnabled(enabled);
}

void TimerForm::RunCalculator(TimerKind timer) {
    auto& s = Settings();
    const TimerCalcOutcome outcome = CalculateTimerPeriod(
        {timer, TimerDivisor(s, timer), Txt_Time.text(), Txt_Osc.text(), context_.locale});
    StoreTimerOutcome(s, timer, outcome);
    if (outcome.range) {
        Txt_Max.setText(outcome.range->maxText);
        Txt_Min.setText(outcome.range->minText);
    }
    Txt_Tmr0.setText(outcome.preload ? outcome.preload->registerText : std::string());
    Txt_Err.setText(outcome.preload ? outcome.preload->errorText : std::string());
    if (outcome.message) {
        context_.platform.messageBox(outcome.message->text, outcome.message->title, MessageIcon::Error,
                                     MessageButtons::Ok);
    }
}

}  // namespace korvane
