#include "dialogs/timer0_form.h"

#include "chip/claims.h"
#include "dialogs/pin_guard.h"
#include "dialogs/stored_options.h"
#include "settings/pin_claims.h"

namespace korvane {

Timer0Form::Timer0Form(AppContext& context)
    : TimerForm(context, TimerKind::Timer0,
                {.name = kName,
                 .caption = kCaption,
                 .frequencyLabel = kFrequencyCaption,
                 .interruptBox = "使用T0中断"}) {
    Txt_Osc.setReadOnly(true);
    Frame3.setEnabled(false);
    Opt_CountMode.setAllEnabled(false);
    SwitchWithOnOff({&Frame1, &Chk_Ps}, {&Opt_Osc});

    Chk_T0En.onClick = [this] { Chk_T0En_Click(); };
    Opt_Osc.onClick = [this](int index) { Opt_Osc_Click(index); };
    Opt_CountMode.onClick = [this](int index) { Opt_CountMode_Click(index); };
    Chk_Ps.onClick = [this] { Chk_Ps_Click(); };
    Opt_Ps.onClick = [this](int index) { Opt_Ps_Click(index); };
}

void Timer0Form::Form_Load() {
    auto& s = settings();
    LoadTimeAndFrequency();

    // Each selection runs its handler: the clock rules apply and RA4 is
    // reserved again for an outside clock, even while Timer0 is off.
    SelectStoredOption(Opt_Osc, s.T0ClockMode);
    SelectStoredOption(Opt_Ps, s.T0PsIndex);
    SelectStoredOption(Opt_CountMode, s.T0Edge);

    const bool usePrescaler = s.T0UsePs.isTrue();
    Chk_Ps.setChecked(usePrescaler);
    SetPrescalerGroupEnabled(usePrescaler);
    s.T0PsDiv = PrescaleDivisor(OptionIndexOrNothing(s.T0PsIndex, Opt_Ps.count()));

    Label2.setCaption(Opt_Osc.isSelected(kInternalTiming) ? kCrystalOrExternalCaption : kExternalCaption);
    LoadInterruptAndOnOff(Chk_T0En);
}

void Timer0Form::Chk_T0En_Click() {
    OnOffClicked(Chk_T0En);
}

void Timer0Form::ApplyOwnOnOffRules(bool on) {
    SetPrescalerGroupEnabled(on && Chk_Ps.checked());
}

void Timer0Form::SetPrescalerGroupEnabled(bool enabled) {
    Fra_Ps.setEnabled(enabled);
    Opt_Ps.setAllEnabled(enabled);
}

void Timer0Form::Opt_Osc_Click(int index) {
    auto& s = settings();
    // RA4 may be the comparator's C1OUT: an outside clock cannot take it then.
    const bool takesRa4 =
        index != kInternalTiming && OptionIndexOrNothing(s.T0ClockMode, Opt_Osc.count()) == kInternalTiming;
    s.T0ClockMode = index;
    if (!loading() && takesRa4 && !PinsAreFree(context_, PinUse::Timer0Clock)) {
        Opt_Osc.select(kInternalTiming);
        return;
    }
    const bool counting = index == kCounting;
    ApplyCountingRules(counting, Frame3, Opt_CountMode);
    // Only an external clock is typed in; otherwise the crystal applies.
    Txt_Osc.setReadOnly(index != kExternalTiming);
    if (!counting) Label2.setCaption(kCrystalOrExternalCaption);
    // An outside clock arrives on RA4. Going back to the internal clock
    // leaves the pin an input: the user may have wired it meanwhile.
    ApplyPinClaims(s);
}

void Timer0Form::Opt_CountMode_Click(int index) {
    settings().T0Edge = index;
}

void Timer0Form::Chk_Ps_Click() {
    auto& s = settings();
    const bool use = Chk_Ps.checked();
    s.T0UsePs = use;
    s.T0PsDiv = PrescaleDivisor(OptionIndexOrNothing(s.T0PsIndex, Opt_Ps.count()));
    SetPrescalerGroupEnabled(use);
    if (!loading()) CalcTimer();
}

void Timer0Form::Opt_Ps_Click(int index) {
    auto& s = settings();
    s.T0PsIndex = index;
    s.T0PsDiv = PrescaleDivisor(index);
    if (!loading()) CalcTimer();
}

std::int16_t Timer0Form::PrescaleDivisor(std::optional<int> index) const {
    if (!settings().T0UsePs.isTrue()) return 1;
    // A stored index that is no option leaves no divisor; the calculator
    // then reports an input error instead of shifting out of range.
    return static_cast<std::int16_t>(PrescaleRatio(TimerKind::Timer0, index));
}

}  // namespace korvane
