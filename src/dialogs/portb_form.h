#pragma once

#include "controls/app_context.h"
#include "controls/controls.h"
#include "controls/form.h"
#include "platform/form_id.h"

namespace korvane {

// Port B's own features: the RB0/INT interrupt with its edge, the RB4..RB7
// change interrupt and the weak pull-ups. The interrupts claim their pins as
// inputs; each change is stored the moment it is made.
class PortBForm : public Form {
public:
    static constexpr const char* kName = FormName(FormId::PortB);
    static constexpr const char* kCaption = "RB口中断及上拉设置";

    explicit PortBForm(AppContext& context);

    CheckBox Chk_IntE{"Chk_IntE", "使用RB0/INT中断(&I)"};
    Frame Fra_Edge{"Fra_Edge", "INT触发边沿"};
    // The index is the INTEDG value.
    OptionGroup Opt_Edge{"Opt_Edge", {"下降沿触发(&F)", "上升沿触发(&R)"}};
    CheckBox Chk_RbIE{"Chk_RbIE", "使用RB4~RB7电平变化中断(&B)"};
    CheckBox Chk_PullUp{"Chk_PullUp", "打开RB口弱上拉(&U)"};
    Button Command1{"Command1", "确定(&E)"};

    void Form_Load() override;
    void Chk_IntE_Click();
    void Opt_Edge_Click(int index);
    void Chk_RbIE_Click();
    void Chk_PullUp_Click();
    void Command1_Click();

private:
    // An interrupt turned off gives its pins back as this opening found them;
    // pins an earlier opening took are said to stay inputs.
    void ReleasePins(bool onAtLoad, int first, int last, const char* pins);

    AppContext& context_;
    ProjectSettings& settings_;
    PinDirections loadedDirections_{};
    std::int16_t loadedUsed_ = 0;
    bool intOnAtLoad_ = false;
    bool changeOnAtLoad_ = false;
};

}  // namespace korvane
