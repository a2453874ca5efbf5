#include "dialogs/ccp_form.h"

#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "controls/key_filters.h"
#include "dialogs/stored_options.h"
#include "format/number_text.h"
#include "settings/chip_facts.h"

namespace korvane {

namespace {

// The captions that differ between the two modules.
struct ModuleTexts {
    const char* moduleFrame;
    const char* useBox;
    const char* modeFrame;
    const char* interruptBox;
    const char* yLabel;
    const char* xLabel;
};
constexpr ModuleTexts kModuleTexts[CcpForm::kModuleCount] = {
    {"CCP1模块设置", "使用CCP1模块", "CCP1模式选择", "使用CCP1中断", "CCP1Y:", "CCP1X:"},
    {"CCP2模块设置", "使用CCP2模块", "CCP2模式选择", "使用CCP2中断", "CCP2Y:", "CCP2X:"},
};

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

CcpForm::CcpForm(AppContext& context)
    : Form(kName, "捕捉/比较/脉宽调制(CCP)模块设置"),
      Fra_Ccp1Set("Fra_Ccp1Set", kModuleTexts[0].moduleFrame),
      Chk_Ccp1En("Chk_Ccp1En", kModuleTexts[0].useBox),
      Fra_Ccp1Mode("Fra_Ccp1Mode", kModuleTexts[0].modeFrame),
      Opt_Ccp1Mode("Opt_Ccp1Mode", {std::begin(kModeCaptions), std::end(kModeCaptions)}),
      Fra_Ccp1MSet("Fra_Ccp1MSet", kCaptureTexts.frame),
      Chk_CCP1IntEN("Chk_CCP1IntEN", kModuleTexts[0].interruptBox),
      Opt_Ccp1M("Opt_Ccp1M", SubModeCaptions(kCaptureTexts), kFirstSubMode),
      Fra_Ccp1PWMSet("Fra_Ccp1PWMSet", kPwmFrame),
      Label1("Label1", kModuleTexts[0].yLabel),
      Txt_Ccp1Y("Txt_Ccp1Y", "0"),
      Label2("Label2", kModuleTexts[0].xLabel),
      Txt_Ccp1X("Txt_Ccp1X", "0"),
      Fra_Ccp2Set("Fra_Ccp2Set", kModuleTexts[1].moduleFrame),
      Chk_Ccp2En("Chk_Ccp2En", kModuleTexts[1].useBox),
      Fra_Ccp2Mode("Fra_Ccp2Mode", kModuleTexts[1].modeFrame),
      Opt_Ccp2Mode("Opt_Ccp2Mode", {std::begin(kModeCaptions), std::end(kModeCaptions)}),
      Fra_Ccp2MSet("Fra_Ccp2MSet", kCaptureTexts.frame),
      Chk_CCP2IntEN("Chk_CCP2IntEN", kModuleTexts[1].interruptBox),
      Opt_Ccp2M("Opt_Ccp2M", SubModeCaptions(kCaptureTexts), kFirstSubMode),
      Fra_Ccp2PWMSet("Fra_Ccp2PWMSet", kPwmFrame),
      Label4("Label4", kModuleTexts[1].yLabel),
      Txt_Ccp2Y("Txt_Ccp2Y", "0"),
      Label3("Label3", kModuleTexts[1].xLabel),
      Txt_Ccp2X("Txt_Ccp2X", "0"),
      Command1("Command1", "确 定(&E)"),
      context_(context),
      settings_(context.settings) {
    Chk_Ccp1En.onClick = [this] { Chk_Ccp1En_Click(); };
    Chk_CCP1IntEN.onClick = [this] { Chk_CCP1IntEN_Click(); };
    Opt_Ccp1Mode.onClick = [this](int index) { Opt_Ccp1Mode_Click(index); };
    Opt_Ccp1M.onClick = [this](int index) { Opt_Ccp1M_Click(index); };
    Txt_Ccp1Y.onChange = [this] { Txt_Ccp1Y_Change(); };
    Txt_Ccp1X.onChange = [this] { Txt_Ccp1X_Change(); };
    Txt_Ccp1Y.onGotFocus = [this] { Txt_Ccp1Y_GotFocus(); };
    Txt_Ccp1X.onGotFocus = [this] { Txt_Ccp1X_GotFocus(); };
    Txt_Ccp1Y.onKeyPress = [this](std::int16_t& key) { Txt_Ccp1Y_KeyPress(key); };
    Txt_Ccp1X.onKeyPress = [this](std::int16_t& key) { Txt_Ccp1X_KeyPress(key); };

    Chk_Ccp2En.onClick = [this] { Chk_Ccp2En_Click(); };
    Chk_CCP2IntEN.onClick = [this] { Chk_CCP2IntEN_Click(); };
    Opt_Ccp2Mode.onClick = [this](int index) { Opt_Ccp2Mode_Click(index); };
    Opt_Ccp2M.onClick = [this](int index) { Opt_Ccp2M_Click(index); };
    Txt_Ccp2Y.onChange = [this] { Txt_Ccp2Y_Change(); };
    Txt_Ccp2X.onChange = [this] { Txt_Ccp2X_Change(); };
    Txt_Ccp2Y.onGotFocus = [this] { Txt_Ccp2Y_GotFocus(); };
    Txt_Ccp2X.onGotFocus = [this] { Txt_Ccp2X_GotFocus(); };
    Txt_Ccp2Y.onKeyPress = [this](std::int16_t& key) { Txt_Ccp2Y_KeyPress(key); };
    Txt_Ccp2X.onKeyPress = [this](std::int16_t& key) { Txt_Ccp2X_KeyPress(key); };

    Command1.onClick = [this] { Command1_Click(); };
}

CcpForm::Module CcpForm::module(int index) {
    auto& s = settings_;
    if (index == 0)
        return {.moduleFrame = Fra_Ccp1Set,
                .useBox = Chk_Ccp1En,
                .modeFrame = Fra_Ccp1Mode,
                .modeOptions = Opt_Ccp1Mode,
                .subModeFrame = Fra_Ccp1MSet,
                .interruptBox = Chk_CCP1IntEN,
                .subModeOptions = Opt_Ccp1M,
                .pwmFrame = Fra_Ccp1PWMSet,
                .yLabel = Label1,
                .yBox = Txt_Ccp1Y,
                .xLabel = Label2,
                .xBox = Txt_Ccp1X,
                .enabled = s.Ccp1En,
                .interrupt = s.Ccp1Int,
                .mode = s.Ccp1Mode,
                .subCode = s.Ccp1SubCode,
                .modeCode = s.Ccp1M,
                .y = s.Ccp1Y,
                .x = s.Ccp1X,
                .pin = kCcp1Pin};
    return {.moduleFrame = Fra_Ccp2Set,
            .useBox = Chk_Ccp2En,
            .modeFrame = Fra_Ccp2Mode,
            .modeOptions = Opt_Ccp2Mode,
            .subModeFrame = Fra_Ccp2MSet,
            .interruptBox = Chk_CCP2IntEN,
            .subModeOptions = Opt_Ccp2M,
            .pwmFrame = Fra_Ccp2PWMSet,
            .yLabel = Label4,
            .yBox = Txt_Ccp2Y,
            .xLabel = Label3,
            .xBox = Txt_Ccp2X,
            .enabled = s.Ccp2En,
            .interrupt = s.Ccp2Int,
            .mode = s.Ccp2Mode,
            .subCode = s.Ccp2SubCode,
            .modeCode = s.Ccp2M,
            .y = s.Ccp2Y,
            .x = s.Ccp2X,
            .pin = kCcp2Pin};
}

void CcpForm::Form_Load() {
    for (int i = 0; i < kModuleCount; ++i) LoadModule(i);
}

void CcpForm::LoadModule(int index) {
    const Module m = module(index);
    m.interruptBox.setChecked(m.interrupt == kInterruptOn);
    SelectStoredOption(m.modeOptions, m.mode);
    m.subModeOptions.select(m.subCode);
    // The bit boxes show the stored bits in every mode, so that switching to
    // PWM later in this opening shows what the generator will write.
    m.yBox.setText(m.y.toText());
    m.xBox.setText(m.x.toText());
    ShowModeFrames(m, StoredMode(m));

    if (m.enabled.isTrue()) {
        StoreModeCode(m);
        m.useBox.setChecked(true);
        SetModuleEnabled(m, true);
    } else {
        m.modeCode = 0;
        m.useBox.setChecked(false);
        SetModuleEnabled(m, false);
        m.interruptBox.setChecked(false);
    }
}

void CcpForm::Form_Unload() {
    // Capture and compare run on Timer1; a module that is not used needs nothing.
    if (!UsesTimer1(0) && !UsesTimer1(1)) return;
    const auto answer =
        context_.platform.messageBox(std::string(kTimer1Line1) + "\r" + kTimer1Line2, kTimer1Title,
                                     MessageIcon::Question, MessageButtons::YesNo);
    if (answer == MessageAnswer::Yes) context_.platform.showForm(form_names::kTimer1, true);
}

void CcpForm::Chk_Ccp1En_Click() {
    UseBoxChanged(0);
}
void CcpForm::Chk_Ccp2En_Click() {
    UseBoxChanged(1);
}

void CcpForm::UseBoxChanged(int index) {
    const Module m = module(index);
    if (m.useBox.checked()) {
        m.enabled = true;
        ClaimPin(m);
        StoreModeCode(m);
        SetModuleEnabled(m, true);
    } else {
        // Mode, sub-mode and PWM bits stay, so ticking the box again restores
        // them; the pin and port C stay as they are too.
        m.enabled = false;
        m.modeCode = 0;
        SetModuleEnabled(m, false);
        m.interruptBox.setChecked(false);
    }
}

void CcpForm::Chk_CCP1IntEN_Click() {
    InterruptBoxChanged(0);
}
void CcpForm::Chk_CCP2IntEN_Click() {
    InterruptBoxChanged(1);
}

void CcpForm::InterruptBoxChanged(int index) {
    const Module m = module(index);
    m.interrupt = m.interruptBox.checked() ? kInterruptOn : 0;
}

void CcpForm::Opt_Ccp1Mode_Click(int index) {
    ModeChosen(0, index);
}
void CcpForm::Opt_Ccp2Mode_Click(int index) {
    ModeChosen(1, index);
}

void CcpForm::ModeChosen(int index, int mode) {
    const Module m = module(index);
    m.mode = mode;
    if (mode != kPwm) m.subModeOptions.select(m.subCode);
    ShowModeFrames(m, mode);
    // Opening the dialog selects the stored mode of an unused module too;
    // only a used module may claim its pin and port C.
    if (m.enabled.isTrue()) ClaimPin(m);
    StoreModeCode(m);
}

void CcpForm::Opt_Ccp1M_Click(int index) {
    SubModeChosen(0, index);
}
void CcpForm::Opt_Ccp2M_Click(int index) {
    SubModeChosen(1, index);
}

void CcpForm::SubModeChosen(int index, int subMode) {
    const Module m = module(index);
    m.subCode = static_cast<std::int16_t>(subMode);
    StoreModeCode(m);
}

void CcpForm::Txt_Ccp1Y_Change() {
    BitEdited(Txt_Ccp1Y, settings_.Ccp1Y);
}
void CcpForm::Txt_Ccp1X_Change() {
    BitEdited(Txt_Ccp1X, settings_.Ccp1X);
}
void CcpForm::Txt_Ccp2Y_Change() {
    BitEdited(Txt_Ccp2Y, settings_.Ccp2Y);
}
void CcpForm::Txt_Ccp2X_Change() {
    BitEdited(Txt_Ccp2X, settings_.Ccp2X);
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

// A bit box offers its whole text for overtyping.
void CcpForm::Txt_Ccp1Y_GotFocus() {
    Txt_Ccp1Y.selectAll();
}
void CcpForm::Txt_Ccp1X_GotFocus() {
    Txt_Ccp1X.selectAll();
}
void CcpForm::Txt_Ccp2Y_GotFocus() {
    Txt_Ccp2Y.selectAll();
}
void CcpForm::Txt_Ccp2X_GotFocus() {
    Txt_Ccp2X.selectAll();
}

void CcpForm::Txt_Ccp1Y_KeyPress(std::int16_t& keyAscii) {
    BitKeyFilter(keyAscii);
}
void CcpForm::Txt_Ccp1X_KeyPress(std::int16_t& keyAscii) {
    BitKeyFilter(keyAscii);
}
void CcpForm::Txt_Ccp2Y_KeyPress(std::int16_t& keyAscii) {
    BitKeyFilter(keyAscii);
}
void CcpForm::Txt_Ccp2X_KeyPress(std::int16_t& keyAscii) {
    BitKeyFilter(keyAscii);
}

void CcpForm::Command1_Click() {
    unload();
}

int CcpForm::StoredMode(const Module& m) const {
    // Anything but capture or PWM is treated as compare, as the generator does.
    return OptionIndexOrNothing(m.mode, kModeCount).value_or(kCompare);
}

bool CcpForm::UsesTimer1(int index) {
    const Module m = module(index);
    return m.enabled.isTrue() && StoredMode(m) != kPwm;
}

void CcpForm::ClaimPin(const Module& m) {
    // Capture reads the pin; compare and PWM drive it.
    settings_.PortCDir[static_cast<std::size_t>(m.pin)] = StoredMode(m) == kCapture ? 1 : 0;
    settings_.PortCUsed = 1;
}

void CcpForm::StoreModeCode(const Module& m) {
    // An unused module writes no mode bits, whatever its controls show.
    m.modeCode = m.enabled.isTrue() ? CcpModeCode(StoredMode(m), m.subCode) : 0;
}

void CcpForm::ShowModeFrames(const Module& m, int mode) {
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

void CcpForm::SetModuleEnabled(const Module& m, bool enabled) {
    for (Control* control :
         std::initializer_list<Control*>{&m.modeFrame, &m.subModeFrame, &m.interruptBox, &m.pwmFrame, &m.yBox,
                                         &m.xBox, &m.yLabel, &m.xLabel})
        control->setEnabled(enabled);
    m.modeOptions.setAllEnabled(enabled);
    m.subModeOptions.setAllEnabled(enabled);
}

}  // namespace korvane
