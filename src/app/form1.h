#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "app/pin_map_panel.h"
#include "app/project_life.h"
#include "controls/app_context.h"
#include "controls/controls.h"
#include "controls/form.h"
#include "controls/notifier.h"
#include "platform/form_id.h"
#include "platform/main_window_actions.h"

namespace korvane {

// The help file, in the program's folder.
inline constexpr const char* kHelpFile = "korvane.chm";

// The main window: the text area for the generated source and the menu from
// which every dialog and command is reached.
class Form1 : public Form, public MainWindowActions {
public:
    static constexpr const char* kName = "Form1";
    // The title; a form other than the classic one is named after it.
    static constexpr const char* kTitle = "Korvane";

    // Margins of the text area inside the window's outer size, in twips.
    static constexpr int kText1Top = 90;
    static constexpr int kHeightMargin = 675;
    static constexpr int kWidthMargin = 120;

    explicit Form1(AppContext& context);

    TextBox Text1{"Text1"};

    MenuItem VbMenuFile{"VbMenuFile", "文件(&F)"};
    MenuItem VbMenuFile_SaveFile{"VbMenuFile_SaveFile", "保存C文件(&S)"};
    MenuItem VbMenuFile_UpdateFile{"VbMenuFile_UpdateFile", "更新C文件(&U)..."};
    MenuItem VbMenuFile_OpenProject{"VbMenuFile_OpenProject", "打开工程(&O)..."};
    MenuItem VbMenuFile_SaveProject{"VbMenuFile_SaveProject", "保存工程(&P)..."};
    MenuItem VbMenuFile_Exit{"VbMenuFile_Exit", "退出(&E)"};
    MenuItem VbMenuSet{"VbMenuSet", "设置(&S)"};
    MenuItem VbMenu_SetGuide{"VbMenu_SetGuide", "设置向导(&G)"};
    MenuItem VbMenuSet_Chip{"VbMenuSet_Chip", "选择芯片(&X)"};
    MenuItem VbMenuSet_Config{"VbMenuSet_Config", "设置配置字(&W)"};
    MenuItem VbMenuSet_Osc{"VbMenuSet_Osc", "设置晶体频率(&O)"};
    MenuItem VbMenuSet_PortSet{"VbMenuSet_PortSet", "端品选择(&P)"};
    MenuItem VbMenuSet_PortB{"VbMenuSet_PortB", "设置RB口中断及上拉(&B)"};
    MenuItem VbMenuSet_T0{"VbMenuSet_T0", "设置Timer&0"};
    MenuItem VbMenuSet_T1{"VbMenuSet_T1", "设置Timer&1"};
    MenuItem VbMenuSet_T2{"VbMenuSet_T2", "设置Timer&2"};
    MenuItem VbMenuSet_CCP{"VbMenuSet_CCP", "设置&CCP模块"};
    MenuItem VbMenuSet_Sci{"VbMenuSet_Sci", "设置&SCI(串行口)模块"};
    MenuItem VbMenuSet_Mssp{"VbMenuSet_Mssp", "设置&MSSP(SPI/I2C)模块"};
    MenuItem VbMenuSet_Ad{"VbMenuSet_Ad", "设置&A/D转换模块"};
    MenuItem VbMenuSet_Cmp{"VbMenuSet_Cmp", "设置比较器和参考电压(&V)"};
    MenuItem VbMenuTools{"VbMenuTools", "工具(&T)"};
    MenuItem VbMenuTools_c{"VbMenuTools_c", "生成C文件(&C)"};
    MenuItem VbMenuTools_Clear{"VbMenuTools_Clear", "清除文本(&C)"};
    MenuItem VbMenuTools_Auto{"VbMenuTools_Auto", "自动生成(&A)"};
    MenuItem VbMenuHelp{"VbMenuHelp", "帮助(&H)"};
    MenuItem VbMenuHelp_Con{"VbMenuHelp_Con", "内容(&C)"};

    // The menu bar as the view builds it: each menu with its items in order.
    struct Menu {
        MenuItem* title;
        std::vector<MenuItem*> items;
    };
    const std::vector<Menu>& menus() const { return menus_; }

    // A menu item whose only work is to open one dialog, modally.
    struct DialogMenuRow {
        MenuItem Form1::*item;
        FormId form;
    };
    // Every such item, in menu order; the constructor wires each from here.
    static std::span<const DialogMenuRow> DialogMenu();

    // The comment answer of the last generate command.
    bool WithComments = false;

    // For the setup guide and the dialogs: the menu's own commands, and the
    // help at a window's own page (F1).
    void chooseCrystal() override { VbMenuSet_Osc_Click(); }
    void generateSource() override { VbMenuTools_c_Click(); }
    void showHelp(const std::string& page) override;

    void Form_Load() override;
    void Form_Resize() override;
    // Unsaved settings are offered for saving first; 取消 keeps the window.
    void Form_QueryUnload(bool& cancel) override;
    void Form_Unload() override;

    void VbMenuFile_SaveFile_Click();
    // Regenerates a C file of the XC8 or SDCC form, keeping the user's code.
    void VbMenuFile_UpdateFile_Click();
    void VbMenuFile_OpenProject_Click();
    void VbMenuFile_SaveProject_Click();
    void VbMenuFile_Exit_Click();

    // Replaces the settings with those of the project file; a file with any
    // fault is refused with a message and the settings stay as they are.
    // Also used for a project named on the command line.
    bool OpenProject(const std::string& path);
    void VbMenuSet_Osc_Click();
    void VbMenuTools_c_Click();
    void VbMenuTools_Clear_Click();
    void VbMenuTools_Auto_Click();

    // The settings may have changed: a dialog closed, the crystal was
    // asked, a project opened. With 自动生成 on, the text follows.
    void SettingsChanged();
    void VbMenuHelp_Con_Click();

    // Raised by SettingsChanged: whatever shows the settings (the pin map)
    // observes it and re-reads them.
    Notifier SettingsWatch;

    // The pin map: shown from the view menu, exported from the file menu.
    MenuItem VbMenuView{"VbMenuView", "查看(&V)"};
    MenuItem VbMenuView_PinMap{"VbMenuView_PinMap", "引脚图(&M)"};
    MenuItem VbMenuFile_ExportPinMap{"VbMenuFile_ExportPinMap", "导出引脚图(&M)..."};
    // How 保存C文件 writes the text: GBK with CR LF unless ticked, remembered.
    MenuItem VbMenuFile_SaveUtf8{"VbMenuFile_SaveUtf8", "C文件用UTF-8编码(&8)"};
    MenuItem VbMenuFile_SaveLf{"VbMenuFile_SaveLf", "C文件用LF换行(&L)"};
    PinMapPanel PinMap;
    void VbMenuView_PinMap_Click();
    void VbMenuFile_ExportPinMap_Click();
    // Opens a dialog modally, as its menu item does, then shows what it changed.
    void OpenDialog(FormId form);

private:
    // The source for the settings, or nothing when the program would name a
    // register the part lacks, which the user is told.
    std::optional<std::string> Assembled(const ProjectSettings& settings);
    void AddPinMapMenus();
    void AddSaveFormMenus();
    // `text` (CR LF lines) in the chosen encoding and line ends; written to
    // `path`, or as the program's own file (a base) there.
    FileWriteResult WriteInSaveForm(const std::string& path, const std::string& text, bool own = false);
    void SizeText1();
    // The comment question of both generating commands; the answer is kept.
    void AskComments();
    // The text for the settings, its changed lines marked.
    void Preview();
    void ShowOutputForm();

    AppContext& context_;
    std::vector<Menu> menus_;
    ProjectLife project_;
    // The text last generated into Text1: a saved modern text's base.
    std::string generated_;
};

}  // namespace korvane
