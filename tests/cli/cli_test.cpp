// The command-line tools, and the desktop program's own options, run as real
// processes: their output, their messages and their exit status, byte for byte.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "../core/sample_settings.h"
#include "chip/assemble.h"
#include "files/source_update.h"
#include "format/gbk.h"
#include "format/line_diff.h"
#include "generator/classic_writer.h"
#include "generator/user_code.h"
#include "project/project_file.h"
#include "version.h"

extern char** environ;

namespace korvane {
namespace {

struct ToolRun {
    int status = -1;
    std::string out, err;
};

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool Exists(const std::string& path) {
    return ::access(path.c_str(), F_OK) == 0;
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// A folder of this process's own: ctest runs each test as a process of its
// own, two at a time.
std::string Temp(const std::string& name) {
    struct Folder {
        std::string path = testing::TempDir() + "korvane_cli_" + std::to_string(::getpid()) + "/";
        Folder() { std::filesystem::create_directories(path); }
        ~Folder() { std::filesystem::remove_all(path); }
    };
    static const Folder folder;
    return folder.path + name;
}

// Without a display: none of the programs may need one for what is run here.
std::vector<char*> EnvironmentWithoutDisplay() {
    std::vector<char*> env;
    for (char** entry = environ; *entry; ++entry) {
        const std::string_view name(*entry, std::strcspn(*entry, "="));
        if (name != "DISPLAY" && name != "WAYLAND_DISPLAY" && name != "QT_QPA_PLATFORM")
            env.push_back(*entry);
    }
    env.push_back(nullptr);
    return env;
}

// Runs a tool with standard output and error caught in files; `stdoutTo`
// sends standard output elsewhere instead ("-" closes it).
ToolRun RunTool(const std::string& tool, const std::vector<std::string>& args,
                const std::string& stdoutTo = "") {
    const std::string out = Temp("stdout"), err = Temp("stderr");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    std::remove(out.c_str());
    if (stdoutTo == "-")
        posix_spawn_file_actions_addclose(&actions, 1);
    else
        posix_spawn_file_actions_addopen(&actions, 1, stdoutTo.empty() ? out.c_str() : stdoutTo.c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    std::vector<char*> argv{const_cast<char*>(tool.c_str())};
    for (const auto& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    ToolRun run;
    pid_t pid;
    if (posix_spawn(&pid, tool.c_str(), &actions, nullptr, argv.data(), EnvironmentWithoutDisplay().data()) ==
        0) {
        int status = 0;
        ::waitpid(pid, &status, 0);
        run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    run.out = ReadFile(out);
    run.err = ReadFile(err);
    return run;
}

ToolRun Gen(const std::vector<std::string>& args, const std::string& stdoutTo = "") {
    return RunTool(KORVANE_GEN, args, stdoutTo);
}
ToolRun Calc(const std::vector<std::string>& args, const std::string& stdoutTo = "") {
    return RunTool(KORVANE_CALC, args, stdoutTo);
}

std::string EverySectionProject() {
    std::string path = Temp("every.kvp");
    WriteFile(path, ProjectText(EverythingOn()));
    return path;
}

TEST(KorvaneGen, WritesWhatTheGenerateCommandGives) {
    const std::string project = EverySectionProject();
    const std::string withComments = AssembleSource(EverythingOn(), true);
    const std::string gbk = EncodeGbk(withComments).bytes;
    const std::string file = Temp("every.c");
    struct Case {
        std::vector<std::string> args;
        std::string expected;  // on standard output, or in `file` with -o
    };
    const Case cases[] = {
        {{project}, withComments},
        {{"--comments", project}, withComments},
        {{"--no-comments", project}, AssembleSource(EverythingOn(), false)},
        {{"--encoding", "gbk", project}, gbk},
        {{"-o", file, project}, gbk},
        {{"--encoding", "utf-8", "-o", file, project}, withComments},
    };
    for (const auto& c : cases) {
        std::remove(file.c_str());
        const ToolRun run = Gen(c.args);
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.err, "");
        const bool toFile = std::find(c.args.begin(), c.args.end(), "-o") != c.args.end();
        EXPECT_EQ(toFile ? ReadFile(file) : run.out, c.expected) << c.args.front();
        if (toFile) {
            EXPECT_EQ(run.out, "");
        }
    }
}

// Register values and pins come from the settings, as the dialogs leave
// them, whatever the file says of them.
TEST(KorvaneGen, AHandWrittenProjectGivesWhatTheDialogsGive) {
    ProjectSettings byHand = EverythingOn();
    byHand.T0RegText = byHand.T1RegLowText = byHand.T2RegText = "";
    byHand.T1RegHighText = byHand.SciSpbrgText = std::string("0x42");
    byHand.PortCDir = {};
    byHand.PortCUsed = 0;
    const std::string project = Temp("by-hand.kvp");
    WriteFile(project, ProjectText(byHand));
    const ToolRun run = Gen({"--no-comments", project});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, AssembleSource(EverythingOn(), false));
}

TEST(KorvaneGen, GbkFilesCarryTheKnownBytes) {
    const std::string file = Temp("bytes.c");
    ASSERT_EQ(Gen({"-o", file, EverySectionProject()}).status, 0);
    // "//端口I/O定义子程序" as GBK, and CR LF line ends.
    const std::string comment =
        "\x2f\x2f\xb6\xcb\xbf\xda\x49\x2f\x4f\xb6\xa8\xd2\xe5\xd7\xd3\xb3\xcc\xd0\xf2\r\n";
    const std::string bytes = ReadFile(file);
    EXPECT_NE(bytes.find(comment), std::string::npos);
    EXPECT_EQ(bytes.rfind("#include<pic.h>\r\n\x2f\x2f\xc5\xe4\xd6\xc3\xd7\xd6: XT", 0), 0u);
}

TEST(KorvaneGen, DefaultsPrintsACompleteProjectOfTheDefaults) {
    const ToolRun run = Gen({"--defaults"});
    ASSERT_EQ(run.status, 0);
    const auto read = ParseProject(run.out, "defaults.kvp");
    ASSERT_TRUE(std::holds_alternative<ProjectSettings>(read));
    EXPECT_EQ(std::get<ProjectSettings>(read), ProjectSettings{});
    EXPECT_NE(run.out.find("T0PsDiv = 2\n"), std::string::npos);
}

TEST(KorvaneGen, BadInputWritesNothingAndExitsWithTwo) {
    const std::string bad = Temp("bad.kvp");
    WriteFile(bad, "[korvane]\nformat = 1\nchip = \"PIC16F87x\"\n[settings]\nT9En = true\n");
    const std::string newer = Temp("newer.kvp");
    WriteFile(newer, "[korvane]\nformat = 7\nchip = \"PIC16F87x\"\n");
    // What the dialogs would refuse on closing: the setting and the reason.
    const std::string header = "[korvane]\nformat = 1\nchip = \"PIC16F87x\"\n[settings]\n";
    const std::string range = Temp("range.kvp");
    WriteFile(range, header + "T2En = true\nT2TimeUs = 300\n");
    const std::string pins = Temp("pins.kvp");
    WriteFile(pins, header + "Ccp2En = true\nT1En = true\nT1OscEn = 1\n");
    const std::string duty = Temp("duty.kvp");
    WriteFile(duty,
              header + "T2En = true\nT2TimeUs = \"100\"\nCcp1En = true\nCcp1Mode = 2\nCcp1DutyUs = 128\n");
    const std::string baud = Temp("baud.kvp");
    WriteFile(baud, header + "CrystalMHz = 0.001\nSciEn = 1\n");
    const std::string escape = Temp("\x1b]0;title\x07.kvp");  // a name that would drive the terminal
    WriteFile(escape, ReadFile(bad));
    const std::string out = Temp("never.c");
    struct Case {
        std::string project;
        std::string err;
    };
    const Case cases[] = {
        {bad, bad + ":5: 未知的设置项T9En\n"},
        {escape, Temp("\\x1b]0;title\\x07.kvp") + ":5: 未知的设置项T9En\n"},
        {newer, newer + ":2: 工程文件的格式版本7比本程序新，本程序只能读取版本2\n"},
        {Temp("missing.kvp"), Temp("missing.kvp") + ": 无法读取文件：No such file or directory\n"},
        {range, range + ": 设置项T2TimeUs：超出定时范围，请重新输入定时时间或晶体/外部频率 "
                        "4M频率在1:1分频设置下的定时范围为1.000-256uS\n"},
        {pins, pins + ": 设置项T1OscEn：CCP2模块已使用RC1口,Timer1振荡器不能同时使用. "
                      "若要使用Timer1振荡器,请先关闭CCP2模块.\n"},
        {duty,
         duty + ": 设置项Ccp1DutyUs：占空比时间不能大于PWM周期，请重新输入占空比时间 PWM周期为100.000uS\n"},
        {baud, baud + ": 设置项SciBaud：0.001M晶振在此方式下无可用波特率 "
                      "退出后将不使用串口,请通过菜单设置晶振后再进行设置,或可以 "
                      "尝试使用其它工作方式或加大误差限制范围来获得可用波特率.\n"},
    };
    for (const auto& c : cases) {
        std::remove(out.c_str());
        const ToolRun run = Gen({"-o", out, c.project});
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.err, c.err);
        EXPECT_EQ(run.out, "");
        EXPECT_FALSE(Exists(out)) << c.project;
    }
    // The system's reason inside a Chinese message follows the user's language.
    ::setenv("LC_ALL", "C.UTF-8", 1);
    ::setenv("LANGUAGE", "zh_CN", 1);
    EXPECT_EQ(Gen({Temp("missing.kvp")}).err, Temp("missing.kvp") + ": 无法读取文件：没有那个文件或目录\n");
    ::setenv("LC_ALL", "C", 1);
    ::unsetenv("LANGUAGE");
    // An existing output file stays as it was.
    WriteFile(out, "old");
    EXPECT_EQ(Gen({"-o", out, bad}).status, 2);
    EXPECT_EQ(ReadFile(out), "old");
    std::remove(out.c_str());
}

// Careless and hostile input: no crash, no hang, nothing replaced that was
// not asked for, no success that was not.
TEST(KorvaneGen, HostileInputsAndOutputTargets) {
    const std::string project = EverySectionProject();
    const std::string before = ReadFile(project);
    const std::string link = Temp("link.kvp");
    std::filesystem::create_symlink(project, link);
    std::filesystem::create_symlink(Temp("nowhere.c"), Temp("dangling.c"));
    struct Case {
        std::vector<std::string> args;
        std::string stdoutTo;
        int status;
        std::string errStart;
    } const cases[] = {
        {{"-o", "/dev/null", project}, "", 0, ""},
        {{"-o", "/dev/full", project},
         "",
         1,
         "korvane-gen: cannot write /dev/full: No space left on device\n"},
        {{"-o", Temp("dangling.c"), project}, "", 1, "korvane-gen: cannot write " + Temp("dangling.c")},
        {{"-o", Temp("missing/out.c"), project},
         "",
         1,
         "korvane-gen: cannot write " + Temp("missing/out.c") + ": " + Temp("missing") +
             ": No such file or directory\n"},
        {{"-o", Temp("\x1b[2J/out.c"), project},
         "",
         1,
         "korvane-gen: cannot write " + Temp("\\x1b[2J/out.c") + ": " + Temp("\\x1b[2J") +
             ": No such file or directory\n"},
        {{"-o", project, project},
         "",
         2,
         "korvane-gen: the output " + project + " is the project file itself"},
        {{"-o", link, project}, "", 2, "korvane-gen: the output " + link + " is the project file itself"},
        {{"--defaults"},
         "/dev/full",
         1,
         "korvane-gen: cannot write to standard output: No space left on device\n"},
        {{project}, "-", 1, "korvane-gen: cannot write to standard output: Bad file descriptor\n"},
    };
    for (const auto& c : cases) {
        const ToolRun run = Gen(c.args, c.stdoutTo);
        EXPECT_EQ(run.status, c.status) << c.args[0] << " " << run.err;
        EXPECT_EQ(run.err.substr(0, c.errStart.size()), c.errStart);
        if (c.errStart.empty()) {
            EXPECT_EQ(run.err, "");
        }
    }
    EXPECT_TRUE(std::filesystem::is_character_file("/dev/null"));
    EXPECT_TRUE(std::filesystem::is_symlink(Temp("dangling.c")));
    EXPECT_EQ(ReadFile(project), before);
}

// --update on a file generated in the SDCC form with the user's line in
// the Timer1 branch: carried, refused, forced or only shown.
TEST(KorvaneGen, UpdateCarriesTheUsersCode) {
    ProjectSettings a = EverythingOn();
    a.OutputForm = 2;             // SDCC
    a.Ccp1En = a.Ccp2En = false;  // they would keep Timer1
    a.Ccp1Int = a.Ccp2Int = 0;
    a.Ccp1M = a.Ccp2M = 0;
    a.Ccp2Mode = 0;
    ProjectSettings b = a;
    b.T1En = false;
    b.T1Int = 0;  // its branch, and the user's line, go
    const std::string projectB = Temp("b.kvp");
    WriteFile(projectB, ProjectText(b));
    std::string old = AssembleSource(a, true);
    const std::string region = RegionStart("中断 TMR1IF") + "\r\n";
    old.insert(old.find(region) + region.size(), "        PORTD++;\r\n");
    const std::string edited = std::string(old).replace(old.find("void main(void)"), 4, "int ");
    const std::string file = Temp("main.c");
    const std::string base = AssembleSource(a, true);  // what was generated into the file
    // What the update makes of the old text, with or without its base.
    const auto merged = [&](const std::string& before, bool withBase) {
        return std::get<MergedText>(
                   MergeUserCode(before, AssembleSource(b, true), true,
                                 withBase ? std::optional<std::string_view>(base) : std::nullopt))
            .text;
    };
    const std::string kept = file + ": 用户代码区“中断 TMR1IF”的模块已去掉,其代码已注释掉保留在文件末尾\n";
    const std::string carriedOnly =
        file + ": " + std::string(kCarriedOnlyText) + " (" + Temp(".main.c.korvane-base") + ")\n";
    const std::string where = file + ":1: 用户代码区以外的文本已被修改,又没有上次生成的文本可供合并";
    struct Case {
        const char* what;
        std::vector<std::string> args;
        std::string before;
        bool withBase;
        int status;
        std::string out, err;
        std::string after;    // "" leaves the file as it was, with no copy
        bool utf8Lf = false;  // the file in UTF-8 with LF line ends, not GBK and CR LF
    };
    const Case cases[] = {
        {"update", {"--update", file, projectB}, old, true, 0, "", kept, merged(old, true)},
        {"update, no base",
         {"--update", file, projectB},
         old,
         false,
         0,
         "",
         kept + carriedOnly,
         merged(old, false)},
        {"update, UTF-8 and LF",
         {"--update", file, projectB},
         old,
         true,
         0,
         "",
         kept,
         merged(old, true),
         true},
        {"dry run",
         {"--update", file, "--dry-run", projectB},
         old,
         true,
         0,
         UnifiedDiff(EncodeGbk(old).bytes, EncodeGbk(merged(old, true)).bytes, file, file, "\r\n") +
             UnifiedDiff(EncodeGbk(base).bytes, EncodeGbk(AssembleSource(b, true)).bytes,
                         Temp(".main.c.korvane-base"), Temp(".main.c.korvane-base"), "\r\n"),
         kept,
         ""},
        {"edited outside, merged",
         {"--update", file, projectB},
         edited,
         true,
         0,
         "",
         kept,
         merged(edited, true)},
        {"edited outside, no base",
         {"--update", file, projectB},
         edited,
         false,
         2,
         "",
         where + "\nkorvane-gen: " + file + " not updated (--force overwrites it and keeps it as " + file +
             ".~N~)\n",
         ""},
        {"edited, no base, forced",
         {"--force", "--update", file, projectB},
         edited,
         false,
         0,
         "",
         where + " (--force)\n" + kept + carriedOnly,
         merged(edited, false)},
        {"no file",
         {"--update", Temp("none.c"), projectB},
         "",
         false,
         2,
         "",
         Temp("none.c") + ": 无法读取文件：No such file or directory\n",
         ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto bytes = [&c](std::string text) {
            if (!c.utf8Lf) return EncodeGbk(text).bytes;
            std::erase(text, '\r');
            return text;
        };
        const std::string backup = file + ".~1~";
        const std::string baseFile = Temp(".main.c.korvane-base");
        std::remove(file.c_str());
        std::remove(backup.c_str());
        std::remove(baseFile.c_str());
        if (!c.before.empty()) WriteFile(file, bytes(c.before));
        if (c.withBase) WriteFile(baseFile, bytes(base));
        const ToolRun run = Gen(c.args);
        EXPECT_EQ(run.status, c.status);
        EXPECT_EQ(run.out, c.out);
        EXPECT_EQ(run.err, c.err);
        if (c.before.empty()) continue;
        EXPECT_EQ(ReadFile(file), bytes(c.after.empty() ? c.before : c.after));
        EXPECT_EQ(Exists(backup), !c.after.empty());
        if (!c.after.empty()) {
            EXPECT_EQ(ReadFile(backup), bytes(c.before));
            // The next update's base: the new generation alone.
            EXPECT_EQ(ReadFile(baseFile), bytes(AssembleSource(b, true)));
        }
    }
}

// Every output and every update against what lies at the path: what is
// written, what is refused, and that nothing else is touched. Each row is a
// fault once found; "D/" in an argument is the row's own folder.
TEST(KorvaneGen, RefusalsAndTargets) {
    ProjectSettings a = EverythingOn();
    a.OutputForm = 2;  // SDCC
    a.Ccp1En = a.Ccp2En = false;
    a.Ccp1Int = a.Ccp2Int = 0;
    a.Ccp1M = a.Ccp2M = 0;
    a.Ccp2Mode = 0;
    ProjectSettings b = a;  // Timer1 gone
    b.T1En = false;
    b.T1Int = 0;
    ProjectSettings classic = a;
    classic.OutputForm = 0;
    const std::string region = RegionStart("中断 TMR1IF") + "\r\n";
    const std::string userLine = "        PORTD++;\r\n";
    std::string utf8 = AssembleSource(a, true);
    utf8.insert(utf8.find(region) + region.size(), userLine);
    const std::string c = EncodeGbk(utf8).bytes;
    const std::string carried = EncodeGbk(region + userLine).bytes;
    std::string damaged = c;  // an end marker with no start
    damaged.insert(damaged.find(EncodeGbk(RegionStart("主循环")).bytes),
                   EncodeGbk(RegionEnd("x")).bytes + "\r\n");
    std::string comment = c;  // a marker whose name ends the comment
    comment.insert(comment.find(EncodeGbk(RegionStart("主循环")).bytes),
                   EncodeGbk("/* 用户代码开始: a */ } /* b */\r\n").bytes);
    std::string hugeName = c;
    hugeName.insert(hugeName.find(EncodeGbk(RegionStart("主循环")).bytes),
                    EncodeGbk(RegionStart(std::string(1 << 20, 'n'))).bytes + "\r\n");
    std::string replaced = utf8;
    replaced.replace(replaced.find("//"), 2, "//\xEF\xBF\xBD");
    const std::size_t replacedLine =
        std::ranges::count(replaced.substr(0, replaced.find("\xEF\xBF\xBD")), '\n') + 1;
    std::string invalid = c;
    invalid.insert(invalid.find("\r\n") + 2, "\xff\xff");
    const std::string hugeValue = "[korvane]\nformat = 2\nchip = \"PIC16F87x\"\n[settings]\nT0TimeUs = \"" +
                                  std::string(100'000, 'x') + "\"\n";
    const std::string longName = std::string(250, 'm') + ".c";  // one byte too long for a backup's name
    enum class Kind { File, Has, Starts, Fifo, Link, HardLink, Folder, Missing, ReadOnly };
    struct Entry {
        std::string name;
        Kind kind;
        std::string content;  // the bytes, a part of them, or a link's target
    };
    using enum Kind;
    struct Row {
        const char* what;
        std::vector<Entry> before;
        std::vector<std::vector<std::string>> runs;  // the status and messages are the last one's
        int status;
        std::string errHas;
        std::vector<Entry> after;
        bool needsNoRoot = false;
    };
    const std::string project = ProjectText(a);
    const Row rows[] = {
        {"pin map into a FIFO nobody reads",
         {{"map.svg", Fifo, ""}},
         {{"--pin-map", "D/map.svg", "D/p.kvp"}},
         1,
         "No such device or address",
         {{"map.svg", Fifo, ""}}},
        {"pin map through a link to a device",
         {{"map.svg", Link, "/dev/null"}},
         {{"--pin-map", "D/map.svg", "D/p.kvp"}},
         0,
         "",
         {{"map.svg", Link, "/dev/null"}}},
        {"pin map onto the project",
         {{"p.svg", File, project}},
         {{"--pin-map", "D/p.svg", "D/p.svg"}},
         2,
         "is the project file itself",
         {{"p.svg", File, project}}},
        {"pin map onto a link to the project",
         {{"map.svg", Link, "p.kvp"}},
         {{"--pin-map", "D/map.svg", "D/p.kvp"}},
         2,
         "is the project file itself",
         {{"p.kvp", File, project}}},
        {"pin map onto a hard link of the project",
         {{"map.svg", HardLink, "p.kvp"}},
         {{"--pin-map", "D/map.svg", "D/p.kvp"}},
         2,
         "is the project file itself",
         {{"p.kvp", File, project}}},
        {"backups numbered after the highest there",
         {{"main.c", File, c}, {"main.c.~41~", File, "later"}},
         {{"--update", "D/main.c", "D/b.kvp"}},
         0,
         "",
         {{"main.c.~41~", File, "later"}, {"main.c.~42~", File, c}}},
        {"a backup's name is a link",
         {{"main.c", File, c}, {"notes.txt", File, "notes"}, {"main.c.~1~", Link, "notes.txt"}},
         {{"--update", "D/main.c", "D/b.kvp"}},
         0,
         "",
         {{"notes.txt", File, "notes"}, {"main.c.~1~", Link, "notes.txt"}, {"main.c.~2~", File, c}}},
        {"forced past damaged markers, then updated again",
         {{"main.c", File, damaged}},
         {{"--force", "--update", "D/main.c", "D/a.kvp"}, {"--update", "D/main.c", "D/a.kvp"}},
         0,
         "",
         {{"main.c.~1~", File, damaged}, {"main.c.~2~", Has, carried}, {"main.c", Has, carried}}},
        {"the project named as the backup would be",
         {{"x.c", File, c}, {"x.c.~1~", File, project}},
         {{"--update", "D/x.c", "D/x.c.~1~"}},
         0,
         "",
         {{"x.c.~1~", File, project}, {"x.c.~2~", File, c}, {"x.c", Has, carried}}},
        {"a setting's value of 100 KB", {{"big.kvp", File, hugeValue}}, {{"D/big.kvp"}}, 2, "x…\"应为", {}},
        {"a marker name that ends the comment",
         {{"main.c", File, comment}},
         {{"--update", "D/main.c", "D/b.kvp"}},
         2,
         "用户代码区以外的文本已被修改",
         {{"main.c", File, comment}, {"main.c.~1~", Missing, ""}}},
        {"a marker name of 1 MB",
         {{"main.c", File, hugeName}},
         {{"--update", "D/main.c", "D/b.kvp"}},
         2,
         "n…”之内",
         {{"main.c", File, hugeName}}},
        {"a byte-order mark",
         {{"main.c", File, "\xEF\xBB\xBF" + utf8}},
         {{"--update", "D/main.c", "D/a.kvp"}},
         0,
         "",
         {{"main.c", Starts, "\xEF\xBB\xBF" + utf8.substr(0, 10)}, {"main.c", Has, region + userLine}}},
        {"a module switched off and on",
         {{"main.c", File, c}},
         {{"--update", "D/main.c", "D/b.kvp"}, {"--update", "D/main.c", "D/a.kvp"}},
         0,
         "main.c: 用户代码区“中断 TMR1IF”的模块已恢复,保留的代码已放回该区\n",
         {{"main.c", Has, carried}}},
        {"a read-only file",
         {{"main.c", ReadOnly, c}},
         {{"--update", "D/main.c", "D/b.kvp"}},
         1,
         "Permission denied",
         {{"main.c", File, c}, {"main.c.~1~", Missing, ""}},
         true},
        {"a backup that cannot be written",
         {{longName, File, c}},
         {{"--update", "D/" + longName, "D/b.kvp"}},
         1,
         "File name too long",
         {{longName, File, c}}},
        {"replacement characters of a UTF-8 editor",
         {{"main.c", File, replaced}},
         {{"--update", "D/main.c", "D/b.kvp"}},
         2,
         "main.c: 第" + std::to_string(replacedLine) + "行有替换字符(U+FFFD)",
         {{"main.c", File, replaced}}},
        {"no valid encoding",
         {{"main.c", File, invalid}},
         {{"--update", "D/main.c", "D/b.kvp"}},
         2,
         "main.c: 第2行不是有效的GBK文本",
         {{"main.c", File, invalid}}},
        {"the base's name is a link",
         {{"main.c", File, c}, {"notes.txt", File, "notes"}, {".main.c.korvane-base", Link, "notes.txt"}},
         {{"--update", "D/main.c", "D/a.kvp"}, {"--update", "D/main.c", "D/a.kvp", "--dry-run"}},
         0,
         "",
         {{"notes.txt", File, "notes"},
          {".main.c.korvane-base", File, EncodeGbk(AssembleSource(a, true)).bytes}}},
        {"the base cannot be written: nothing is, not even the backup",
         {{"main.c", File, c}, {".main.c.korvane-base", Folder, ""}},
         {{"--update", "D/main.c", "D/b.kvp"}},
         1,
         "Is a directory",
         {{"main.c", File, c}, {"main.c.~1~", Missing, ""}}},
        {"a classic project and a file in the SDCC form",
         {{"main.c", File, c}},
         {{"--update", "D/main.c", "D/classic.kvp"}},
         0,
         "",
         {{"main.c", Has, carried}, {"main.c.~1~", File, c}}},
    };
    int number = 0;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        if (row.needsNoRoot && ::geteuid() == 0) continue;  // root writes a read-only file
        const std::string dir = Temp("row" + std::to_string(++number) + "/");
        std::filesystem::create_directories(dir);
        WriteFile(dir + "p.kvp", project);
        WriteFile(dir + "a.kvp", project);
        WriteFile(dir + "b.kvp", ProjectText(b));
        WriteFile(dir + "classic.kvp", ProjectText(classic));
        for (const Entry& entry : row.before) {
            const std::string path = dir + entry.name;
            if (entry.kind == Fifo) {
                ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
            }
            if (entry.kind == Link) std::filesystem::create_symlink(entry.content, path);
            if (entry.kind == HardLink) std::filesystem::create_hard_link(dir + entry.content, path);
            if (entry.kind == Folder) std::filesystem::create_directory(path);
            if (entry.kind == File || entry.kind == ReadOnly) WriteFile(path, entry.content);
            if (entry.kind == ReadOnly) ::chmod(path.c_str(), 0444);
        }
        ToolRun run;
        for (std::vector<std::string> args : row.runs) {
            for (std::string& arg : args)
                if (arg.starts_with("D/")) arg = dir + arg.substr(2);
            run = Gen(args);
        }
        EXPECT_EQ(run.status, row.status) << run.err.substr(0, 300);
        EXPECT_NE(run.err.find(row.errHas), std::string::npos) << run.err.substr(0, 300);
        EXPECT_LT(run.err.size(), 4000u) << "a message quotes a user's text whole";
        for (const Entry& entry : row.after) {
            SCOPED_TRACE(entry.name);
            const std::string path = dir + entry.name;
            // Not opened before the kind is known: a FIFO would wait for a writer.
            const auto bytes = [&] { return ReadFile(path); };
            switch (entry.kind) {
                case File:
                case ReadOnly:
                    EXPECT_TRUE(std::filesystem::is_regular_file(std::filesystem::symlink_status(path)));
                    EXPECT_EQ(bytes(), entry.content);
                    break;
                case Has:
                    EXPECT_NE(bytes().find(entry.content), std::string::npos);
                    break;
                case Starts:
                    EXPECT_TRUE(bytes().starts_with(entry.content));
                    break;
                case Fifo:
                    EXPECT_TRUE(std::filesystem::is_fifo(std::filesystem::symlink_status(path)));
                    break;
                case Link:
                    EXPECT_EQ(std::filesystem::read_symlink(path), entry.content);
                    break;
                case HardLink:
                    EXPECT_TRUE(std::filesystem::equivalent(path, dir + entry.content));
                    break;
                case Folder:
                    EXPECT_TRUE(std::filesystem::is_directory(path));
                    break;
                case Missing:
                    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(path)));
                    break;
            }
        }
    }
    EXPECT_TRUE(std::filesystem::is_character_file("/dev/null"));
}

// patch applies the --dry-run diff to every variant korvane-gen writes and
// to a name with a blank, giving exactly the file the update writes.
TEST(KorvaneGen, PatchAppliesTheDryRunDiff) {
    ProjectSettings a = EverythingOn();
    a.OutputForm = 2;  // SDCC
    ProjectSettings b = a;
    b.SciBaud = "1200";
    b.T0En = false;
    b.T0Int = 0;
    std::string old = AssembleSource(a, true);
    const std::string region = RegionStart("主循环") + "\r\n";
    old.insert(old.find(region) + region.size(), "        PORTD = 0;  // 用户\r\n");
    const struct {
        const char* name;
        bool gbk, crlf;
    } rows[] = {
        {"gbk-crlf.c", true, true},  {"gbk-lf.c", true, false}, {"utf8-crlf.c", false, true},
        {"utf8-lf.c", false, false}, {"my main.c", true, true},
    };
    const std::string dir = Temp("patch/");
    std::filesystem::create_directories(dir);
    WriteFile(dir + "b.kvp", ProjectText(b));
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        std::string text = old;
        if (!row.crlf) std::erase(text, '\r');
        const std::string bytes = row.gbk ? EncodeGbk(text).bytes : text;
        WriteFile(dir + row.name, bytes);
        WriteFile(dir + "updated.c", bytes);
        ASSERT_EQ(Gen({"--update", dir + "updated.c", dir + "b.kvp"}).status, 0);
        const ToolRun run =
            RunTool("/bin/sh", {"-c", "cd '" + dir + "' && " + KORVANE_GEN + " --update '" + row.name +
                                          "' --dry-run b.kvp > change.diff && patch -s < change.diff"});
        EXPECT_EQ(run.status, 0) << run.out << run.err;
        EXPECT_EQ(ReadFile(dir + row.name), ReadFile(dir + "updated.c"));
        // The base too, made by the patch where there was none.
        EXPECT_EQ(ReadFile(dir + "." + row.name + ".korvane-base"),
                  ReadFile(dir + ".updated.c.korvane-base"));
        std::filesystem::remove(dir + "updated.c.~1~");
        std::filesystem::remove(dir + ".updated.c.korvane-base");
    }
}

TEST(KorvaneGen, UsageErrorsExitWithTwoAndHelpWithZero) {
    const std::string project = EverySectionProject();
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"--frobnicate", project},
        {project, project},
        {"--encoding", "latin1", project},
        {"--encoding"},
        {"-o"},
        {"--defaults", project},
        {"--defaults", "--encoding", "gbk"},
        {"--pins"},
        {"--pin-map"},
        {"--pin-map", "map.jpg", project},
        {"--pins", "-o", Temp("pins.txt"), project},
        {"--pins", "--encoding", "gbk", project},
        {"--defaults", "--pins"},
        {"--dry-run", project},
        {"--update"},
        {"--update", Temp("x.c"), "-o", Temp("y.c"), project},
        {"--update", Temp("x.c"), project},  // its form is the classic one
    };
    for (const auto& args : cases) {
        const ToolRun run = Gen(args);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err.rfind("korvane-gen: ", 0), 0u) << run.err;
        EXPECT_NE(run.err.find("Usage: korvane-gen"), std::string::npos);
    }
    const ToolRun help = Gen({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("Usage: korvane-gen", 0), 0u);
}

// --pins prints the table the pin map draws; --pin-map draws it without a
// display. A project two modules disagree on still gets its table, the
// conflict marked, and the status says the project is not right.
TEST(KorvaneGen, PinsAndPinMap) {
    const std::string header = "[korvane]\nformat = 2\nchip = \"PIC16F87x\"\n[settings]\n";
    const std::string small = Temp("small.kvp");
    WriteFile(small, header + "ChipPart = 6\nSciEn = 1\nPortBDir = [1, 1, 1, 1, 0, 0, 0, 0]\n");
    const std::string conflict = Temp("conflict.kvp");
    WriteFile(conflict, header + "Ccp2En = true\nT1En = true\nT1OscEn = 1\n");
    const std::string svg = Temp("map.svg"), png = Temp("map.PNG"), missing = Temp("missing/map.svg");
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string lines;  // in standard output, which has one line per pin
        std::string errStart;
        std::string file, magic;  // the picture asked for and how it starts
    } const cases[] = {
        {{"--pins", small},
         0,
         " 1  MCLR/VPP             复位\n 2  RA0/AN0              数字输出\n",
         "",
         "",
         ""},
        {{"--pins", small}, 0, "\n17  RC6/TX/CK            SCI发送TX\n", "", "", ""},
        {{"--pins", small},
         0,
         "\n24  RB3/PGM              数字输入\n25  RB4                  数字输出\n",
         "",
         "",
         ""},
        {{"--pins", "--pin-map", png, conflict},
         2,
         "\n16  RC1/T1OSI/CCP2       冲突:CCP2/Timer1\n",
         conflict + ": 设置项T1OscEn：CCP2模块已使用RC1口",
         png,
         "\x89PNG\r\n"},
        {{"--pin-map", svg, small}, 0, "", "", svg, "<?xml"},
        {{"--pin-map", missing, small}, 1, "", "korvane-gen: cannot write " + missing, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.front() + " " + c.args.back());
        std::remove(svg.c_str());
        std::remove(png.c_str());
        const ToolRun run = Gen(c.args);
        EXPECT_EQ(run.status, c.status) << run.err;
        EXPECT_NE(run.out.find(c.lines), std::string::npos) << run.out;
        EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), c.lines.empty()          ? 0
                                                                    : c.args.back() == small ? 28
                                                                                             : 40);
        EXPECT_EQ(run.err.substr(0, c.errStart.size()), c.errStart);
        EXPECT_EQ(c.errStart.empty(), run.err.empty()) << run.err;
        if (!c.file.empty()) {
            EXPECT_EQ(ReadFile(c.file).substr(0, c.magic.size()), c.magic);
        }
    }
    EXPECT_EQ(Gen({"--pins", small}, "/dev/full").status, 1);
}

struct CalcCase {
    std::vector<std::string> args;
    int status;
    std::string out;
    std::string err;
};

void ExpectCalc(const std::vector<CalcCase>& cases) {
    for (const auto& c : cases) {
        const ToolRun run = Calc(c.args);
        std::string call;
        for (const auto& arg : c.args) call += arg + " ";
        EXPECT_EQ(run.status, c.status) << call;
        EXPECT_EQ(run.out, c.out) << call;
        EXPECT_EQ(run.err, c.err) << call;
    }
}

TEST(KorvaneCalc, TimerExamplesOfTheDialogs) {
    ExpectCalc({
        {{"timer0", "--mhz", "4", "--us", "100"}, 0, "start=0xCE max=512 min=2.000 error=0.000\n", ""},
        {{"timer0", "--mhz", "4", "--us", "256"}, 0, "start=0x80 max=512 min=2.000 error=0.000\n", ""},
        {{"timer0", "--mhz", "4", "--us", "251"}, 0, "start=0x82 max=512 min=2.000 error=-1.000\n", ""},
        {{"timer0", "--mhz", "4", "--us", "482"}, 0, "start=0x0F max=512 min=2.000 error=0.000\n", ""},
        {{"timer0", "--mhz", "4", "--us", "100", "--prescaler", "1"},
         0,
         "start=0x9C max=256 min=1.000 error=0.000\n",
         ""},
        {{"timer1", "--mhz", "4", "--us", "256"},
         0,
         "start=0xFF00 max=65536 min=1.000 error=0.000 high=0xFF low=0x00\n",
         ""},
        {{"timer1", "--mhz", "4", "--us", "50000"},
         0,
         "start=0x3CB0 max=65536 min=1.000 error=0.000 high=0x3C low=0xB0\n",
         ""},
        {{"timer1", "--mhz", "4", "--us", "500000", "--prescaler", "8"},
         0,
         "start=0xBDC max=524288 min=8.000 error=0.000 high=0x0B low=0xDC\n",
         ""},
        {{"timer1", "--mhz", "4", "--us", "65530"},
         0,
         "start=0x06 max=65536 min=1.000 error=0.000 high=0x00 low=0x06\n",
         ""},
        {{"timer2", "--mhz", "4", "--us", "256"}, 0, "pr2=0xFF max=256 min=1.000 error=0.000\n", ""},
        {{"timer0", "--mhz", "0.1", "--us", "4000", "--prescaler", "2", "--external"},
         0,
         "start=0x38 max=5120 min=20.000 error=0.000\n",
         ""},
        // No grouping in the C locale's read-outs.
        {{"timer0", "--mhz", "4", "--us", "2048", "--prescaler", "256"},
         0,
         "start=0xF8 max=65536 min=256.000 error=0.000\n",
         ""},
    });
}

TEST(KorvaneCalc, AllPrescalersListEveryRatioOrItsRange) {
    ExpectCalc({
        {{"timer2", "--mhz", "4", "--us", "1000", "--all-prescalers"},
         0,
         "1:1 4M频率在1:1分频设置下的定时范围为1.000-256uS\n"
         "1:4 pr2=0xF9 max=1024 min=4.000 error=0.000\n"
         "1:16 pr2=0x3D max=4096 min=16.000 error=8.000\n",
         ""},
        {{"timer1", "--mhz", "4", "--us", "70000", "--all-prescalers"},
         0,
         "1:1 4M频率在1:1分频设置下的定时范围为1.000-65536uS\n"
         "1:2 start=0x7748 max=131072 min=2.000 error=0.000 high=0x77 low=0x48\n"
         "1:4 start=0xBBA4 max=262144 min=4.000 error=0.000 high=0xBB low=0xA4\n"
         "1:8 start=0xDDD2 max=524288 min=8.000 error=0.000 high=0xDD low=0xD2\n",
         ""},
    });
    const ToolRun timer0 = Calc({"timer0", "--mhz", "4", "--us", "600", "--all-prescalers"});
    EXPECT_EQ(timer0.status, 0);
    EXPECT_EQ(timer0.out.substr(0, timer0.out.find('\n', timer0.out.find('\n') + 1) + 1),
              "1:1 4M频率在1:1分频设置下的定时范围为1.000-256uS\n1:2 "
              "4M频率在1:2分频设置下的定时范围为2.000-512uS\n");
    EXPECT_NE(timer0.out.find("\n1:256 start=0xFE "), std::string::npos);
}

TEST(KorvaneCalc, TheThreeFailureMessagesOfTheTimerCalculator) {
    const std::string input =
        "输入数据不正确\n你还没有输入必要的数值(定时值或晶振/外部频率),\n"
        "或者输入的数据格式不正确(写了两个以上的小数点).\n请更正你的以上错误.谢谢！\n";
    ExpectCalc({
        {{"timer0", "--mhz", "0", "--us", "100"},
         1,
         "",
         "晶振频率设置错误\n晶振或外部输入的频率应大于0，请重新设置。谢谢！\n"},
        {{"timer0", "--mhz", "4", "--us", "600"},
         1,
         "",
         "超出定时范围\n超出定时范围，请重新输入定时时间或晶体/"
         "外部频率\n4M频率在1:2分频设置下的定时范围为2.000-512uS\n"},
        {{"timer2", "--mhz", "4", "--us", "300"},
         1,
         "",
         "超出定时范围\n超出定时范围，请重新输入定时时间或晶体/"
         "外部频率\n4M频率在1:1分频设置下的定时范围为1.000-256uS\n"},
        {{"timer1", "--mhz", "4", "--us", std::string(40, '9')}, 1, "", input},  // beyond a single
        {{"timer0", "--mhz", "0", "--us", "100", "--all-prescalers"},
         1,
         "",
         "晶振频率设置错误\n晶振或外部输入的频率应大于0，请重新设置。谢谢！\n"},
    });
}

TEST(KorvaneCalc, BaudTablesOfTheCalculator) {
    ExpectCalc({
        {{"baud", "--mhz", "4", "--mode", "async-high"},
         0,
         "19200 0x0C 19230.76923\n9600 0x19 9615.38462\n4800 0x33 4807.69231\n2400 0x67 2403.84615\n"
         "1200 0xCF 1201.92308\nchosen 1200 0xCF\n",
         ""},
        {{"baud", "--mhz", "4", "--mode", "async-low"},
         0,
         "4800 0x0C 4807.69231\n2400 0x19 2403.84615\n1200 0x33 1201.92308\n600 0x67 600.96154\n"
         "300 0xCF 300.48077\nchosen 300 0xCF\n",
         ""},
        {{"baud", "--mhz", "4", "--mode", "sync"},
         0,
         "38400 0x19 38461.53846\n19200 0x33 19230.76923\n9600 0x67 9615.38462\n4800 0xCF 4807.69231\n"
         "chosen 4800 0xCF\n",
         ""},
        {{"baud", "--mhz", "20", "--mode", "async-high"},
         0,
         "19200 0x40 19230.76923\n9600 0x81 9615.38462\nchosen 9600 0x81\n",
         ""},
        {{"baud", "--mhz", "11.0592", "--mode", "async-high", "--error", "0"},
         0,
         "38400 0x11 38400.00000\n28800 0x17 28800.00000\n19200 0x23 19200.00000\n14400 0x2F 14400.00000\n"
         "9600 0x47 9600.00000\n4800 0x8F 4800.00000\nchosen 4800 0x8F\n",
         ""},
        {{"baud", "--mhz", "4", "--mode", "async-high", "--error", "2"},
         0,
         "19200 0x0C 19230.76923\n9600 0x19 9615.38462\n4800 0x33 4807.69231\n2400 0x66 2427.18447\n"
         "1200 0xCC 1219.51220\nchosen 1200 0xCC\n",
         ""},
        {{"baud", "--mhz", "4", "--mode", "async-high", "--error", "0"}, 0, "chosen none\n", ""},
    });
    const ToolRun low = Calc({"baud", "--mhz", "3.6864", "--mode", "async-low"});
    EXPECT_EQ(low.out.substr(low.out.find("\n300 ") + 1), "300 0xBF 300.00000\nchosen 300 0xBF\n");
}

// One crystal gives every kind of line, and a different choice per family.
TEST(KorvaneCalc, AdClocksWithTadAndWhetherAllowed) {
    ExpectCalc({
        {{"ad", "--mhz", "10"},
         0,
         "Fosc/2 tad=0.200 conversion=2.400 too-fast\n"
         "Fosc/4 tad=0.400 conversion=4.800 too-fast a-parts\n"
         "Fosc/8 tad=0.800 conversion=9.600 too-fast\n"
         "Fosc/16 tad=1.600 conversion=19.200 allowed a-parts\n"
         "Fosc/32 tad=3.200 conversion=38.400 allowed\n"
         "Fosc/64 tad=6.400 conversion=76.800 allowed a-parts\n"
         "FRC tad=2-6 conversion=24-72 allowed\n"
         "chosen Fosc/16 Fosc/32\n",
         ""},
    });
}

TEST(KorvaneCalc, I2cClockLineAndRefusal) {
    ExpectCalc({
        {{"i2c", "--mhz", "20", "--khz", "400"}, 0, "sspadd=0x0C actual=384.615 error=-3.846\n", ""},
        {{"i2c", "--mhz", "4", "--khz", "5"},
         1,
         "",
         "超出I2C速率范围\n超出I2C速率范围，请重新输入总线速率或设置晶振频率\n4M晶振下的I2C速率范围为7.812-"
         "400.000kHz\nI2C总线的标准速率为100kHz,快速方式为400kHz\n"},
    });
}

// A value that is no number is bad usage naming the option; a number the
// calculator refuses gets its message; output that cannot be written fails.
TEST(KorvaneCalc, BadNumbersAndFailedOutput) {
    const std::string crystal = "晶振频率设置错误\n晶振频率应大于0，请重新设置。谢谢！\n";
    const std::string timerFrequency = "晶振频率设置错误\n晶振或外部输入的频率应大于0，请重新设置。谢谢！\n";
    const std::string full = "korvane-calc: cannot write to standard output: No space left on device\n";
    struct Case {
        std::vector<std::string> args;
        std::string stdoutTo;
        int status;
        std::string err;  // for usage errors, its first line
    } const cases[] = {
        {{"timer0", "--mhz", "abc", "--us", "100"}, "", 2, "korvane-calc: --mhz needs a number, not abc"},
        {{"timer1", "--mhz", "4", "--us", "1.2.3"}, "", 2, "korvane-calc: --us needs a number, not 1.2.3"},
        {{"baud", "--mhz", "abc", "--mode", "sync"}, "", 2, "korvane-calc: --mhz needs a number, not abc"},
        {{"baud", "--mhz", "4", "--mode", "sync", "--error", "x"},
         "",
         2,
         "korvane-calc: --error needs a number, not x"},
        {{"timer0", "--mhz", "-4", "--us", "100"}, "", 1, timerFrequency},
        {{"baud", "--mhz", "-4", "--mode", "sync"}, "", 1, crystal},
        {{"baud", "--mhz", "0", "--mode", "sync"}, "", 1, crystal},
        {{"ad", "--mhz", "0"}, "", 1, crystal},
        {{"baud", "--mhz", "4", "--mode", "sync", "--error", "-1"},
         "",
         1,
         "误差设置错误\n允许的误差应不小于0，请重新设置。谢谢！\n"},
        {{"timer0", "--mhz", "4", "--us", "100"}, "/dev/full", 1, full},
        {{"timer2", "--mhz", "4", "--us", "100", "--all-prescalers"}, "/dev/full", 1, full},
        {{"baud", "--mhz", "4", "--mode", "sync"}, "/dev/full", 1, full},
        {{"--help"}, "/dev/full", 1, full},
        {{"baud", "--mhz", "4", "--mode", "sync"},
         "-",
         1,
         "korvane-calc: cannot write to standard output: Bad file descriptor\n"},
    };
    for (const auto& c : cases) {
        const ToolRun run = Calc(c.args, c.stdoutTo);
        EXPECT_EQ(run.status, c.status) << c.args[0] << " " << run.err;
        EXPECT_EQ(run.status == 2 ? run.err.substr(0, run.err.find('\n')) : run.err, c.err);
    }
}

TEST(KorvaneCalc, UsageErrorsExitWithTwoAndHelpWithZero) {
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"timer3", "--mhz", "4", "--us", "1"},
        {"timer0", "--mhz", "4"},
        {"timer0", "--mhz", "4", "--us"},
        {"timer0", "--mhz", "4", "--us", "1", "--us", "2"},
        {"timer0", "--mhz", "4", "--us", "100", "--prescaler", "3"},
        {"timer1", "--mhz", "4", "--us", "100", "--prescaler", "16"},
        {"timer2", "--mhz", "4", "--us", "100", "--prescaler", "2"},
        {"timer2", "--mhz", "4", "--us", "100", "--external"},
        {"timer0", "--mhz", "4", "--us", "100", "--prescaler", "2", "--all-prescalers"},
        {"timer0", "--mhz", "4", "--us", "100", "--mode", "sync"},
        {"baud", "--mhz", "4"},
        {"baud", "--mhz", "4", "--mode", "fast"},
        {"baud", "--mhz", "four", "--mode", "sync"},
        {"baud", "--mhz", "4", "--mode", "sync", "--error", "1.2.3"},
        {"baud", "--mhz", "3000", "--mode", "sync"},
        {"i2c", "--mhz", "4"},
        {"i2c", "--mhz", "4", "--khz", "fast"},
        {"ad"},
    };
    for (const auto& args : cases) {
        const ToolRun run = Calc(args);
        EXPECT_EQ(run.status, 2) << (args.empty() ? "" : args.front());
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err.rfind("korvane-calc: ", 0), 0u) << run.err;
        EXPECT_NE(run.err.find("Usage: korvane-calc"), std::string::npos);
    }
    for (const auto& args : std::vector<std::vector<std::string>>{{"--help"}, {"baud", "--help"}}) {
        const ToolRun help = Calc(args);
        EXPECT_EQ(help.status, 0);
        EXPECT_EQ(help.out.rfind("Usage: korvane-calc", 0), 0u);
    }
}

TEST(AllPrograms, AnswerHelpAndVersionAndRefuseUnknownOptions) {
    std::vector<std::pair<std::string, std::string>> programs = {{KORVANE_GEN, "korvane-gen"},
                                                                 {KORVANE_CALC, "korvane-calc"}};
#ifdef KORVANE_GUI
    programs.emplace_back(KORVANE_GUI, "korvane");
#endif
    for (const auto& [path, name] : programs) {
        const ToolRun version = RunTool(path, {"--version"});
        EXPECT_EQ(version.status, 0) << name;
        EXPECT_EQ(version.out, name + " " + kVersion + "\n");
        // Output that cannot be written is no success.
        for (const char* option : {"--version", "--help"}) {
            const ToolRun full = RunTool(path, {option}, "/dev/full");
            EXPECT_EQ(full.status, 1) << name << option;
            EXPECT_EQ(full.err, name + ": cannot write to standard output: No space left on device\n");
        }
        for (const char* help : {"--help", "-h"}) {
            const ToolRun run = RunTool(path, {help});
            EXPECT_EQ(run.status, 0) << name << help;
            EXPECT_EQ(run.out.rfind("Usage: " + name + " ", 0), 0u) << run.out;
            EXPECT_EQ(run.err, "") << name;
        }
        const ToolRun unknown = RunTool(path, {"--frobnicate"});
        EXPECT_EQ(unknown.status, 2) << name;
        EXPECT_EQ(unknown.out, "") << name;
        EXPECT_EQ(unknown.err.rfind(name + ": ", 0), 0u) << unknown.err;
        EXPECT_NE(unknown.err.find("Usage: " + name + " "), std::string::npos) << name;
    }
}

#ifdef KORVANE_GUI
TEST(Korvane, HelpNamesTheHelpFileAndOnlyOneProjectOpens) {
    const std::string folder = std::filesystem::path(KORVANE_GUI).parent_path().string();
    EXPECT_NE(RunTool(KORVANE_GUI, {"--help"}).out.find(folder + "/korvane.chm\n"), std::string::npos);
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"a.kvp", "b.kvp"}, {"a.kvp", "-x"}}) {
        const ToolRun run = RunTool(KORVANE_GUI, args);
        EXPECT_EQ(run.status, 2) << args.back();
        EXPECT_EQ(run.err.rfind("korvane: ", 0), 0u) << run.err;
    }
}
#endif

}  // namespace
}  // namespace korvane
