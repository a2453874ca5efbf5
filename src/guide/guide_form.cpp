#include "guide/guide_form.h"

#include <iterator>
#include <optional>

#include "format/number_text.h"

namespace korvane {

namespace {

constexpr const char* kCrystalQuestionStart = "是否需要设置晶振频率?(现设置的频率为:";
constexpr const char* kCrystalQuestionEnd = "M)";
constexpr const char* kExitQuestion = "未完成设置,您确定要退出设置向导吗?";
constexpr const char* kExitTitle = "退出提示";

// Every step in order. `form` is the dialog a step opens, or none for the
// crystal and generation steps; the crystal's question carries the frequency.
struct Step {
    const char* question;
    std::optional<FormId> form;
};
constexpr int kCrystalStep = 3;
constexpr Step kSteps[] = {
    {"是否需要选择芯片型号?", FormId::Chip},
    {"是否需要设置配置字?", FormId::ConfigWord},
    {nullptr, std::nullopt},
    {"是否需要定义端口?", FormId::Port},
    {"是否需要设置RB口中断及上拉?", FormId::PortB},
    {"是否需要设置定时器0?", FormId::Timer0},
    {"是否需要设置定时器1?", FormId::Timer1},
    {"是否需要设置定时器2?", FormId::Timer2},
    {"是否需要设置A/D转换模块?", FormId::Ad},
    {"是否需要设置CCP模块?", FormId::Ccp},
    {"是否需要设置SCI串行口模块?", FormId::Sci},
    {"是否需要设置MSSP(SPI/I2C)模块?", FormId::Mssp},
    {"是否需要设置比较器和参考电压模块?", FormId::Comparator},
    {"是否需要生成C文件?", std::nullopt},
};
static_assert(std::size(kSteps) == GuideForm::kStepCount);

}  // namespace

GuideForm::GuideForm(AppContext& context) : Form(kName, kCaption), context_(context) {
    OptYesNo.onClick = [this](int index) { OptYesNo_Click(index); };
    Command1.onClick = [this] { Command1_Click(); };
    Command2.onClick = [this] { Command2_Click(); };
    Command3.onClick = [this] { Command3_Click(); };
    Command4.onClick = [this] { Command4_Click(); };
}

std::string GuideForm::Question(int step) const {
    if (step == kCrystalStep)
        return kCrystalQuestionStart + SingleText(context_.settings.CrystalMHz) + kCrystalQuestionEnd;
    if (step < 1 || step > kStepCount) return {};
    return kSteps[step - 1].question;
}

void GuideForm::Form_Load() {
    GuideStep = 1;
    GuideAnswer = kYes;
    OptYesNo.select(kYes);
    ShowStep();
    Picture1.setPath(context_.platform.programFolder() + "/" + kPictureFile);
}

void GuideForm::OptYesNo_Click(int index) {
    GuideAnswer = static_cast<std::int16_t>(index);
}

void GuideForm::ShowStep() {
    const bool done = GuideStep > kStepCount;
    Label.setCaption(done ? kDoneText : Question(GuideStep));
    OptYesNo.setAllEnabled(!done);
    Command1.setEnabled(!done);
    Command2.setCaption(done ? kFinishCaption : kExitCaption);
    Command4.setEnabled(GuideStep > 1);
}

void GuideForm::RunStep(int step) {
    MainWindowActions* mainWindow = context_.mainWindow;
    if (step == kCrystalStep) {
        // The main window's own command, so the guide and the menu never differ.
        if (mainWindow) mainWindow->chooseCrystal();
    } else if (const auto form = kSteps[step - 1].form) {
        context_.platform.showForm(*form, true);
    } else if (mainWindow) {
        mainWindow->generateSource();
    }
}

void GuideForm::Command1_Click() {
    const int step = GuideStep;
    // Past the last step the button is disabled; a stray call does nothing.
    if (step < 1 || step > kStepCount) return;
    if (GuideAnswer == kYes) RunStep(step);
    GuideStep = static_cast<std::int16_t>(step + 1);
    ShowStep();
}

void GuideForm::Command2_Click() {
    if (Command2.caption() == kExitCaption &&
        context_.platform.messageBox(kExitQuestion, kExitTitle, MessageIcon::Question,
                                     MessageButtons::YesNo) != MessageAnswer::Yes)
        return;
    unload();
}

void GuideForm::Command3_Click() {
    // The help file and the way it opens belong to the main window's help command.
    if (context_.mainWindow) context_.mainWindow->showHelp(FormHelpPage(FormId::Guide));
}

void GuideForm::Command4_Click() {
    // At the first step the button is disabled; a stray call does nothing.
    if (GuideStep <= 1) return;
    GuideStep = static_cast<std::int16_t>(GuideStep - 1);
    ShowStep();
}

}  // namespace korvane
