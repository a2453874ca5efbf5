#include "dialogs/chip_form.h"

#include <string>
#include <vector>

#include "settings/ad_converter.h"
#include "settings/parts.h"

namespace korvane {

namespace {

std::vector<std::string> PartCaptions() {
    std::vector<std::string> captions;
    for (const PartFacts& part : Parts())
        captions.push_back(std::string(part.name) + " (" + std::to_string(part.pins) + "脚)");
    return captions;
}

}  // namespace

ChipForm::ChipForm(AppContext& context)
    : Form(kName, "选择芯片"), Opt_Part("Opt_Part", PartCaptions()), context_(context) {
    Opt_Part.onClick = [this](int index) { Opt_Part_Click(index); };
    Command1.onClick = [this] { Command1_Click(); };
}

void ChipForm::Form_Load() {
    Opt_Part.select(ChosenPartIndex(context_.settings));
}

void ChipForm::Opt_Part_Click(int index) {
    ProjectSettings& s = context_.settings;
    if (loading() || index == ChosenPartIndex(s)) return;
    const PartFacts& part = Parts()[index];
    if (!part.hasPortsDE() && (s.PortDUsed != 0 || s.PortEUsed != 0)) {
        const std::string question = std::string(part.name) + "没有端口D和E。\r切换到" +
                                     std::string(part.name) + "将不再设置PortD和PortE，是否继续?";
        if (context_.platform.messageBox(question, "切换芯片", MessageIcon::Question,
                                         MessageButtons::YesNo) != MessageAnswer::Yes) {
            // Back to the part the project keeps; that selection changes nothing.
            Opt_Part.select(ChosenPartIndex(s));
            return;
        }
        s.PortDUsed = 0;
        s.PortEUsed = 0;
    }
    // A field's choice survives the switch only where it means the same on
    // the new part; otherwise the field falls back to its first choice.
    for (int f = 0; f < kConfigFieldCount; ++f) {
        const auto field = static_cast<ConfigField>(f);
        const std::string_view meaning = ChosenConfig(s, field).text;
        const auto choices = part.config[f].choices;
        std::int16_t& choice = s.*ConfigSetting(field);
        const bool same = choice >= 0 && static_cast<std::size_t>(choice) < choices.size() &&
                          choices[choice].text == meaning;
        if (!same) choice = 0;
    }
    s.ChipPart = static_cast<std::int16_t>(index);
    // The converter keeps what the new part reads its codes as, so that the
    // project holds what the generator writes.
    s.AdPcfg = AdPcfgOf(s);
    s.AdChannel = static_cast<std::int16_t>(AdChannelOf(s));
    s.AdClock = AdClockCodeOf(s);
}

void ChipForm::Command1_Click() {
    unload();
}

}  // namespace korvane
