#pragma once

#include "controls/app_context.h"
#include "controls/controls.h"
#include "controls/form.h"
#include "dialogs/driver_choice.h"
#include "platform/form_id.h"

namespace korvane {

// The chip dialog: which PIC16F87x(A) part the project is for. Switching to
// a 28-pin part while port D or E is set up asks before switching them off.
class ChipForm : public Form {
public:
    static constexpr const char* kName = FormName(FormId::Chip);

    explicit ChipForm(AppContext& context);

    Frame Frame1{"Frame1", "芯片型号"};
    OptionGroup Opt_Part;
    // The compiler the generated text is written for.
    Frame Frame2{"Frame2", "输出格式(编译器)"};
    OptionGroup Opt_Form;
    // The data EEPROM has no dialog of its own: its drivers are chosen here.
    DriverChoice Drivers;
    Button Command1{"Command1", "确定(&E)"};

    void Form_Load() override;
    void Opt_Part_Click(int index);
    void Opt_Form_Click(int index);
    void Command1_Click();

private:
    AppContext& context_;
};

}  // namespace korvane
