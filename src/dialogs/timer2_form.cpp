#include "dialogs/timer2_form.h"

namespace korvane {

Timer2Form::Timer2Form(AppContext& context)
    : TimerForm(context, TimerKind::Timer2,
                {.name = kName,
                 .caption = kCaption,
                 .frequencyLabel = timer_captions::kCrystalLabel,
                 .interruptBox = "使用T2中断",
                 .registerLabel = "PR2值(Hex):"}) {
    // The crystal frequency is set in the main window, never here.
    Txt_Osc.setReadOnly(true);
    SwitchWithOnOff({&Fra_Ps, &Fra_Bs}, {&Opt_Ps, &Opt_Bs});

    Chk_T2En.onClick = [this] { Chk_T2En_Click(); };
    Opt_Ps.onClick = [this](int index) { Opt_Ps_Click(index); };
    Opt_Bs.onClick = [this](int index) { Opt_Bs_Click(index); };
}

void Timer2Form::Form_Load() {
    auto& s = settings();
    LoadTimeAndFrequency();
    SelectStoredOption(Opt_Ps, s.T2PsIndex);
    SelectStoredOption(Opt_Bs, s.T2PostIndex);
    LoadInterruptAndOnOff(Chk_T2En);
}

void Timer2Form::Chk_T2En_Click() {
    OnOffClicked(Chk_T2En);
}

void Timer2Form::Opt_Ps_Click(int index) {
    auto& s = settings();
    s.T2PsIndex = index;
    s.T2PsDiv = static_cast<std::int16_t>(PrescaleRatio(TimerKind::Timer2, index));  // 4^index
    if (!loading()) CalcTimer();
}

void Timer2Form::Opt_Bs_Click(int index) {
    settings().T2PostIndex = index;
}

}  // namespace korvane
