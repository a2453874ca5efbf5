#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "calc/baud_calc.h"
#include "controls/app_context.h"
#include "controls/controls.h"
#include "controls/form.h"
#include "dialogs/driver_choice.h"
#include "platform/form_id.h"

namespace korvane {

// The SCI dialog: whether the serial port is used, its mode, transmit and
// receive options, interrupts, and the baud-rate calculator that fills the
// rate lists and stores the chosen rate and its SPBRG value. Each change is
// stored the moment it is made; closing keeps everything.
class SciForm : public Form {
public:
    static constexpr const char* kName = FormName(FormId::Sci);
    static constexpr const char* kCaption = "SCI(串行通信接口)设置";
    // What the SPBRG box shows while no rate is chosen.
    static constexpr const char* kNoRate = "No";

    explicit SciForm(AppContext& context);

    CheckBox Chk_Spen{"Chk_Spen", "使用串行口"};
    Frame Fra_Mode{"Fra_Mode", "工作方式"};
    OptionGroup Opt_Sync{"Opt_Sync", {"异步方式", "同步方式"}};
    Frame Fra_Baud{"Fra_Baud", "波特率选择"};
    OptionGroup Opt_Baud{"Opt_Baud", {"低速波特率", "高速波特率"}};
    Frame Fra_Tx{"Fra_Tx", "发送设置"};
    CheckBox Chk_TxEn{"Chk_TxEn", "允许发送"};
    CheckBox Chk_TxIE{"Chk_TxIE", "允许发送中断"};
    Frame Fra_TxLen{"Fra_TxLen", "发送长度"};
    OptionGroup Opt_Tx89{"Opt_Tx89", {"发送8位数据", "发送9位数据"}};
    Frame Fra_Osc{"Fra_Osc", "同步时钟源"};
    OptionGroup Opt_TxSyncOsc{"Opt_TxSyncOsc", {"从动方式", "主控方式"}};
    Frame Fra_Rx{"Fra_Rx", "接收设置"};
    CheckBox Chk_RxEn{"Chk_RxEn", "允许接收"};
    CheckBox Chk_Sren{"Chk_Sren", "允许单字节接收"};
    CheckBox Chk_RcIE{"Chk_RcIE", "允许接收中断"};
    Frame Fra_RxLen{"Fra_RxLen", "接收长度"};
    OptionGroup Opt_Rx89{"Opt_Rx89", {"接收8位数据", "接收9位数据"}};
    Frame Fra_Continuum{"Fra_Continuum", "同步连续接收"};
    OptionGroup Opt_ContinuumEn{"Opt_ContinuumEn", {"关闭连续接收", "允许连续接收"}};
    Frame Fra_BaudCal{"Fra_BaudCal", "可用波特率计算器"};
    Label Label1{"Label1", "误差值限制(±n%)bps"};
    TextBox Txt_Err{"Txt_Err", "0.2"};
    Label Label2{"Label2", "晶振频率(MHZ)"};
    TextBox Txt_Osc{"Txt_Osc"};
    Label Label3{"Label3", "可用波特率："};
    ListBox List1{"List1"};
    Label Label4{"Label4", "SPBRG 值:"};
    ListBox List2{"List2"};
    Label Label5{"Label5", "实际波特率bps："};
    ListBox List3{"List3"};
    Label Label6{"Label6", "使用波特率:"};
    ComboBox Combo_UseBaud{"Combo_UseBaud"};
    Label Label7{"Label7", "SPBRG:"};
    TextBox Txt_Brg{"Txt_Brg", kNoRate};
    // Driver functions with ring buffers, in the XC8 and SDCC forms only.
    DriverChoice Drivers;
    Label Lbl_RxBuffer{"Lbl_RxBuffer", "接收缓冲区字节数(&R)"};
    ComboBox Combo_RxBuffer{"Combo_RxBuffer"};
    Label Lbl_TxBuffer{"Lbl_TxBuffer", "发送缓冲区字节数(&T)"};
    ComboBox Combo_TxBuffer{"Combo_TxBuffer"};
    Button Command2{"Command2", "计算波特率(&C)"};
    Button Command1{"Command1", "确定(&E)"};

    // Clock periods per bit for SPBRG 0 in the current mode: 4, 16 or 64.
    std::int16_t BaudDivisor = 16;

    void Form_Load() override;
    void Form_Unload() override;
    void Chk_Spen_Click();
    void Opt_Sync_Click(int index);
    void Opt_Baud_Click(int index);
    void Chk_TxEn_Click();
    void Chk_TxIE_Click();
    void Opt_Tx89_Click(int index);
    void Opt_TxSyncOsc_Click(int index);
    void Chk_RxEn_Click();
    void Chk_Sren_Click();
    void Chk_RcIE_Click();
    void Opt_Rx89_Click(int index);
    void Opt_ContinuumEn_Click(int index);
    void Txt_Err_Change();
    void Txt_Err_GotFocus();
    void Txt_Err_KeyPress(std::int16_t& keyAscii);
    void Command2_Click();
    void Combo_UseBaud_Click();
    void Command1_Click();
    void Combo_RxBuffer_Click();
    void Combo_TxBuffer_Click();

    void ApplySciEnabling();
    void UpdateRcIEEnabling();
    // Rebuilds the rate lists from the crystal, BaudDivisor and the error box
    // and chooses the slowest usable rate.
    void CalcBaudList();

    // The entries of the last run, in list order.

private:
    // The rows that differ between asynchronous and synchronous operation.
    void ApplyModeRows(bool on, bool synchronous);
    void SetBaudDivisor();
    void ApplyDriverEnabling();
    bool Synchronous() const;
    void ChooseEntry(const BaudEntry& entry);
    static void SetAllEnabled(std::initializer_list<Control*> controls, bool enabled);

    AppContext& context_;
    ProjectSettings& settings_;
    std::vector<BaudEntry> entries_;
};

}  // namespace korvane
