#include "dialogs/timer_form.h"

#include <cmath>
#include <string>

#include "controls/key_filters.h"
#include "dialogs/settle_and_tell.h"
#include "generator/interrupt_timing.h"
#include "generator/sections.h"
#include "modules/timer0/timer0_module.h"
#include "modules/timer1/timer1_module.h"
#include "settings/chip_facts.h"
#include "settings/output_form.h"

namespace korvane {

TimerForm::TimerForm(AppContext& context, TimerKind timer, const TimerFormTexts& texts)
    : Form(texts.name, texts.caption),
      Label2("Label2", texts.frequencyLabel),
      Label5("Label5", texts.registerLabel),
      Chk_Int("Chk_Int", texts.interruptBox),
      context_(context),
      timer_(timer) {
    // The three dialogs share one loading flag.
    shareLoadingFlag(context.timerDialogLoading);
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
    Chk_Int.onClick = [this] { Chk_Int_Click(); };
    Lbl_Overhead.setVisible(false);
}

void TimerForm::Form_QueryUnload(bool& cancel) {
    if (WritesCalculatedValue(settings(), timer_)) cancel = !CalcTimer();
}

void TimerForm::Form_Unload() {
    // Compare values follow Timer1, PWM duties and an SPI clock Timer2; the
    // calculator has just said what it thinks of this timer's own time.
    SettleAndTell(context_, {SettingProblem::Kind::Timer});
}

void TimerForm::Txt_Time_Change() {
    SettingsOf(settings(), timer_).timeUs = Txt_Time.text();
}

void TimerForm::Txt_Osc_Change() {
    SettingsOf(settings(), timer_).freqMHz = Txt_Osc.text();
}

void TimerForm::Chk_Int_Click() {
    SettingsOf(settings(), timer_).interrupt = InterruptSetting(Chk_Int);
    ShowOverheadWarning();
}

void TimerForm::SwitchWithOnOff(std::initializer_list<Control*> controls,
                                std::initializer_list<OptionGroup*> groups) {
    switched_ = controls;
    switchedGroups_ = groups;
}

void TimerForm::LoadTimeAndFrequency() {
    const TimerSettings fields = SettingsOf(settings(), timer_);
    Txt_Time.setText(fields.timeUs.toText());
    Txt_Osc.setText(fields.freqMHz.toText());
}

void TimerForm::LoadInterruptAndOnOff(CheckBox& onOffBox) {
    const TimerSettings fields = SettingsOf(settings(), timer_);
    Chk_Int.setChecked(fields.interrupt == kInterruptOn);
    const bool on = fields.enabled.isTrue();
    onOffBox.setChecked(on);
    ApplyOnOffRules(on);
}

void TimerForm::OnOffClicked(const CheckBox& onOffBox) {
    SettingsOf(settings(), timer_).enabled = onOffBox.checked();
    ApplyOnOffRules(onOffBox.checked());
}

void TimerForm::ApplyOnOffRules(bool on) {
    for (Control* control : switched_) control->setEnabled(on);
    for (OptionGroup* group : switchedGroups_) group->setAllEnabled(on);
    Chk_Int.setEnabled(on);
    ApplyOwnOnOffRules(on);
    if (!on || Timing()) SetCalculatorEnabled(on);
    if (!on) Chk_Int.setChecked(false);
}

void TimerForm::ApplyCountingRules(bool counting, Frame& counterFrame, OptionGroup& counterOptions) {
    SetCalculatorEnabled(!counting);
    counterFrame.setEnabled(counting);
    counterOptions.setAllEnabled(counting);
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
             &Txt_Tmr0, &Txt_Err, &calculatorFrame(), &Command1})
        control->setEnabled(enabled);
}

bool TimerForm::CalcTimer() {
    auto& s = settings();
    const TimerCalcOutcome outcome =
        CalculateTimerPeriod(TimerInput(s, timer_, Txt_Time.text(), Txt_Osc.text(), context_.locale));
    StoreTimerOutcome(s, timer_, outcome);
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
    ShowOverheadWarning();
    return outcome.preload.has_value();
}

void TimerForm::ShowOverheadWarning() {
    const ProjectSettings& s = settings();
    const auto reload = timer_ == TimerKind::Timer0   ? ReloadTimer0(s)
                        : timer_ == TimerKind::Timer1 ? ReloadTimer1(s)
                                                      : std::nullopt;
    const double cycles = reload ? reload->periodUs * s.CrystalMHz / 4 : 0;
    // A routine with this timer's interrupt alone.
    const std::int64_t overhead = InterruptOverheadCycles(1);
    const bool tooShort =
        reload && Chk_Int.checked() && OutputFormOf(s) != OutputFormId::Classic && cycles < double(overhead);
    Lbl_Overhead.setCaption(tooShort ? "注意:周期只有" + std::to_string(std::lround(cycles)) +
                                           "个指令周期,短于中断程序本身约" + std::to_string(overhead) +
                                           "个周期,中断来不及处理"
                                     : std::string());
    Lbl_Overhead.setVisible(tooShort);
}

}  // namespace korvane
