#include "app/form1.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "calc/settings_calc.h"
#include "chip/assemble.h"
#include "chip/claims.h"
#include "chip/settle.h"
#include "controls/app_context.h"
#include "dialogs/sci_form.h"
#include "dialogs/timer0_form.h"
#include "dialogs/timer1_form.h"
#include "dialogs/timer2_form.h"
#include "fake_platform.h"
#include "files/source_update.h"
#include "format/gbk.h"
#include "format/line_diff.h"
#include "generator/classic_writer.h"
#include "generator/user_code.h"
#include "project/project_file.h"
#include "settings/pin_claims.h"
#include "settings/setting_table.h"

namespace korvane {
namespace {

// The main window over a scripted platform, loaded as at program start.
class MainWindowStory : public ::testing::Test {
protected:
    MainWindowStory() { context.mainWindow = &form; }

    void Load() {
        form.resized(12000, 9000, WindowState::Normal);
        form.load();
    }

    ProjectSettings settings;
    FakePlatform platform;
    AppContext context{settings, platform};
    Form1 form{context};
};

TEST_F(MainWindowStory, LoadShowsTheStartScreenFirstThenResetsAndMaximises) {
    settings.PortCUsed = 1;
    settings.T1FreqMHz = std::string("7");
    settings.CrystalMHz = 9;
    platform.formActions[FormId::Start] = [&] {
        // The start screen is up before anything else has happened.
        EXPECT_EQ(form.windowState(), WindowState::Normal);
        EXPECT_EQ(settings.PortCUsed, 1);
    };
    Load();
    EXPECT_EQ(platform.events, (std::vector<std::string>{"form:start"}));
    EXPECT_EQ(form.windowState(), WindowState::Maximized);
    EXPECT_EQ(settings, ProjectSettings{});
    EXPECT_EQ(settings.CrystalMHz, 4.0f);
    EXPECT_EQ(form.Text1.width(), 12000 - 120);
    EXPECT_EQ(form.Text1.height(), 9000 - 675);
}

TEST_F(MainWindowStory, Text1FollowsTheWindowButNotWhileMinimised) {
    struct Step {
        int width, height;
        WindowState state;
        int text1Width, text1Height;
    } const steps[] = {
        {6000, 4000, WindowState::Normal, 5880, 3325},
        {20000, 15000, WindowState::Maximized, 19880, 14325},
        {500, 300, WindowState::Minimized, 19880, 14325},  // minimised: unchanged
        {100, 600, WindowState::Normal, 0, 0},             // below the margins: zero, not negative
        {121, 676, WindowState::Normal, 1, 1},
    };
    for (const auto& step : steps) {
        form.resized(step.width, step.height, step.state);
        EXPECT_EQ(form.Text1.width(), step.text1Width) << step.width;
        EXPECT_EQ(form.Text1.height(), step.text1Height) << step.height;
    }
}

TEST_F(MainWindowStory, CrystalCommand) {
    struct Case {
        const char* what;
        SettingValue t0Before;
        std::vector<std::string> inputs;
        float crystal;
        std::vector<std::string> defaults;  // default text of each input box
        int errors;
        bool timersFollow;
        bool overRated = false;  // warned of, and kept
    };
    const Case cases[] = {
        {"8 sets all four", 4, {"8"}, 8, {"4"}, 0, true},
        {"25 is beyond the rating", 4, {"25"}, 25, {"4"}, 0, true, true},
        {"0 then 5 asks again", 4, {"0", "5"}, 5, {"4", "0"}, 1, true},
        {"-4 then cancel", 4, {"-4", ""}, 4, {"4", "-4"}, 1, false},
        {"fraction", 4, {"3.6864"}, 3.6864f, {"4"}, 0, true},
        {"cancel follows Timer0's typed 10", std::string("10"), {""}, 10, {"4"}, 0, false},
        {"letters follow Timer0", 4, {"abc"}, 4, {"4"}, 0, false},
        {"cancel with non-numeric Timer0 keeps crystal", std::string("1.2.3"), {""}, 4, {"4"}, 0, false},
        {"Timer0 beyond single range keeps crystal",
         std::string("1" + std::string(45, '0')),
         {""},
         4,
         {"4"},
         0,
         false},
    };
    for (const auto& c : cases) {
        ProjectSettings s;
        FakePlatform p;
        AppContext ctx{s, p};
        Form1 f(ctx);
        s.T0FreqMHz = c.t0Before;
        const SettingValue t1Before = s.T1FreqMHz;
        p.inputs.assign(c.inputs.begin(), c.inputs.end());
        f.VbMenuSet_Osc_Click();
        EXPECT_EQ(s.CrystalMHz, c.crystal) << c.what;
        ASSERT_EQ(p.inputBoxes.size(), c.defaults.size()) << c.what;
        for (std::size_t i = 0; i < c.defaults.size(); ++i) {
            EXPECT_EQ(p.inputBoxes[i].defaultText, c.defaults[i]) << c.what;
            EXPECT_EQ(p.inputBoxes[i].prompt, "请输入晶体振荡频率(MHZ)");
            EXPECT_EQ(p.inputBoxes[i].title, "晶体设置");
        }
        ASSERT_EQ(p.messages.size(), static_cast<std::size_t>(c.errors + c.overRated)) << c.what;
        if (c.overRated) {
            EXPECT_EQ(p.messages[0].text, "晶振频率超过PIC16F87x的最高工作频率20MHz,\r芯片可能不能可靠工作.");
            EXPECT_EQ(p.messages[0].icon, MessageIcon::Warning);
            p.messages.erase(p.messages.begin());
        }
        for (const auto& m : p.messages) {
            EXPECT_EQ(m.title, "晶振频率设置错误");
            EXPECT_EQ(m.text, "晶振频率应大于0，请重新设置。谢谢！");
            EXPECT_EQ(m.icon, MessageIcon::Error);
            EXPECT_EQ(m.buttons, MessageButtons::Ok);
        }
        if (c.timersFollow) {
            for (const auto* frequency : {&s.T0FreqMHz, &s.T1FreqMHz, &s.T2FreqMHz}) {
                EXPECT_EQ(frequency->kind(), SettingValue::Kind::Single) << c.what;
                EXPECT_TRUE(frequency->equals(c.crystal)) << c.what;
            }
        } else {
            EXPECT_EQ(s.T0FreqMHz, c.t0Before) << c.what;
            EXPECT_EQ(s.T1FreqMHz, t1Before) << c.what;
        }
    }
}

// Every register value the source writes is worked out again for the new
// crystal, without a message; what no longer fits is emptied, never kept.
TEST_F(MainWindowStory, NewCrystalRecalculatesEveryWrittenRegisterValue) {
    // Register texts as "T0 | TMR1H TMR1L | T2 | SPBRG".
    const auto registers = [](const ProjectSettings& s) {
        return s.T0RegText + " | " + s.T1RegHighText.toText() + " " + s.T1RegLowText + " | " + s.T2RegText +
               " | " + s.SciSpbrgText.toText();
    };
    const auto withValues = [](ProjectSettings& s) {
        s.T0RegText = "0xCE";
        s.T1RegHighText = "0xFC";
        s.T1RegLowText = "0x18";
        s.T2RegText = "0x9C";
        s.SciSpbrgText = "0x19";
        s.T0TimeUs = 100.0f;
        s.T1TimeUs = 1000.0f;
        s.T2TimeUs = 100.0f;
        s.SciBaud = "9600";
    };
    struct Case {
        const char* what;
        std::function<void(ProjectSettings&)> set;
        const char* crystal;
        const char* expected;
        std::vector<std::string> titles{};  // what could not be worked out is said
    };
    const Case cases[] = {
        {"all off: only SPBRG follows", [](ProjectSettings&) {}, "8", "0xCE | 0xFC 0x18 | 0x9C | 0x33"},
        // Timer2 gets PR2: 200 counts at 8 MHz.
        {"every timer on", [](ProjectSettings& s) { s.T0En = s.T1En = s.T2En = true; }, "8",
         "0x9C | 0xF8 0x30 | 0xC7 | 0x33"},
        // Every edge of the outside clock counts: 200 counts of 0.25 us at 1:2.
        {"Timer0 external clock timing",
         [](ProjectSettings& s) {
             s.T0En = true;
             s.T0ClockMode = 1;
             s.T0TimeUs = 50.0f;
         },
         "8", "0x38 | 0xFC 0x18 | 0x9C | 0x33"},
        {"counting modes write no calculated value",
         [](ProjectSettings& s) {
             s.T0En = s.T1En = true;
             s.T0ClockMode = 2;
             s.T1ClockMode = 1;
         },
         "8", "0xCE | 0xFC 0x18 | 0x9C | 0x33"},
        {"out of range is emptied",
         [](ProjectSettings& s) {
             s.T1En = s.T2En = true;
             s.T1TimeUs = 50000.0f;  // 100000 counts at 8 MHz
             s.T2TimeUs = 300.0f;    // 600 counts
         },
         "8",
         "0xCE |   |  | 0x33",
         {"超出定时范围", "超出定时范围"}},
        {"an untyped time is emptied",
         [](ProjectSettings& s) {
             s.T2En = true;
             s.T2TimeUs = "1.2.3";
         },
         "8",
         "0xCE | 0xFC 0x18 |  | 0x33",
         {"输入数据不正确"}},
        {"the chosen rate no longer usable",
         [](ProjectSettings& s) {
             s.SciBaud = "1200";
             s.SciSpbrgText = "0xCF";
         },
         "20", "0xCE | 0xFC 0x18 | 0x9C | "},
        {"the stored mode and error limit count",
         [](ProjectSettings& s) {
             s.SciErrLimit = "2";
             s.SciBaud = "2400";
             s.SciSpbrgText = "0x66";
         },
         "8", "0xCE | 0xFC 0x18 | 0x9C | 0xCC"},
        {"synchronous",
         [](ProjectSettings& s) {
             s.SciSyncMode = 1;
             s.SciBaud = "38400";
         },
         "18.432", "0xCE | 0xFC 0x18 | 0x9C | 0x77"},
        {"no rate left switches the serial port off",
         [](ProjectSettings& s) { s.SciEn = 1; },
         "0.001",
         "0xCE | 0xFC 0x18 | 0x9C | ",
         {"不使用SCI串行口退出"}},
    };
    for (const auto& c : cases) {
        ProjectSettings s;
        FakePlatform p;
        AppContext ctx{s, p};
        Form1 f(ctx);
        withValues(s);
        c.set(s);
        const ProjectSettings before = s;
        p.inputs = {c.crystal};
        f.VbMenuSet_Osc_Click();
        EXPECT_EQ(p.messageTitles(), c.titles) << c.what;
        EXPECT_EQ(registers(s), c.expected) << c.what;
        // Pins are taken once the modules have settled: a module the crystal
        // switched off takes none, and port C is as it was but for the others'.
        ProjectSettings pins = s;
        pins.PortCUsed = before.PortCUsed;
        pins.PortCDir = before.PortCDir;
        ApplyPinClaims(pins);
        EXPECT_EQ(s.PortCUsed, pins.PortCUsed) << c.what;
        EXPECT_EQ(s.PortCDir, pins.PortCDir) << c.what;
    }
}

TEST_F(MainWindowStory, GenerateAsksThenFillsText1ClipboardAndNotice) {
    for (const auto answer : {MessageAnswer::Yes, MessageAnswer::No}) {
        const bool comments = answer == MessageAnswer::Yes;
        platform = FakePlatform{};
        platform.answers = {answer};
        form.Text1.setText("user's edits are replaced");
        form.VbMenuTools_c_Click();

        const std::string expected = AssembleSource(settings, comments);
        EXPECT_EQ(form.WithComments, comments);
        EXPECT_EQ(form.Text1.text(), expected);
        EXPECT_EQ(platform.clipboard, expected);
        EXPECT_EQ(platform.events,
                  (std::vector<std::string>{"message:提示", "clipboard", "message:已复制文本"}));
        const auto& question = platform.messages[0];
        EXPECT_EQ(question.text, "是否需要在源程序中添加注释?");
        EXPECT_EQ(question.icon, MessageIcon::Question);
        EXPECT_EQ(question.buttons, MessageButtons::YesNo);
        const auto& notice = platform.messages[1];
        EXPECT_EQ(notice.text,
                  "已将源程序复制到Windows的剪贴板上,\r可直接贴在你的IDE的文本工具上使用\r"
                  "或将该文件保存为*.C文件(通过文件菜单).");
        EXPECT_EQ(notice.icon, MessageIcon::Information);
        EXPECT_EQ(notice.buttons, MessageButtons::Ok);
    }
    // Comments off: no comment line anywhere.
    EXPECT_EQ(form.Text1.text().find("//"), std::string::npos);
}

TEST_F(MainWindowStory, SaveWritesText1AsItStands) {
    struct Case {
        const char* what;
        std::string text;
        std::string path;  // "" = cancelled
        std::string failure;
        std::string writtenAs;  // "" = nothing written
        std::vector<std::string> titles;
    };
    const std::string chinese = "//端口I/O定义子程序\r\nvoid main()\r\n";
    const Case cases[] = {
        {"cancel writes nothing", "int x;", "", "", "", {}},
        {"suggested name gets its extension", "int x;\r\n", "/w/project1", "", "/w/project1.c", {}},
        {"Chinese text in GBK", chinese, "/w/a.c", "", "/w/a.c", {}},
        {"emoji cannot be stored", "int x; // 😀 ok\r\n", "/w/a.c", "", "", {"保存失败"}},
        {"unwritable target", "int x;", "/ro/a.c", "Permission denied", "", {"保存失败"}},
    };
    for (const auto& c : cases) {
        platform = FakePlatform{};
        platform.savePaths = {c.path};
        platform.writeFailure = c.failure;
        form.Text1.setText(c.text);
        form.VbMenuFile_SaveFile_Click();

        EXPECT_EQ(platform.events.front(), "save:project1") << c.what;
        EXPECT_EQ(platform.saveFilters, (std::vector<std::string>{"C文件(*.c)|*.c"})) << c.what;
        EXPECT_EQ(platform.files.size(), c.writtenAs.empty() ? 0u : 1u) << c.what;
        EXPECT_EQ(platform.files.count(c.writtenAs), c.writtenAs.empty() ? 0u : 1u) << c.what;
        EXPECT_EQ(platform.messageTitles(), c.titles) << c.what;
        EXPECT_EQ(form.Text1.text(), c.text) << c.what;
        if (c.path.empty()) {
            EXPECT_EQ(platform.events.size(), 1u) << c.what;
        }
    }
    EXPECT_EQ(platform.messages[0].text.find("/ro/a.c") != std::string::npos, true);
    EXPECT_NE(platform.messages[0].text.find("Permission denied"), std::string::npos);
}

// An empty text area (nothing generated yet, or cleared) is not written as
// an empty file: the user is told there is nothing to save.
TEST_F(MainWindowStory, SavingAnEmptyTextAreaSaysThereIsNothingToSave) {
    for (const bool cleared : {false, true}) {
        platform = FakePlatform{};
        form.Text1.setText("int x;");
        if (cleared) form.VbMenuTools_Clear_Click();
        if (!cleared) form.Text1.setText("");
        form.VbMenuFile_SaveFile_Click();
        EXPECT_EQ(platform.events, std::vector<std::string>{"message:没有可保存的文本"});
        EXPECT_EQ(platform.messages[0].text, "文本区中还没有源程序,\r请先生成C文件(通过工具菜单)再保存.");
        EXPECT_EQ(platform.messages[0].icon, MessageIcon::Information);
        EXPECT_TRUE(platform.files.empty());
    }
}

// Both save commands give a name typed without an extension their own; a
// file that name leads to is replaced only when the user agrees, since the
// dialog asked about the name as typed.
TEST_F(MainWindowStory, SaveCommandsAddTheirExtension) {
    const std::string dir = ::testing::TempDir() + "korvane-extension/";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir + "v1.2");
    std::ofstream(dir + "there.c") << "old";
    std::ofstream(dir + "there.kvp") << "old";
    struct Case {
        bool project;  // else the C file
        std::string typed;
        std::vector<MessageAnswer> answers;  // to the replace question
        std::string writtenAs;               // "" = nothing
    } const cases[] = {
        {false, "myproj", {}, "myproj.c"},
        {false, "myproj.c", {}, "myproj.c"},
        {false, "notes.txt", {}, "notes.txt"},
        {false, "v1.2/myproj", {}, "v1.2/myproj.c"},
        {false, "there", {MessageAnswer::No}, ""},
        {false, "there", {MessageAnswer::Yes}, "there.c"},
        {true, "myproj", {}, "myproj.kvp"},
        {true, "there", {MessageAnswer::No}, ""},
        {true, "there", {MessageAnswer::Yes}, "there.kvp"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE((c.project ? "project " : "C ") + c.typed);
        platform = FakePlatform{};
        platform.savePaths = {dir + c.typed};
        platform.answers.assign(c.answers.begin(), c.answers.end());
        form.Text1.setText("int x;");
        if (c.project)
            form.VbMenuFile_SaveProject_Click();
        else
            form.VbMenuFile_SaveFile_Click();
        const std::vector<std::string> asked(c.answers.size(), "文件已存在");
        EXPECT_EQ(platform.messageTitles(), asked);
        if (!c.answers.empty()) {
            EXPECT_EQ(platform.messages[0].text,
                      dir + c.typed + (c.project ? ".kvp" : ".c") + "\r已存在,是否替换它?");
        }
        const std::string path = dir + c.writtenAs;
        if (c.project) {
            // A refused replacement leaves the old file as it was.
            std::ifstream in(c.writtenAs.empty() ? dir + "there.kvp" : path);
            const std::string content((std::istreambuf_iterator<char>(in)), {});
            EXPECT_EQ(content.starts_with("[korvane]"), !c.writtenAs.empty()) << content;
        } else {
            EXPECT_EQ(platform.files.count(path), c.writtenAs.empty() ? 0u : 1u);
            EXPECT_EQ(platform.files.size(), c.writtenAs.empty() ? 0u : 1u);
        }
    }
    std::filesystem::remove_all(dir);
}

TEST_F(MainWindowStory, SavedBytesAreGbkWithLineEndsKept) {
    platform.savePaths = {"/w/a.c"};
    form.Text1.setText("//端口I/O定义子程序\r\n");
    form.VbMenuFile_SaveFile_Click();
    EXPECT_EQ(platform.files["/w/a.c"],
              "\x2f\x2f\xb6\xcb\xbf\xda\x49\x2f\x4f\xb6\xa8\xd2\xe5\xd7\xd3\xb3\xcc\xd0\xf2\r\n");
}

TEST_F(MainWindowStory, UnencodableCharactersAreNamedInTheMessage) {
    platform.savePaths = {"/w/a.c"};
    form.Text1.setText("a😀b€c😀\x01");
    form.VbMenuFile_SaveFile_Click();
    ASSERT_EQ(platform.messages.size(), 1u);
    const auto& text = platform.messages[0].text;
    EXPECT_NE(text.find("😀(U+1F600)"), std::string::npos) << text;
    EXPECT_EQ(text.find("😀", text.find("U+1F600")), std::string::npos) << "listed once";
    EXPECT_NE(text.find("/w/a.c"), std::string::npos);
    EXPECT_EQ(platform.messages[0].icon, MessageIcon::Error);
    EXPECT_TRUE(platform.files.empty());
}

TEST_F(MainWindowStory, ClearHelpAndDialogItems) {
    form.Text1.setText("x");
    form.VbMenuTools_Clear.click();
    EXPECT_EQ(form.Text1.text(), "");
    form.VbMenuHelp_Con.click();
    EXPECT_EQ(platform.openedDocuments, (std::vector<std::string>{"korvane.chm"}));
    EXPECT_EQ(platform.events.back(), "open:korvane.chm");  // at its start page

    for (MenuItem* item : {&form.VbMenu_SetGuide, &form.VbMenuSet_Chip, &form.VbMenuSet_Config,
                           &form.VbMenuSet_PortSet, &form.VbMenuSet_PortB, &form.VbMenuSet_T0,
                           &form.VbMenuSet_T1, &form.VbMenuSet_T2, &form.VbMenuSet_CCP, &form.VbMenuSet_Sci,
                           &form.VbMenuSet_Mssp, &form.VbMenuSet_Ad, &form.VbMenuSet_Cmp})
        item->click();
    EXPECT_EQ(platform.shownForms,
              (std::vector<std::string>{"guide", "chip", "config", "Port", "portb", "timer0", "Timer1",
                                        "timer2", "ccp", "sci", "mssp", "ad", "comparator"}));
    EXPECT_EQ(settings, ProjectSettings{});
}

TEST_F(MainWindowStory, ExitAndClosingShowTheSplashOnce) {
    form.VbMenuFile_Exit.click();
    EXPECT_FALSE(form.unloaded());  // Exit leaves the window up
    form.unload();
    EXPECT_EQ(platform.events, (std::vector<std::string>{"form:frmSplash:modeless"}));
}

// Ending with settings other than those last saved or opened (the defaults
// right after start) asks whether to save the project; 取消, or a save that
// does not happen, keeps the program running. Exit and closing the window ask
// alike, and once the splash is up nothing asks again.
TEST(MainWindowEnding, UnsavedSettingsAskToSaveTheProject) {
    struct Run {
        ProjectSettings settings;
        FakePlatform platform;
        AppContext context{settings, platform};
        Form1 form{context};
        Run() {
            form.resized(12000, 9000, WindowState::Normal);
            form.load();
        }
    };
    const std::string path = ::testing::TempDir() + "exit.kvp";
    enum class Before { Nothing, Change, ChangeAndSave, Open, ChangeBack, TimersAndSciOpened };
    struct Case {
        const char* what;
        Before before;
        std::vector<MessageAnswer> answers;
        std::vector<std::string> savePaths;
        bool ends;
    } const cases[] = {
        {"the defaults after start", Before::Nothing, {}, {}, true},
        {"changed, 取消", Before::Change, {MessageAnswer::Cancel}, {}, false},
        {"changed, 否", Before::Change, {MessageAnswer::No}, {}, true},
        {"changed, 是", Before::Change, {MessageAnswer::Yes}, {path}, true},
        {"changed, 是, the save cancelled", Before::Change, {MessageAnswer::Yes}, {""}, false},
        {"changed and saved", Before::ChangeAndSave, {}, {}, true},
        {"opened and left as opened", Before::Open, {}, {}, true},
        {"changed back", Before::ChangeBack, {}, {}, true},
        // Their boxes store the numbers they show as typed texts.
        {"dialogs opened and closed", Before::TimersAndSciOpened, {}, {}, true},
    };
    ProjectSettings opened;
    opened.T1Int = -1;
    for (const auto& c : cases) {
        for (const bool byExit : {true, false}) {
            SCOPED_TRACE(std::string(c.what) + (byExit ? ", 退出" : ", the window closed"));
            std::remove(path.c_str());
            Run r;
            if (c.before == Before::Change || c.before == Before::ChangeAndSave ||
                c.before == Before::ChangeBack)
                r.settings.T2Int = -1;
            if (c.before == Before::ChangeBack) r.settings.T2Int = 0;
            if (c.before == Before::ChangeAndSave) {
                r.platform.savePaths = {path};
                r.form.VbMenuFile_SaveProject_Click();
            }
            if (c.before == Before::TimersAndSciOpened) {
                Timer0Form t0(r.context);
                Timer1Form t1(r.context);
                Timer2Form t2(r.context);
                SciForm sci(r.context);
                for (Form* dialog : std::initializer_list<Form*>{&t0, &t1, &t2, &sci}) {
                    dialog->load();
                    dialog->unload();
                }
            }
            if (c.before == Before::Open) {
                ASSERT_EQ(WriteProjectFile(path, opened), "");
                ASSERT_TRUE(r.form.OpenProject(path));
            }
            r.platform = FakePlatform{};
            r.platform.answers.assign(c.answers.begin(), c.answers.end());
            r.platform.savePaths.assign(c.savePaths.begin(), c.savePaths.end());
            if (byExit)
                r.form.VbMenuFile_Exit_Click();
            else
                r.form.unload();
            std::vector<std::string> events;
            if (!c.answers.empty()) events.emplace_back("message:保存工程");
            if (!c.savePaths.empty()) events.emplace_back("save:project1.kvp");
            if (c.ends) events.emplace_back("form:frmSplash:modeless");
            EXPECT_EQ(r.platform.events, events);
            EXPECT_EQ(r.form.unloaded(), c.ends && !byExit);
            if (!c.answers.empty()) {
                EXPECT_EQ(r.platform.messages[0].text, "工程设置已更改,退出前是否保存工程?");
                EXPECT_EQ(r.platform.messages[0].buttons, MessageButtons::YesNoCancel);
                EXPECT_EQ(r.platform.messages[0].icon, MessageIcon::Question);
            }
            // Once ending, closing the window asks nothing more.
            if (c.ends && byExit) r.form.unload();
            EXPECT_EQ(r.platform.messages.size(), c.answers.size());
        }
    }
    std::remove(path.c_str());
}

TEST_F(MainWindowStory, MenuHasEveryItemInOrderWithItsCaption) {
    std::vector<std::string> shown;
    for (const auto& menu : form.menus()) {
        shown.push_back(menu.title->name() + "=" + menu.title->caption());
        for (const MenuItem* item : menu.items) shown.push_back(item->name() + "=" + item->caption());
    }
    EXPECT_EQ(shown, (std::vector<std::string>{
                         "VbMenuFile=文件(&F)",
                         "VbMenuFile_SaveFile=保存C文件(&S)",
                         "VbMenuFile_UpdateFile=更新C文件(&U)...",
                         "VbMenuFile_SaveUtf8=C文件用UTF-8编码(&8)",
                         "VbMenuFile_SaveLf=C文件用LF换行(&L)",
                         "VbMenuFile_OpenProject=打开工程(&O)...",
                         "VbMenuFile_SaveProject=保存工程(&P)...",
                         "VbMenuFile_ExportPinMap=导出引脚图(&M)...",
                         "VbMenuFile_Exit=退出(&E)",
                         "VbMenuView=查看(&V)",
                         "VbMenuView_PinMap=引脚图(&M)",
                         "VbMenuSet=设置(&S)",
                         "VbMenu_SetGuide=设置向导(&G)",
                         "VbMenuSet_Chip=选择芯片(&X)",
                         "VbMenuSet_Config=设置配置字(&W)",
                         "VbMenuSet_Osc=设置晶体频率(&O)",
                         "VbMenuSet_PortSet=端品选择(&P)",
                         "VbMenuSet_PortB=设置RB口中断及上拉(&B)",
                         "VbMenuSet_T0=设置Timer&0",
                         "VbMenuSet_T1=设置Timer&1",
                         "VbMenuSet_T2=设置Timer&2",
                         "VbMenuSet_CCP=设置&CCP模块",
                         "VbMenuSet_Sci=设置&SCI(串行口)模块",
                         "VbMenuSet_Mssp=设置&MSSP(SPI/I2C)模块",
                         "VbMenuSet_Ad=设置&A/D转换模块",
                         "VbMenuSet_Cmp=设置比较器和参考电压(&V)",
                         "VbMenuTools=工具(&T)",
                         "VbMenuTools_c=生成C文件(&C)",
                         "VbMenuTools_Clear=清除文本(&C)",
                         "VbMenuTools_Auto=自动生成(&A)",
                         "VbMenuHelp=帮助(&H)",
                         "VbMenuHelp_Con=内容(&C)",
                     }));
    EXPECT_EQ(form.caption(), "Korvane");
}

TEST_F(MainWindowStory, ProjectSavedAndOpenedAgainReplacesTheSettings) {
    const std::string path = ::testing::TempDir() + "story.kvp";
    Load();
    settings.T2Int = -1;
    settings.T0TimeUs = "1.5";
    settings.SciErrLimit = 0;  // the box emptied
    const ProjectSettings saved = settings;
    platform.savePaths = {path, ""};
    form.VbMenuFile_SaveProject.click();
    settings = ProjectSettings{};
    platform.openPaths = {path};
    form.VbMenuFile_OpenProject.click();
    EXPECT_EQ(settings, saved);
    // The next save offers the project's own file.
    form.VbMenuFile_SaveProject.click();
    EXPECT_EQ(platform.events,
              (std::vector<std::string>{"form:start", "save:project1.kvp", "openfile", "save:" + path}));
    EXPECT_EQ(platform.saveFilters,
              (std::vector<std::string>{"Korvane工程(*.kvp)|*.kvp", "Korvane工程(*.kvp)|*.kvp"}));
    EXPECT_EQ(platform.openFilters, (std::vector<std::string>{"Korvane工程(*.kvp)|*.kvp"}));
    EXPECT_TRUE(platform.messages.empty());
    std::remove(path.c_str());
}

TEST_F(MainWindowStory, SavingAfterOpeningOffersTheOpenedFile) {
    const std::string first = ::testing::TempDir() + "first.kvp",
                      second = ::testing::TempDir() + "second.kvp";
    platform.savePaths = {first, "", ""};
    form.VbMenuFile_SaveProject.click();
    ASSERT_EQ(WriteProjectFile(second, settings), "");
    platform.openPaths = {second};
    form.VbMenuFile_OpenProject.click();
    form.VbMenuFile_SaveProject.click();
    EXPECT_EQ(platform.events.back(), "save:" + second);
    std::remove(first.c_str());
    std::remove(second.c_str());
}

TEST_F(MainWindowStory, AFaultyProjectIsRefusedAndTheSettingsStay) {
    const std::string path = ::testing::TempDir() + "faulty.kvp";
    struct Case {
        std::string content;  // empty: no file at all
        std::string text;
    } const cases[] = {
        {"[korvane]\nformat = 1\nchip = \"PIC16F87x\"\n[settings]\nT2En = true\nT9En = 1\n",
         "无法打开工程文件：\r" + path + "\r第6行：未知的设置项T9En\r当前设置未改变。"},
        {"[korvane]\nformat = 3\n",
         "无法打开工程文件：\r" + path +
             "\r第2行：工程文件的格式版本3比本程序新，本程序只能读取版本2\r当前设置未改变。"},
        {"", "无法打开工程文件：\r" + path + "\r无法读取文件：No such file or directory\r当前设置未改变。"},
    };
    settings.T0TimeUs = "7";
    const ProjectSettings before = settings;
    for (const auto& c : cases) {
        std::remove(path.c_str());
        if (!c.content.empty()) std::ofstream(path) << c.content;
        platform.messages.clear();
        platform.openPaths = {path};
        form.VbMenuFile_OpenProject_Click();
        ASSERT_EQ(platform.messages.size(), 1u);
        EXPECT_EQ(platform.messages[0].text, c.text);
        EXPECT_EQ(platform.messages[0].title, "打开工程失败");
        EXPECT_EQ(platform.messages[0].icon, MessageIcon::Error);
        EXPECT_EQ(settings, before);
    }
    EXPECT_FALSE(form.OpenProject(path));
    std::remove(path.c_str());
}

// Written by hand: modules on, no register value, no pin. Opening it gives
// the source that the same choices made in the dialogs give.
TEST_F(MainWindowStory, AHandWrittenProjectGivesWhatTheDialogsGive) {
    const std::string path = ::testing::TempDir() + "by-hand.kvp";
    std::ofstream(path) << "[korvane]\nformat = 1\nchip = \"PIC16F87x\"\n[settings]\n"
                           "T0En = true\nT0TimeUs = \"100\"\nT0RegText = \"\"\n"
                           "T1En = true\nT1OscEn = 1\nT1TimeUs = \"50000\"\n"
                           "T2En = true\nT2TimeUs = \"200\"\nSciEn = 1\n";
    const auto generate = [&] {
        platform.answers.push_back(MessageAnswer::Yes);
        form.VbMenuTools_c_Click();
        platform.messages.clear();
        return form.Text1.text();
    };
    Load();
    platform.openPaths = {path};
    form.VbMenuFile_OpenProject_Click();
    EXPECT_TRUE(platform.messages.empty());
    const std::string opened = generate();

    settings = ProjectSettings{};
    const auto typeAndClose = [](TimerForm& timer, CheckBox& onOff, const char* time) {
        timer.load();
        onOff.click();
        timer.Txt_Time.setText(time);
        timer.Command2.click();
    };
    Timer0Form timer0(context);
    typeAndClose(timer0, timer0.Chk_T0En, "100");
    Timer1Form timer1(context);
    timer1.load();
    timer1.Chk_T1En.click();
    timer1.Opt_OscInT1.click(1);
    timer1.Txt_Time.setText("50000");
    timer1.Command2.click();
    Timer2Form timer2(context);
    typeAndClose(timer2, timer2.Chk_T2En, "200");
    SciForm sci(context);
    sci.load();
    sci.Chk_Spen.click();
    sci.Command1.click();
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_EQ(generate(), opened);
    EXPECT_NE(opened.find(" TRISC = 0xC3;"), std::string::npos) << opened;
    std::remove(path.c_str());
}

// One project, three ways in: opened from its file, reached from stale
// values by the crystal command, and settled by closing the Timer1 and Timer2
// dialogs. Each gives the same text, with the oscillator a 20 MHz crystal
// needs although the file (of format 1) names none.
TEST_F(MainWindowStory, EveryPathSettlesAProjectToTheSameText) {
    const std::string path = ::testing::TempDir() + "settle.kvp";
    std::ofstream(path)
        << "[korvane]\nformat = 1\nchip = \"PIC16F87x\"\n[settings]\n"
           "CrystalMHz = 20.0\nT0FreqMHz = 20.0\nT1FreqMHz = 20.0\nT2FreqMHz = 20.0\n"
           "T1En = true\nT1PsIndex = 3\nT1TimeUs = \"50000\"\nT2En = true\nT2TimeUs = \"50\"\n"
           "Ccp1En = true\nCcp1Mode = 1\nCcp1CmpTimeUs = 1000\n"
           "Ccp2En = true\nCcp2Mode = 2\nCcp2DutyUs = 20\n"
           "SciEn = 1\nSciBaud = \"9600\"\nMsspEn = 1\nMsspMode = 2\nAdEn = 1\n";
    const auto generate = [&] {
        platform.answers.push_back(MessageAnswer::Yes);
        form.VbMenuTools_c_Click();
        platform.messages.clear();
        return form.Text1.text();
    };
    const auto read = ReadProjectFile(path);
    ASSERT_TRUE(std::holds_alternative<ProjectSettings>(read));
    const ProjectSettings stale = std::get<ProjectSettings>(read);
    Load();
    ASSERT_TRUE(form.OpenProject(path));
    EXPECT_EQ(platform.messageTitles(), std::vector<std::string>{});
    const std::string opened = generate();
    EXPECT_NE(opened.find("HS振荡"), std::string::npos) << opened;

    settings = stale;
    settings.CrystalMHz = 4;
    settings.T0FreqMHz = settings.T1FreqMHz = settings.T2FreqMHz = 4;
    platform.inputs = {"20"};
    form.VbMenuSet_Osc_Click();
    EXPECT_EQ(platform.messageTitles(), std::vector<std::string>{});
    EXPECT_EQ(generate(), opened);

    settings = stale;
    Timer1Form timer1(context);
    timer1.load();
    timer1.Command2.click();
    Timer2Form timer2(context);
    timer2.load();
    timer2.Command2.click();
    EXPECT_EQ(platform.messageTitles(), std::vector<std::string>{});
    EXPECT_EQ(generate(), opened);
    std::remove(path.c_str());
}

// A clock changed under a module that runs on it: the module's value can no
// longer be worked out, or the module lacks its timer. The dialog's close
// says so, and the text writes none of the value's bits.
TEST_F(MainWindowStory, AClockThatLosesAModulesValueSaysSo) {
    struct Case {
        const char* what;
        std::function<void(ProjectSettings&)> set;
        bool timer2;  // else the Timer1 dialog
        std::function<void(TimerForm&)> change;
        std::vector<std::string> titles;
        const char* gone;  // a line the text no longer has
    };
    const auto pwm = [](ProjectSettings& s) {
        s.T2En = true;
        s.Ccp1En = true;
        s.Ccp1Mode = 2;
        s.Ccp1M = 12;
        s.Ccp1DutyUs = 128.0f;
        s.Ccp1X = s.Ccp1Y = 1;
    };
    const Case cases[] = {
        {"a period shorter than the duty",
         pwm,
         true,
         [](TimerForm& f) { f.Txt_Time.setText("100"); },
         {"占空比设置错误"},
         " CCP1Y=1;"},
        {"PWM without Timer2",
         pwm,
         true,
         [](TimerForm& f) { static_cast<Timer2Form&>(f).Chk_T2En.click(); },
         {"确认Timer2工作方式"},
         ""},
        {"a compare time beyond 1:1",
         [](ProjectSettings& s) {
             s.T1En = true;
             s.T1PsIndex = 3;
             s.T1PsDiv = 8.0;
             s.Ccp1En = true;
             s.Ccp1Mode = 1;
             s.Ccp1M = 8;
             s.Ccp1CmpTimeUs = 100000.0f;
         },
         false,
         [](TimerForm& f) { static_cast<Timer1Form&>(f).Opt_Ps.click(0); },
         {"超出比较范围"},
         " CCPR1H="},
        {"SPI clocked by Timer2 without it",
         [](ProjectSettings& s) {
             s.T2En = true;
             s.MsspEn = 1;
             s.MsspSpiClock = 3;
         },
         true,
         [](TimerForm& f) { static_cast<Timer2Form&>(f).Chk_T2En.click(); },
         {"确认Timer2工作方式"},
         ""},
        {"SPI clocked by Timer2 with it on",
         [](ProjectSettings& s) {
             s.T2En = true;
             s.MsspEn = 1;
             s.MsspSpiClock = 3;
         },
         true,
         [](TimerForm& f) { f.Txt_Time.setText("100"); },
         {},
         ""},
    };
    for (const auto& c : cases) {
        ProjectSettings s;
        FakePlatform p;
        AppContext ctx{s, p};
        c.set(s);
        SettleProject(s, {});
        std::unique_ptr<TimerForm> dialog;
        if (c.timer2)
            dialog = std::make_unique<Timer2Form>(ctx);
        else
            dialog = std::make_unique<Timer1Form>(ctx);
        dialog->load();
        c.change(*dialog);
        dialog->Command2.click();
        EXPECT_EQ(p.messageTitles(), c.titles) << c.what;
        if (*c.gone) {
            EXPECT_EQ(AssembleSource(s, true).find(c.gone), std::string::npos) << c.what;
        }
        // What a clock change leaves (a duty of -1 too) is saved and opens again.
        const ProjectReadResult reopened = ParseProject(ProjectText(s), "after.kvp");
        ASSERT_TRUE(std::holds_alternative<ProjectSettings>(reopened))
            << c.what << ": " << std::get<ProjectError>(reopened).text();
        EXPECT_TRUE(SameChoices(std::get<ProjectSettings>(reopened), s)) << c.what;
    }
}

// What the dialogs would refuse on closing is shown after opening, with
// their own messages.
TEST_F(MainWindowStory, OpeningShowsWhatTheDialogsWouldHaveSaid) {
    const std::string path = ::testing::TempDir() + "refused.kvp";
    std::ofstream(path) << "[korvane]\nformat = 1\nchip = \"PIC16F87x\"\n[settings]\n"
                           "T2En = true\nT2TimeUs = 300\nCcp2En = true\nT1En = true\nT1OscEn = 1\n"
                           "CrystalMHz = 0.001\nSciEn = 1\n";
    Load();
    EXPECT_TRUE(form.OpenProject(path));
    EXPECT_EQ(platform.messageTitles(),
              (std::vector<std::string>{"超出定时范围", "不使用SCI串行口退出", "RC1口已被占用"}));
    EXPECT_EQ(platform.messages[0].icon, MessageIcon::Error);
    EXPECT_EQ(platform.messages[1].icon, MessageIcon::Information);
    EXPECT_EQ(platform.messages[2].icon, MessageIcon::Warning);
    EXPECT_EQ(settings.T2RegText, "");
    EXPECT_EQ(settings.SciEn, SettingValue(0));  // no usable rate: the port goes off
    std::remove(path.c_str());
}

TEST_F(MainWindowStory, ProjectCommandsCancelledOrFailingKeepEverything) {
    platform.openPaths = {""};
    platform.savePaths = {"", "/nonexistent/folder/p.kvp"};
    form.VbMenuFile_OpenProject_Click();
    form.VbMenuFile_SaveProject_Click();
    EXPECT_TRUE(platform.messages.empty());
    form.VbMenuFile_SaveProject_Click();
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].title, "保存失败");
    EXPECT_EQ(platform.messages[0].text,
              "无法写入文件：\r/nonexistent/folder/p.kvp\r/nonexistent/folder: No such file or directory");
    EXPECT_EQ(settings, ProjectSettings{});
}

// 保存C文件 writes GBK with CR LF unless the user ticks UTF-8 or LF, which
// the program remembers; the base beside a modern file is written the same way.
TEST_F(MainWindowStory, SaveWritesTheChosenEncodingAndLineEnds) {
    const std::string text = "// 定义\r\nint x;\r\n";
    const struct {
        bool utf8, lf;
        std::string bytes;
    } rows[] = {
        {false, false, EncodeGbk(text).bytes},
        {false, true, EncodeGbk("// 定义\nint x;\n").bytes},
        {true, false, text},
        {true, true, "// 定义\nint x;\n"},
    };
    for (const auto& row : rows) {
        platform = FakePlatform{};
        platform.options = {{"SaveUtf8", row.utf8 ? "1" : "0"}, {"SaveLf", row.lf ? "1" : "0"}};
        Form1 fresh(context);
        EXPECT_EQ(fresh.VbMenuFile_SaveUtf8.checked(), row.utf8);
        EXPECT_EQ(fresh.VbMenuFile_SaveLf.checked(), row.lf);
        fresh.Text1.setText(text);
        platform.savePaths = {"/w/a.c"};
        fresh.VbMenuFile_SaveFile_Click();
        EXPECT_EQ(platform.files["/w/a.c"], row.bytes) << row.utf8 << row.lf;
        // Ticking remembers it.
        fresh.VbMenuFile_SaveLf.click();
        EXPECT_EQ(platform.options["SaveLf"], row.lf ? "0" : "1");
    }
}

}  // namespace
}  // namespace korvane

namespace korvane {
namespace {

// With 自动生成 on (remembered from the last run), each way the settings
// change regenerates the text and marks what changed; nothing changed, the
// marks stay.
TEST_F(MainWindowStory, AutoGenerateFollowsTheSettings) {
    const std::string project = ::testing::TempDir() + "auto.kvp";
    ProjectSettings opened;
    opened.T0En = true;
    ASSERT_EQ(WriteProjectFile(project, opened), "");
    platform.formActions[FormId::Timer1] = [this] { settings.T1En = true; };
    const std::function<void()> changes[] = {
        [this] { form.VbMenuSet_T1.click(); },
        [this] { platform.inputs = {"8"}, form.VbMenuSet_Osc.click(); },
        [this, &project] { platform.openPaths = {project}, form.VbMenuFile_OpenProject.click(); },
    };
    for (const auto& change : changes) {
        platform.options = {{"AutoGenerate", "1"}};
        Load();
        const std::string before = form.Text1.text();
        change();
        EXPECT_EQ(form.Text1.text(), AssembleSource(settings, form.WithComments));
        EXPECT_EQ(form.Text1.markedLines(), ChangedLines(before, form.Text1.text()));
        EXPECT_FALSE(form.Text1.markedLines().empty());
        form.VbMenuSet_T2.click();
        EXPECT_FALSE(form.Text1.markedLines().empty());
    }
    form.VbMenuTools_Auto.click();  // off: nothing follows
    EXPECT_EQ(platform.options["AutoGenerate"], "0");
    form.Text1.setText({});
    form.VbMenuSet_T2.click();
    EXPECT_EQ(form.Text1.text(), "");
    std::remove(project.c_str());
}

// 更新C文件 shows the lines it changes and writes only when told; a file
// edited outside its regions only when the user keeps a copy.
TEST_F(MainWindowStory, UpdateCommandAsksBeforeWriting) {
    using enum MessageAnswer;
    const std::string path = ::testing::TempDir() + "update.c";
    Load();
    settings.OutputForm = 2;  // SDCC
    settings.T1En = true;
    std::string text = AssembleSource(settings, true);
    const std::string region = RegionStart("主循环") + "\r\n        PORTD++;\r\n";
    text.replace(text.find(RegionStart("主循环")), RegionStart("主循环").size() + 2, region);
    const std::string edited = std::string(text).replace(text.find("void main"), 4, "int ");
    settings.T1TimeUs = std::string("2000");
    ASSERT_TRUE(SettleProject(settings, kPlainNumbers).empty());
    const struct {
        std::string before;
        std::vector<MessageAnswer> answers;  // comments, [overwrite,] write
        bool written;
    } rows[] = {{text, {Yes, Yes}, true},
                {text, {Yes, No}, false},
                {edited, {Yes, No}, false},
                {edited, {Yes, Yes, Yes}, true}};
    // Backups are numbered after what is there: none left from an earlier run.
    for (const auto& entry : std::filesystem::directory_iterator(::testing::TempDir()))
        if (entry.path().filename().string().starts_with("update.c.~")) std::filesystem::remove(entry);
    const std::string backup = path + ".~1~";  // the first numbered backup
    for (const auto& row : rows) {
        std::remove(backup.c_str());
        const std::string bytes = EncodeGbk(row.before).bytes;
        std::ofstream(path, std::ios::binary) << bytes;
        platform.messages.clear();
        platform.openPaths = {path};
        platform.answers.assign(row.answers.begin(), row.answers.end());
        form.VbMenuFile_UpdateFile.click();
        EXPECT_EQ(platform.messages.size(), row.answers.size() + row.written);
        std::ifstream in(path, std::ios::binary);
        const std::string written(std::istreambuf_iterator<char>(in), {});
        EXPECT_EQ(written != bytes, row.written);
        EXPECT_EQ(std::filesystem::exists(backup), row.written);
        if (!row.written) continue;
        EXPECT_EQ(EncodeGbk(form.Text1.text()).bytes, written);
        EXPECT_NE(written.find(EncodeGbk(region).bytes), std::string::npos);
        EXPECT_NE(platform.messages[platform.messages.size() - 2].text.find("+    TMR1H = "),
                  std::string::npos);
    }
    // A classic project: a file in the SDCC form updates in its form; a
    // classic file has no regions to update.
    settings.OutputForm = 0;
    std::ofstream(path, std::ios::binary) << EncodeGbk(text).bytes;
    platform.messages.clear();
    platform.openPaths = {path};
    platform.answers = {Yes, Yes};
    form.VbMenuFile_UpdateFile.click();
    EXPECT_EQ(platform.messages.size(), 3u);
    EXPECT_NE(form.Text1.text().find(region), std::string::npos);
    std::ofstream(path, std::ios::binary) << EncodeGbk(AssembleSource(settings, true)).bytes;
    platform.messages.clear();
    platform.openPaths = {path};
    form.VbMenuFile_UpdateFile.click();
    EXPECT_EQ(platform.messageTitles(), std::vector<std::string>{"更新C文件"});
    for (const std::string& file : {path, backup, path + ".~2~", BasePath(path)}) std::remove(file.c_str());
}

// The open project is an input of 更新C文件: chosen as the file to update,
// it is kept as it is, however it became the open one.
TEST_F(MainWindowStory, UpdateNeverReplacesTheOpenProject) {
    using enum MessageAnswer;
    const std::string path = ::testing::TempDir() + "update-project.kvp";
    std::remove(path.c_str());
    Load();
    settings.OutputForm = 2;  // SDCC
    const auto read = [&] {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    for (const bool opened : {false, true}) {
        SCOPED_TRACE(opened ? "opened" : "saved");
        if (opened) {
            ASSERT_EQ(WriteProjectFile(path, settings), "");
            platform.openPaths = {path};
            form.VbMenuFile_OpenProject.click();
        } else {
            platform.savePaths = {path};
            form.VbMenuFile_SaveProject.click();
        }
        const std::string before = read();
        ASSERT_FALSE(before.empty());
        platform.messages.clear();
        platform.openPaths = {path};
        platform.answers = {Yes, Yes, Yes};  // comments, overwrite keeping a copy, write
        form.VbMenuFile_UpdateFile.click();
        EXPECT_EQ(read(), before);
        ASSERT_FALSE(platform.messages.empty());
        EXPECT_EQ(platform.messages.back().title, "保存失败");
        EXPECT_NE(platform.messages.back().text.find(kOutputIsInput), std::string::npos);
    }
    for (const std::string& file : {path, BasePath(path), path + ".~1~"}) std::remove(file.c_str());
}

}  // namespace
// 保存C文件 keeps what was generated beside the file; 更新C文件 merges the
// file's edits against it: an added #include kept, a generated line the
// user changed and the update changes too shown as a conflict, written with
// its markers once the user agrees.
TEST_F(MainWindowStory, UpdateMergesTheFilesEditsWithTheSavedBase) {
    using enum MessageAnswer;
    const std::string path = ::testing::TempDir() + "merge.c";
    Load();
    settings.OutputForm = 2;  // SDCC
    settings.T1En = true;
    settings.T1TimeUs = std::string("1000");
    ASSERT_TRUE(SettleProject(settings, kPlainNumbers).empty());
    platform.answers = {Yes};  // comments
    form.VbMenuTools_c_Click();
    platform.savePaths = {path};
    form.VbMenuFile_SaveFile_Click();
    ASSERT_EQ(platform.files.count(BasePath(path)), 1u);
    EXPECT_EQ(platform.files[BasePath(path)], EncodeGbk(form.Text1.text()).bytes);
    std::string text = form.Text1.text();
    const std::string tmr1h = text.substr(text.find("    TMR1H = "), 17);
    text.insert(text.find("#include <stdint.h>\r\n") + 21, "#include \"board.h\"\r\n");
    text.replace(text.find(tmr1h), tmr1h.size(), "    TMR1H = 0x00;");
    std::ofstream(path, std::ios::binary) << EncodeGbk(text).bytes;
    std::ofstream(BasePath(path), std::ios::binary) << platform.files[BasePath(path)];
    settings.T1TimeUs = std::string("2000");
    ASSERT_TRUE(SettleProject(settings, kPlainNumbers).empty());
    platform.messages.clear();
    platform.openPaths = {path};
    platform.answers = {Yes, Yes};  // comments, write with the conflict
    form.VbMenuFile_UpdateFile.click();
    ASSERT_GE(platform.messages.size(), 2u);
    EXPECT_NE(platform.messages[platform.messages.size() - 2].text.find("有1处冲突"), std::string::npos);
    std::ifstream in(path, std::ios::binary);
    const std::string written(std::istreambuf_iterator<char>(in), {});
    EXPECT_NE(written.find("#include \"board.h\"\r\n"), std::string::npos);
    EXPECT_NE(written.find(EncodeGbk("<<<<<<< 文件中的文本\r\n").bytes), std::string::npos);
    EXPECT_NE(written.find("    TMR1H = 0x00;\r\n    TMR1L = 0x18;\r\n=======\r\n"), std::string::npos);
    // The next base is the new generation alone.
    std::ifstream baseIn(BasePath(path), std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(baseIn), {}),
              EncodeGbk(AssembleSource(settings, true)).bytes);
    for (const std::string& file : {path, BasePath(path), path + ".~1~"}) std::remove(file.c_str());
}

}  // namespace korvane
