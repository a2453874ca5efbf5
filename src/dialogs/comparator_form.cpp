#include "dialogs/comparator_form.h"

#include <string>
#include <vector>

#include "chip/claims.h"
#include "dialogs/pin_guard.h"
#include "dialogs/stored_options.h"
#include "modules/comparator/comparator.h"
#include "settings/parts.h"
#include "settings/pin_claims.h"

namespace korvane {

namespace {

std::vector<std::string> ModeCaptions() {
    std::vector<std::string> captions;
    for (const ComparatorMode& mode : ComparatorModes()) {
        std::string bits;
        for (int bit = 2; bit >= 0; --bit) bits += (mode.code >> bit & 1) ? '1' : '0';
        captions.push_back(bits + ": " + mode.text);
    }
    return captions;
}

}  // namespace

ComparatorForm::ComparatorForm(AppContext& context)
    : Form(kName, kCaption),
      Opt_Mode("Opt_Mode", ModeCaptions()),
      context_(context),
      settings_(context.settings) {
    for (int step = 0; step < kCvrSteps; ++step) Combo_Cvr.addItem(std::to_string(step));
    Chk_CmpEn.onClick = [this] { Chk_CmpEn_Click(); };
    Opt_Mode.onClick = [this](int index) { Opt_Mode_Click(index); };
    Chk_C1Inv.onClick = [this] { Chk_C1Inv_Click(); };
    Chk_C2Inv.onClick = [this] { Chk_C2Inv_Click(); };
    Opt_Cis.onClick = [this](int index) { Opt_Cis_Click(index); };
    Chk_CmpInt.onClick = [this] { Chk_CmpInt_Click(); };
    Chk_CvrEn.onClick = [this] { Chk_CvrEn_Click(); };
    Chk_CvrOe.onClick = [this] { Chk_CvrOe_Click(); };
    Opt_CvrRange.onClick = [this](int index) { Opt_CvrRange_Click(index); };
    Combo_Cvr.onClick = [this] { Combo_Cvr_Click(); };
    Command1.onClick = [this] { Command1_Click(); };
}

void ComparatorForm::Form_Load() {
    ProjectSettings& s = settings_;
    const std::string part(ChosenPart(s).name);
    Lbl_Part.setCaption(PartHasComparators(s)
                            ? ""
                            : part + "没有比较器和参考电压模块,请先在\"选择芯片\"中选择A型芯片(如" + part +
                                  "A)");
    Opt_Mode.select(ComparatorModeOf(s).code);
    Chk_C1Inv.setChecked(s.CmpC1Inv == 1);
    Chk_C2Inv.setChecked(s.CmpC2Inv == 1);
    Opt_Cis.select(s.CmpCis == 1 ? 1 : 0);
    Chk_CmpInt.setChecked(s.CmpInt != 0);
    Chk_CvrEn.setChecked(s.CvrEn == 1);
    Chk_CvrOe.setChecked(s.CvrOe == 1);
    Opt_CvrRange.select(s.CvrRange == 1 ? 1 : 0);
    Combo_Cvr.pick(s.CvrValue & 0x0F);
    Chk_CmpEn.setChecked(ComparatorUsed(s));
    ShowState();
}

bool ComparatorForm::TakePins() {
    if (!ComparatorUsed(settings_)) return true;
    for (PinUse use : {PinUse::Comparator, PinUse::VoltageReference})
        if (!PinsAreFree(context_, use)) return false;
    ApplyPinClaims(settings_);
    return true;
}

void ComparatorForm::Chk_CmpEn_Click() {
    settings_.CmpEn = Chk_CmpEn.checked() ? 1 : 0;
    if (!loading() && !TakePins()) {
        settings_.CmpEn = 0;
        Chk_CmpEn.setChecked(false);
    }
    ShowState();
}

void ComparatorForm::Opt_Mode_Click(int index) {
    const std::int16_t before = settings_.CmpMode;
    settings_.CmpMode = static_cast<std::int16_t>(index);
    if (!loading() && !TakePins()) {
        settings_.CmpMode = before;
        Opt_Mode.select(ComparatorModeOf(settings_).code);
    }
    ShowState();
}

void ComparatorForm::Chk_C1Inv_Click() {
    settings_.CmpC1Inv = Chk_C1Inv.checked() ? 1 : 0;
}

void ComparatorForm::Chk_C2Inv_Click() {
    settings_.CmpC2Inv = Chk_C2Inv.checked() ? 1 : 0;
}

void ComparatorForm::Opt_Cis_Click(int index) {
    settings_.CmpCis = static_cast<std::int16_t>(index);
}

void ComparatorForm::Chk_CmpInt_Click() {
    settings_.CmpInt = InterruptSetting(Chk_CmpInt);
}

void ComparatorForm::Chk_CvrEn_Click() {
    settings_.CvrEn = Chk_CvrEn.checked() ? 1 : 0;
    if (!loading() && !TakePins()) {
        settings_.CvrEn = 0;
        Chk_CvrEn.setChecked(false);
    }
    ShowState();
}

void ComparatorForm::Chk_CvrOe_Click() {
    settings_.CvrOe = Chk_CvrOe.checked() ? 1 : 0;
    if (!loading() && !TakePins()) {
        settings_.CvrOe = 0;
        Chk_CvrOe.setChecked(false);
    }
    ShowState();
}

void ComparatorForm::Opt_CvrRange_Click(int index) {
    settings_.CvrRange = static_cast<std::int16_t>(index);
    ShowCvref();
}

void ComparatorForm::Combo_Cvr_Click() {
    settings_.CvrValue = static_cast<std::int16_t>(Combo_Cvr.listIndex());
    ShowCvref();
}

void ComparatorForm::Command1_Click() {
    unload();
}

// Each control is usable only where it changes what the program writes.
void ComparatorForm::ShowState() {
    const bool part = PartHasComparators(settings_);
    const bool on = ComparatorUsed(settings_);
    const ComparatorMode& mode = ComparatorModeOf(settings_);
    Chk_CmpEn.setEnabled(part);
    Fra_Mode.setEnabled(on);
    Opt_Mode.setAllEnabled(on);
    Chk_C1Inv.setEnabled(on && mode.c1);
    Chk_C2Inv.setEnabled(on && mode.c2);
    const bool multiplexed = on && mode.code == kComparatorsMultiplexed;
    Fra_Cis.setEnabled(multiplexed);
    Opt_Cis.setAllEnabled(multiplexed);
    Chk_CmpInt.setEnabled(on);
    Fra_Cvr.setEnabled(on);
    Chk_CvrEn.setEnabled(on);
    const bool reference = on && settings_.CvrEn == 1;
    Chk_CvrOe.setEnabled(reference);
    Opt_CvrRange.setAllEnabled(reference);
    Lbl_CvrStep.setEnabled(reference);
    Combo_Cvr.setEnabled(reference);
    Lbl_Cvref.setEnabled(reference);
    // Three pins a line, so that none breaks in two.
    std::string pins;
    int count = 0;
    for (const ComparatorPin& pin : ComparatorPins(settings_)) {
        if (count > 0) pins += count % 3 == 0 ? "\n" : "  ";
        ++count;
        pins += PinName(kPortA, pin.pin) + ":" + pin.text;
    }
    Lbl_Pins.setCaption(on ? pins : std::string());
    ShowCvref();
}

// Worked out for a 5 V supply, for the chosen range and step.
void ComparatorForm::ShowCvref() {
    Lbl_Cvref.setCaption("CVREF=" +
                         CvrefText(settings_.CvrRange == 1 ? 1 : 0, settings_.CvrValue, context_.locale));
}

}  // namespace korvane
