#include "dialogs/ccp_form.h"

#include <algorithm>
#include <initializer_list>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "controls/key_filters.h"
#include "dialogs/pin_guard.h"
#include "dialogs/stored_options.h"
#include "format/number_text.h"
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

// The bit labels are the only names that do not follow the module's number.
constexpr const char* kBitLabelNames[][2] = {{"Label1", "Label2"}, {"Label4", "Label3"}};

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

constexpr int kPwmModeCode = 12;

constexpr const char* kTimer1Title = "确认Timer1工作方式";
constexpr const char* kTimer1Line1 = "在捕捉/比较模式下,定时器1必须工作在定时或同步计数方式下.";
constexpr const char* kTimer1Line2 = "现在需要设置Timer1吗?.按Yes对Timer1进行设置,按NO退出.";

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

int CcpModeCode(int mode, int subMode) {
    if (mode == CcpForm::kPwm) return kPwmModeCode;
    if (mode == CcpForm::kCapture) return subMode;
    return subMode + 4;
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
      yLabel(kBitLabelNames[index][0], ForModule("CCP#Y:", fields.number)),
      yBox(ForModule("Txt_Ccp#Y", fields.number), "0"),
      xLabel(kBitLabelNames[index][1], ForModule("CCP#X:", fields.number)),
      xBox(ForModule("Txt_Ccp#X", fields.number), "0") {}

CcpForm::CcpForm(AppContext& context)
    : Form(kName, "捕捉/比较/脉宽调制(CCP)模块设置"),
      Command1("Command1", "确 定(&E)"),
      modules_{Module(0), Module(1)},
      context_(context),
      settings_(context.settings) {
    for (Module& m : modules_) {
        auto& s = settings_;
        m.useBox.onClick = [this, &m] { UseBoxChanged(m); };
        m.interruptBox.onClick = [&s, &m] {
            s.*m.fields.interrupt = m.interruptBox.checked() ? kInterruptOn : std::int16_t{0};
        };
        m.modeOptions.onClick = [this, &m](int index) { ModeChosen(m, index); };
        m.subModeOptions.onClick = [this, &m](int index) { SubModeChosen(m, index); };
        m.yBox.onChange = [this, &m] { BitEdited(m.yBox, settings_.*m.fields.y); };
        m.xBox.onChange = [this, &m] { BitEdited(m.xBox, settings_.*m.fields.x); };
        for (TextBox* box : {&m.yBox, &m.xBox}) {
            // A bit box offers its whole text for overtyping.
            box->onGotFocus = [box] { box->selectAll(); };
            box->onKeyPress = BitKeyFilter;
        }
    }
    Command1.onClick = [this] { unload(); };
}

void CcpForm::Form_Load() {
    for (Module& m : modules_) LoadModule(m);
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
}

void CcpForm::Form_Unload() {
    // Capture and compare run on Timer1; a module that is not used needs nothing.
    if (std::ranges::none_of(modules_, [this](const Module& m) { return UsesTimer1(m); })) return;
    const auto answer =
        context_.platform.messageBox(std::string(kTimer1Line1) + "\r" + kTimer1Line2, kTimer1Title,
                                     MessageIcon::Question, MessageButtons::YesNo);
    if (answer == MessageAnswer::Yes) context_.platform.showForm(form_names::kTimer1, true);
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
    bit = static_cast<std::int16_t>(*number);
    box.setText(bit.toText());  // "01" becomes "1", "00" becomes "0"
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

void CcpForm::StoreModeCode(const Module& m) {
    // An unused module writes no mode bits, whatever its controls show.
    settings_.*m.fields.modeCode = Used(m) ? CcpModeCode(StoredMode(m), settings_.*m.fields.subCode) : 0;
}

void CcpForm::ShowModeFrames(Module& m, int mode) {
    const bool pwm = mode == kPwm;
    for (Control* control :
         std::initializer_list<Control*>{&m.pwmFrame, &m.yLabel, &m.yBox, &m.xLabel, &m.xBox})
        control->setVisible(pwm);
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
    for (Control* control :
         std::initializer_list<Control*>{&m.modeFrame, &m.subModeFrame, &m.interruptBox, &m.pwmFrame, &m.yBox,
                                         &m.xBox, &m.yLabel, &m.xLabel})
        control->setEnabled(enabled);
    m.modeOptions.setAllEnabled(enabled);
    m.subModeOptions.setAllEnabled(enabled);
}

}  // namespace korvane
