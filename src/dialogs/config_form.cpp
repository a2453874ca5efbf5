#include "dialogs/config_form.h"

#include <string>
#include <vector>

#include "format/number_text.h"
#include "generator/config_word.h"

namespace korvane {

namespace {

constexpr const char* kWordCaption = "配置字: ";
constexpr const char* kNotWrittenCaption = " (不写入源程序)";

OptionGroup ChoiceGroup(const char* name) {
    return OptionGroup(name, std::vector<std::string>(ConfigForm::kMostChoices));
}

// Shows the part's choices of a field and hides the options it lacks.
void ShowChoices(OptionGroup& group, const ConfigFieldFacts& field) {
    for (int i = 0; i < group.count(); ++i) {
        const bool offered = static_cast<std::size_t>(i) < field.choices.size();
        group.setCaption(i, offered ? std::string(field.choices[i].text) : std::string());
        group.setVisible(i, offered);
    }
}

}  // namespace

ConfigForm::ConfigForm(AppContext& context)
    : Form(kName, "配置字"),
      Opt_Cp(ChoiceGroup("Opt_Cp")),
      Opt_Wrt(ChoiceGroup("Opt_Wrt")),
      context_(context) {
    Opt_Osc.onClick = [this](int index) { Opt_Osc_Click(index); };
    Opt_Cp.onClick = [this](int index) { Opt_Cp_Click(index); };
    Opt_Wrt.onClick = [this](int index) { Opt_Wrt_Click(index); };
    for (int f = 0; f < kConfigFieldCount; ++f) {
        const auto field = static_cast<ConfigField>(f);
        if (CheckBox* box = FieldBox(field))
            box->onClick = [this, field, box] { Store(field, box->value()); };
    }
    Chk_Write.onClick = [this] { Chk_Write_Click(); };
    Command1.onClick = [this] { Command1_Click(); };
}

CheckBox* ConfigForm::FieldBox(ConfigField field) {
    switch (field) {
        case ConfigField::Wdt:
            return &Chk_Wdt;
        case ConfigField::Pwrt:
            return &Chk_Pwrt;
        case ConfigField::Bor:
            return &Chk_Bor;
        case ConfigField::Lvp:
            return &Chk_Lvp;
        case ConfigField::Debug:
            return &Chk_Debug;
        case ConfigField::Cpd:
            return &Chk_Cpd;
        case ConfigField::Osc:
        case ConfigField::Cp:
        case ConfigField::Wrt:
            break;
    }
    return nullptr;
}

void ConfigForm::Form_Load() {
    const ProjectSettings& s = context_.settings;
    const PartFacts& part = ChosenPart(s);
    Lbl_Part.setCaption("芯片: " + std::string(part.name));
    ShowChoices(Opt_Cp, part.config[static_cast<int>(ConfigField::Cp)]);
    ShowChoices(Opt_Wrt, part.config[static_cast<int>(ConfigField::Wrt)]);
    // Above the rating the crystal still needs HS; say so instead of refusing.
    const bool overRated = s.CrystalMHz > kHighestCrystalMHz;
    Lbl_Crystal.setVisible(overRated);
    Lbl_Crystal.setCaption("晶振" + SingleText(s.CrystalMHz) + "MHz超过芯片的最高频率" +
                           SingleText(kHighestCrystalMHz) + "MHz，仍按HS设置。");

    // The shown choice is the one the word is built from, also for an index the part lacks.
    const auto shown = [&](ConfigField field) {
        const auto choices = part.config[static_cast<int>(field)].choices;
        return static_cast<int>(&ChosenConfig(s, field) - choices.data());
    };
    Opt_Osc.select(shown(ConfigField::Osc));
    Opt_Cp.select(shown(ConfigField::Cp));
    Opt_Wrt.select(shown(ConfigField::Wrt));
    for (int f = 0; f < kConfigFieldCount; ++f) {
        const auto field = static_cast<ConfigField>(f);
        if (CheckBox* box = FieldBox(field)) box->setChecked(shown(field) == 1);
    }
    Chk_Write.setChecked(s.CfgWrite != 0);
    ShowWord();
}

void ConfigForm::Opt_Osc_Click(int index) {
    if (loading()) return;
    ProjectSettings& s = context_.settings;
    // A choice other than the crystal's own stays put when the crystal changes.
    s.CfgOscByHand = index == OscillatorForCrystal(s.CrystalMHz) ? 0 : 1;
    Store(ConfigField::Osc, index);
}

void ConfigForm::Opt_Cp_Click(int index) {
    Store(ConfigField::Cp, index);
}

void ConfigForm::Opt_Wrt_Click(int index) {
    Store(ConfigField::Wrt, index);
}

void ConfigForm::Chk_Write_Click() {
    if (loading()) return;
    context_.settings.CfgWrite = static_cast<std::int16_t>(Chk_Write.value());
    ShowWord();
}

void ConfigForm::Store(ConfigField field, int index) {
    if (loading()) return;
    context_.settings.*ConfigSetting(field) = static_cast<std::int16_t>(index);
    ShowWord();
}

void ConfigForm::ShowWord() {
    const ProjectSettings& s = context_.settings;
    Lbl_Word.setCaption(kWordCaption + ConfigWordText(ConfigWord(s)) +
                        (s.CfgWrite != 0 ? "" : kNotWrittenCaption));
}

void ConfigForm::Command1_Click() {
    unload();
}

}  // namespace korvane
