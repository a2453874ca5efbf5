#include "dialogs/timer1_form.h"

#include "chip/claims.h"
#include "dialogs/pin_guard.h"

namespace korvane {

Timer1Form::Timer1Form(AppContext& context)
    : TimerForm(context, TimerKind::Timer1,
                {.name = kName,
                 .caption = kCaption,
                 .frequencyLabel = timer_captions::kCrystalLabel,
                 .interruptBox = "使用T1中断"}) {
    // The crystal frequency is set in the main window, never here.
    Txt_Osc.setReadOnly(true);
    Frame3.setEnabled(false);
    Opt_CountMode.setAllEnabled(false);
    Opt_CountMode.select(0);
    SwitchWithOnOff({&Frame1, &Fra_Ps, &Fra_T1OscIn}, {&Opt_Osc, &Opt_Ps, &Opt_OscInT1});

    Chk_T1En.onClick = [this] { Chk_T1En_Click(); };
    Opt_Osc.onClick = [this](int index) { Opt_Osc_Click(index); };
    Opt_CountMode.onClick = [this](int index) { Opt_CountMode_Click(index); };
    Opt_OscInT1.onClick = [this](int index) { Opt_OscInT1_Click(index); };
    Opt_Ps.onClick = [this](int index) { Opt_Ps_Click(index); };
}

void Timer1Form::Form_Load() {
    auto& s = settings();
    LoadTimeAndFrequency();
    SelectStoredOption(Opt_Osc, s.T1ClockMode);
    SelectStoredOption(Opt_Ps, s.T1PsIndex);
    SelectStoredOption(Opt_CountMode, s.T1SyncMode);
    SelectStoredOption(Opt_OscInT1, s.T1OscEn);
    LoadInterruptAndOnOff(Chk_T1En);
}

void Timer1Form::Chk_T1En_Click() {
    OnOffClicked(Chk_T1En);
    // Its oscillator may want CCP2's RC1; unticking runs this handler again.
    if (!loading() && !PinsAreFree(context_, PinUse::Timer1Oscillator)) {
        Chk_T1En.setChecked(false);
        return;
    }
    ApplyPinClaims(settings());
}

void Timer1Form::Opt_Osc_Click(int index) {
    settings().T1ClockMode = index;
    ApplyCountingRules(index == kCounterMode, Frame3, Opt_CountMode);
    // The counter's clock arrives on RC0, which no other module uses.
    ApplyPinClaims(settings());
}

void Timer1Form::Opt_CountMode_Click(int index) {
    settings().T1SyncMode = index;
}

void Timer1Form::Opt_OscInT1_Click(int index) {
    settings().T1OscEn = static_cast<std::int16_t>(index);
    // The oscillator sits on RC0 and RC1, where CCP2 may already be.
    if (!loading() && !PinsAreFree(context_, PinUse::Timer1Oscillator)) {
        Opt_OscInT1.select(0);
        return;
    }
    ApplyPinClaims(settings());
}

void Timer1Form::Opt_Ps_Click(int index) {
    auto& s = settings();
    s.T1PsIndex = index;
    s.T1PsDiv = static_cast<double>(PrescaleRatio(TimerKind::Timer1, index));  // 2^index
    if (!loading()) CalcTimer();
}

}  // namespace korvane
