#include "dialogs/chip_form.h"

#include <string>
#include <vector>

#include "settings/ad_converter.h"
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
      context_(context) {
    Opt_Part.onClick = [this](int index) { Opt_Part_Click(index); };
    Opt_Form.onClick = [this](int index) { Opt_Form_Click(index); };
    Command1.onClick = [this] { Command1_Click(); };
}

void ChipForm::Form_Load() {
    Opt_Part.select(ChosenPartIndex(context_.settings));
    Opt_Form.select(static_cast<int>(OutputFormOf(context_.settings)));
}

void ChipForm::Opt_Form_Click(int index) {
    if (!loading()) context_.settings.OutputForm = static_cast<std::int16_t>(index);
}

void ChipForm::Opt_Part_Click(int index) {
    ProjectSettings& s = context_.settings;
    if (loading() || index == ChosenPartIndex(s)) return;
    const PartFacts& part = Parts()[index];
    ProjectSettings after = s;
    after.ChipPart = static_cast<std::int16_t>(index);
    std::vector<std::string> changes;
    if (!part.hasPortsDE() && (s.PortDUsed != 0 || s.PortEUsed != 0)) {
        changes.push_back(std::string(part.name) + "没有端口D和E。");
        changes.push_back("切换到" + std::string(part.name) + "将不再设置PortD和PortE");
        after.PortDUsed = 0;
        after.PortEUsed = 0;
    }
    // A field's choice survives the switch only where it means the same on
    // the new part; otherwise the field falls back to its first choice.
    for (int f = 0; f < kConfigFieldCount; ++f) {
        const auto field = static_cast<ConfigField>(f);
        const std::string_view meaning = ChosenConfig(s, field).text;
        const auto choices = part.config[f].choices;
        std::int16_t& choice = after.*ConfigSetting(field);
        const bool same = choice >= 0 && static_cast<std::size_t>(choice) < choices.size() &&
                          choices[choice].text == meaning;
        // The first choice is every field's default, which a switch keeps.
        if (same || choice == 0) continue;
        choice = 0;
        changes.push_back("配置字的\"" + std::string(meaning) + "\"将改为\"" +
                          std::string(ChosenConfig(after, field).text) + "\"");
    }
    // The converter keeps what the new part reads its codes as, so that the
    // project holds what the generator writes.
    after.AdPcfg = AdPcfgOf(after);
    after.AdChannel = static_cast<std::int16_t>(AdChannelOf(after));
    after.AdClock = AdClockCodeOf(after);
    if (AdUsed(s)) {
        const auto changed = [&](const std::string& what, const std::string& before, const std::string& now) {
            if (before != now) changes.push_back(what + "将由\"" + before + "\"改为\"" + now + "\"");
        };
        changed("A/D模拟输入", PcfgText(AdPcfgOf(s), ChosenPart(s).analogChannels),
                PcfgText(after.AdPcfg, part.analogChannels));
        changed("A/D转换通道", "AN" + std::to_string(AdChannelOf(s)), "AN" + std::to_string(after.AdChannel));
        changed("A/D转换时钟", AdClockOf(AdClockCodeOf(s)).text, AdClockOf(after.AdClock).text);
    }
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
