#pragma once

#include <cstdint>
#include <vector>

#include "controls/app_context.h"
#include "controls/controls.h"
#include "controls/form.h"
#include "dialogs/driver_choice.h"
#include "platform/form_id.h"

namespace korvane {

// The A/D converter dialog: use of the module, which pins are analog (ADCON1's
// PCFG, offered as the chosen part's channels read), the channel converted
// first, the conversion clock with its TAD, the result's justification and
// the interrupt. Its analog pins become inputs of ports A and E, which the
// Port dialog then refuses to take away.
class AdForm : public Form {
public:
    static constexpr const char* kName = FormName(FormId::Ad);

    explicit AdForm(AppContext& context);

    CheckBox Chk_AdEn{"Chk_AdEn", "使用A/D转换模块(&U)"};
    Frame Fra_Pcfg{"Fra_Pcfg", "模拟/数字引脚设置(PCFG)"};
    OptionGroup Opt_Pcfg;
    Frame Fra_Channel{"Fra_Channel", "首先转换的通道"};
    OptionGroup Opt_Channel;
    Frame Fra_Clock{"Fra_Clock", "转换时钟"};
    OptionGroup Opt_Clock;
    Frame Fra_Format{"Fra_Format", "转换结果格式"};
    OptionGroup Opt_Format{"Opt_Format", {"左对齐(ADFM=0)", "右对齐(ADFM=1)"}};
    CheckBox Chk_AdInt{"Chk_AdInt", "A/D转换中断(&I)"};
    DriverChoice Drivers;
    Label Lbl_Tad{"Lbl_Tad"};
    Button Command1{"Command1", "确定(&E)"};

    void Form_Load() override;
    void Chk_AdEn_Click();
    void Opt_Pcfg_Click(int index);
    void Opt_Channel_Click(int index);
    void Opt_Clock_Click(int index);
    void Opt_Format_Click(int index);
    void Chk_AdInt_Click();
    void Command1_Click();

    // The PCFG code of each option of Opt_Pcfg.
    const std::vector<std::int16_t>& pcfgCodes() const { return pcfgCodes_; }

private:
    void SetModuleEnabled(bool on);
    // Channels that are no analog pin of the chosen code are greyed; the
    // chosen channel moves to the first analog one when it is greyed.
    void ShowChannels();
    void ShowTad();

    AppContext& context_;
    ProjectSettings& settings_;
    std::vector<std::int16_t> pcfgCodes_;
};

}  // namespace korvane
