#pragma once

#include "controls/app_context.h"
#include "controls/controls.h"
#include "controls/form.h"
#include "platform/form_id.h"

namespace korvane {

// The comparator dialog (A parts only): use of the module, the CMCON mode
// with its inversions and input switch, the interrupt, and the voltage
// reference with its range, its step and the voltage they give. The mode's
// pins and CVREF on RA2 are claimed as the choices are made, and refused
// while another module holds one of them. On a part without comparators
// everything is greyed and a line says why.
class ComparatorForm : public Form {
public:
    static constexpr const char* kName = FormName(FormId::Comparator);
    static constexpr const char* kCaption = "比较器和参考电压模块设置";

    explicit ComparatorForm(AppContext& context);

    Label Lbl_Part{"Lbl_Part"};
    CheckBox Chk_CmpEn{"Chk_CmpEn", "使用比较器模块(&U)"};
    Frame Fra_Mode{"Fra_Mode", "比较器模式(CM2:CM0)"};
    // The index is the CM2:CM0 code.
    OptionGroup Opt_Mode;
    Label Lbl_Pins{"Lbl_Pins"};
    CheckBox Chk_C1Inv{"Chk_C1Inv", "C1输出反相(C1INV)(&1)"};
    CheckBox Chk_C2Inv{"Chk_C2Inv", "C2输出反相(C2INV)(&2)"};
    Frame Fra_Cis{"Fra_Cis", "输入切换(CIS)"};
    // The index is the CIS value.
    OptionGroup Opt_Cis{"Opt_Cis", {"C1接RA0,C2接RA1(&0)", "C1接RA3,C2接RA2(&3)"}};
    CheckBox Chk_CmpInt{"Chk_CmpInt", "比较器中断(&I)"};
    Frame Fra_Cvr{"Fra_Cvr", "参考电压CVREF(CVRCON)"};
    CheckBox Chk_CvrEn{"Chk_CvrEn", "打开参考电压(&V)"};
    CheckBox Chk_CvrOe{"Chk_CvrOe", "CVREF从RA2输出(&O)"};
    // The index is the CVRR value.
    OptionGroup Opt_CvrRange{"Opt_CvrRange",
                             {"高量程VDD/4+CVR/32VDD(CVRR=0)(&H)", "低量程CVR/24VDD(CVRR=1)(&L)"}};
    Label Lbl_CvrStep{"Lbl_CvrStep", "CVR3:CVR0(&R)"};
    ComboBox Combo_Cvr{"Combo_Cvr"};
    Label Lbl_Cvref{"Lbl_Cvref"};
    Button Command1{"Command1", "确定(&E)"};

    void Form_Load() override;
    void Chk_CmpEn_Click();
    void Opt_Mode_Click(int index);
    void Chk_C1Inv_Click();
    void Chk_C2Inv_Click();
    void Opt_Cis_Click(int index);
    void Chk_CmpInt_Click();
    void Chk_CvrEn_Click();
    void Chk_CvrOe_Click();
    void Opt_CvrRange_Click(int index);
    void Combo_Cvr_Click();
    void Command1_Click();

private:
    // Claims the pins the settings now take; false, after telling the
    // user, while another module holds one of them.
    bool TakePins();
    void ShowState();
    void ShowCvref();

    AppContext& context_;
    ProjectSettings& settings_;
};

}  // namespace korvane
