#include "dialogs/timer0_dialog.h"

#include "dialogs/timer_loading.h"

namespace korvane {

namespace {
constexpr int kPrescalerOptions = 8;
constexpr int kRa4 = 4;
}  // namespace

Timer0Form::Timer0Form(AppContext& context) : TimerForm(context, kName, kCaption, kFrequencyCaption) {
    Txt_Osc.setReadOnly(true);
    Frame3.setEnabled(false);
    Opt_CountMode.setAllEnabled(false);

    Chk_T0En.onClick = [this] { Chk_T0En_Click(); };
    Opt_Osc.onClick = [this](int index) { Opt_Osc_Click(index); };
    Opt_CountMode.onClick = [this](int index) { Opt_CountMode_Click(index); };
    Chk_Ps.onClick = [this] { Chk_Ps_Click(); };
    Opt_Ps.onClick = [this](int index) { Opt_Ps_Click(index); };
    Chk_Int.onClick = [this] { Chk_Int_Click(); };
}

void Timer0Form::Form_Load() {
    const TimerLoading loading(context_);
    auto& s = Settings();
    Txt_Time.setText(s.T0TimeUs.toText());
    Txt_Osc.setText(s.T0FreqMHz.toText());

    // Each selection runs its handler: the clock rules apply and RA4 is
    // reserved again for an outside clock, even while Timer0 is off.
    if (const auto mode = StoredIndex(s.T0ClockMode, Opt_Osc.count())) Opt_Osc.select(*mode);
    if (const auto index = StoredIndex(s.T0PsIndex, Opt_Ps.count())) Opt_Ps.select(*index);
    if (const auto edge = StoredIndex(s.T0Edge, Opt_CountMode.count())) Opt_CountMode.select(*edge);

    const bool usePrescaler = s.T0UsePs.isTrue();
    Chk_Ps.setChecked(usePrescaler);
    SetPrescalerGroupEnabled(usePrescaler);
    s.T0PsDiv = PrescaleDivisor(StoredIndex(s.T0PsIndex, kPrescalerOptions));

    Chk_Int.setChecked(s.T0Int == -1);
    Label2.setCaption(Opt_Osc.isSelected(kInternalTiming) ? kCrystalOrExternalCaption : kExternalCaption);

    const bool on = s.T0En.isTrue();
    Chk_T0En.setChecked(on);
    if (on)
        ApplyOnRules();
    else
        ApplyOffRules();
}

void Timer0Form::Form_Unload() {
    // Whatever the boxes hold is worked out once more, in every mode.
    CalcTimer();
}

void Timer0Form::Chk_T0En_Click() {
    Settings().T0En = Chk_T0En.checked();
    if (Chk_T0En.checked())
        ApplyOnRules();
    else
        ApplyOffRules();
}

void Timer0Form::ApplyOnRules() {
    Frame1.setEnabled(true);
    Opt_Osc.setAllEnabled(true);
    Chk_Ps.setEnabled(true);
    SetPrescalerGroupEnabled(Chk_Ps.checked());
    Chk_Int.setEnabled(true);
    // Counting needs no calculator; its group stays as the clock rules left it.
    if (!Opt_Osc.isSelected(kCounting)) SetCalculatorEnabled(true);
}

void Timer0Form::ApplyOffRules() {
    Frame1.setEnabled(false);
    Opt_Osc.setAllEnabled(false);
    Chk_Ps.setEnabled(false);
    SetPrescalerGroupEnabled(false);
    Chk_Int.setEnabled(false);
    SetCalculatorEnabled(false);
    Chk_Int.setChecked(false);
}

void Timer0Form::SetPrescalerGroupEnabled(bool enabled) {
    Fra_Ps.setEnabled(enabled);
    Opt_Ps.setAllEnabled(enabled);
}

void Timer0Form::Opt_Osc_Click(int index) {
    auto& s = Settings();
    s.T0ClockMode = index;
    const bool counting = index == kCounting;
    SetCalculatorEnabled(!counting);
    Frame3.setEnabled(counting);
    Opt_CountMode.setAllEnabled(counting);
    // Only an external clock is typed in; otherwise the crystal applies.
    Txt_Osc.setReadOnly(index != kExternalTiming);
    if (!counting) Label2.setCaption(kCrystalOrExternalCaption);
    // An outside clock arrives on RA4. Going back to the internal clock
    // leaves the pin reserved: the user may have wired it meanwhile.
    if (index != kInternalTiming) {
        s.PortADir[kRa4] = 1;
        s.PortAUsed = 1;
    }
}

void Timer0Form::Opt_CountMode_Click(int index) {
    Settings().T0Edge = index;
}

void Timer0Form::Chk_Ps_Click() {
    auto& s = Settings();
    const bool use = Chk_Ps.checked();
    s.T0UsePs = use;
    s.T0PsDiv = PrescaleDivisor(StoredIndex(s.T0PsIndex, kPrescalerOptions));
    SetPrescalerGroupEnabled(use);
    if (!Loading()) CalcTimer();
}

void Timer0Form::Opt_Ps_Click(int index) {
    auto& s = Settings();
    s.T0PsIndex = index;
    s.T0PsDiv = PrescaleDivisor(index);
    if (!Loading()) CalcTimer();
}

std::int16_t Timer0Form::PrescaleDivisor(std::optional<int> index) const {
    if (!Settings().T0UsePs.isTrue()) return 1;
    // A stored index that is no option leaves no divisor; the calculator
    // then reports an input error instead of shifting out of range.
    if (!index || *index < 0 || *index >= kPrescalerOptions) return 0;
    return static_cast<std::int16_t>(2 << *index);
}

void Timer0Form::Chk_Int_Click() {
    Settings().T0Int = Chk_Int.checked() ? -1 : 0;
}

void Timer0Form::Txt_Time_Change() {
    Settings().T0TimeUs = Txt_Time.text();
}

void Timer0Form::Txt_Osc_Change() {
    Settings().T0FreqMHz = Txt_Osc.text();
}

void Timer0Form::CalcTimer() {
    RunCalculator(TimerKind::Timer0);
}

}  // namespace korvane
