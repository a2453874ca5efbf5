#pragma once

#include "dialogs/timer_form.h"
#include "platform/form_id.h"

namespace korvane {

// Timer1: on/off, timer or counter mode, counter synchronisation, its own
// oscillator, prescaler and interrupt, with the period calculator for the
// 16-bit TMR1H:TMR1L.
class Timer1Form : public TimerForm {
public:
    static constexpr const char* kName = FormName(FormId::Timer1);
    static constexpr const char* kCaption = "Timer1 set";

    static constexpr int kTimerMode = 0;
    static constexpr int kCounterMode = 1;

    explicit Timer1Form(AppContext& context);

    CheckBox Chk_T1En{"Chk_T1En", "使用Timer1"};
    Frame Frame1{"Frame1", timer_captions::kModeFrame};
    OptionGroup Opt_Osc{"Opt_Osc", {"定时方式", timer_captions::kCounting}};
    Frame Frame3{"Frame3", timer_captions::kCounterFrame};
    OptionGroup Opt_CountMode{"Opt_CountMode", {"同步方式", "异步方式"}};
    Frame Fra_T1OscIn{"Fra_T1OscIn", "T1内部定时器"};
    OptionGroup Opt_OscInT1{"Opt_OscInT1", {"不使用", "使用"}};
    Frame Fra_Ps{"Fra_Ps", timer_captions::kPrescalerFrame};
    OptionGroup Opt_Ps{"Opt_Ps", RatioCaptions(PrescalerRatios(TimerKind::Timer1))};
    Frame Frame4{"Frame4", timer_captions::kCalculatorFrame};

    Frame& calculatorFrame() override { return Frame4; }

    void Form_Load() override;
    void Chk_T1En_Click();
    void Opt_Osc_Click(int index);
    void Opt_CountMode_Click(int index);
    void Opt_OscInT1_Click(int index);
    void Opt_Ps_Click(int index);

private:
    bool Timing() const override { return !Opt_Osc.isSelected(kCounterMode); }
};

}  // namespace korvane
