#include "app/form1.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <system_error>

#include "app/closing_splash.h"
#include "app/start_screen.h"
#include "calc/settings_calc.h"
#include "chip/assemble.h"
#include "dialogs/settle_and_tell.h"
#include "files/source_update.h"
#include "format/gbk.h"
#include "format/line_diff.h"
#include "format/number_text.h"
#include "format/utf8.h"
#include "generator/classic_writer.h"
#include "generator/program_check.h"
#include "platform/form_id.h"
#include "project/project_file.h"
#include "settings/output_form.h"
#include "settings/parts.h"
#include "settings/setting_table.h"

namespace korvane {

namespace {

constexpr const char* kSaveInitialName = "project1";
constexpr const char* kSourceExtension = ".c";
constexpr const char* kSaveFilter = "C文件(*.c)|*.c";
constexpr const char* kSaveFailedTitle = "保存失败";
constexpr const char* kNothingToSaveTitle = "没有可保存的文本";
constexpr const char* kNothingToSaveText = "文本区中还没有源程序,\r请先生成C文件(通过工具菜单)再保存.";
constexpr const char* kReplaceTitle = "文件已存在";
constexpr const char* kUnsavedTitle = "保存工程";
constexpr const char* kUnsavedText = "工程设置已更改,退出前是否保存工程?";
const std::string kProjectInitialName = "project1" + std::string(project_file::kExtension);
const std::string kProjectFilter =
    "Korvane工程(*" + std::string(project_file::kExtension) + ")|*" + std::string(project_file::kExtension);
constexpr const char* kOpenProjectFailedTitle = "打开工程失败";

constexpr const char* kCrystalPrompt = "请输入晶体振荡频率(MHZ)";
constexpr const char* kCrystalTitle = "晶体设置";

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
constexpr const char* kUpdateTitle = "更新C文件";
constexpr const char* kUpdateClassicText =
    "经典格式的源程序没有用户代码区,不能更新.\r请在选择芯片对话框中选择XC8或SDCC格式.";

std::string ReplaceText(const std::string& path) {
    return path + "\r已存在,是否替换它?";
}

// A file name as typed in a save dialog, with `extension` (".c") added when
// its last part has none; a name that has one is kept.
std::string WithExtension(const std::string& path, const std::string& extension) {
    if (std::filesystem::path(path).has_extension()) return path;
    return path + extension;
}

std::string WriteFailedText(const std::string& path, const std::string& error) {
    return "无法写入文件：\r" + path + "\r" + error;
}

// A setting's numeric value as a single, or nothing when it has none.
std::optional<float> SingleOf(const SettingValue& value) {
    const auto number = value.toNumber();
    if (!number) return std::nullopt;
    return FitInSingle(*number);
}

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
    : Form(kName, kTitle), PinMap(context.settings), context_(context), savedSettings_(context.settings) {
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
    if (const auto frequency = SingleOf(settings.T1FreqMHz)) settings.CrystalMHz = *frequency;
    ShowOutputForm();
    VbMenuTools_Auto.setChecked(context_.platform.storedOption(kAutoOption) == "1");
    SettingsChanged();
    MarkSaved();
}

void Form1::ShowOutputForm() {
    const OutputFormId form = OutputFormOf(context_.settings);
    setCaption(form == OutputFormId::Classic
                   ? kTitle
                   : std::string(kTitle) + " - " + std::string(FactsOf(form).caption));
}

void Form1::MarkSaved() {
    savedSettings_ = context_.settings;
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
    cancel = !MayEnd();
}

void Form1::Form_Unload() {
    ShowClosingSplash();
}

bool Form1::MayEnd() {
    // Once the splash is up the user has answered already.
    if (splashShown_ || SameChoices(context_.settings, savedSettings_)) return true;
    switch (context_.platform.messageBox(kUnsavedText, kUnsavedTitle, MessageIcon::Question,
                                         MessageButtons::YesNoCancel)) {
        case MessageAnswer::Yes:
            return SaveProject();
        case MessageAnswer::No:
            return true;
        case MessageAnswer::Ok:
        case MessageAnswer::Cancel:
            break;
    }
    return false;
}

void Form1::ShowClosingSplash() {
    // Exit followed by closing the window must not start a second splash.
    if (splashShown_) return;
    splashShown_ = true;
    context_.platform.showForm(FormId::Splash, false);
}

void Form1::VbMenuFile_Exit_Click() {
    if (MayEnd()) ShowClosingSplash();
}

std::string Form1::ChooseSavePath(const std::string& initialName, const std::string& filter,
                                  const std::string& extension) {
    auto& platform = context_.platform;
    const std::string chosen = platform.saveFileDialog(initialName, filter);
    if (chosen.empty()) return {};
    std::string path = WithExtension(chosen, extension);
    // The dialog asked about the name as typed; the file written is another.
    std::error_code error;
    if (path != chosen && std::filesystem::exists(path, error) &&
        platform.messageBox(ReplaceText(path), kReplaceTitle, MessageIcon::Question, MessageButtons::YesNo) !=
            MessageAnswer::Yes)
        return {};
    return path;
}

void Form1::VbMenuFile_SaveFile_Click() {
    auto& platform = context_.platform;
    if (Text1.text().empty()) {
        platform.messageBox(kNothingToSaveText, kNothingToSaveTitle, MessageIcon::Information,
                            MessageButtons::Ok);
        return;
    }
    const std::string path = ChooseSavePath(kSaveInitialName, kSaveFilter, kSourceExtension);
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
    const std::string path = context_.platform.openFileDialog(kProjectFilter);
    if (!path.empty()) OpenProject(path);
}

bool Form1::OpenProject(const std::string& path) {
    const ProjectReadResult read = ReadProjectFile(path);
    if (const auto* error = std::get_if<ProjectError>(&read)) {
        const std::string where =
            error->line > 0 ? "第" + std::to_string(error->line) + "行：" : std::string();
        context_.platform.messageBox(
            "无法打开工程文件：\r" + path + "\r" + where + error->what + "\r当前设置未改变。",
            kOpenProjectFailedTitle, MessageIcon::Error, MessageButtons::Ok);
        return false;
    }
    // The dialogs load from the settings each time they open, so they show
    // the project from their next opening on.
    context_.settings = std::get<ProjectSettings>(read);
    projectPath_ = path;
    // The file may come from an older version or an editor: the register
    // values and pins follow from its settings, as the dialogs would leave them.
    SettleAndTell(context_);
    ShowOutputForm();
    SettingsChanged();
    MarkSaved();
    return true;
}

void Form1::VbMenuFile_SaveProject_Click() {
    SaveProject();
}

bool Form1::SaveProject() {
    const std::string path = ChooseSavePath(projectPath_.empty() ? kProjectInitialName : projectPath_,
                                            kProjectFilter, std::string(project_file::kExtension));
    if (path.empty()) return false;
    if (const std::string error = WriteProjectFile(path, context_.settings); !error.empty()) {
        context_.platform.messageBox(WriteFailedText(path, error), kSaveFailedTitle, MessageIcon::Error,
                                     MessageButtons::Ok);
        return false;
    }
    projectPath_ = path;
    MarkSaved();
    return true;
}

void Form1::VbMenuSet_Osc_Click() {
    AskCrystal();
    SettingsChanged();
}

void Form1::AskCrystal() {
    auto& settings = context_.settings;
    auto& platform = context_.platform;
    for (;;) {
        const std::string answer =
            platform.inputBox(kCrystalPrompt, kCrystalTitle, SingleText(settings.CrystalMHz));
        const auto frequency = ParseSingle(answer);
        if (!frequency) {
            // Cancel or not a number: the crystal follows Timer0's frequency,
            // unless that is no number either.
            if (const auto timer0 = SingleOf(settings.T0FreqMHz)) settings.CrystalMHz = *timer0;
            return;
        }
        settings.CrystalMHz = *frequency;
        if (*frequency > kHighestCrystalMHz) {
            // The user may overclock knowingly; the value stands.
            platform.messageBox("晶振频率超过PIC16F87x的最高工作频率" + SingleText(kHighestCrystalMHz) +
                                    "MHz,\r芯片可能不能可靠工作.",
                                kCrystalTitle, MessageIcon::Warning, MessageButtons::Ok);
        }
        if (*frequency > 0) {
            settings.T0FreqMHz = *frequency;
            settings.T1FreqMHz = *frequency;
            settings.T2FreqMHz = *frequency;
            // Register values worked out for the old crystal must not outlive it.
            SettleAndTell(context_);
            return;
        }
        platform.messageBox(std::string(baud_messages::kCrystalText),
                            std::string(baud_messages::kCrystalTitle), MessageIcon::Error,
                            MessageButtons::Ok);
    }
}

std::optional<std::string> Form1::Assembled(const ProjectSettings& settings) {
    try {
        return AssembleSource(settings, WithComments);
    } catch (const ProgramFault& fault) {
        context_.platform.messageBox(ProgramFaultText(fault), kTitle, MessageIcon::Error, MessageButtons::Ok);
        return std::nullopt;
    }
}

void Form1::VbMenuTools_c_Click() {
    auto& platform = context_.platform;
    WithComments = platform.messageBox(kCommentQuestion, kCommentTitle, MessageIcon::Question,
                                       MessageButtons::YesNo) == MessageAnswer::Yes;
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
    auto& platform = context_.platform;
    const std::string path = platform.openFileDialog(kSaveFilter);
    if (path.empty()) return;
    // A project still on the classic form updates a file in the form the
    // file was written in.
    ProjectSettings settings = context_.settings;
    if (OutputFormOf(settings) == OutputFormId::Classic) {
        const auto form = SourceFileForm(path);
        if (!form) {
            platform.messageBox(kUpdateClassicText, kUpdateTitle, MessageIcon::Information,
                                MessageButtons::Ok);
            return;
        }
        settings.OutputForm = static_cast<std::int16_t>(*form);
    }
    WithComments = platform.messageBox(kCommentQuestion, kCommentTitle, MessageIcon::Question,
                                       MessageButtons::YesNo) == MessageAnswer::Yes;
    const auto assembled = Assembled(settings);
    if (!assembled) return;
    const std::string& text = *assembled;
    SourceUpdate update = PrepareSourceUpdate(path, text, false);
    if (update.status == SourceUpdate::Status::Refused) {
        // The copy keeps what the user wrote outside the regions.
        if (platform.messageBox("无法更新文件：\r" + path + "\r第" + std::to_string(update.refusal.line) +
                                    "行：" + update.refusal.reason + "\r文件未写入。\r\r是否将原文件保存为" +
                                    BackupPattern(path) + "后覆盖它?",
                                kUpdateTitle, MessageIcon::Warning,
                                MessageButtons::YesNo) != MessageAnswer::Yes)
            return;
        update = PrepareSourceUpdate(path, text, true);
    }
    if (update.status != SourceUpdate::Status::Ready) {
        platform.messageBox("无法更新文件：\r" + path + "\r" + update.error, kUpdateTitle, MessageIcon::Error,
                            MessageButtons::Ok);
        return;
    }
    const std::string changes = UnifiedDiff(update.before, update.merged.text, path, path);
    if (changes.empty()) {
        platform.messageBox("文件已是最新,无需更新：\r" + path, kUpdateTitle, MessageIcon::Information,
                            MessageButtons::Ok);
        return;
    }
    std::string question = "更新将对文件作如下修改(- 去掉的行, + 增加的行)。";
    if (update.merged.carriedOnly) question += "\r" + std::string(kCarriedOnlyText) + "。";
    if (!update.merged.conflicts.empty()) {
        question += "\r有" + std::to_string(update.merged.conflicts.size()) + "处冲突,在新文本的第";
        for (std::size_t i = 0; i < update.merged.conflicts.size(); ++i)
            question += (i ? "、" : "") + std::to_string(update.merged.conflicts[i]);
        question += "行:两者都保留在冲突标记<<<<<<< ======= >>>>>>>之间,需要手工解决。";
    }
    if (platform.diffBox(question + "\r是否写入" + path + "?", changes, kUpdateTitle) != MessageAnswer::Yes)
        return;
    const SourceWriteResult written = WriteSourceUpdate(path, update, {projectPath_});
    if (!written.error.empty()) {
        platform.messageBox(WriteFailedText(path, written.error), kSaveFailedTitle, MessageIcon::Error,
                            MessageButtons::Ok);
        return;
    }
    generated_ = text;
    Text1.setText(update.merged.text);
    std::string done = "已更新：\r" + path + "\r原文件已保存为" + written.backup;
    if (!update.merged.kept.empty()) {
        done += "\r\r以下用户代码区的模块已去掉,其代码已注释掉,保留在文件末尾：";
        for (const std::string& name : update.merged.kept) done += "\r" + QuoteShort(name);
    }
    for (const std::string& name : update.merged.restored) done += "\r\r" + RestoredText(name);
    if (!written.baseError.empty())
        done +=
            "\r\r" + WriteFailedText(BasePath(path), written.baseError) + "\r下次更新只能带入用户代码区。";
    platform.messageBox(done, kUpdateTitle, MessageIcon::Information, MessageButtons::Ok);
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
    const std::string path = ChooseSavePath(kPinMapInitialName, kPinMapFilter, kPinMapExtension);
    if (path.empty()) return;
    // The open project is an input: no picture replaces it.
    const std::string error =
        SameFile(path, projectPath_) ? std::string(kOutputIsInput) : PinMap.writer(PinMap.table(), path);
    if (!error.empty())
        context_.platform.messageBox(WriteFailedText(path, error), kSaveFailedTitle, MessageIcon::Error,
                                     MessageButtons::Ok);
}

}  // namespace korvane
