#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/app_context.h"
#include "app/form_names.h"
#include "controls/controls.h"
#include "controls/form.h"
#include "settings/project_settings.h"

namespace korvane {

// The mode bits CCPxM3..CCPxM0 for a mode option (0 capture, 1 compare,
// 2 PWM) and a sub-mode option (4..7): PWM is 12, capture the sub-mode
// itself, compare the sub-mode + 4.
int CcpModeCode(int mode, int subMode);

// The CCP dialog: capture, compare or PWM for the two modules CCP1 (pin RC2)
// and CCP2 (pin RC1). Every choice is stored the moment it is made; a used
// module claims its pin and port C. Closing with a used module in capture or
// compare mode offers the Timer1 dialog, which those modes run on.
class CcpForm : public Form {
public:
    static constexpr const char* kName = form_names::kCcp;
    static constexpr int kCapture = 0;
    static constexpr int kCompare = 1;
    static constexpr int kPwm = 2;
    static constexpr int kFirstSubMode = 4;
    static constexpr int kModuleCount = 2;

    explicit CcpForm(AppContext& context);

    Frame Fra_Ccp1Set;
    CheckBox Chk_Ccp1En;
    Frame Fra_Ccp1Mode;
    OptionGroup Opt_Ccp1Mode;
    Frame Fra_Ccp1MSet;
    CheckBox Chk_CCP1IntEN;
    OptionGroup Opt_Ccp1M;
    Frame Fra_Ccp1PWMSet;
    Label Label1;
    TextBox Txt_Ccp1Y;
    Label Label2;
    TextBox Txt_Ccp1X;

    Frame Fra_Ccp2Set;
    CheckBox Chk_Ccp2En;
    Frame Fra_Ccp2Mode;
    OptionGroup Opt_Ccp2Mode;
    Frame Fra_Ccp2MSet;
    CheckBox Chk_CCP2IntEN;
    OptionGroup Opt_Ccp2M;
    Frame Fra_Ccp2PWMSet;
    Label Label4;
    TextBox Txt_Ccp2Y;
    Label Label3;
    TextBox Txt_Ccp2X;

    Button Command1;

    void Form_Load() override;
    void Form_Unload() override;

    void Chk_Ccp1En_Click();
    void Chk_CCP1IntEN_Click();
    void Opt_Ccp1Mode_Click(int index);
    void Opt_Ccp1M_Click(int index);
    void Txt_Ccp1Y_Change();
    void Txt_Ccp1X_Change();
    void Txt_Ccp1Y_GotFocus();
    void Txt_Ccp1X_GotFocus();
    void Txt_Ccp1Y_KeyPress(std::int16_t& keyAscii);
    void Txt_Ccp1X_KeyPress(std::int16_t& keyAscii);

    void Chk_Ccp2En_Click();
    void Chk_CCP2IntEN_Click();
    void Opt_Ccp2Mode_Click(int index);
    void Opt_Ccp2M_Click(int index);
    void Txt_Ccp2Y_Change();
    void Txt_Ccp2X_Change();
    void Txt_Ccp2Y_GotFocus();
    void Txt_Ccp2X_GotFocus();
    void Txt_Ccp2Y_KeyPress(std::int16_t& keyAscii);
    void Txt_Ccp2X_KeyPress(std::int16_t& keyAscii);

    void Command1_Click();

    // Every caption the sub-mode frame and its options show in any mode, so
    // a view can give them room once and keep its size.
    static std::vector<std::string> SubModeCaptionsOfEveryMode();

    // The controls and settings of module 0 (CCP1) or 1 (CCP2), for views
    // and for the steps both modules share. Built with designated
    // initializers, so two references of one type cannot trade places.
    struct Module {
        Frame& moduleFrame;
        CheckBox& useBox;
        Frame& modeFrame;
        OptionGroup& modeOptions;
        Frame& subModeFrame;
        CheckBox& interruptBox;
        OptionGroup& subModeOptions;
        Frame& pwmFrame;
        Label& yLabel;
        TextBox& yBox;
        Label& xLabel;
        TextBox& xBox;
        SettingValue& enabled;
        std::int16_t& interrupt;
        SettingValue& mode;
        std::int16_t& subCode;
        SettingValue& modeCode;
        SettingValue& y;
        SettingValue& x;
        int pin;  // RC2 for CCP1, RC1 for CCP2
    };
    Module module(int index);

private:
    void LoadModule(int index);
    void UseBoxChanged(int index);
    void InterruptBoxChanged(int index);
    void ModeChosen(int index, int mode);
    void SubModeChosen(int index, int subMode);
    void BitEdited(TextBox& box, SettingValue& bit);

    int StoredMode(const Module& m) const;
    bool UsesTimer1(int index);
    void ClaimPin(const Module& m);
    void StoreModeCode(const Module& m);
    void ShowModeFrames(const Module& m, int mode);
    void SetModuleEnabled(const Module& m, bool enabled);

    AppContext& context_;
    ProjectSettings& settings_;
};

}  // namespace korvane
