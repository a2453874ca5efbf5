// The user's code in the modern forms: what an update carries from an old
// text into the text for new settings, what it keeps of a module that is
// gone, and what it refuses; the file around it (encoding, line ends, the
// copy); and the line diff it shows.
#include "generator/user_code.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>

#include "calc/settings_calc.h"
#include "files/source_update.h"
#include "format/gbk.h"
#include "format/line_diff.h"
#include "format/number_text.h"
#include "generator/source_assembly.h"
#include "scratch_process.h"
#include "settings/output_form.h"

namespace korvane {
namespace {

// Timer1 and the serial port's receive interrupt, both with branches.
ProjectSettings Base(OutputFormId form) {
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
    return s;
}

std::string Generate(ProjectSettings s) {
    for (const SettingProblem& problem : SettleProject(s, kPlainNumbers))
        ADD_FAILURE() << problem.setting << ": " << problem.text;
    return AssembleSource(s, true);
}

// What a user writes, by region.
const std::map<std::string, std::string> kUserCode = {
    {"全局", "volatile unsigned char ticks;  // 用户的计数"},
    {"主循环", "        if (ticks > 10) ticks = 0;"},
    {"中断 TMR1IF", "        ticks++;\r\n\r\n        PORTB = ticks;"},
    {"中断 RCIF", "        PORTD = RCREG;"},
};

std::string WithUserCode(std::string text) {
    for (const auto& [name, code] : kUserCode) {
        const auto at = text.find(RegionStart(name) + "\r\n");
        if (at == std::string::npos) continue;
        text.insert(at + RegionStart(name).size() + 2, code + "\r\n");
    }
    return text;
}

// Each region's lines, by name; and the rest of the text, stamp left out.
struct Taken {
    std::map<std::string, std::string> regions;
    std::vector<std::string> outside;
};

Taken TakeApart(const std::string& text) {
    Taken taken;
    std::string open;
    for (const std::string& line : SplitLines(text)) {
        const auto trimmed = line.substr(std::min(line.find_first_not_of(' '), line.size()));
        if (trimmed.starts_with("/* Korvane ")) continue;
        if (!open.empty() && trimmed != RegionEnd(open)) {
            std::string& region = taken.regions[open];
            region += (region.empty() ? "" : "\r\n") + line;
            continue;
        }
        taken.outside.push_back(line);
        if (trimmed.starts_with("/* 用户代码开始: "))
            open = trimmed.substr(std::string_view("/* 用户代码开始: ").size(),
                                  trimmed.size() - std::string_view("/* 用户代码开始: ").size() - 3);
        else if (trimmed.starts_with("/* 用户代码结束: "))
            open.clear();
    }
    return taken;
}

std::string CommentedOut(const std::string& code) {
    std::string out;
    for (const std::string& line : SplitLines(code))
        out += (out.empty() ? "" : "\r\n") + (line.empty() ? "//" : "// " + line);
    return out;
}

// The user's code survives each kind of change in both forms: in its
// region when the module stays, commented out under its old name when it
// goes; outside the regions the text is the new one's; and updating the
// result again changes nothing.
TEST(UserCode, SurvivesSettingsChanges) {
    struct Row {
        const char* what;
        std::function<void(ProjectSettings&)> change;
        std::vector<std::string> gone;
    };
    const Row rows[] = {
        {"crystal 4 -> 8 MHz",
         [](ProjectSettings& s) {
             s.CrystalMHz = 8.0f;
             s.T0FreqMHz = s.T1FreqMHz = s.T2FreqMHz = 8.0f;
         },
         {}},
        {"baud 2400 -> 1200", [](ProjectSettings& s) { s.SciBaud = "1200"; }, {}},
        {"Timer0 switched on",
         [](ProjectSettings& s) {
             s.T0En = true;
             s.T0Int = -1;
             s.T0TimeUs = 100.0f;
         },
         {}},
        {"Timer1 switched off",
         [](ProjectSettings& s) {
             s.T1En = false;
             s.T1Int = 0;
         },
         {"中断 TMR1IF"}},
    };
    for (const OutputFormId form : {OutputFormId::Xc8, OutputFormId::Sdcc}) {
        for (const Row& row : rows) {
            SCOPED_TRACE(std::string(FactsOf(form).name) + ": " + row.what);
            const std::string before = WithUserCode(Generate(Base(form)));
            ProjectSettings b = Base(form);
            row.change(b);
            const std::string fresh = Generate(b);
            ASSERT_NE(TakeApart(fresh).outside, TakeApart(Generate(Base(form))).outside);

            const MergeResult result = MergeUserCode(before, fresh, false);
            ASSERT_TRUE(std::holds_alternative<MergedText>(result)) << std::get<MergeRefusal>(result).reason;
            const MergedText& merged = std::get<MergedText>(result);
            EXPECT_EQ(merged.kept, row.gone);
            const Taken taken = TakeApart(merged.text);
            for (const auto& [name, code] : kUserCode) {
                const bool gone = std::ranges::find(row.gone, name) != row.gone.end();
                EXPECT_EQ(taken.regions.count(name), gone ? 0u : 1u) << name;
                if (gone) {
                    EXPECT_EQ(taken.regions.at(std::string(kKeptPrefix) + name), CommentedOut(code));
                } else {
                    EXPECT_EQ(taken.regions.at(name), code) << name;
                }
            }
            // The program's part is the new text's, the kept block after it.
            const std::vector<std::string> outside = TakeApart(fresh).outside;
            ASSERT_GE(taken.outside.size(), outside.size());
            EXPECT_TRUE(std::equal(outside.begin(), outside.end(), taken.outside.begin()));
            EXPECT_EQ(taken.outside.size() > outside.size(), !row.gone.empty());

            const MergeResult again = MergeUserCode(merged.text, fresh, false);
            ASSERT_TRUE(std::holds_alternative<MergedText>(again));
            EXPECT_EQ(std::get<MergedText>(again).text, merged.text);
            EXPECT_TRUE(std::get<MergedText>(again).kept.empty());
        }
    }
}

std::string ReplaceLine(const std::string& text, std::size_t index, const std::string& line) {
    std::vector<std::string> lines = SplitLines(text);
    lines[index] = line;
    std::string out;
    for (const std::string& l : lines) out += l + "\r\n";
    return out;
}

std::size_t IndexOf(const std::string& text, const std::string& line, std::size_t from = 0) {
    const std::vector<std::string> lines = SplitLines(text);
    for (std::size_t i = from; i < lines.size(); ++i)
        if (lines[i].find(line) != std::string::npos) return i;
    ADD_FAILURE() << "no line " << line;
    return 0;
}

// A text whose structure cannot be trusted is refused at the line that
// shows it, and carried past only when forced.
TEST(UserCode, RefusesDamagedOrEditedText) {
    using Kind = MergeRefusal::Kind;
    const std::string text = WithUserCode(Generate(Base(OutputFormId::Sdcc)));
    const std::string fresh = Generate([] {
        ProjectSettings s = Base(OutputFormId::Sdcc);
        s.SciBaud = "1200";
        return s;
    }());
    const std::size_t loopEnd = IndexOf(text, RegionEnd("主循环"));
    const std::size_t t1con = IndexOf(text, "T1CON = ");
    struct Row {
        const char* what;
        std::string edited;
        Kind kind;
        std::size_t line;  // from 1
    };
    const Row rows[] = {
        {"a generated value changed", ReplaceLine(text, t1con, "    T1CON = 0x00;"), Kind::EditedOutside,
         t1con + 1},
        {"a line added after the loop's region",
         ReplaceLine(text, loopEnd, SplitLines(text)[loopEnd] + "\r\n        x++;"), Kind::EditedOutside,
         loopEnd + 2},
        {"a line ending trimmed only", ReplaceLine(text, t1con, SplitLines(text)[t1con] + "   "),
         Kind::EditedOutside, 0},
        {"an end marker missing", ReplaceLine(text, loopEnd, "        x++;"), Kind::DamagedMarkers,
         IndexOf(text, "/* 用户代码开始: ", loopEnd) + 1},
        {"a name twice",
         ReplaceLine(text, loopEnd,
                     SplitLines(text)[loopEnd] + "\r\n" + RegionStart("全局") + "\r\n" + RegionEnd("全局")),
         Kind::DamagedMarkers, loopEnd + 2},
        {"a region inside another",
         ReplaceLine(text, loopEnd,
                     RegionStart("x") + "\r\n" + RegionEnd("x") + "\r\n" + SplitLines(text)[loopEnd]),
         Kind::DamagedMarkers, loopEnd + 1},
        {"the stamp gone", text.substr(text.find("\r\n") + 2), Kind::NoStamp, 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const MergeResult result = MergeUserCode(row.edited, fresh, false);
        if (row.line == 0) {  // trailing blanks are no edit
            EXPECT_TRUE(std::holds_alternative<MergedText>(result));
            continue;
        }
        ASSERT_TRUE(std::holds_alternative<MergeRefusal>(result));
        const MergeRefusal& refusal = std::get<MergeRefusal>(result);
        EXPECT_EQ(refusal.kind, row.kind) << refusal.reason;
        EXPECT_EQ(refusal.line, static_cast<int>(row.line)) << refusal.reason;
        const MergeResult forced = MergeUserCode(row.edited, fresh, true);
        ASSERT_TRUE(std::holds_alternative<MergedText>(forced));
        ASSERT_EQ(std::get<MergedText>(forced).overridden.size(), 1u);
        EXPECT_EQ(std::get<MergedText>(forced).overridden[0].line, refusal.line);
        // Forced, the result is a sound text again.
        EXPECT_TRUE(std::holds_alternative<MergedText>(
            MergeUserCode(std::get<MergedText>(forced).text, fresh, false)));
    }
}

std::string ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteAll(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string WithLf(std::string text) {
    std::erase(text, '\r');
    return text;
}

// The file keeps its encoding and line ends, the copy holds the old bytes,
// and a refused file is left as it was.
TEST(UserCode, UpdatesFilesAsTheyWere) {
    const ScratchDir dir("korvane-update");
    ASSERT_FALSE(dir.path().empty());
    const std::string text = WithUserCode(Generate(Base(OutputFormId::Xc8)));
    ProjectSettings changed = Base(OutputFormId::Xc8);
    changed.CrystalMHz = 8.0f;
    changed.T1FreqMHz = 8.0f;
    const std::string fresh = Generate(changed);
    struct Row {
        const char* what;
        std::string bytes;
        bool gbk, crlf;
    };
    const Row rows[] = {
        {"GBK, CR LF", EncodeGbk(text).bytes, true, true},
        {"UTF-8, LF", WithLf(text), false, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const auto path = (dir.path() / "main.c").string();
        WriteAll(path, row.bytes);
        const SourceUpdate update = PrepareSourceUpdate(path, fresh, false);
        ASSERT_EQ(update.status, SourceUpdate::Status::Ready) << update.error;
        EXPECT_EQ(update.gbk, row.gbk);
        EXPECT_EQ(update.crlf, row.crlf);
        ASSERT_EQ(WriteSourceUpdate(path, update), "");
        EXPECT_EQ(ReadAll(BackupPath(path)), row.bytes);
        const std::string expected = row.crlf ? update.merged.text : WithLf(update.merged.text);
        EXPECT_EQ(ReadAll(path), row.gbk ? EncodeGbk(expected).bytes : expected);
        EXPECT_EQ(TakeApart(update.merged.text).regions.at("中断 TMR1IF"), kUserCode.at("中断 TMR1IF"));
    }
    const auto path = (dir.path() / "edited.c").string();
    const std::string edited = EncodeGbk(ReplaceLine(text, IndexOf(text, "T1CON = "), "T1CON = 0;")).bytes;
    WriteAll(path, edited);
    EXPECT_EQ(PrepareSourceUpdate(path, fresh, false).status, SourceUpdate::Status::Refused);
    EXPECT_EQ(ReadAll(path), edited);
    EXPECT_FALSE(std::filesystem::exists(BackupPath(path)));
}

// What patch makes of the diff is the new text, and the changed lines are
// the new text's lines outside the common part.
TEST(LineDiff, PatchTurnsBeforeIntoAfter) {
    const struct {
        std::string before, after;
        std::vector<int> changed;
    } rows[] = {
        {"a\nb\nc\n", "a\nB\nc\n", {1}},
        {"1\n2\n3\n4\n5\n6\n7\n8\n9\n10\n11\n12\n", "0\n1\n2\n3\n4\n5\n6\n7\n8\n9\n10\n12\n13\n", {0, 12}},
        {"", "x\ny\n", {0, 1}},
        {"x\ny\n", "", {}},
        {"same\r\n", "same\n", {}},
    };
    const ScratchDir dir("korvane-diff");
    ASSERT_FALSE(dir.path().empty());
    for (const auto& row : rows) {
        SCOPED_TRACE(row.before + "->" + row.after);
        EXPECT_EQ(ChangedLines(row.before, row.after), row.changed);
        const std::string diff = UnifiedDiff(WithLf(row.before), WithLf(row.after), "old.c", "new.c");
        WriteAll(dir.path() / "old.c", WithLf(row.before));
        WriteAll(dir.path() / "change.diff", diff);
        if (diff.empty()) {
            EXPECT_EQ(SplitLines(row.before), SplitLines(row.after));
            continue;
        }
        const CommandRun run = RunCommand("cd '" + dir.path().string() + "' && patch -s old.c change.diff");
        ASSERT_TRUE(run.ok) << run.output << diff;
        EXPECT_EQ(ReadAll(dir.path() / "old.c"), WithLf(row.after)) << diff;
    }
}

}  // namespace
}  // namespace korvane
