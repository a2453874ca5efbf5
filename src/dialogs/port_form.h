#pragma once

#include <array>
#include <cstdint>

#include "controls/app_context.h"
#include "controls/controls.h"
#include "controls/form.h"
#include "platform/form_id.h"
#include "settings/pin_claims.h"
#include "settings/project_settings.h"

namespace korvane {

// The Port dialog: which of ports A..E the generated code sets up and the
// direction of every pin. Each change is stored the moment it is made.
// The pins other modules claim (RA4 for Timer0's outside clock, the CCP
// pins, the SCI's and Timer1's, port B's interrupt pins, the A/D converter's
// analog pins) this dialog refuses to take away; analog pins show as RA0_AN.
// Beside each pin, the level an output starts at after reset.
class PortForm : public Form {
public:
    static constexpr const char* kName = FormName(FormId::Port);
    static constexpr int kPortCount = 5;
    static constexpr int kPinCount = 8;
    using PinBoxes = std::array<CheckBox, kPinCount>;

    explicit PortForm(AppContext& context);

    Frame Frame1;
    CheckBox Check1, Check2, Check3, Check4, Check5;
    Frame Frame2, Frame3, Frame4, Frame5, Frame6;
    PinBoxes Chk_PortA, Chk_PortB, Chk_PortC, Chk_PortD, Chk_PortE;
    // The level column: ticked = high; usable on the outputs of a used port.
    Label Label1;
    PinBoxes Chk_LevelA, Chk_LevelB, Chk_LevelC, Chk_LevelD, Chk_LevelE;
    Button Command1;

    void Form_Load() override;

    void Check1_Click();
    void Check2_Click();
    void Check3_Click();
    void Check4_Click();
    void Check5_Click();

    void Chk_PortA_Click(int index);
    void Chk_PortB_Click(int index);
    void Chk_PortC_Click(int index);
    void Chk_PortD_Click(int index);
    void Chk_PortE_Click(int index);
    void Chk_Level_Click(int portIndex, int index);

    // The press rules: they run before a box changes and return false to
    // refuse the press after warning the user. A pin a module holds keeps
    // its direction and its level; a port a module needs stays used.
    bool PinMayChange(int portIndex, int pin);
    bool PortMayClose(int portIndex);
    // Ports D and E on a 28-pin part: refused with a warning.
    bool PortOnChip(int portIndex);

    void Command1_Click();

    // The controls and settings of port 0 (A) .. 4 (E), for views and loops.
    struct Port {
        CheckBox& useBox;
        Frame& pinFrame;
        PinBoxes& pins;
        const char* prefix;
        PinDirections& directions;
        std::int16_t& used;
        PinBoxes& levelBoxes;
        PinLevels& levels;
    };
    Port port(int index);

private:
    void UseBoxChanged(int portIndex);
    void PinsChanged(int portIndex);
    void WritePinsFromBoxes(int portIndex);
    // A level box is usable on an output pin of a used port.
    void EnableLevels(int portIndex);
    void Warn(const PinMessage& message);

    AppContext& context_;
    ProjectSettings& settings_;
};

}  // namespace korvane
