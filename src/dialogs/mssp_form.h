#pragma once

#include <cstdint>

#include "calc/calc_outcome.h"
#include "controls/app_context.h"
#include "controls/controls.h"
#include "controls/form.h"
#include "dialogs/driver_choice.h"
#include "platform/form_id.h"

namespace korvane {

// The MSSP dialog: whether the module is used, SPI master, SPI slave or I2C
// master, the SPI clock and timing, the I2C bus rate with its SSPADD
// calculator, and the two interrupts. Each change is stored the moment it is
// made; closing keeps everything, as in the SCI dialog.
class MsspForm : public Form {
public:
    static constexpr const char* kName = FormName(FormId::Mssp);
    static constexpr const char* kCaption = "MSSP(主控同步串行口)设置";

    explicit MsspForm(AppContext& context);

    CheckBox Chk_SspEn{"Chk_SspEn", "使用MSSP模块"};
    Frame Fra_Mode{"Fra_Mode", "工作方式"};
    OptionGroup Opt_Mode{"Opt_Mode", {"SPI主控方式", "SPI从动方式", "I2C主控方式"}};
    Frame Fra_SpiClock{"Fra_SpiClock", "SPI主控时钟"};
    OptionGroup Opt_SpiClock{"Opt_SpiClock", {"Fosc/4", "Fosc/16", "Fosc/64", "TMR2输出/2"}};
    CheckBox Chk_Ss{"Chk_Ss", "使用SS引脚(RA5)"};
    Frame Fra_Ckp{"Fra_Ckp", "时钟极性(CKP)"};
    OptionGroup Opt_Ckp{"Opt_Ckp", {"空闲时为低电平", "空闲时为高电平"}};
    Frame Fra_Cke{"Fra_Cke", "发送时刻(CKE)"};
    OptionGroup Opt_Cke{"Opt_Cke", {"时钟由空闲变为有效时", "时钟由有效变为空闲时"}};
    CheckBox Chk_Smp{"Chk_Smp", "在数据输出时间的末尾采样(SMP)"};
    Frame Fra_I2c{"Fra_I2c", "I2C总线速率"};
    OptionGroup Opt_I2cSpeed{"Opt_I2cSpeed", {"100kHz", "400kHz", "自定义"}};
    Label Label1{"Label1", "速率(kHz)(&R):"};
    TextBox Txt_I2cKHz{"Txt_I2cKHz", "100"};
    CheckBox Chk_Slew{"Chk_Slew", "使用压摆率控制(SMP=0)"};
    Label Label2{"Label2", "SSPADD:"};
    TextBox Txt_Sspadd{"Txt_Sspadd"};
    Label Label3{"Label3", "实际速率(kHz):"};
    TextBox Txt_Actual{"Txt_Actual"};
    Label Label4{"Label4", "误差(%):"};
    TextBox Txt_Error{"Txt_Error"};
    Button Command2{"Command2", "计算SSPADD值(&V)"};
    CheckBox Chk_SspIE{"Chk_SspIE", "允许MSSP中断(SSPIE)"};
    CheckBox Chk_BclIE{"Chk_BclIE", "允许总线冲突中断(BCLIE)"};
    // Driver functions of the master modes: a slave has none.
    DriverChoice Drivers;
    Button Command1{"Command1", "确定(&E)"};

    void Form_Load() override;
    void Form_Unload() override;
    void Chk_SspEn_Click();
    void Opt_Mode_Click(int index);
    void Opt_SpiClock_Click(int index);
    void Chk_Ss_Click();
    void Opt_Ckp_Click(int index);
    void Opt_Cke_Click(int index);
    void Chk_Smp_Click();
    void Opt_I2cSpeed_Click(int index);
    void Txt_I2cKHz_Change();
    void Txt_I2cKHz_GotFocus();
    void Txt_I2cKHz_KeyPress(std::int16_t& keyAscii);
    void Chk_Slew_Click();
    void Command2_Click();
    void Chk_SspIE_Click();
    void Chk_BclIE_Click();
    void Command1_Click();

    // Enables the rows of the chosen mode; with the module off, everything
    // but the use box and the buttons, and both interrupts are unticked.
    void ApplyMsspEnabling();
    // Works SSPADD out from the rate box and shows it; a refused rate is
    // told only when `tell` is set (the button and closing).
    void CalcSspadd(bool tell);

private:
    // Takes the module's pins for the mode now chosen, unless another
    // module holds one; then false, after telling the user.
    bool TakePins();
    void ShowOutcome(const CalcOutcome& outcome);

    AppContext& context_;
    ProjectSettings& settings_;
};

}  // namespace korvane
