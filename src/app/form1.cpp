#include "app/form1.h"

#include <algorithm>
#include <optional>

#include "app/closing_splash.h"
#include "app/crystal_prompt.h"
#include "app/save_dialog.h"
#include "app/start_screen.h"
#include "app/update_flow.h"
#include "chip/assemble.h"
#include "files/source_update.h"
#include "format/gbk.h"
#include "format/line_diff.h"
#include "generator/program_check.h"
#include "generator/user_code.h"
#include "platform/form_id.h"
#include "settings/output_form.h"
#include "settings/setting_table.h"

namespace korvane {

namespace {

constexpr const char* kSaveInitialName = "project1";
constexpr const char* kSourceExtension = ".c";
constexpr const char* kNothingToSaveTitle = "没有可保存的文本";
constexpr const char* kNothingToSaveText = "文本区中还没有源程序,\r请先生成C文件(通过工具菜单)再保存.";

constexpr const char* kCommentQuestion = "是否需要在源程序中添加注释?";
constexpr const char* kCommentTitle = "提示";
constexpr const char* kCopiedTitle = "已复制文本";
constexpr const char* kCopiedText =
    "已将源程序复制到Windows的剪贴板上,\r"
    "可直接贴在你的IDE的文本工具上使用\r"
    "或将该文件保存为*.C文件(通过文件菜单).";

constexpr const char* kAutoOption = "AutoGenerate";
constexpr const char* kSaveUtf8Option = "SaveUtf8";
constexpr const char* kSaveLfOption = "SaveLf";

constexpr Form1::DialogMenuRow kDialogMenu[] = {
    {&Form1::VbMenu_SetGuide, FormId::Guide},       {&Form1::VbMenuSet_Chip, FormId::Chip},
    {&Form1::VbMenuSet_Config, FormId::ConfigWord}, {&Form1::VbMenuSet_PortSet, FormId::Port},
    {&Form1::VbMenuSet_PortB, FormId::PortB},       {&Form1::VbMenuSet_T0, FormId::Timer0},
    {&Form1::VbMenuSet_T1, FormId::Timer1},         {&Form1::VbMenuSet_T2, FormId::Timer2},
    {&Form1::VbMenuSet_CCP, FormId::Ccp},           {&Form1::VbMenuSet_Sci, FormId::Sci},
    {&Form1::VbMenuSet_Mssp, FormId::Mssp},         {&Form1::VbMenuSet_Ad, FormId::Ad},
    {&Form1::VbMenuSet_Cmp, FormId::Comparator},
};

}  // namespace

// The pin map's export and its remembered state.
namespace {
constexpr const char* kPinMapInitialName = "pinmap";
constexpr const char* kPinMapExtension = ".svg";
constexpr const char* kPinMapFilter = "SVG图片(*.svg)|*.svg|PNG图片(*.png)|*.png";
constexpr const char* kPinMapOption = "PinMapShown";
}  // namespace

std::span<const Form1::DialogMenuRow> Form1::DialogMenu() {
    return kDialogMenu;
}

Form1::Form1(AppContext& context)
    : Form(kName, kTitle), PinMap(context.settings), context_(context), project_(context, [this] {
          ShowOutputForm();
          SettingsChanged();
      }) {
    const auto wire = [](MenuItem& item, auto handler) { item.onClick = handler; };
    wire(VbMenuFile_SaveFile, [this] { VbMenuFile_SaveFile_Click(); });
    wire(VbMenuFile_UpdateFile, [this] { VbMenuFile_UpdateFile_Click(); });
    wire(VbMenuFile_OpenProject, [this] { VbMenuFile_OpenProject_Click(); });
    wire(VbMenuFile_SaveProject, [this] { VbMenuFile_SaveProject_Click(); });
    wire(VbMenuFile_Exit, [this] { VbMenuFile_Exit_Click(); });
    wire(VbMenuSet_Osc, [this] { VbMenuSet_Osc_Click(); });
    for (const DialogMenuRow& row : DialogMenu())
        wire(this->*row.item, [this, id = row.form] { OpenDialog(id); });
    wire(VbMenuTools_c, [this] { VbMenuTools_c_Click(); });
    wire(VbMenuTools_Clear, [this] { VbMenuTools_Clear_Click(); });
    VbMenuTools_Auto.setCheckable(true);
    wire(VbMenuTools_Auto, [this] { VbMenuTools_Auto_Click(); });
    wire(VbMenuHelp_Con, [this] { VbMenuHelp_Con_Click(); });
    menus_ = {
        {&VbMenuFile,
         {&VbMenuFile_SaveFile, &VbMenuFile_UpdateFile, &VbMenuFile_OpenProject, &VbMenuFile_SaveProject,
          &VbMenuFile_Exit}},
        {&VbMenuSet,
         {&VbMenu_SetGuide, &VbMenuSet_Chip, &VbMenuSet_Config, &VbMenuSet_Osc, &VbMenuSet_PortSet,
          &VbMenuSet_PortB, &VbMenuSet_T0, &VbMenuSet_T1, &VbMenuSet_T2, &VbMenuSet_CCP, &VbMenuSet_Sci,
          &VbMenuSet_Mssp, &VbMenuSet_Ad, &VbMenuSet_Cmp}},
        {&VbMenuTools, {&VbMenuTools_c, &VbMenuTools_Clear, &VbMenuTools_Auto}},
        {&VbMenuHelp, {&VbMenuHelp_Con}},
    };
    AddPinMapMenus();
    AddSaveFormMenus();
}

void Form1::AddSaveFormMenus() {
    const std::pair<MenuItem*, const char*> choices[] = {{&VbMenuFile_SaveUtf8, kSaveUtf8Option},
                                                         {&VbMenuFile_SaveLf, kSaveLfOption}};
    for (const auto& choice : choices) {
        MenuItem* item = choice.first;
        const char* option = choice.second;
        item->setCheckable(true);
        item->setChecked(context_.platform.storedOption(option) == "1");
        item->onClick = [this, item, option] {
            context_.platform.storeOption(option, item->checked() ? "1" : "0");
        };
    }
    auto& file = menus_.front().items;
    const auto after = std::find(file.begin(), file.end(), &VbMenuFile_UpdateFile) + 1;
    file.insert(after, {&VbMenuFile_SaveUtf8, &VbMenuFile_SaveLf});
}

FileWriteResult Form1::WriteInSaveForm(const std::string& path, const std::string& text, bool own) {
    const std::string lines = VbMenuFile_SaveLf.checked() ? WithLf(text) : text;
    if (own) {
        // What was saved with it: a base that cannot be encoded is no base.
        return context_.platform.writeOwnFile(path,
                                              VbMenuFile_SaveUtf8.checked() ? lines : EncodeGbk(lines).bytes);
    }
    if (VbMenuFile_SaveUtf8.checked()) return context_.platform.writeFileBytes(path, lines);
    return context_.platform.writeLegacyTextFile(path, lines);
}

void Form1::Form_Load() {
    context_.platform.showForm(FormId::Start, true);
    setWindowState(WindowState::Maximized);
    // Centring the normal position is the view's part: it knows the sizes.
    SizeText1();
    auto& settings = context_.settings;
    for (SettingGroup group : kEveryGroup) settings.Reset(group);
    if (const auto frequency = CrystalOf(settings.T1FreqMHz)) settings.CrystalMHz = *frequency;
    ShowOutputForm();
    VbMenuTools_Auto.setChecked(context_.platform.storedOption(kAutoOption) == "1");
    SettingsChanged();
    project_.MarkSaved();
}

void Form1::ShowOutputForm() {
    const OutputFormId form = OutputFormOf(context_.settings);
    setCaption(form == OutputFormId::Classic
                   ? kTitle
                   : std::string(kTitle) + " - " + std::string(FactsOf(form).caption));
}

void Form1::SizeText1() {
    // setSize keeps both at zero or more when the window is below the margins.
    Text1.setSize(width() - kWidthMargin, height() - kHeightMargin);
}

void Form1::Form_Resize() {
    if (windowState() == WindowState::Minimized) return;
    SizeText1();
}

void Form1::Form_QueryUnload(bool& cancel) {
    cancel = !project_.MayEnd();
}

void Form1::Form_Unload() {
    project_.End();
}

void Form1::VbMenuFile_Exit_Click() {
    if (project_.MayEnd()) project_.End();
}

void Form1::VbMenuFile_SaveFile_Click() {
    auto& platform = context_.platform;
    if (Text1.text().empty()) {
        platform.messageBox(kNothingToSaveText, kNothingToSaveTitle, MessageIcon::Information,
                            MessageButtons::Ok);
        return;
    }
    const std::string path = ChooseSavePath(platform, kSaveInitialName, kSourceFilter, kSourceExtension);
    if (path.empty()) return;
    const FileWriteResult result = WriteInSaveForm(path, Text1.text());
    switch (result.status) {
        case FileWriteResult::Status::Written:
            // What was generated, edited in the text area or not, is the
            // base the next update merges the file's edits against.
            if (IsStamped(generated_) && SplitLines(generated_)[0] == SplitLines(Text1.text())[0]) {
                if (const FileWriteResult base = WriteInSaveForm(BasePath(path), generated_, true);
                    !base.written())
                    platform.messageBox(WriteFailedText(BasePath(path), base.error), kSaveFailedTitle,
                                        MessageIcon::Error, MessageButtons::Ok);
            }
            break;
        case FileWriteResult::Status::Unencodable:
            platform.messageBox("文本中有GBK编码无法保存的字符：\r" + CharacterList(result.unencodable) +
                                    "\r请删除或替换这些字符后再保存。文件未写入：\r" + path,
                                kSaveFailedTitle, MessageIcon::Error, MessageButtons::Ok);
            break;
        case FileWriteResult::Status::Failed:
            platform.messageBox(WriteFailedText(path, result.error), kSaveFailedTitle, MessageIcon::Error,
                                MessageButtons::Ok);
            break;
    }
}

void Form1::VbMenuFile_OpenProject_Click() {
    project_.OpenChosen();
}

bool Form1::OpenProject(const std::string& path) {
    return project_.Open(path);
}

void Form1::VbMenuFile_SaveProject_Click() {
    project_.Save();
}

void Form1::VbMenuSet_Osc_Click() {
    AskCrystal(context_);
    SettingsChanged();
}

std::optional<std::string> Form1::Assembled(const ProjectSettings& settings) {
    try {
        return AssembleSource(settings, WithComments);
    } catch (const ProgramFault& fault) {
        context_.platform.messageBox(ProgramFaultText(fault), kTitle, MessageIcon::Error, MessageButtons::Ok);
        return std::nullopt;
    }
}

void Form1::AskComments() {
    WithComments = context_.platform.messageBox(kCommentQuestion, kCommentTitle, MessageIcon::Question,
                                                MessageButtons::YesNo) == MessageAnswer::Yes;
}

void Form1::VbMenuTools_c_Click() {
    auto& platform = context_.platform;
    AskComments();
    const auto text = Assembled(context_.settings);
    if (!text) return;
    generated_ = *text;
    Text1.setText(generated_);
    platform.putClipboardText(Text1.text());
    platform.messageBox(kCopiedText, kCopiedTitle, MessageIcon::Information, MessageButtons::Ok);
}

void Form1::VbMenuTools_Clear_Click() {
    Text1.setText({});
}

void Form1::VbMenuTools_Auto_Click() {
    context_.platform.storeOption(kAutoOption, VbMenuTools_Auto.checked() ? "1" : "0");
    SettingsChanged();
}

void Form1::SettingsChanged() {
    SettingsWatch.raise();
    if (VbMenuTools_Auto.checked()) Preview();
}

void Form1::Preview() {
    auto assembled = Assembled(context_.settings);
    if (!assembled) return;
    std::string text = std::move(*assembled);
    // Nothing changed: the marks of the last change stay. A first text is
    // all new, which marks nothing worth seeing.
    if (text == Text1.text()) return;
    std::vector<int> changed = Text1.text().empty() ? std::vector<int>() : ChangedLines(Text1.text(), text);
    generated_ = text;
    Text1.setText(std::move(text));
    Text1.setMarkedLines(std::move(changed));
}

void Form1::VbMenuFile_UpdateFile_Click() {
    UpdateFlow(context_.platform, context_.settings, project_.path(),
               {.generate =
                    [this](const ProjectSettings& settings) {
                        AskComments();
                        return Assembled(settings);
                    },
                .updated =
                    [this](const std::string& generated, const std::string& merged) {
                        generated_ = generated;
                        Text1.setText(merged);
                    }})
        .Run();
}

void Form1::VbMenuHelp_Con_Click() {
    showHelp({});
}

void Form1::showHelp(const std::string& page) {
    context_.platform.openDocument(kHelpFile, page);
}

// The pin map and the settings' change point.

void Form1::AddPinMapMenus() {
    // The menu's tick is the map's state, however the map was shown or closed.
    VbMenuView_PinMap.setCheckable(true);
    VbMenuView_PinMap.onClick = [this] { VbMenuView_PinMap_Click(); };
    // The dock's own close box closes it too; either way it is remembered.
    PinMap.observe([this](Change) {
        if (VbMenuView_PinMap.checked() == PinMap.shown()) return;
        VbMenuView_PinMap.setChecked(PinMap.shown());
        context_.platform.storeOption(kPinMapOption, PinMap.shown() ? "1" : "0");
    });
    PinMap.setShown(context_.platform.storedOption(kPinMapOption) == "1");
    VbMenuFile_ExportPinMap.onClick = [this] { VbMenuFile_ExportPinMap_Click(); };
    PinMap.openDialog = [this](FormId form) { OpenDialog(form); };
    SettingsWatch.observe([this](Change) { PinMap.Refresh(); });
    // The export after the project commands, the view menu after the file menu.
    auto& file = menus_.front().items;
    file.insert(std::find(file.begin(), file.end(), &VbMenuFile_SaveProject) + 1, &VbMenuFile_ExportPinMap);
    menus_.insert(menus_.begin() + 1, Menu{&VbMenuView, {&VbMenuView_PinMap}});
}

void Form1::OpenDialog(FormId form) {
    context_.platform.showForm(form, true);
    ShowOutputForm();
    SettingsChanged();
}

void Form1::VbMenuView_PinMap_Click() {
    context_.platform.storeOption(kPinMapOption, VbMenuView_PinMap.checked() ? "1" : "0");
    PinMap.setShown(VbMenuView_PinMap.checked());
}

void Form1::VbMenuFile_ExportPinMap_Click() {
    if (!PinMap.writer) return;
    const std::string path =
        ChooseSavePath(context_.platform, kPinMapInitialName, kPinMapFilter, kPinMapExtension);
    if (path.empty()) return;
    // The open project is an input: no picture replaces it.
    const std::string error =
        SameFile(path, project_.path()) ? std::string(kOutputIsInput) : PinMap.writer(PinMap.table(), path);
    if (!error.empty())
        context_.platform.messageBox(WriteFailedText(path, error), kSaveFailedTitle, MessageIcon::Error,
                                     MessageButtons::Ok);
}

}  // namespace korvane
