#include "dialogs/ad_form.h"

#include <algorithm>
#include <string>

#include "chip/claims.h"
#include "dialogs/pin_guard.h"
#include "dialogs/stored_options.h"
#include "modules/ad/ad_module.h"
#include "settings/ad_converter.h"
#include "settings/chip_facts.h"
#include "settings/parts.h"
#include "settings/pin_claims.h"

namespace korvane {

namespace {

std::vector<std::string> PcfgCaptions(int channels) {
    std::vector<std::string> captions;
    for (std::int16_t code : OfferedPcfgs(channels)) {
        std::string bits;
        for (int bit = 3; bit >= 0; --bit) bits += (code >> bit & 1) ? '1' : '0';
        captions.push_back(bits + ": " + PcfgText(code, channels));
    }
    return captions;
}

std::vector<std::string> ChannelCaptions() {
    std::vector<std::string> captions;
    for (int channel = 0; channel < kAdChannelCount; ++channel) {
        const AdPin pin = AdChannelPin(channel);
        captions.push_back("AN" + std::to_string(channel) + "(R" + "ABCDE"[pin.port] +
                           std::to_string(pin.pin) + ")");
    }
    return captions;
}

std::vector<std::string> ClockCaptions() {
    std::vector<std::string> captions;
    for (const AdClock& clock : AdClocks()) captions.emplace_back(clock.text);
    return captions;
}

// Options of Opt_Clock follow the order of AdClocks().
int ClockIndex(std::int16_t code) {
    const auto clocks = AdClocks();
    for (std::size_t i = 0; i < clocks.size(); ++i)
        if (clocks[i].code == code) return static_cast<int>(i);
    return static_cast<int>(clocks.size()) - 1;
}

}  // namespace

AdForm::AdForm(AppContext& context)
    : Form(kName, "A/D转换模块设置"),
      Opt_Pcfg("Opt_Pcfg", PcfgCaptions(ChosenPart(context.settings).analogChannels)),
      Opt_Channel("Opt_Channel", ChannelCaptions()),
      Opt_Clock("Opt_Clock", ClockCaptions()),
      Drivers(context.settings, &ProjectSettings::AdDrivers, kAdModule),
      context_(context),
      settings_(context.settings),
      pcfgCodes_(OfferedPcfgs(ChosenPart(context.settings).analogChannels)) {
    // The options depend on the part, which cannot change while the dialog is open.
    const int channels = ChosenPart(settings_).analogChannels;
    for (int channel = channels; channel < kAdChannelCount; ++channel) Opt_Channel.setVisible(channel, false);
    const bool aPart = PartHasAdcs2(settings_);
    const auto clocks = AdClocks();
    for (std::size_t i = 0; i < clocks.size(); ++i)
        Opt_Clock.setVisible(static_cast<int>(i), ClockOnPart(clocks[i], aPart));

    Chk_AdEn.onClick = [this] { Chk_AdEn_Click(); };
    Opt_Pcfg.onClick = [this](int index) { Opt_Pcfg_Click(index); };
    Opt_Channel.onClick = [this](int index) { Opt_Channel_Click(index); };
    Opt_Clock.onClick = [this](int index) { Opt_Clock_Click(index); };
    Opt_Format.onClick = [this](int index) { Opt_Format_Click(index); };
    Chk_AdInt.onClick = [this] { Chk_AdInt_Click(); };
    Command1.onClick = [this] { Command1_Click(); };
}

void AdForm::Form_Load() {
    ProjectSettings& s = settings_;
    // Read before any handler stores: the clock stays the user's only if it was.
    const std::int16_t clock =
        s.AdClockByHand != 0 ? AdClockCodeOf(s) : DefaultAdClock(s.CrystalMHz, PartHasAdcs2(s));
    const int channel = AdChannelOf(s);
    const auto pcfg = std::find(pcfgCodes_.begin(), pcfgCodes_.end(), AdPcfgOf(s));
    Opt_Pcfg.select(static_cast<int>(pcfg - pcfgCodes_.begin()));
    Opt_Channel.select(channel);
    Opt_Clock.select(ClockIndex(clock));
    Opt_Format.select(s.AdRightJustify == 1 ? 1 : 0);
    Chk_AdInt.setChecked(s.AdInt != 0);
    Drivers.load();
    Chk_AdEn.setChecked(AdUsed(s));
    SetModuleEnabled(AdUsed(s));
    ShowChannels();
    ShowTad();
}

void AdForm::Chk_AdEn_Click() {
    const bool on = Chk_AdEn.checked();
    settings_.AdEn = on ? 1 : 0;
    if (on && !loading()) {
        // RA5 may be the MSSP's slave select.
        if (!PinsAreFree(context_, PinUse::Analog)) {
            settings_.AdEn = 0;
            Chk_AdEn.setChecked(false);
            return;
        }
        ApplyPinClaims(settings_);
    }
    SetModuleEnabled(on);
}

void AdForm::Opt_Pcfg_Click(int index) {
    if (loading()) {
        settings_.AdPcfg = pcfgCodes_[static_cast<std::size_t>(index)];
        return;
    }
    const std::int16_t before = settings_.AdPcfg;
    settings_.AdPcfg = pcfgCodes_[static_cast<std::size_t>(index)];
    if (AdUsed(settings_)) {
        if (!PinsAreFree(context_, PinUse::Analog)) {
            settings_.AdPcfg = before;
            const auto back = std::find(pcfgCodes_.begin(), pcfgCodes_.end(), before);
            Opt_Pcfg.select(static_cast<int>(back - pcfgCodes_.begin()));
            return;
        }
        ApplyPinClaims(settings_);
    }
    ShowChannels();
}

void AdForm::Opt_Channel_Click(int index) {
    settings_.AdChannel = static_cast<std::int16_t>(index);
}

void AdForm::Opt_Clock_Click(int index) {
    settings_.AdClock = AdClocks()[static_cast<std::size_t>(index)].code;
    // Chosen by hand: a new crystal leaves it alone from now on. Picking the
    // crystal's own default hands it back to the crystal.
    if (!loading())
        settings_.AdClockByHand =
            settings_.AdClock != DefaultAdClock(settings_.CrystalMHz, PartHasAdcs2(settings_));
    ShowTad();
}

void AdForm::Opt_Format_Click(int index) {
    settings_.AdRightJustify = static_cast<std::int16_t>(index);
}

void AdForm::Chk_AdInt_Click() {
    settings_.AdInt = InterruptSetting(Chk_AdInt);
}

void AdForm::Command1_Click() {
    unload();
}

void AdForm::SetModuleEnabled(bool on) {
    for (Frame* frame : {&Fra_Pcfg, &Fra_Channel, &Fra_Clock, &Fra_Format}) frame->setEnabled(on);
    Opt_Pcfg.setAllEnabled(on);
    Opt_Clock.setAllEnabled(on);
    Opt_Format.setAllEnabled(on);
    Chk_AdInt.setEnabled(on);
    Drivers.apply(on);
    Lbl_Tad.setEnabled(on);
    ShowChannels();
}

void AdForm::ShowChannels() {
    const std::vector<int> analog = AnalogChannels(settings_, AdPcfgOf(settings_));
    for (int channel = 0; channel < kAdChannelCount; ++channel)
        Opt_Channel.setEnabled(channel,
                               AdUsed(settings_) && std::ranges::find(analog, channel) != analog.end());
    if (std::ranges::find(analog, Opt_Channel.selected()) == analog.end()) Opt_Channel.select(analog.front());
}

void AdForm::ShowTad() {
    const double mhz = settings_.CrystalMHz;
    const auto clocks = AdClocks();
    // A clock too fast for this crystal is marked where it is offered.
    for (std::size_t i = 0; i < clocks.size(); ++i)
        Opt_Clock.setCaption(
            static_cast<int>(i),
            std::string(clocks[i].text) + (TadAllowed(clocks[i], mhz) ? "" : " (太快,TAD<1.6uS)"));
    const int chosen = Opt_Clock.selected();
    if (chosen == OptionGroup::kNone) return;
    Lbl_Tad.setCaption("晶振" + SingleText(settings_.CrystalMHz) + "MHz: " +
                       AdClockReadout(clocks[static_cast<std::size_t>(chosen)], mhz, context_.locale));
}

}  // namespace korvane
