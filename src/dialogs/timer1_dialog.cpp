#include "dialogs/timer1_dialog.h"

#include "dialogs/timer_loading.h"

namespace korvane {

Timer1Form::Timer1Form(AppContext& context)
    : TimerForm(context, kName, kCaption, timer_captions::kCrystalLabel) {
    // The crystal frequency is set in the main window, never here.
    Txt_Osc.setReadOnly(true);
    Frame3.setEnabled(false);
    Opt_CountMode.setAllEnabled(false);
    Opt_CountMode.select(0);

    Chk_T1En.onClick = [this] { Chk_T1En_Click(); };
    Opt_Osc.onClick = [this](int index) { Opt_Osc_Click(index); };
    Opt_CountMode.onClick = [this](int index) { Opt_CountMode_Click(index); };
    Opt_OscInT1.onClick = [this](int index) { Opt_OscInT1_Click(index); };
    Opt_Ps.onClick = [this](int index) { Opt_Ps_Click(index); };
    Chk_Int.onClick = [this] { Chk_Int_Click(); };
}

void Timer1Form::Form_Load() {
    const TimerLoading loading(context_);
    auto& s = Settings();
    Txt_Time.setText(s.T1TimeUs.toText());
    Txt_Osc.setText(s.T1FreqMHz.toText());

    if (const auto mode = StoredIndex(s.T1ClockMode, Opt_Osc.count())) Opt_Osc.select(*mode);
    if (const auto index = StoredIndex(s.T1PsIndex, Opt_Ps.count())) Opt_Ps.select(*index);
    if (const auto sync = StoredIndex(s.T1SyncMode, Opt_CountMode.count())) Opt_CountMode.select(*sync);
    if (const auto osc = StoredIndex(s.T1OscEn, Opt_OscInT1.count())) Opt_OscInT1.select(*osc);

    Chk_Int.setChecked(s.T1Int == -1);

    const bool on = s.T1En.isTrue();
    Chk_T1En.setChecked(on);
    if (on)
        ApplyOnRules();
    else
        ApplyOffRules();
}

void Timer1Form::Form_Unload() {
    CalcTimer();
}

void Timer1Form::Chk_T1En_Click() {
    Settings().T1En = Chk_T1En.checked();
    if (Chk_T1En.checked())
        ApplyOnRules();
    else
        ApplyOffRules();
}

void Timer1Form::ApplyOnRules() {
    for (Frame* frame : {&Frame1, &Fra_Ps, &Fra_T1OscIn}) frame->setEnabled(true);
    for (OptionGroup* group : {&Opt_Osc, &Opt_Ps, &Opt_OscInT1}) group->setAllEnabled(true);
    Chk_Int.setEnabled(true);
    if (!Opt_Osc.isSelected(kCounterMode)) SetCalculatorEnabled(true);
}

void Timer1Form::ApplyOffRules() {
    for (Frame* frame : {&Frame1, &Fra_Ps, &Fra_T1OscIn}) frame->setEnabled(false);
    for (OptionGroup* group : {&Opt_Osc, &Opt_Ps, &Opt_OscInT1}) group->setAllEnabled(false);
    Chk_Int.setEnabled(false);
    SetCalculatorEnabled(false);
    Chk_Int.setChecked(false);
}

void Timer1Form::Opt_Osc_Click(int index) {
    Settings().T1ClockMode = index;
    const bool counter = index == kCounterMode;
    SetCalculatorEnabled(!counter);
    Frame3.setEnabled(counter);
    Opt_CountMode.setAllEnabled(counter);
}

void Timer1Form::Opt_CountMode_Click(int index) {
    Settings().T1SyncMode = index;
}

void Timer1Form::Opt_OscInT1_Click(int index) {
    Settings().T1OscEn = static_cast<std::int16_t>(index);
}

void Timer1Form::Opt_Ps_Click(int index) {
    auto& s = Settings();
    s.T1PsIndex = index;
    s.T1PsDiv = static_cast<double>(1 << index);
    if (!Loading()) CalcTimer();
}

void Timer1Form::Chk_Int_Click() {
    Settings().T1Int = Chk_Int.checked() ? -1 : 0;
}

void Timer1Form::Txt_Time_Change() {
    Settings().T1TimeUs = Txt_Time.text();
}

void Timer1Form::Txt_Osc_Change() {
    Settings().T1FreqMHz = Txt_Osc.text();
}

void Timer1Form::CalcTimer() {
    RunCalculator(TimerKind::Timer1);
}

}  // namespace korvane
