#include "dialogs/sci_form.h"

#include <optional>

#include "calc/settings_calc.h"
#include "chip/claims.h"
#include "controls/key_filters.h"
#include "dialogs/stored_options.h"
#include "format/number_text.h"
#include "modules/sci/sci_module.h"
#include "settings/pin_claims.h"

namespace korvane {

namespace {

int TickState(const CheckBox& box) {
    return box.value();
}

}  // namespace

SciForm::SciForm(AppContext& context)
    : Form(kName, kCaption),
      Drivers(context.settings, &ProjectSettings::SciDrivers, kSciModule),
      context_(context),
      settings_(context.settings) {
    Txt_Osc.setReadOnly(true);
    Txt_Brg.setReadOnly(true);

    Chk_Spen.onClick = [this] { Chk_Spen_Click(); };
    Opt_Sync.onClick = [this](int index) { Opt_Sync_Click(index); };
    Opt_Baud.onClick = [this](int index) { Opt_Baud_Click(index); };
    Chk_TxEn.onClick = [this] { Chk_TxEn_Click(); };
    Chk_TxIE.onClick = [this] { Chk_TxIE_Click(); };
    Opt_Tx89.onClick = [this](int index) { Opt_Tx89_Click(index); };
    Opt_TxSyncOsc.onClick = [this](int index) { Opt_TxSyncOsc_Click(index); };
    Chk_RxEn.onClick = [this] { Chk_RxEn_Click(); };
    Chk_Sren.onClick = [this] { Chk_Sren_Click(); };
    Chk_RcIE.onClick = [this] { Chk_RcIE_Click(); };
    Opt_Rx89.onClick = [this](int index) { Opt_Rx89_Click(index); };
    Opt_ContinuumEn.onClick = [this](int index) { Opt_ContinuumEn_Click(index); };
    Txt_Err.onChange = [this] { Txt_Err_Change(); };
    Txt_Err.onGotFocus = [this] { Txt_Err_GotFocus(); };
    Txt_Err.onKeyPress = [this](std::int16_t& key) { Txt_Err_KeyPress(key); };
    Command2.onClick = [this] { Command2_Click(); };
    Combo_UseBaud.onClick = [this] { Combo_UseBaud_Click(); };
    Command1.onClick = [this] { Command1_Click(); };
    Drivers.changed = [this] { ApplyDriverEnabling(); };
    Combo_RxBuffer.onClick = [this] { Combo_RxBuffer_Click(); };
    Combo_TxBuffer.onClick = [this] { Combo_TxBuffer_Click(); };
    for (ComboBox* combo : {&Combo_RxBuffer, &Combo_TxBuffer})
        for (const std::int16_t size : kRingSizes) combo->addItem(std::to_string(size));
}

void SciForm::Form_Load() {
    // Loading recomputes the list, which chooses the slowest rate on the way.
    const std::string chosenRate = settings_.SciBaud;
    // While the boxes are restored their handlers only store; the rules and
    // the calculator then run once on the finished state.
    auto& s = settings_;
    Chk_TxIE.setChecked(s.SciTxInt.equals(1));
    Chk_RcIE.setChecked(s.SciRxInt == 1);
    Chk_Spen.setChecked(s.SciEn.equals(1));
    SelectStoredOption(Opt_Sync, s.SciSyncMode);
    if (Opt_Baud.contains(s.SciHighSpeed)) Opt_Baud.select(s.SciHighSpeed);
    Chk_TxEn.setChecked(s.SciTxEn.equals(1));
    SelectStoredOption(Opt_Tx89, s.SciTx9);
    SelectStoredOption(Opt_TxSyncOsc, s.SciClockSource);
    Chk_RxEn.setChecked(s.SciRxEn.equals(1));
    Chk_Sren.setChecked(s.SciSingleRx.equals(1));
    SelectStoredOption(Opt_Rx89, s.SciRx9);
    SelectStoredOption(Opt_ContinuumEn, s.SciContinuous);
    Txt_Err.setText(s.SciErrLimit.toText());
    Txt_Osc.setText(SingleText(s.CrystalMHz));
    Drivers.load();
    Combo_RxBuffer.setText(std::to_string(s.SciRxBuffer));
    Combo_TxBuffer.setText(std::to_string(s.SciTxBuffer));

    // Set whatever SciEn is, so that the calculate button always has a divisor.
    SetBaudDivisor();
    // With the port in use this recomputes the list for the current crystal.
    ApplySciEnabling();
    // The rate chosen before stays chosen, with its SPBRG as recomputed, while
    // it is still usable; otherwise the slowest usable rate stands.
    if (const BaudEntry* entry = FindBaudEntry(entries_, chosenRate)) ChooseEntry(*entry);
}

void SciForm::Form_Unload() {
    auto& s = settings_;
    if (!s.SciEn.equals(1) || Txt_Brg.text() != kNoRate) return;
    context_.platform.messageBox(NoUsableRateText(s.CrystalMHz), std::string(kNoUsableRateTitle),
                                 MessageIcon::Information, MessageButtons::Ok);
    // Only the port goes off; the other choices wait for the next opening.
    s.SciEn = 0;
}

void SciForm::Chk_Spen_Click() {
    settings_.SciEn = TickState(Chk_Spen);
    // The USART needs RC6 and RC7 as inputs; they stay so when it goes off.
    ApplyPinClaims(settings_);
    if (!loading()) ApplySciEnabling();
}

void SciForm::Opt_Sync_Click(int index) {
    settings_.SciSyncMode = index;
    if (loading()) return;
    ApplyModeRows(settings_.SciEn.equals(1), Synchronous());
    SetBaudDivisor();
    UpdateRcIEEnabling();
    CalcBaudList();
}

void SciForm::Opt_Baud_Click(int index) {
    settings_.SciHighSpeed = static_cast<std::int16_t>(index);
    if (loading()) return;
    SetBaudDivisor();
    CalcBaudList();
}

void SciForm::Chk_TxEn_Click() {
    settings_.SciTxEn = TickState(Chk_TxEn);
    if (loading()) return;
    const bool on = settings_.SciTxEn.equals(1);
    Chk_TxIE.setEnabled(on);
    if (!on) Chk_TxIE.setChecked(false);
}

void SciForm::Chk_TxIE_Click() {
    settings_.SciTxInt = TickState(Chk_TxIE);
}

void SciForm::Opt_Tx89_Click(int index) {
    settings_.SciTx9 = index;
}

void SciForm::Opt_TxSyncOsc_Click(int index) {
    settings_.SciClockSource = index;
}

void SciForm::Chk_RxEn_Click() {
    settings_.SciRxEn = TickState(Chk_RxEn);
    if (!loading()) UpdateRcIEEnabling();
}

void SciForm::Chk_Sren_Click() {
    settings_.SciSingleRx = TickState(Chk_Sren);
    if (!loading()) UpdateRcIEEnabling();
}

void SciForm::Chk_RcIE_Click() {
    settings_.SciRxInt = static_cast<std::int16_t>(TickState(Chk_RcIE));
}

void SciForm::Opt_Rx89_Click(int index) {
    settings_.SciRx9 = index;
}

void SciForm::Opt_ContinuumEn_Click(int index) {
    settings_.SciContinuous = index;
}

void SciForm::Txt_Err_Change() {
    // An emptied box becomes 0 at once, so the calculator never reads nothing.
    if (Txt_Err.text().empty()) {
        Txt_Err.setText("0");
        settings_.SciErrLimit = 0;
        return;
    }
    // Loading shows the stored limit; storing it back as text would change a
    // setting the user never touched.
    if (!loading()) settings_.SciErrLimit = Txt_Err.text();
}

void SciForm::Txt_Err_GotFocus() {
    Txt_Err.selectAll();
}

void SciForm::Txt_Err_KeyPress(std::int16_t& keyAscii) {
    DecimalKeyFilter(keyAscii);
}

void SciForm::Command2_Click() {
    CalcBaudList();
}

void SciForm::Combo_UseBaud_Click() {
    const int index = Combo_UseBaud.listIndex();
    if (index < 0 || index >= static_cast<int>(entries_.size())) return;
    Txt_Brg.setText(entries_[static_cast<std::size_t>(index)].spbrgText);
    settings_.SciSpbrgText = Txt_Brg.text();
    settings_.SciBaud = Combo_UseBaud.text();
}

void SciForm::Command1_Click() {
    unload();
}

void SciForm::SetAllEnabled(std::initializer_list<Control*> controls, bool enabled) {
    for (Control* control : controls) control->setEnabled(enabled);
}

bool SciForm::Synchronous() const {
    return settings_.SciSyncMode.equals(1);
}

void SciForm::SetBaudDivisor() {
    BaudDivisor = SciBaudDivisor(settings_);
}

void SciForm::ApplyModeRows(bool on, bool synchronous) {
    // A box disabled by a mode keeps its tick and its setting.
    Fra_Baud.setEnabled(on && !synchronous);
    Opt_Baud.setAllEnabled(on && !synchronous);
    Fra_Osc.setEnabled(on && synchronous);
    Opt_TxSyncOsc.setAllEnabled(on && synchronous);
    Chk_RxEn.setEnabled(on && !synchronous);
    Chk_Sren.setEnabled(on && synchronous);
    Fra_Continuum.setEnabled(on && synchronous);
    Opt_ContinuumEn.setAllEnabled(on && synchronous);
}

void SciForm::Combo_RxBuffer_Click() {
    settings_.SciRxBuffer = kRingSizes[Combo_RxBuffer.listIndex()];
    ApplyDriverEnabling();
}

void SciForm::Combo_TxBuffer_Click() {
    settings_.SciTxBuffer = kRingSizes[Combo_TxBuffer.listIndex()];
    ApplyDriverEnabling();
}

void SciForm::ApplyDriverEnabling() {
    Drivers.apply(settings_.SciEn.equals(1), settings_.SciRxBuffer + settings_.SciTxBuffer);
    SetAllEnabled({&Lbl_RxBuffer, &Combo_RxBuffer, &Lbl_TxBuffer, &Combo_TxBuffer}, Drivers.active());
}

void SciForm::ApplySciEnabling() {
    const bool on = settings_.SciEn.equals(1);
    ApplyDriverEnabling();
    SetAllEnabled(
        {&Fra_Mode, &Fra_Tx, &Chk_TxEn, &Fra_TxLen, &Fra_Rx, &Fra_RxLen, &Fra_BaudCal, &Label1, &Label2,
         &Label3, &Label4, &Label5, &Label6, &List1, &List2, &List3, &Txt_Err, &Txt_Osc, &Combo_UseBaud},
        on);
    for (OptionGroup* group : {&Opt_Sync, &Opt_Tx89, &Opt_Rx89}) group->setAllEnabled(on);
    ApplyModeRows(on, Synchronous());

    if (!on) {
        Chk_TxIE.setEnabled(false);
        Chk_TxIE.setChecked(false);
        Chk_RcIE.setEnabled(false);
        Chk_RcIE.setChecked(false);
        List1.clear();
        List2.clear();
        List3.clear();
        Combo_UseBaud.clear();
        Txt_Brg.setText(kNoRate);
        return;
    }

    const bool transmit = settings_.SciTxEn.equals(1);
    Chk_TxIE.setEnabled(transmit);
    if (!transmit) Chk_TxIE.setChecked(false);
    SetBaudDivisor();
    UpdateRcIEEnabling();
    CalcBaudList();
}

void SciForm::UpdateRcIEEnabling() {
    const bool open = (Chk_Sren.enabled() && settings_.SciSingleRx.equals(1)) ||
                      (Chk_RxEn.enabled() && settings_.SciRxEn.equals(1));
    Chk_RcIE.setEnabled(open);
    if (!open) Chk_RcIE.setChecked(false);
}

void SciForm::CalcBaudList() {
    List1.clear();
    List2.clear();
    List3.clear();
    Combo_UseBaud.clear();
    Txt_Brg.setText(kNoRate);

    // A crystal or error limit that gives no number leaves the lists empty,
    // just as a crystal with no usable rate does; closing then says so.
    entries_ =
        korvane::CalcBaudList({settings_.CrystalMHz, BaudDivisor, Txt_Err.text(), context_.locale}).entries;
    for (const auto& entry : entries_) {
        List1.addItem(entry.rateText);
        List2.addItem(entry.spbrgText);
        List3.addItem(entry.actualText);
        Combo_UseBaud.addItem(entry.rateText);
    }
    // Each accepted rate overwrote the choice, so the slowest one stands.
    if (!entries_.empty()) ChooseEntry(entries_.back());
}

void SciForm::ChooseEntry(const BaudEntry& entry) {
    Combo_UseBaud.setText(entry.rateText);
    settings_.SciBaud = Combo_UseBaud.text();
    Txt_Brg.setText(entry.spbrgText);
    settings_.SciSpbrgText = entry.spbrgText;
}

}  // namespace korvane
