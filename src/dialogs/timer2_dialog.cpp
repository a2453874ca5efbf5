#include "dialogs/timer2_dialog.h"

#include "dialogs/timer_loading.h"

namespace korvane {

Timer2Form::Timer2Form(AppContext& context)
    : TimerForm(context, kName, kCaption, timer_captions::kCrystalLabel) {
    // The crystal frequency is set in the main window, never here.
    Txt_Osc.setReadOnly(true);

    Chk_T2En.onClick = [this] { Chk_T2En_Click(); };
    Opt_Ps.onClick = [this](int index) { Opt_Ps_Click(index); };
    Opt_Bs.onClick = [this](int index) { Opt_Bs_Click(index); };
    Chk_Int.onClick = [this] { Chk_Int_Click(); };
}

void Timer2Form::Form_Load() {
    const TimerLoading loading(context_);
    auto& s = Settings();
    Txt_Time.setText(s.T2TimeUs.toText());
    Txt_Osc.setText(s.T2FreqMHz.toText());

    if (const auto index = StoredIndex(s.T2PsIndex, Opt_Ps.count())) Opt_Ps.select(*index);
    if (const auto post = StoredIndex(s.T2PostIndex, Opt_Bs.count())) Opt_Bs.select(*post);

    Chk_Int.setChecked(s.T2Int == -1);

    const bool on = s.T2En.isTrue();
    Chk_T2En.setChecked(on);
    ApplyOnOffRules(on);
}

void Timer2Form::Form_Unload() {
    // Like the other timers: a time typed and closed with 确定 gets its value,
    // never the one left from an earlier period.
    CalcTimer();
}

void Timer2Form::Chk_T2En_Click() {
    Settings().T2En = Chk_T2En.checked();
    ApplyOnOffRules(Chk_T2En.checked());
}

void Timer2Form::ApplyOnOffRules(bool on) {
    Fra_Ps.setEnabled(on);
    Opt_Ps.setAllEnabled(on);
    Chk_Int.setEnabled(on);
    Fra_Bs.setEnabled(on);
    Opt_Bs.setAllEnabled(on);
    SetCalculatorEnabled(on);
    if (!on) Chk_Int.setChecked(false);
}

void Timer2Form::Opt_Ps_Click(int index) {
    auto& s = Settings();
    s.T2PsIndex = index;
    s.T2PsDiv = static_cast<std::int16_t>(1 << (2 * index));
    if (!Loading()) CalcTimer();
}

void Timer2Form::Opt_Bs_Click(int index) {
    Settings().T2PostIndex = index;
}

void Timer2Form::Chk_Int_Click() {
    Settings().T2Int = Chk_Int.checked() ? -1 : 0;
}

void Timer2Form::Txt_Time_Change() {
    Settings().T2TimeUs = Txt_Time.text();
}

void Timer2Form::Txt_Osc_Change() {
    Settings().T2FreqMHz = Txt_Osc.text();
}

void Timer2Form::CalcTimer() {
    RunCalculator(TimerKind::Timer2);
}

}  // namespace korvane
