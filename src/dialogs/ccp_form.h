#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "controls/app_context.h"
#include "controls/controls.h"
#include "controls/form.h"
#include "dialogs/driver_choice.h"
#include "platform/form_id.h"
#include "settings/ccp_modules.h"
#include "settings/project_settings.h"

namespace korvane {

// The CCP dialog: capture, compare or PWM for the two modules CCP1 (pin RC2)
// and CCP2 (pin RC1). Every choice is stored the moment it is made; a used
// module claims its pin and port C. Closing with a used module in capture or
// compare mode offers the Timer1 dialog, which those modes run on; with a
// used module in PWM mode while Timer2 is off, it offers the Timer2 dialog.
// Compare mode takes a time and works out the compare value with Timer1's
// clock; PWM mode takes a duty time and works out the 10-bit duty value with
// Timer2's period. The read-outs follow each keystroke, but the two times
// are stored on closing: a time refused then keeps the earlier value, never
// the part of it typed on the way.
class CcpForm : public Form {
public:
    static constexpr const char* kName = FormName(FormId::Ccp);
    static constexpr int kCapture = kCcpCapture;
    static constexpr int kCompare = kCcpCompare;
    static constexpr int kPwm = kCcpPwm;
    static constexpr int kFirstSubMode = 4;
    static constexpr int kModuleCount = 2;

    explicit CcpForm(AppContext& context);

    // The controls of one module, named and captioned from its number, with
    // the settings they show. A control added here appears in both modules.
    struct Module {
        explicit Module(int index);

        const CcpModuleFields& fields;
        Frame moduleFrame;
        CheckBox useBox;
        Frame modeFrame;
        OptionGroup modeOptions;
        Frame subModeFrame;
        CheckBox interruptBox;
        OptionGroup subModeOptions;
        Frame pwmFrame;
        Label yLabel;
        TextBox yBox;
        Label xLabel;
        TextBox xBox;
        // Compare mode: the time and the CCPRx value it gives.
        Label compareLabel;
        TextBox compareBox;
        Label compareValue;
        // PWM mode: the duty time, its share of the period, and the period
        // that Timer2 gives.
        Label dutyLabel;
        TextBox dutyBox;
        Label dutyPercent;
        Label pwmPeriod;
        Label pwmResolution;

        // The controls shown only in compare mode and only in PWM mode.
        std::vector<Control*> compareControls();
        std::vector<Control*> pwmControls();
    };
    Module& module(int index) { return modules_[static_cast<std::size_t>(index)]; }

    Button Command1;
    // Both modules' drivers; the cost is each module's.
    DriverChoice Drivers;

    void Form_Load() override;
    void Form_Unload() override;

    // Every caption the sub-mode frame and its options show in any mode, so
    // a view can give them room once and keep its size.
    static std::vector<std::string> SubModeCaptionsOfEveryMode();

private:
    // The drivers' box is usable while either module is.
    void ShowDrivers();
    void LoadModule(Module& m);
    void UseBoxChanged(Module& m);
    void ModeChosen(Module& m, int mode);
    void SubModeChosen(Module& m, int subMode);
    void BitEdited(TextBox& box, SettingValue& bit);
    void CompareEdited(Module& m);
    void DutyEdited(Module& m);
    void ShowPwmTiming(Module& m);
    void ShowBits(Module& m, std::int32_t duty);
    void ReportBadTime(const Module& m);
    void StoreTypedTimes(Module& m);
    void AskForTimer(bool (CcpForm::*needs)(const Module&) const, std::string_view line1, const char* line2,
                     std::string_view title, FormId form);

    static std::size_t Index(const Module& m);
    int StoredMode(const Module& m) const;
    bool UsesTimer1(const Module& m) const;
    bool NeedsTimer2(const Module& m) const;
    bool Used(const Module& m) const;
    void StoreModeCode(const Module& m);
    void ShowModeFrames(Module& m, int mode);
    void SetModuleEnabled(Module& m, bool enabled);

    std::array<Module, kModuleCount> modules_;
    // Which time boxes the user has typed into since opening, by module: only
    // those are stored on closing.
    std::array<bool, kModuleCount> compareTyped_{};
    std::array<bool, kModuleCount> dutyTyped_{};
    // While a typed duty's low bits are shown in the bit boxes, which must
    // not store them before the duty itself is stored.
    bool showingDutyBits_ = false;
    AppContext& context_;
    ProjectSettings& settings_;
};

}  // namespace korvane
