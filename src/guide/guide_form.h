#pragma once

#include <cstdint>
#include <string>

#include "controls/app_context.h"
#include "controls/controls.h"
#include "controls/form.h"
#include "platform/form_id.h"

namespace korvane {

// The setup guide: twelve yes-or-no steps (chip, configuration word, crystal,
// ports, port B's extras, the three timers, CCP, SCI, MSSP, generation). "是" runs the step's dialog or the
// main window's own command before moving on; "否" skips it; "上一步" goes back a step to answer it again.
// The guide keeps no settings of its own: every step goes through the command or dialog it names.
class GuideForm : public Form {
public:
    static constexpr const char* kName = FormName(FormId::Guide);
    static constexpr const char* kPictureFile = "guide1.jpg";
    static constexpr std::int16_t kStepCount = 14;
    static constexpr std::int16_t kDone = kStepCount + 1;
    static constexpr std::int16_t kYes = 0;
    static constexpr std::int16_t kNo = 1;
    static constexpr const char* kExitCaption = "退 出(&E)";
    static constexpr const char* kFinishCaption = "完 成(&C)";
    static constexpr const char* kCaption = "设置向导";
    // Shown once every step is done, so no question is left waiting for an answer.
    static constexpr const char* kDoneText = "全部步骤已完成,请按完成键关闭设置向导。";

    explicit GuideForm(AppContext& context);

    // Qualified: the member named Label would otherwise change the meaning of
    // the type name inside the class.
    korvane::Label Label1{"Label1", "欢迎使用Korvane 设置向导:"};
    korvane::Label Label{"Label", "是否需要设置晶振频率?(缺省为4M)"};
    OptionGroup OptYesNo{"OptYesNo", {"是", "否"}};
    Picture Picture1{"Picture1"};
    Button Command1{"Command1", "下一步(&N)"};
    Button Command2{"Command2", kExitCaption};
    Button Command3{"Command3", "帮 助(&H)"};
    Button Command4{"Command4", "上一步(&B)"};

    // The step that Command1 carries out next: 1..kStepCount, then kDone.
    std::int16_t GuideStep = 1;
    // The chosen OptYesNo member: kYes or kNo.
    std::int16_t GuideAnswer = kYes;

    void Form_Load() override;
    void OptYesNo_Click(int index);
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    // Back to the step before the one waiting (from the end: to the last
    // step); what an earlier step set stays as it is.
    void Command4_Click();

    // The question shown while `step` (1..kStepCount) waits.
    std::string Question(int step) const;

private:
    void RunStep(int step);
    // The question, the options and the buttons of GuideStep.
    void ShowStep();

    AppContext& context_;
};

}  // namespace korvane
