#include "dialogs/portb_form.h"

#include <string>

#include "chip/claims.h"
#include "dialogs/pin_guard.h"
#include "dialogs/stored_options.h"
#include "settings/chip_facts.h"
#include "settings/pin_claims.h"

namespace korvane {

PortBForm::PortBForm(AppContext& context)
    : Form(kName, kCaption), context_(context), settings_(context.settings) {
    // The edge matters only while the INT interrupt is used.
    Fra_Edge.setEnabled(false);
    Opt_Edge.setAllEnabled(false);

    Chk_IntE.onClick = [this] { Chk_IntE_Click(); };
    Opt_Edge.onClick = [this](int index) { Opt_Edge_Click(index); };
    Chk_RbIE.onClick = [this] { Chk_RbIE_Click(); };
    Chk_PullUp.onClick = [this] { Chk_PullUp_Click(); };
    Command1.onClick = [this] { Command1_Click(); };
}

void PortBForm::Form_Load() {
    const auto& s = settings_;
    loadedDirections_ = s.PortBDir;
    loadedUsed_ = s.PortBUsed;
    intOnAtLoad_ = s.Rb0Int != 0;
    changeOnAtLoad_ = s.RbChangeInt != 0;
    SelectStoredOption(Opt_Edge, s.Rb0Edge);
    Chk_IntE.setChecked(s.Rb0Int != 0);
    Chk_RbIE.setChecked(s.RbChangeInt != 0);
    Chk_PullUp.setChecked(s.RbPullUp == 1);
}

void PortBForm::Chk_IntE_Click() {
    settings_.Rb0Int = InterruptSetting(Chk_IntE);
    // Another module may hold RB0; unticking runs this handler again.
    if (!loading() && !PinsAreFree(context_, PinUse::Rb0Int)) {
        Chk_IntE.setChecked(false);
        return;
    }
    const bool on = Chk_IntE.checked();
    Fra_Edge.setEnabled(on);
    Opt_Edge.setAllEnabled(on);
    if (!on && !loading()) ReleasePins(intOnAtLoad_, kRb0IntPin, kRb0IntPin, "RB0");
    ApplyPinClaims(settings_);
}

void PortBForm::Opt_Edge_Click(int index) {
    settings_.Rb0Edge = static_cast<std::int16_t>(index);
}

void PortBForm::Chk_RbIE_Click() {
    settings_.RbChangeInt = InterruptSetting(Chk_RbIE);
    if (!loading() && !PinsAreFree(context_, PinUse::RbChange)) {
        Chk_RbIE.setChecked(false);
        return;
    }
    if (!Chk_RbIE.checked() && !loading())
        ReleasePins(changeOnAtLoad_, kFirstRbChangePin, kLastRbChangePin, "RB4~RB7");
    ApplyPinClaims(settings_);
}

void PortBForm::ReleasePins(bool onAtLoad, int first, int last, const char* pins) {
    if (!onAtLoad) {
        for (int pin = first; pin <= last; ++pin) settings_.PortBDir[pin] = loadedDirections_[pin];
        // The other interrupt's claim, if any, marks the port used again.
        settings_.PortBUsed = loadedUsed_;
        return;
    }
    context_.platform.messageBox(std::string(pins) + "仍为输入引脚,\r如需输出请在端口设置中修改.", kCaption,
                                 MessageIcon::Information, MessageButtons::Ok);
}

void PortBForm::Chk_PullUp_Click() {
    settings_.RbPullUp = Chk_PullUp.checked() ? 1 : 0;
}

void PortBForm::Command1_Click() {
    unload();
}

}  // namespace korvane
