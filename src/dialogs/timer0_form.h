#pragma once

#include <cstdint>
#include <optional>

#include "dialogs/timer_form.h"
#include "platform/form_id.h"

namespace korvane {

// Timer0: on/off, clock source (internal, external clock on RA4, counting
// edges on RA4), counting edge, prescaler and interrupt, with the period
// calculator for the 8-bit TMR0.
class Timer0Form : public TimerForm {
public:
    static constexpr const char* kName = FormName(FormId::Timer0);
    static constexpr const char* kCaption = "Timer0 set";
    // Label2 before the clock option has set it, then for internal or
    // external timing, and after loading with an outside clock.
    static constexpr const char* kFrequencyCaption = "晶振/外部频率(uS):";
    static constexpr const char* kCrystalOrExternalCaption = "晶振/外部频率(M):";
    static constexpr const char* kExternalCaption = "外部时钟频率(M):";

    static constexpr int kInternalTiming = 0;
    static constexpr int kExternalTiming = 1;
    static constexpr int kCounting = 2;

    explicit Timer0Form(AppContext& context);

    CheckBox Chk_T0En{"Chk_T0En", "使用Timer0"};
    Frame Frame1{"Frame1", timer_captions::kModeFrame};
    OptionGroup Opt_Osc{"Opt_Osc", {"内部时钟定时", "外部时钟定时", timer_captions::kCounting}};
    Frame Frame3{"Frame3", timer_captions::kCounterFrame};
    OptionGroup Opt_CountMode{"Opt_CountMode", {"下降沿触发", "上升沿触发"}};
    CheckBox Chk_Ps{"Chk_Ps", "使用预分频器"};
    Frame Fra_Ps{"Fra_Ps", "分频设置"};
    OptionGroup Opt_Ps{"Opt_Ps", RatioCaptions(PrescalerRatios(TimerKind::Timer0))};
    Frame Frame2{"Frame2", timer_captions::kCalculatorFrame};

    Frame& calculatorFrame() override { return Frame2; }

    void Form_Load() override;
    void Chk_T0En_Click();
    void Opt_Osc_Click(int index);
    void Opt_CountMode_Click(int index);
    void Chk_Ps_Click();
    void Opt_Ps_Click(int index);

private:
    void ApplyOwnOnOffRules(bool on) override;
    bool Timing() const override { return !Opt_Osc.isSelected(kCounting); }
    void SetPrescalerGroupEnabled(bool enabled);
    // The chosen ratio, 2^(T0PsIndex+1), with the prescaler; 1 without.
    std::int16_t PrescaleDivisor(std::optional<int> index) const;
};

}  // namespace korvane
