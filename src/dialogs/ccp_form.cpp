#include "dialogs/ccp_form.h"

#include <algorithm>
#include <initializer_list>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calc/settings_calc.h"
#include "chip/claims.h"
#include "controls/key_filters.h"
#include "dialogs/pin_guard.h"
#include "dialogs/stored_options.h"
#include "format/number_text.h"
#include "modules/ccp/ccp_module.h"
#include "settings/chip_facts.h"

namespace korvane {

namespace {

// A control's name or caption for one module: the pattern with the module's
// number in place of '#'.
std::string ForModule(std::string_view pattern, int number) {
    std::string text(pattern);
    text.replace(text.find('#'), 1, std::to_string(number));
    return text;
}

// What does not follow the module's number: the bit labels' names, and the
// access keys of the time boxes, which differ in the two module frames.
struct ModuleExtras {
    const char* yLabelName;
    const char* xLabelName;
    const char* compareCaption;
    const char* dutyCaption;
};
constexpr ModuleExtras kModuleExtras[] = {
    {"Label1", "Label2", "比较时间(uS)(&T):", "占空比(uS)(&D):"},
    {"Label4", "Label3", "比较时间(uS)(&M):", "占空比(uS)(&U):"},
};

constexpr const char* kCompareValueCaption = "比较值(Hex):";
constexpr const char* kDutyPercentCaption = "占周期";
constexpr const char* kPeriodCaption = "PWM周期:";
constexpr const char* kResolutionCaption = "分辨率:";

constexpr const char* kModeCaptions[] = {"捕捉模式", "比较模式", "PWM模式"};
constexpr int kModeCount = 3;
constexpr const char* kPwmFrame = "PWM低两位数据";

// The sub-mode frame of capture and of compare mode; the options keep their
// indices 4..7 in both, only the captions change.
struct SubModeTexts {
    const char* frame;
    const char* options[4];
};
constexpr SubModeTexts kCaptureTexts = {
    "捕捉模式设定", {"每个下降沿触发", "每个上升沿触发", "每4个上升沿触发", "每16个上升沿触发"}};
constexpr SubModeTexts kCompareTexts = {"比较模式设定",
                                        {"匹配时输出1", "匹配时输出0", "匹配时不受影响", "复位TMR1"}};

constexpr const char* kTimer1Line2 = "现在需要设置Timer1吗?.按Yes对Timer1进行设置,按NO退出.";
constexpr const char* kTimer2Line2 = "现在需要设置Timer2吗?.按Yes对Timer2进行设置,按NO退出.";

std::vector<std::string> SubModeCaptions(const SubModeTexts& texts) {
    return {std::begin(texts.options), std::end(texts.options)};
}

}  // namespace

std::vector<std::string> CcpForm::SubModeCaptionsOfEveryMode() {
    std::vector<std::string> captions;
    for (const SubModeTexts& texts : {kCaptureTexts, kCompareTexts}) {
        captions.emplace_back(texts.frame);
        captions.insert(captions.end(), std::begin(texts.options), std::end(texts.options));
    }
    return captions;
}

static_assert(std::size(kCcpModules) == CcpForm::kModuleCount);

CcpForm::Module::Module(int index)
    : fields(kCcpModules[index]),
      moduleFrame(ForModule("Fra_Ccp#Set", fields.number), ForModule("CCP#模块设置", fields.number)),
      useBox(ForModule("Chk_Ccp#En", fields.number), ForModule("使用CCP#模块", fields.number)),
      modeFrame(ForModule("Fra_Ccp#Mode", fields.number), ForModule("CCP#模式选择", fields.number)),
      modeOptions(ForModule("Opt_Ccp#Mode", fields.number),
                  {std::begin(kModeCaptions), std::end(kModeCaptions)}),
      subModeFrame(ForModule("Fra_Ccp#MSet", fields.number), kCaptureTexts.frame),
      interruptBox(ForModule("Chk_CCP#IntEN", fields.number), ForModule("使用CCP#中断", fields.number)),
      subModeOptions(ForModule("Opt_Ccp#M", fields.number), SubModeCaptions(kCaptureTexts), kFirstSubMode),
      pwmFrame(ForModule("Fra_Ccp#PWMSet", fields.number), kPwmFrame),
      yLabel(kModuleExtras[index].yLabelName, ForModule("CCP#Y:", fields.number)),
      yBox(ForModule("Txt_Ccp#Y", fields.number), "0"),
      xLabel(kModuleExtras[index].xLabelName, ForModule("CCP#X:", fields.number)),
      xBox(ForModule("Txt_Ccp#X", fields.number), "0"),
      compareLabel(ForModule("Lbl_Ccp#CmpTime", fields.number), kModuleExtras[index].compareCaption),
      compareBox(ForModule("Txt_Ccp#CmpTime", fields.number)),
      compareValue(ForModule("Lbl_Ccp#CmpValue", fields.number), kCompareValueCaption),
      dutyLabel(ForModule("Lbl_Ccp#Duty", fields.number), kModuleExtras[index].dutyCaption),
      dutyBox(ForModule("Txt_Ccp#Duty", fields.number)),
      dutyPercent(ForModule("Lbl_Ccp#DutyPct", fields.number), kDutyPercentCaption),
      pwmPeriod(ForModule("Lbl_Ccp#Period", fields.number), kPeriodCaption),
      pwmResolution(ForModule("Lbl_Ccp#Resolution", fields.number), kResolutionCaption) {}

std::vector<Control*> CcpForm::Module::compareControls() {
    return {&compareLabel, &compareBox, &compareValue};
}

std::vector<Control*> CcpForm::Module::pwmControls() {
    return {&pwmFrame,  &yLabel,  &yBox,        &xLabel,    &xBox,
            &dutyLabel, &dutyBox, &dutyPercent, &pwmPeriod, &pwmResolution};
}

CcpForm::CcpForm(AppContext& context)
    : Form(kName, "捕捉/比较/脉宽调制(CCP)模块设置"),
      Command1("Command1", "确 定(&E)"),
      Drivers(context.settings, &ProjectSettings::CcpDrivers, kCcp1Module, "驱动函数", "生成驱动函数(&G)"),
      modules_{Module(0), Module(1)},
      context_(context),
      settings_(context.settings) {
    for (Module& m : modules_) {
        auto& s = settings_;
        m.useBox.onClick = [this, &m] { UseBoxChanged(m); };
        m.interruptBox.onClick = [&s, &m] { s.*m.fields.interrupt = InterruptSetting(m.interruptBox); };
        m.modeOptions.onClick = [this, &m](int index) { ModeChosen(m, index); };
        m.subModeOptions.onClick = [this, &m](int index) { SubModeChosen(m, index); };
        m.yBox.onChange = [this, &m] { BitEdited(m.yBox, settings_.*m.fields.y); };
        m.xBox.onChange = [this, &m] { BitEdited(m.xBox, settings_.*m.fields.x); };
        m.compareBox.onChange = [this, &m] { CompareEdited(m); };
        m.dutyBox.onChange = [this, &m] { DutyEdited(m); };
        for (TextBox* box : {&m.yBox, &m.xBox, &m.compareBox, &m.dutyBox}) {
            // A number box offers its whole text for overtyping.
            box->onGotFocus = [box] { box->selectAll(); };
            box->onKeyPress = DecimalKeyFilter;
        }
        m.yBox.onKeyPress = m.xBox.onKeyPress = BitKeyFilter;
    }
    Command1.onClick = [this] { unload(); };
}

void CcpForm::Form_Load() {
    Drivers.load();
    for (Module& m : modules_) LoadModule(m);
    ShowDrivers();
}

void CcpForm::ShowDrivers() {
    Drivers.apply(std::ranges::any_of(
        modules_, [this](const Module& m) { return (settings_.*m.fields.enabled).isTrue(); }));
}

void CcpForm::LoadModule(Module& m) {
    auto& s = settings_;
    const CcpModuleFields& f = m.fields;
    m.interruptBox.setChecked(s.*f.interrupt == kInterruptOn);
    SelectStoredOption(m.modeOptions, s.*f.mode);
    m.subModeOptions.select(s.*f.subCode);
    // The bit boxes show the stored bits in every mode, so that switching to
    // PWM later in this opening shows what the generator will write.
    m.yBox.setText((s.*f.y).toText());
    m.xBox.setText((s.*f.x).toText());
    m.compareBox.setText((s.*f.compareTimeUs).toText());
    m.dutyBox.setText((s.*f.dutyUs).toText());
    ShowPwmTiming(m);
    ShowModeFrames(m, StoredMode(m));

    if (Used(m)) {
        StoreModeCode(m);
        m.useBox.setChecked(true);
        SetModuleEnabled(m, true);
    } else {
        s.*f.modeCode = 0;
        m.useBox.setChecked(false);
        SetModuleEnabled(m, false);
        m.interruptBox.setChecked(false);
    }
    ShowDrivers();
}

void CcpForm::Form_Unload() {
    // A time that gives no value is not stored: say so, the old value stays.
    // Stored before the timer questions: the timer dialogs work the values
    // out again from the stored times.
    for (Module& m : modules_) {
        ReportBadTime(m);
        StoreTypedTimes(m);
    }
    // Capture and compare run on Timer1, PWM on Timer2; a module that is not
    // used needs neither.
    using namespace ccp_messages;
    AskForTimer(&CcpForm::UsesTimer1, kTimer1Line1, kTimer1Line2, kTimer1Title, FormId::Timer1);
    AskForTimer(&CcpForm::NeedsTimer2, kTimer2Line1, kTimer2Line2, kTimer2Title, FormId::Timer2);
}

void CcpForm::AskForTimer(bool (CcpForm::*needs)(const Module&) const, std::string_view line1,
                          const char* line2, std::string_view title, FormId form) {
    if (std::ranges::none_of(modules_, [&](const Module& m) { return (this->*needs)(m); })) return;
    const auto answer = context_.platform.messageBox(std::string(line1) + "\r" + line2, std::string(title),
                                                     MessageIcon::Question, MessageButtons::YesNo);
    if (answer == MessageAnswer::Yes) context_.platform.showForm(form, true);
}

void CcpForm::ReportBadTime(const Module& m) {
    if (!Used(m)) return;
    const int mode = StoredMode(m);
    std::optional<TimerCalcMessage> message;
    if (mode == kCompare) message = CompareFor(settings_, m.compareBox.text(), context_.locale).message;
    if (mode == kPwm) message = DutyFor(settings_, m.dutyBox.text(), context_.locale).message;
    if (message)
        context_.platform.messageBox(message->text, message->title, MessageIcon::Error, MessageButtons::Ok);
}

void CcpForm::StoreTypedTimes(Module& m) {
    if (compareTyped_[Index(m)]) {
        const CalcOutcome outcome = CompareFor(settings_, m.compareBox.text(), context_.locale);
        if (outcome.status == CalcStatus::Ok) StoreCompareOutcome(settings_, m.fields, outcome);
    }
    if (dutyTyped_[Index(m)]) {
        const CalcOutcome outcome = DutyFor(settings_, m.dutyBox.text(), context_.locale);
        if (outcome.status != CalcStatus::Ok) return;
        StoreDutyOutcome(settings_, m.fields, outcome);
        // The bit boxes show the duty's low bits, or what was typed into
        // them after it, which wins.
        BitEdited(m.yBox, settings_.*m.fields.y);
        BitEdited(m.xBox, settings_.*m.fields.x);
    }
}

void CcpForm::UseBoxChanged(Module& m) {
    SettingValue& enabled = settings_.*m.fields.enabled;
    if (m.useBox.checked()) {
        enabled = true;
        // CCP2's RC1 may be Timer1's oscillator pin. Not while opening:
        // what was stored is shown as it is.
        const PinUse use = m.fields.number == 1 ? PinUse::Ccp1 : PinUse::Ccp2;
        if (!loading() && !PinsAreFree(context_, use)) {
            m.useBox.setChecked(false);
            return;
        }
        ApplyPinClaims(settings_);
        StoreModeCode(m);
        SetModuleEnabled(m, true);
    } else {
        // Mode, sub-mode and PWM bits stay, so ticking the box again restores
        // them; the pin and port C stay as they are too.
        enabled = false;
        settings_.*m.fields.modeCode = 0;
        SetModuleEnabled(m, false);
        m.interruptBox.setChecked(false);
    }
    ShowDrivers();
}

void CcpForm::ModeChosen(Module& m, int mode) {
    settings_.*m.fields.mode = mode;
    if (mode != kPwm) m.subModeOptions.select(settings_.*m.fields.subCode);
    ShowModeFrames(m, mode);
    // Opening the dialog selects the stored mode of an unused module too;
    // only a used module may claim its pin and port C.
    if (Used(m)) ApplyPinClaims(settings_);
    StoreModeCode(m);
}

void CcpForm::SubModeChosen(Module& m, int subMode) {
    settings_.*m.fields.subCode = static_cast<std::int16_t>(subMode);
    StoreModeCode(m);
}

void CcpForm::BitEdited(TextBox& box, SettingValue& bit) {
    // Pasted or emptied text gets past the key filter; whatever arrives, the
    // box ends up "0" or "1" and the setting holds the same. Each correction
    // below runs this handler again, which stores the corrected bit.
    const std::optional<double> number = ParseDecimal(box.text());
    if (!number) {
        box.setText("0");
        return;
    }
    if (*number != 0 && *number != 1) {
        box.setText("1");
        return;
    }
    if (showingDutyBits_) return;
    bit = static_cast<std::int16_t>(*number);
    box.setText(bit.toText());  // "01" becomes "1", "00" becomes "0"
}

void CcpForm::CompareEdited(Module& m) {
    const CalcOutcome outcome = CompareFor(settings_, m.compareBox.text(), context_.locale);
    const bool ok = outcome.status == CalcStatus::Ok;
    m.compareValue.setCaption(kCompareValueCaption + (ok ? RegisterByteText(outcome.value) : std::string()));
    // Opening shows the stored time; only the user's typing is stored, on closing.
    if (!loading()) compareTyped_[Index(m)] = true;
}

void CcpForm::DutyEdited(Module& m) {
    const CalcOutcome outcome = DutyFor(settings_, m.dutyBox.text(), context_.locale);
    const auto timing = PwmTimingFor(settings_);
    const bool ok = outcome.status == CalcStatus::Ok && timing;
    m.dutyPercent.setCaption(
        kDutyPercentCaption +
        (ok ? FixedDecimalText(DutyPercent(outcome.value, *timing), 1, context_.locale) + "%"
            : std::string()));
    // Opening keeps bits typed by hand; the user's typing sets all ten, on closing.
    if (loading()) return;
    dutyTyped_[Index(m)] = true;
    if (ok) ShowBits(m, outcome.value);
}

void CcpForm::ShowBits(Module& m, std::int32_t duty) {
    const DutyBits bits = SplitDuty(duty);
    showingDutyBits_ = true;
    m.yBox.setText(std::to_string(bits.y));
    m.xBox.setText(std::to_string(bits.x));
    showingDutyBits_ = false;
}

void CcpForm::ShowPwmTiming(Module& m) {
    const auto timing = PwmTimingFor(settings_);
    const NumberLocale& locale = context_.locale;
    m.pwmPeriod.setCaption(kPeriodCaption +
                           (timing ? FixedDecimalText(timing->periodUs, 3, locale) + "uS(" +
                                         FixedDecimalText(timing->frequencyKHz, 3, locale) + "kHz)"
                                   : std::string()));
    m.pwmResolution.setCaption(
        kResolutionCaption +
        (timing ? FixedDecimalText(timing->resolutionBits, 1, locale) + "位" : std::string()));
}

std::size_t CcpForm::Index(const Module& m) {
    return static_cast<std::size_t>(m.fields.number - 1);
}

int CcpForm::StoredMode(const Module& m) const {
    // Anything but capture or PWM is treated as compare, as the generator does.
    return OptionIndexOrNothing(settings_.*m.fields.mode, kModeCount).value_or(kCompare);
}

bool CcpForm::Used(const Module& m) const {
    return (settings_.*m.fields.enabled).isTrue();
}

bool CcpForm::UsesTimer1(const Module& m) const {
    return Used(m) && StoredMode(m) != kPwm;
}

bool CcpForm::NeedsTimer2(const Module& m) const {
    return Used(m) && StoredMode(m) == kPwm && !settings_.T2En.isTrue();
}

void CcpForm::StoreModeCode(const Module& m) {
    // An unused module writes no mode bits, whatever its controls show.
    settings_.*m.fields.modeCode = Used(m) ? CcpModeCode(StoredMode(m), settings_.*m.fields.subCode) : 0;
}

void CcpForm::ShowModeFrames(Module& m, int mode) {
    const bool pwm = mode == kPwm;
    for (Control* control : m.pwmControls()) control->setVisible(pwm);
    for (Control* control : m.compareControls()) control->setVisible(mode == kCompare);
    // The interrupt box sits in the sub-mode frame and goes with it.
    m.subModeFrame.setVisible(!pwm);
    m.interruptBox.setVisible(!pwm);
    m.subModeOptions.setAllVisible(!pwm);
    if (pwm) return;
    const SubModeTexts& texts = mode == kCapture ? kCaptureTexts : kCompareTexts;
    m.subModeFrame.setCaption(texts.frame);
    for (int i = 0; i < m.subModeOptions.count(); ++i)
        m.subModeOptions.setCaption(kFirstSubMode + i, texts.options[i]);
}

void CcpForm::SetModuleEnabled(Module& m, bool enabled) {
    for (Control* control : {static_cast<Control*>(&m.modeFrame), static_cast<Control*>(&m.subModeFrame),
                             static_cast<Control*>(&m.interruptBox)})
        control->setEnabled(enabled);
    for (const auto& group : {m.compareControls(), m.pwmControls()})
        for (Control* control : group) control->setEnabled(enabled);
    m.modeOptions.setAllEnabled(enabled);
    m.subModeOptions.setAllEnabled(enabled);
}

}  // namespace korvane
