#pragma once

#include "controls/app_context.h"
#include "controls/controls.h"
#include "controls/form.h"
#include "platform/form_id.h"
#include "settings/parts.h"

namespace korvane {

// The configuration-word dialog: oscillator, watchdog, power-up timer,
// brown-out reset, low-voltage programming, debugger, the protections the
// chosen part has, and whether the source carries the word at all. The word
// is read out live.
class ConfigForm : public Form {
public:
    static constexpr const char* kName = FormName(FormId::ConfigWord);
    // Code and flash-write protection offer at most this many choices.
    static constexpr int kMostChoices = 4;

    explicit ConfigForm(AppContext& context);

    korvane::Label Lbl_Part{"Lbl_Part"};
    Frame Frame1{"Frame1", "振荡器"};
    OptionGroup Opt_Osc{"Opt_Osc", {"LP(&L)", "XT(&X)", "HS(&H)", "RC(&R)"}};
    korvane::Label Lbl_Crystal{"Lbl_Crystal"};
    CheckBox Chk_Wdt{"Chk_Wdt", "看门狗(&W)"};
    CheckBox Chk_Pwrt{"Chk_Pwrt", "上电延时定时器(&P)"};
    CheckBox Chk_Bor{"Chk_Bor", "欠压复位(&B)"};
    korvane::Label Lbl_Bor{"Lbl_Bor", "欠压复位约在4V时动作，3V供电的设计须关闭此项。"};
    CheckBox Chk_Lvp{"Chk_Lvp", "低电压编程, 占用RB3(&V)"};
    CheckBox Chk_Debug{"Chk_Debug", "在线调试, 占用RB6/RB7(&D)"};
    Frame Frame2{"Frame2", "代码保护"};
    OptionGroup Opt_Cp;
    CheckBox Chk_Cpd{"Chk_Cpd", "EEPROM数据保护(&M)"};
    Frame Frame3{"Frame3", "程序存储器写"};
    OptionGroup Opt_Wrt;
    CheckBox Chk_Write{"Chk_Write", "在源程序中写入配置字(&G)"};
    korvane::Label Lbl_Word{"Lbl_Word"};
    Button Command1{"Command1", "确定(&E)"};

    void Form_Load() override;
    void Opt_Osc_Click(int index);
    void Opt_Cp_Click(int index);
    void Opt_Wrt_Click(int index);
    void Chk_Write_Click();
    void Command1_Click();

    // The check box of each two-way field, or nullptr for an option group.
    CheckBox* FieldBox(ConfigField field);

private:
    void Store(ConfigField field, int index);
    void ShowWord();

    AppContext& context_;
};

}  // namespace korvane
