#include "dialogs/mssp_form.h"

#include "calc/i2c_calc.h"
#include "calc/settings_calc.h"
#include "chip/claims.h"
#include "controls/key_filters.h"
#include "dialogs/pin_guard.h"
#include "dialogs/settle_and_tell.h"
#include "dialogs/stored_options.h"
#include "format/number_text.h"
#include "modules/mssp/mssp_module.h"
#include "settings/chip_facts.h"
#include "settings/mssp.h"
#include "settings/output_form.h"
#include "settings/pin_claims.h"

namespace korvane {

namespace {

std::int16_t Flag(const CheckBox& box) {
    return static_cast<std::int16_t>(box.value());
}

}  // namespace

MsspForm::MsspForm(AppContext& context)
    : Form(kName, kCaption),
      Drivers(context.settings, &ProjectSettings::MsspDrivers, kMsspModule),
      context_(context),
      settings_(context.settings) {
    for (TextBox* box : {&Txt_Sspadd, &Txt_Actual, &Txt_Error}) box->setReadOnly(true);
    Drivers.changed = [this] { ApplyMsspEnabling(); };

    Chk_SspEn.onClick = [this] { Chk_SspEn_Click(); };
    Opt_Mode.onClick = [this](int index) { Opt_Mode_Click(index); };
    Opt_SpiClock.onClick = [this](int index) { Opt_SpiClock_Click(index); };
    Chk_Ss.onClick = [this] { Chk_Ss_Click(); };
    Opt_Ckp.onClick = [this](int index) { Opt_Ckp_Click(index); };
    Opt_Cke.onClick = [this](int index) { Opt_Cke_Click(index); };
    Chk_Smp.onClick = [this] { Chk_Smp_Click(); };
    Opt_I2cSpeed.onClick = [this](int index) { Opt_I2cSpeed_Click(index); };
    Txt_I2cKHz.onChange = [this] { Txt_I2cKHz_Change(); };
    Txt_I2cKHz.onGotFocus = [this] { Txt_I2cKHz_GotFocus(); };
    Txt_I2cKHz.onKeyPress = [this](std::int16_t& key) { Txt_I2cKHz_KeyPress(key); };
    Chk_Slew.onClick = [this] { Chk_Slew_Click(); };
    Command2.onClick = [this] { Command2_Click(); };
    Chk_SspIE.onClick = [this] { Chk_SspIE_Click(); };
    Chk_BclIE.onClick = [this] { Chk_BclIE_Click(); };
    Command1.onClick = [this] { Command1_Click(); };
}

void MsspForm::Form_Load() {
    // While the boxes are restored their handlers only store; the rules and
    // the calculator then run once on the finished state.
    const auto& s = settings_;
    Chk_SspIE.setChecked(s.MsspInt != 0);
    Chk_BclIE.setChecked(s.MsspBclInt != 0);
    Chk_SspEn.setChecked(s.MsspEn == 1);
    SelectStoredOption(Opt_Mode, s.MsspMode);
    SelectStoredOption(Opt_SpiClock, s.MsspSpiClock);
    Chk_Ss.setChecked(s.MsspSlaveSelect == 1);
    SelectStoredOption(Opt_Ckp, s.MsspCkp);
    SelectStoredOption(Opt_Cke, s.MsspCke);
    Chk_Smp.setChecked(s.MsspSmp == 1);
    SelectStoredOption(Opt_I2cSpeed, s.MsspI2cSpeed);
    Txt_I2cKHz.setText(s.MsspI2cKHz.toText());
    Chk_Slew.setChecked(s.MsspSlewControl == 1);
    Drivers.load();
    ApplyMsspEnabling();
    CalcSspadd(false);
}

void MsspForm::Form_Unload() {
    // As the timer dialogs do: the value the generator writes is worked out
    // once more, and a rate this crystal cannot give is said.
    if (MsspIsI2cMaster(settings_)) CalcSspadd(true);
    // An SPI clock from Timer2 needs Timer2.
    SettleAndTell(context_, {SettingProblem::Kind::I2cRate});
}

bool MsspForm::TakePins() {
    if (!PinsAreFree(context_, PinUse::Mssp)) return false;
    // The pins stay as they were when the module goes off or changes mode.
    ApplyPinClaims(settings_);
    return true;
}

void MsspForm::Chk_SspEn_Click() {
    settings_.MsspEn = Flag(Chk_SspEn);
    if (loading()) return;
    if (Chk_SspEn.checked() && !TakePins()) {
        Chk_SspEn.setChecked(false);
        return;
    }
    ApplyMsspEnabling();
}

void MsspForm::Opt_Mode_Click(int index) {
    const std::int16_t before = settings_.MsspMode;
    settings_.MsspMode = static_cast<std::int16_t>(index);
    if (loading()) return;
    if (MsspUsed(settings_) && !TakePins()) {
        Opt_Mode.select(before);
        return;
    }
    ApplyMsspEnabling();
    CalcSspadd(false);
}

void MsspForm::Opt_SpiClock_Click(int index) {
    settings_.MsspSpiClock = static_cast<std::int16_t>(index);
}

void MsspForm::Chk_Ss_Click() {
    settings_.MsspSlaveSelect = Flag(Chk_Ss);
    if (loading() || !MsspUsed(settings_)) return;
    if (!TakePins()) Chk_Ss.setChecked(false);
}

void MsspForm::Opt_Ckp_Click(int index) {
    settings_.MsspCkp = static_cast<std::int16_t>(index);
}

void MsspForm::Opt_Cke_Click(int index) {
    settings_.MsspCke = static_cast<std::int16_t>(index);
}

void MsspForm::Chk_Smp_Click() {
    settings_.MsspSmp = Flag(Chk_Smp);
}

void MsspForm::Opt_I2cSpeed_Click(int index) {
    settings_.MsspI2cSpeed = static_cast<std::int16_t>(index);
    if (loading()) return;
    const bool typed = index == kI2cTypedSpeed;
    Txt_I2cKHz.setReadOnly(!typed);
    if (!typed) {
        const bool fast = index == 1;
        Txt_I2cKHz.setText(std::to_string(fast ? kI2cFastKHz : kI2cStandardKHz));
        // The fast bus wants slew-rate control, the standard one not.
        Chk_Slew.setChecked(fast);
    }
    CalcSspadd(false);
}

void MsspForm::Txt_I2cKHz_Change() {
    // Loading shows the stored rate; storing it back as text would change a
    // setting the user never touched.
    if (!loading()) settings_.MsspI2cKHz = Txt_I2cKHz.text();
}

void MsspForm::Txt_I2cKHz_GotFocus() {
    Txt_I2cKHz.selectAll();
}

void MsspForm::Txt_I2cKHz_KeyPress(std::int16_t& keyAscii) {
    DecimalKeyFilter(keyAscii);
}

void MsspForm::Chk_Slew_Click() {
    settings_.MsspSlewControl = Flag(Chk_Slew);
}

void MsspForm::Command2_Click() {
    CalcSspadd(true);
}

void MsspForm::Chk_SspIE_Click() {
    settings_.MsspInt = InterruptSetting(Chk_SspIE);
}

void MsspForm::Chk_BclIE_Click() {
    settings_.MsspBclInt = InterruptSetting(Chk_BclIE);
}

void MsspForm::Command1_Click() {
    unload();
}

void MsspForm::ApplyMsspEnabling() {
    const bool on = MsspUsed(settings_);
    const std::int16_t mode = MsspModeOf(settings_);
    const bool spi = on && mode != kMsspI2cMaster;
    const bool master = on && mode == kMsspSpiMaster;
    const bool i2c = on && mode == kMsspI2cMaster;

    Fra_Mode.setEnabled(on);
    Opt_Mode.setAllEnabled(on);
    Fra_SpiClock.setEnabled(master);
    Opt_SpiClock.setAllEnabled(master);
    Chk_Ss.setEnabled(on && mode == kMsspSpiSlave);
    for (Frame* frame : {&Fra_Ckp, &Fra_Cke}) frame->setEnabled(spi);
    for (OptionGroup* group : {&Opt_Ckp, &Opt_Cke}) group->setAllEnabled(spi);
    // A slave always samples in the middle of the bit.
    Chk_Smp.setEnabled(master);
    for (Control* control :
         std::initializer_list<Control*>{&Fra_I2c, &Label1, &Txt_I2cKHz, &Chk_Slew, &Label2, &Txt_Sspadd,
                                         &Label3, &Txt_Actual, &Label4, &Txt_Error, &Command2})
        control->setEnabled(i2c);
    Opt_I2cSpeed.setAllEnabled(i2c);
    Txt_I2cKHz.setReadOnly(settings_.MsspI2cSpeed != kI2cTypedSpeed);

    // Interrupts of a module that is off, or a bus collision outside I2C,
    // could never happen: their boxes go off with their settings.
    Chk_SspIE.setEnabled(on);
    if (!on) Chk_SspIE.setChecked(false);
    Chk_BclIE.setEnabled(i2c);
    if (!i2c) Chk_BclIE.setChecked(false);

    Drivers.apply(on && mode != kMsspSpiSlave);
}

void MsspForm::CalcSspadd(bool tell) {
    if (MsspModeOf(settings_) != kMsspI2cMaster) return;
    const CalcOutcome outcome = SspaddFor(settings_, Txt_I2cKHz.text(), context_.locale);
    StoreSspaddOutcome(settings_, outcome);
    ShowOutcome(outcome);
    if (tell && outcome.message)
        context_.platform.messageBox(outcome.message->text, outcome.message->title, MessageIcon::Error,
                                     MessageButtons::Ok);
}

void MsspForm::ShowOutcome(const CalcOutcome& outcome) {
    if (outcome.status != CalcStatus::Ok) {
        for (TextBox* box : {&Txt_Sspadd, &Txt_Actual, &Txt_Error}) box->setText({});
        return;
    }
    const double actual = I2cRateKHz(settings_.CrystalMHz, outcome.value);
    Txt_Sspadd.setText(RegisterByteText(outcome.value));
    Txt_Actual.setText(FixedDecimalText(actual, 3, context_.locale));
    Txt_Error.setText(FixedDecimalText(I2cErrorPercent(actual, *outcome.input), 3, context_.locale));
}

}  // namespace korvane
