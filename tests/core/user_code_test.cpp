// What an update carries from an old text into the text for new settings,
// what it keeps of a module that is gone, what it refuses; and its line diff.
#include "generator/user_code.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <map>

#include "calc/settings_calc.h"
#include "chip/assemble.h"
#include "chip/settle.h"
#include "format/line_diff.h"
#include "format/number_text.h"
#include "generator/classic_writer.h"
#include "project/project_file.h"
#include "scratch_process.h"
#include "settings/output_form.h"

namespace korvane {
namespace {

// Timer1 and the serial port's receive interrupt, both with branches.
ProjectSettings Base(OutputFormId form, const std::function<void(ProjectSettings&)>& change = {}) {
    ProjectSettings s;
    s.OutputForm = static_cast<std::int16_t>(form);
    s.PortCUsed = 1;
    s.PortCDir[6] = s.PortCDir[7] = 1;
    s.T1En = true;
    s.T1Int = -1;
    s.T1TimeUs = 1000.0f;
    s.SciEn = 1;
    s.SciRxInt = 1;
    s.SciBaud = "2400";
    if (change) change(s);
    EXPECT_TRUE(SettleProject(s, kPlainNumbers).empty());
    return s;
}

const std::map<std::string, std::string> kUserCode = {
    {"全局", "volatile unsigned char ticks;  // 用户的计数"},
    {"主循环", "        if (ticks > 10) ticks = 0;"},
    {"中断 TMR1IF", "        ticks++;\r\n\r\n        PORTB = ticks;"},
    {"中断 RCIF", "        PORTD = RCREG;"},
};

std::string WithUserCode(std::string text) {
    for (const auto& [name, code] : kUserCode) {
        const std::string start = RegionStart(name) + "\r\n";
        if (const auto at = text.find(start); at != std::string::npos)
            text.insert(at + start.size(), code + "\r\n");
    }
    return text;
}

// Each region's text by name, and the lines outside them (stamp left out).
struct Taken {
    std::map<std::string, std::string> regions;
    std::vector<std::string> outside;
};

Taken TakeApart(const std::string& text) {
    Taken taken;
    const std::string start = "/* 用户代码开始: ";
    std::string open;
    for (const std::string& line : SplitLines(text)) {
        const std::string trimmed = line.substr(std::min(line.find_first_not_of(' '), line.size()));
        if (!open.empty() && trimmed != RegionEnd(open)) {
            std::string& region = taken.regions[open];
            region += (region.empty() ? "" : "\r\n") + line;
        } else if (!trimmed.starts_with("/* Korvane ")) {
            taken.outside.push_back(line);
            open = trimmed.starts_with(start)
                       ? trimmed.substr(start.size(), trimmed.size() - start.size() - 3)
                       : "";
        }
    }
    return taken;
}

// The user's code survives each kind of change in both forms: in its region
// while the module stays, commented out under its old name when it goes;
// outside the regions the text is the new one's; updating again changes
// nothing.
TEST(UserCode, SurvivesSettingsChanges) {
    const struct {
        const char* what;
        std::function<void(ProjectSettings&)> change;
        std::string gone;
    } rows[] = {
        {"crystal 4 -> 8 MHz", [](ProjectSettings& s) { s.CrystalMHz = 8.0f, s.T1FreqMHz = 8.0f; }, ""},
        {"baud 2400 -> 1200", [](ProjectSettings& s) { s.SciBaud = "1200"; }, ""},
        {"Timer0 switched on", [](ProjectSettings& s) { s.T0En = true, s.T0Int = -1, s.T0TimeUs = 100.0f; },
         ""},
        {"Timer1 switched off", [](ProjectSettings& s) { s.T1En = false, s.T1Int = 0; }, "中断 TMR1IF"},
    };
    for (const OutputFormId form : {OutputFormId::Xc8, OutputFormId::Sdcc}) {
        for (const auto& row : rows) {
            SCOPED_TRACE(std::string(FactsOf(form).name) + ": " + row.what);
            const std::string before = AssembleSource(Base(form), true);
            const std::string fresh = AssembleSource(Base(form, row.change), true);
            ASSERT_NE(TakeApart(fresh).outside, TakeApart(before).outside);

            const MergeResult result = MergeUserCode(WithUserCode(before), fresh, false);
            ASSERT_TRUE(std::holds_alternative<MergedText>(result)) << std::get<MergeRefusal>(result).reason;
            const MergedText& merged = std::get<MergedText>(result);
            EXPECT_EQ(merged.kept, row.gone.empty() ? std::vector<std::string>{} : std::vector{row.gone});
            const Taken taken = TakeApart(merged.text);
            for (const auto& [name, code] : kUserCode) {
                if (name != row.gone) {
                    EXPECT_EQ(taken.regions.at(name), code) << name;
                    continue;
                }
                EXPECT_EQ(taken.regions.count(name), 0u);
                std::string commented;
                for (const std::string& line : SplitLines(code))
                    commented += (commented.empty() ? "" : "\r\n") + (line.empty() ? "//" : "// " + line);
                EXPECT_EQ(taken.regions.at(std::string(kKeptPrefix) + name), commented);
            }
            const std::vector<std::string> outside = TakeApart(fresh).outside;
            EXPECT_TRUE(std::equal(outside.begin(), outside.end(), taken.outside.begin()));
            EXPECT_EQ(taken.outside.size() > outside.size(), !row.gone.empty());

            const MergeResult again = MergeUserCode(merged.text, fresh, false);
            ASSERT_TRUE(std::holds_alternative<MergedText>(again));
            EXPECT_EQ(std::get<MergedText>(again).text, merged.text);
        }
    }
}

// `text` with `what` put in front of the first line holding `at`.
std::string InsertBefore(std::string text, const std::string& at, const std::string& what) {
    const auto found = text.find(at);
    EXPECT_NE(found, std::string::npos) << at;
    return text.insert(text.rfind('\n', found) + 1, what);
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    const auto found = text.find(from);
    EXPECT_NE(found, std::string::npos) << from;
    return text.replace(found, from.size(), to);
}

// With the text generated when the file was written (the base), an edit
// anywhere survives unless it touches lines the new generation changes; then
// both are kept between conflict markers.
TEST(UserCode, MergesEditsOutsideTheRegions) {
    const std::string base = AssembleSource(Base(OutputFormId::Sdcc), true);
    const auto crystal = [](ProjectSettings& s) { s.CrystalMHz = 8.0f, s.T1FreqMHz = 8.0f; };
    const auto baud = [](ProjectSettings& s) { s.SciBaud = "1200"; };
    const auto timer1Off = [](ProjectSettings& s) { s.T1En = false, s.T1Int = 0; };
    const std::string include = "#include \"board.h\"\r\n";
    const std::string helper = "static void blink(void) { PORTB ^= 1; }\r\n\r\n";
    // An older writer spelled a line otherwise; the base is what it wrote.
    const std::string oldSpelling = "    T1CON = 0x00;  //old writer\r\n";
    const auto body = [](const std::string& text) { return text.substr(text.find('\n') + 1); };
    const std::string oldBase =
        Stamped(Replaced(body(base), "    T1CON = 0x00;", "    T1CON = 0x00;  //old writer"));
    const struct {
        const char* what;
        std::string base;
        std::string file;
        std::function<void(ProjectSettings&)> change;
        std::vector<std::string> has;     // in the merged text
        std::vector<std::string> hasNot;  // not in it
        std::size_t conflicts;
    } rows[] = {
        {"an #include added",
         base,
         InsertBefore(base, "#include <stdint.h>", include),
         crystal,
         {include},
         {},
         0},
        {"a helper between two functions",
         base,
         InsertBefore(base, "void fun_timerset(void)\r\n{", helper),
         baud,
         {helper},
         {},
         0},
        {"a generated line changed, the update leaves it",
         base,
         Replaced(base, "T1CON = 0x00;", "T1CON = 0x31;"),
         baud,
         {"T1CON = 0x31;", "SPBRG = 0xCF;"},
         {"T1CON = 0x00;"},
         0},
        {"a generated line changed, the update changes it",
         base,
         Replaced(base, "    TMR1H = 0xFC;\r\n    TMR1L", "    TMR1H = 0x00;\r\n    TMR1L"),
         crystal,
         {"<<<<<<< 文件中的文本\r\n", "    TMR1H = 0x00;\r\n", "=======\r\n", ">>>>>>> 新生成的文本\r\n",
          "    TMR1H = 0xF8;\r\n"},
         {},
         1},
        {"an update after a writer change",
         oldBase,
         InsertBefore(oldBase, "#include <stdint.h>", include),
         baud,
         {include, "    T1CON = 0x00;  //T1CKPS1"},
         {oldSpelling},
         0},
        {"an edit, a region and a module removed at once",
         base,
         InsertBefore(WithUserCode(base), "#include <stdint.h>", include),
         timer1Off,
         {include, "        PORTD = RCREG;\r\n", "//         ticks++;\r\n"},
         {"TMR1IF = 0;"},
         0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        const std::string fresh = AssembleSource(Base(OutputFormId::Sdcc, row.change), true);
        const MergeResult result = MergeUserCode(row.file, fresh, false, row.base);
        ASSERT_TRUE(std::holds_alternative<MergedText>(result)) << std::get<MergeRefusal>(result).reason;
        const MergedText& merged = std::get<MergedText>(result);
        EXPECT_FALSE(merged.carriedOnly);
        EXPECT_EQ(merged.conflicts.size(), row.conflicts);
        for (const std::string& part : row.has) EXPECT_NE(merged.text.find(part), std::string::npos) << part;
        for (const std::string& part : row.hasNot)
            EXPECT_EQ(merged.text.find(part), std::string::npos) << part;
        // The stamp is the new generation's, and a conflict is where it says.
        EXPECT_EQ(SplitLines(merged.text)[0], SplitLines(fresh)[0]);
        for (const int line : merged.conflicts)
            EXPECT_TRUE(SplitLines(merged.text)[line - 1].starts_with("<<<<<<< "));
        // Merged again with the new generation as its base, it stays.
        if (row.conflicts == 0) {
            const MergeResult again = MergeUserCode(merged.text, fresh, false, fresh);
            ASSERT_TRUE(std::holds_alternative<MergedText>(again));
            EXPECT_EQ(std::get<MergedText>(again).text, merged.text);
        }
    }
    // A base that is not the file's (another stamp) is not used.
    const MergeResult other =
        MergeUserCode(InsertBefore(base, "#include <stdint.h>", include),
                      AssembleSource(Base(OutputFormId::Sdcc, baud), true), false, oldBase);
    ASSERT_TRUE(std::holds_alternative<MergeRefusal>(other));
    EXPECT_EQ(std::get<MergeRefusal>(other).kind, MergeRefusal::Kind::EditedOutside);
}

// A module that goes, comes back and goes again: its code goes to the kept
// block, back into its region (said so), and to the kept block again with
// what was added meanwhile.
TEST(UserCode, AModuleThatComesBackGetsItsCode) {
    const std::string on = AssembleSource(Base(OutputFormId::Xc8), true);
    const std::string off = AssembleSource(
        Base(OutputFormId::Xc8, [](ProjectSettings& s) { s.T1En = false, s.T1Int = 0; }), true);
    const auto merge = [](const std::string& file, const std::string& fresh) {
        const MergeResult result = MergeUserCode(file, fresh, false);
        EXPECT_TRUE(std::holds_alternative<MergedText>(result));
        return std::get<MergedText>(result);
    };
    const MergedText gone = merge(WithUserCode(on), off);
    EXPECT_EQ(gone.kept, std::vector<std::string>{"中断 TMR1IF"});
    const MergedText back = merge(gone.text, on);
    EXPECT_EQ(back.restored, std::vector<std::string>{"中断 TMR1IF"});
    EXPECT_EQ(TakeApart(back.text).regions.at("中断 TMR1IF"), kUserCode.at("中断 TMR1IF"));
    EXPECT_EQ(TakeApart(back.text).regions.count(std::string(kKeptPrefix) + "中断 TMR1IF"), 0u);
    const std::string region = RegionStart("中断 TMR1IF") + "\r\n";
    std::string added = back.text;
    added.insert(added.find(region) + region.size(), "        later++;\r\n");
    const MergedText again = merge(added, off);
    // With the base, a line the user added after the kept block stays too.
    const MergeResult withBase = MergeUserCode(gone.text + "int last;\r\n", on, false, off);
    ASSERT_TRUE(std::holds_alternative<MergedText>(withBase));
    EXPECT_NE(std::get<MergedText>(withBase).text.find("\r\nint last;\r\n"), std::string::npos);
    EXPECT_EQ(TakeApart(again.text).regions.at(std::string(kKeptPrefix) + "中断 TMR1IF"),
              "//         later++;\r\n//         ticks++;\r\n//\r\n//         PORTB = ticks;");
}

// A text whose structure cannot be trusted is refused at the line that shows
// it; forced, it gives a sound text.
TEST(UserCode, RefusesDamagedOrEditedText) {
    using Kind = MergeRefusal::Kind;
    const std::string text = WithUserCode(AssembleSource(Base(OutputFormId::Sdcc), true));
    const std::string fresh =
        AssembleSource(Base(OutputFormId::Sdcc, [](ProjectSettings& s) { s.SciBaud = "1200"; }), true);
    const std::vector<std::string> lines = SplitLines(text);
    const auto index = [&](const std::string& part, std::size_t from = 0) {
        return static_cast<std::size_t>(
            std::find_if(lines.begin() + static_cast<std::ptrdiff_t>(from), lines.end(),
                         [&](const std::string& l) { return l.find(part) != std::string::npos; }) -
            lines.begin());
    };
    const auto with = [&](std::size_t at, const std::string& line) {
        std::string out;
        for (std::size_t i = 0; i < lines.size(); ++i) out += (i == at ? line : lines[i]) + "\r\n";
        return out;
    };
    const std::size_t loopEnd = index(RegionEnd("主循环")), t1con = index("T1CON = ");
    const struct {
        const char* what;
        std::string edited;
        Kind kind;
        std::size_t line;  // from 1; 0: accepted
    } rows[] = {
        // Without a base nothing tells which line: the stamp's.
        {"a generated value changed", with(t1con, "    T1CON = 0x00;"), Kind::EditedOutside, 1},
        {"a line added", with(loopEnd, lines[loopEnd] + "\r\n        x++;"), Kind::EditedOutside, 1},
        {"blanks at a line's end", with(t1con, lines[t1con] + "  "), Kind::EditedOutside, 0},
        {"an end marker missing", with(loopEnd, "        x++;"), Kind::DamagedMarkers,
         index("/* 用户代码开始: ", loopEnd) + 1},
        {"a name twice",
         with(loopEnd, lines[loopEnd] + "\r\n" + RegionStart("全局") + "\r\n" + RegionEnd("全局")),
         Kind::DamagedMarkers, loopEnd + 2},
        {"a region inside another",
         with(loopEnd, RegionStart("x") + "\r\n" + RegionEnd("x") + "\r\n" + lines[loopEnd]),
         Kind::DamagedMarkers, loopEnd + 1},
        {"no stamp", with(0, "/* x */"), Kind::NoStamp, 1},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        const MergeResult result = MergeUserCode(row.edited, fresh, false);
        ASSERT_EQ(std::holds_alternative<MergeRefusal>(result), row.line != 0);
        if (row.line == 0) continue;
        const MergeRefusal& refusal = std::get<MergeRefusal>(result);
        EXPECT_EQ(refusal.kind, row.kind) << refusal.reason;
        EXPECT_EQ(refusal.line, static_cast<int>(row.line)) << refusal.reason;
        const MergedText forced = std::get<MergedText>(MergeUserCode(row.edited, fresh, true));
        ASSERT_EQ(forced.overridden.size(), 1u);
        EXPECT_TRUE(std::holds_alternative<MergedText>(MergeUserCode(forced.text, fresh, false)));
    }
}

// A file of an earlier version, stamped with several lines of check
// letters: still updated, and an edit outside its regions still found at
// its line.
TEST(UserCode, ReadsTheStampOfEarlierVersions) {
    const auto read = [](const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    const auto project = ReadProjectFile(std::string(KORVANE_TEST_DATA_DIR) + "/../forms/everything.kvp");
    ASSERT_TRUE(std::holds_alternative<ProjectSettings>(project));
    ProjectSettings settings = std::get<ProjectSettings>(project);
    ASSERT_TRUE(SettleProject(settings, kPlainNumbers).empty());
    settings.OutputForm = static_cast<std::int16_t>(OutputFormId::Xc8);
    const std::string fresh = AssembleSource(settings, true);
    const std::string legacy = read(std::string(KORVANE_TEST_DATA_DIR) + "/legacy_stamp.xc8.c");
    ASSERT_TRUE(legacy.starts_with("/* Korvane 校验: "));
    const MergeResult result = MergeUserCode(legacy, fresh, false);
    ASSERT_TRUE(std::holds_alternative<MergedText>(result));
    EXPECT_EQ(std::get<MergedText>(result).text, fresh);
    const std::vector<std::string> lines = SplitLines(legacy);
    const auto at = static_cast<std::size_t>(std::ranges::find(lines, "void main(void)") - lines.begin());
    const MergeResult edited =
        MergeUserCode(Replaced(legacy, "void main(void)", "int main(void)"), fresh, false);
    ASSERT_TRUE(std::holds_alternative<MergeRefusal>(edited));
    EXPECT_EQ(std::get<MergeRefusal>(edited).line, static_cast<int>(at) + 1);
}

// patch makes the new text of the diff; the changed lines are those of the
// new text outside the common part.
TEST(LineDiff, PatchTurnsBeforeIntoAfter) {
    const struct {
        std::string before, after;
        std::vector<int> changed;
        std::string lineEnd = "\n";
    } rows[] = {
        {"a\nb\nc\n", "a\nB\nc\n", {1}},
        {"1\n2\n3\n4\n5\n6\n7\n8\n9\n10\n11\n12\n", "0\n1\n2\n3\n4\n5\n6\n7\n8\n9\n10\n12\n13\n", {0, 12}},
        {"", "x\ny\n", {0, 1}},
        {"x\ny\n", "", {}},
        {"a\nb", "a\nb\n", {}},  // only the last line end differs, which the window marks not
        {"a\nb\n", "a\nc", {1}},
        {"a\r\nb\r\nc\r\n", "a\r\nB\r\nc\r\n", {1}, "\r\n"},
    };
    // A changed line as diff shows it: removed, then added; names end in a tab.
    EXPECT_EQ(UnifiedDiff("a\nb\nc\n", "a\nB\nc\n", "my old.c", "new.c"),
              "--- my old.c\t\n+++ new.c\t\n@@ -1,3 +1,3 @@\n a\n-b\n+B\n c\n");
    const ScratchDir dir("korvane-diff");
    for (const auto& row : rows) {
        SCOPED_TRACE(row.before + "->" + row.after);
        EXPECT_EQ(ChangedLines(row.before, row.after), row.changed);
        std::ofstream(dir.path() / "old.c") << row.before;
        std::ofstream(dir.path() / "change.diff")
            << UnifiedDiff(row.before, row.after, "old.c", "new.c", row.lineEnd);
        const CommandRun run = RunCommand("cd '" + dir.path().string() + "' && patch -s old.c change.diff");
        ASSERT_TRUE(run.ok) << run.output;
        std::ifstream in(dir.path() / "old.c");
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), row.after);
    }
}

}  // namespace
}  // namespace korvane
