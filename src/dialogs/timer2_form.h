#pragma once

#include "dialogs/timer_form.h"
#include "platform/form_id.h"

namespace korvane {

// Timer2: on/off, prescaler, postscaler and interrupt, with the period
// calculator for the 8-bit TMR2. It always counts the instruction clock.
class Timer2Form : public TimerForm {
public:
    static constexpr const char* kName = FormName(FormId::Timer2);
    static constexpr const char* kCaption = "Timer2 set";

    explicit Timer2Form(AppContext& context);

    CheckBox Chk_T2En{"Chk_T2En", "使用Timer2"};
    Frame Fra_Ps{"Fra_Ps", timer_captions::kPrescalerFrame};
    OptionGroup Opt_Ps{"Opt_Ps", RatioCaptions(PrescalerRatios(TimerKind::Timer2))};
    Frame Fra_Bs{"Fra_Bs", "后分频设置"};
    OptionGroup Opt_Bs{"Opt_Bs", RatioCaptions({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16})};
    Frame Frame4{"Frame4", timer_captions::kCalculatorFrame};

    Frame& calculatorFrame() override { return Frame4; }

    void Form_Load() override;
    void Chk_T2En_Click();
    void Opt_Ps_Click(int index);
    void Opt_Bs_Click(int index);
};

}  // namespace korvane
