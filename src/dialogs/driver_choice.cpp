#include "dialogs/driver_choice.h"

#include <string>

#include "settings/output_form.h"

namespace korvane {

DriverChoice::DriverChoice(ProjectSettings& settings, std::int16_t ProjectSettings::*setting,
                           const Module& module, const char* caption, const char* box)
    : Fra_Drivers("Fra_Drivers", caption),
      Chk_Drivers("Chk_Drivers", box),
      settings_(settings),
      setting_(setting),
      module_(module) {
    Chk_Drivers.onClick = [this] {
        settings_.*setting_ = Chk_Drivers.checked() ? 1 : 0;
        if (changed) changed();
    };
}

void DriverChoice::load() {
    Chk_Drivers.setChecked(settings_.*setting_ != 0);
}

void DriverChoice::apply(bool moduleUsed, int bufferBytes) {
    const bool usable = moduleUsed && OutputFormOf(settings_) != OutputFormId::Classic;
    Fra_Drivers.setEnabled(usable);
    Chk_Drivers.setEnabled(usable);
    Lbl_DriverCost.setEnabled(active());
    const DriverBudget cost = DriverBudgetOf(module_, settings_);
    std::string text =
        "约占程序存储器" + std::to_string(cost.words) + "字、RAM " + std::to_string(cost.ram) + "字节";
    if (bufferBytes > 0) text += ",另有缓冲区" + std::to_string(bufferBytes) + "字节";
    Lbl_DriverCost.setCaption(text);
}

}  // namespace korvane
