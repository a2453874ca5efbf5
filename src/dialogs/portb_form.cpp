#include "dialogs/portb_form.h"

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
    // The pin stays an input when the interrupt goes off.
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
    ApplyPinClaims(settings_);
}

void PortBForm::Chk_PullUp_Click() {
    settings_.RbPullUp = Chk_PullUp.checked() ? 1 : 0;
}

void PortBForm::Command1_Click() {
    unload();
}

}  // namespace korvane
