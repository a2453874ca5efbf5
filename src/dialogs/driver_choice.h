#pragma once

#include <cstdint>
#include <functional>

#include "controls/controls.h"
#include "modules/module.h"
#include "settings/project_settings.h"

namespace korvane {

// The drivers' choice as every module dialog shows it: the box, kept in the
// module's setting, and what the drivers cost as measured with SDCC. Only
// the XC8 and SDCC forms have drivers; the classic form greys it out and
// keeps the choice for them.
class DriverChoice {
public:
    // Where the dialog is not the module's own, `caption` names the frame,
    // and `box` gives the box an access key the dialog has free.
    DriverChoice(ProjectSettings& settings, std::int16_t ProjectSettings::*setting, const Module& module,
                 const char* caption = "驱动函数", const char* box = "生成驱动函数(&D)");

    Frame Fra_Drivers;
    CheckBox Chk_Drivers;
    Label Lbl_DriverCost{"Lbl_DriverCost"};

    // Shows the stored choice.
    void load();
    // Usable while the module is; `bufferBytes` are the buffers the user sized.
    void apply(bool moduleUsed, int bufferBytes = 0);
    // Asked for and usable: what depends on it is usable too.
    bool active() const { return Chk_Drivers.enabled() && Chk_Drivers.checked(); }
    // Runs after a click has stored the choice.
    std::function<void()> changed;

private:
    ProjectSettings& settings_;
    std::int16_t ProjectSettings::*setting_;
    const Module& module_;
};

}  // namespace korvane
