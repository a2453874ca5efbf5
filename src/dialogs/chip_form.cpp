#include "dialogs/chip_form.h"

#include <string>
#include <vector>

#include "chip/rules.h"
#include "modules/eeprom/eeprom_module.h"
#include "settings/output_form.h"
#include "settings/parts.h"

namespace korvane {

namespace {

std::vector<std::string> PartCaptions() {
    std::vector<std::string> captions;
    for (const PartFacts& part : Parts())
        captions.push_back(std::string(part.name) + " (" + std::to_string(part.pins) + "脚)");
    return captions;
}

std::vector<std::string> FormCaptions() {
    std::vector<std::string> captions;
    for (const OutputFormFacts& form : kOutputForms) captions.emplace_back(form.option);
    return captions;
}

}  // namespace

ChipForm::ChipForm(AppContext& context)
    : Form(kName, "选择芯片"),
      Opt_Part("Opt_Part", PartCaptions()),
      Opt_Form("Opt_Form", FormCaptions()),
      Drivers(context.settings, &ProjectSettings::EepromDrivers, kEepromModule, "数据EEPROM驱动函数",
              "生成驱动函数(&G)"),
      context_(context) {
    Opt_Part.onClick = [this](int index) { Opt_Part_Click(index); };
    Opt_Form.onClick = [this](int index) { Opt_Form_Click(index); };
    Command1.onClick = [this] { Command1_Click(); };
}

void ChipForm::Form_Load() {
    Opt_Part.select(ChosenPartIndex(context_.settings));
    Opt_Form.select(static_cast<int>(OutputFormOf(context_.settings)));
    Drivers.load();
    Drivers.apply(true);
}

void ChipForm::Opt_Form_Click(int index) {
    if (!loading()) context_.settings.OutputForm = static_cast<std::int16_t>(index);
    Drivers.apply(true);
}

void ChipForm::Opt_Part_Click(int index) {
    ProjectSettings& s = context_.settings;
    if (loading() || index == ChosenPartIndex(s)) return;
    auto [after, changes] = SwitchPart(s, index);
    if (!changes.empty()) {
        std::string question;
        for (const std::string& line : changes) question += (question.empty() ? "" : "\r") + line;
        if (context_.platform.messageBox(question + "，是否继续?", "切换芯片", MessageIcon::Question,
                                         MessageButtons::YesNo) != MessageAnswer::Yes) {
            // Back to the part the project keeps; that selection changes nothing.
            Opt_Part.select(ChosenPartIndex(s));
            return;
        }
    }
    s = after;
}

void ChipForm::Command1_Click() {
    unload();
}

}  // namespace korvane
