#include "project/project_file.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <bit>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>
#include <type_traits>
#include <variant>

#include "chip/assemble.h"
#include "format/utf8.h"
#include "generator/classic_writer.h"
#include "random_settings.h"
#include "sample_settings.h"
#include "settings/setting_table.h"

namespace korvane {
namespace {

// Equal down to the bits: the same kind, -0 apart from 0; any NaN matches any NaN.
bool SameNumber(double a, double b) {
    if (std::isnan(a) || std::isnan(b)) return std::isnan(a) && std::isnan(b);
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}
bool SameValue(const SettingValue& a, const SettingValue& b) {
    if (a.kind() != b.kind()) return false;
    if (a.kind() == SettingValue::Kind::Text) return a.toText() == b.toText();
    return SameNumber(*a.toNumber(), *b.toNumber());
}

bool Same(float a, float b) {
    return SameNumber(a, b);
}
template <class T>
bool Same(const T& a, const T& b) {
    return a == b;
}
bool Same(const SettingValue& a, const SettingValue& b) {
    return SameValue(a, b);
}

testing::AssertionResult SameSettings(const ProjectSettings& a, const ProjectSettings& b) {
    for (const Setting& setting : kSettings) {
        const bool same = std::visit([&](auto member) { return Same(a.*member, b.*member); }, setting.member);
        if (!same) return testing::AssertionFailure() << setting.name << " differs";
    }
    return testing::AssertionSuccess();
}

ProjectReadResult RoundTrip(const ProjectSettings& settings) {
    return ParseProject(ProjectText(settings), "round.kvp");
}

TEST(ProjectFile, RandomRecordsComeBackFieldByFieldKindIncluded) {
    RandomSettings random(20261207);
    for (int i = 0; i < 2000; ++i) {
        const ProjectSettings settings = random.NextAccepted();
        const auto read = RoundTrip(settings);
        ASSERT_TRUE(std::holds_alternative<ProjectSettings>(read))
            << std::get<ProjectError>(read).text() << "\n"
            << ProjectText(settings);
        ASSERT_TRUE(SameSettings(settings, std::get<ProjectSettings>(read))) << ProjectText(settings);
    }
}

TEST(ProjectFile, DefaultsAndTheEverySectionSampleComeBackEqual) {
    for (const ProjectSettings& settings : {ProjectSettings{}, EverythingOn()}) {
        const auto read = RoundTrip(settings);
        ASSERT_TRUE(std::holds_alternative<ProjectSettings>(read));
        EXPECT_EQ(std::get<ProjectSettings>(read), settings);
    }
}

// What a file that names none of the newer choices gives: those off.
ProjectSettings AsFromAnOlderFile(ProjectSettings s) {
    for (const Setting& setting : kSettings)
        if (setting.whenAbsent == WhenAbsent::Off)
            std::visit(
                [&](auto member) {
                    if constexpr (std::is_same_v<decltype(member), std::int16_t ProjectSettings::*>)
                        s.*member = 0;
                },
                setting.member);
    return s;
}

constexpr const char* kHeader = "[korvane]\nformat = 1\nchip = \"PIC16F87x\"\n";

TEST(ProjectFile, AFileWithSomeKeysTakesTheDefaultsForTheRest) {
    const auto read =
        ParseProject(std::string(kHeader) + "[settings]\nT2En = true\nT2Int = -1\n", "some.kvp");
    ASSERT_TRUE(std::holds_alternative<ProjectSettings>(read));
    ProjectSettings expected;
    expected.T2En = true;
    expected.T2Int = -1;
    EXPECT_EQ(std::get<ProjectSettings>(read), AsFromAnOlderFile(expected));
    EXPECT_TRUE(std::holds_alternative<ProjectSettings>(ParseProject(kHeader, "header-only.kvp")));
}

// Written by hand in the syntax the README documents: the every-section sample.
constexpr const char* kHandWritten = R"(# Every section on
[korvane]
format = 1
chip = "PIC16F87x"

[settings]
PortCUsed = 1
PortCDir = [0, 0, 1, 0, 0, 0, 1, 1]
T0En = true
T0Int = -1
T0TimeUs = 100.0
T0RegText = "0xCE"
T1En = true
T1Int = -1
T1TimeUs = 1e3
T1RegHighText = "0xFC"
T1RegLowText = "0x18"
T2En = true
T2Int = -1
T2RegText = "0xFF"
Ccp1En = true
Ccp1Int = -1
Ccp1M = 4
Ccp2En = true
Ccp2Int = -1
Ccp2Mode = 2
Ccp2M = 12
SciEn = 1
SciTxInt = 1
SciRxInt = 1
SciSpbrgText = "0xCF"
SciBaud = "1200"
)";

TEST(ProjectFile, AHandWrittenFileReproducesTheKnownSourceByteForByte) {
    const auto read = ParseProject(kHandWritten, "hand.kvp");
    ASSERT_TRUE(std::holds_alternative<ProjectSettings>(read)) << std::get<ProjectError>(read).text();
    EXPECT_EQ(std::get<ProjectSettings>(read), AsFromAnOlderFile(EverythingOn()));
    for (bool comments : {true, false})
        EXPECT_EQ(AssembleSource(std::get<ProjectSettings>(read), comments),
                  AssembleSource(EverythingOn(), comments));
}

TEST(ProjectFile, TheKindsOfAValueAreSpeltAsDocumented) {
    const auto read = ParseProject(std::string(kHeader) +
                                       "[settings]\nT0En = false\nT0PsIndex = 3\nT0FreqMHz = 3.6864\n"
                                       "T0TimeUs = \"1.2.3\"\nT1PsIndex = 3\nT1PsDiv = { double = 8.0 }\n",
                                   "kinds.kvp");
    ASSERT_TRUE(std::holds_alternative<ProjectSettings>(read)) << std::get<ProjectError>(read).text();
    const auto& s = std::get<ProjectSettings>(read);
    EXPECT_EQ(s.T0En, SettingValue(false));
    EXPECT_EQ(s.T0PsIndex, SettingValue(3));
    EXPECT_EQ(s.T0FreqMHz, SettingValue(3.6864f));
    EXPECT_EQ(s.T0TimeUs, SettingValue("1.2.3"));
    EXPECT_EQ(s.T1PsDiv, SettingValue(8.0));
    // Left out, a value that others decide is worked out as its dialog stores it.
    EXPECT_EQ(s.T0PsDiv, 16);
}

TEST(ProjectFile, BadFilesNameTheFileTheLineAndWhatIsWrong) {
    const std::string h = kHeader;  // lines 1 to 3
    struct Case {
        std::string text;
        std::string message;
    };
    const Case cases[] = {
        {"[settings]\nT0En = true\n", "bad.kvp:1: 缺少表头[korvane]，这不是Korvane工程文件"},
        {"[korvane]\nformat = 3\nchip = \"PIC16F87x\"\n",
         "bad.kvp:2: 工程文件的格式版本3比本程序新，本程序只能读取版本2"},
        {"[korvane]\nformat = 0\nchip = \"PIC16F87x\"\n", "bad.kvp:2: 无效的格式版本0"},
        {"[korvane]\nformat = \"1\"\nchip = \"PIC16F87x\"\n", "bad.kvp:2: 设置项format应为整数，不能是文本"},
        {"[korvane]\nformat = 1\nchip = \"PIC18F\"\n",
         "bad.kvp:3: 不支持的芯片系列\"PIC18F\"，只支持PIC16F87x"},
        {"[korvane]\nformat = 1\n", "bad.kvp:1: 表头[korvane]缺少chip"},
        {"[korvane]\nformat = 1\nchip = \"PIC16F87x\"\nauthor = \"x\"\n",
         "bad.kvp:4: 表头中有未知的项author"},
        {h + "[extra]\n", "bad.kvp:4: 未知的表或项extra"},
        {"settings = 1\n" + h, "bad.kvp:1: 设置项settings应为表，不能是整数"},
        {h + "[settings]\nT0Foo = 1\n", "bad.kvp:5: 未知的设置项T0Foo"},
        {h + "[settings]\nT0Int = \"-1\"\n", "bad.kvp:5: 设置项T0Int应为整数，不能是文本"},
        // Beyond 16 bits, a setting names its own range.
        {h + "[settings]\nT0Int = 70000\n", "bad.kvp:5: 设置项T0Int的值70000超出范围(-1到0)"},
        {h + "[settings]\nT0PsIndex = -32769\n", "bad.kvp:5: 设置项T0PsIndex的值-32769超出范围(0到7)"},
        {h + "[settings]\nCrystalMHz = 1e39\n", "bad.kvp:5: 设置项CrystalMHz的值1e+39超出范围(单精度数)"},
        {h + "[settings]\nCrystalMHz = true\n", "bad.kvp:5: 设置项CrystalMHz应为小数，不能是真假值"},
        {h + "[settings]\nSciBaud = 1200\n", "bad.kvp:5: 设置项SciBaud应为文本，不能是整数"},
        {h + "[settings]\nPortADir = [0, 1]\n", "bad.kvp:5: 设置项PortADir应为8个整数的数组(引脚0到7)"},
        {h + "[settings]\nPortADir = [0, 0, 0, 0, 1.5, 0, 0, 0]\n",
         "bad.kvp:5: 设置项PortADir应为整数，不能是小数"},
        {h + "[settings]\nT0En = 1979-05-27\n", "bad.kvp:5: 设置项T0En应为真假值，不能是日期时间"},
        {h + "[settings]\nT1PsDiv = { single = 1.0 }\n",
         "bad.kvp:5: 设置项T1PsDiv应为整数或{ double = 小数 }，不能是表"},
        {h + "[settings]\nT1PsDiv = { double = \"8\" }\n", "bad.kvp:5: 设置项T1PsDiv应为小数，不能是文本"},
        // Only the kinds a setting's control stores: no code through a check
        // box's state, no fraction or text as an option.
        {h + "[settings]\nSciTxEn = \"1;} int evil(void){return 1;\"\n",
         "bad.kvp:5: 设置项SciTxEn应为整数，不能是文本"},
        {h + "[settings]\nT0PsIndex = 7.6\n", "bad.kvp:5: 设置项T0PsIndex应为整数，不能是小数"},
        {h + "[settings]\nT0ClockMode = true\n", "bad.kvp:5: 设置项T0ClockMode应为整数，不能是真假值"},
        // A typed number's text and a calculator's register text have their shapes.
        {h + "[settings]\nT0TimeUs = \"8\\\\\"\n",
         "bad.kvp:5: 设置项T0TimeUs的值\"8\\\"应为由数字和小数点组成的文本"},
        {h + "[settings]\nT0RegText = \"0x1g\"\n",
         "bad.kvp:5: 设置项T0RegText的值\"0x1g\"应为寄存器值文本(如0x0F)或空文本"},
        // Numbers are finite; a frequency is above 0; counts are whole.
        {h + "[settings]\nCrystalMHz = 0.0\n", "bad.kvp:5: 设置项CrystalMHz的值0超出范围(大于0的数)"},
        {h + "[settings]\nT0FreqMHz = nan\n", "bad.kvp:5: 设置项T0FreqMHz的值nan超出范围(有限的数)"},
        {h + "[settings]\nCcp1CmpValue = 1.5\n", "bad.kvp:5: 设置项Ccp1CmpValue的值1.5超出范围(0到65535)"},
        // What no dialog can produce, one row for each kind of range: a pin
        // (on its own line), an interrupt flag, a 0/1 box, a range not from 0,
        // the parts.
        {h + "[settings]\nPortBDir = [\n  0,\n  -1, 0, 0, 0, 0, 0, 0]\n",
         "bad.kvp:7: 设置项PortBDir的值-1超出范围(0到1)"},
        {h + "[settings]\nT1Int = 1\n", "bad.kvp:5: 设置项T1Int的值1超出范围(-1到0)"},
        {h + "[settings]\nSciSingleRx = 2\n", "bad.kvp:5: 设置项SciSingleRx的值2超出范围(0到1)"},
        {h + "[settings]\nCcp2SubCode = 3\n", "bad.kvp:5: 设置项Ccp2SubCode的值3超出范围(4到7)"},
        {h + "[settings]\nChipPart = 8\n", "bad.kvp:5: 设置项ChipPart的值8超出范围(0到7)"},
        // Values that others decide must agree with them; the part's own choices.
        {h + "[settings]\nCcp1En = true\nCcp1Mode = 0\nCcp1M = 12\n",
         "bad.kvp:7: 设置项Ccp1M的值12与Ccp1En、Ccp1Mode和Ccp1SubCode不符(应为4)"},
        {h + "[settings]\nT1PsDiv = 1\nT1PsIndex = 3\n",
         "bad.kvp:5: 设置项T1PsDiv的值1与T1PsIndex不符(应为8)"},
        {h + "[settings]\nCfgCp = 2\n", "bad.kvp:5: 设置项CfgCp的值2超出范围(0到1)，PIC16F877A没有此选项"},
        {h + "[settings]\nAdPcfg = 6\nAdEn = 1\n",
         "bad.kvp:5: 设置项AdPcfg的值6不设模拟输入，而A/D转换模块已使用"},
        {h + "[settings]\nAdEn = 1\nAdChannel = 3\n",
         "bad.kvp:6: 设置项AdChannel的值3不是AdPcfg所设的模拟通道(0)"},
        // ADCS2 (Fosc/4) is the A parts' alone.
        {h + "[settings]\nChipPart = 3\nAdEn = 1\nAdClock = 4\n",
         "bad.kvp:7: 设置项AdClock的值4PIC16F877没有此转换时钟"},
        // The comparators are the A parts' alone.
        {h + "[settings]\nChipPart = 3\nCmpEn = 1\n",
         "bad.kvp:6: 设置项CmpEn的值1,而PIC16F877没有比较器模块"},
        // The earliest problem is the one reported.
        {h + "[settings]\nT0Int = -1\nT2Int = \"x\"\nAaa = 1\n",
         "bad.kvp:6: 设置项T2Int应为整数，不能是文本"},
    };
    for (const auto& c : cases) {
        const auto read = ParseProject(c.text, "bad.kvp");
        ASSERT_TRUE(std::holds_alternative<ProjectError>(read)) << c.text;
        EXPECT_EQ(std::get<ProjectError>(read).text(), c.message) << c.text;
    }
}

TEST(ProjectFile, MalformedTomlAndUnreadableFilesAreRefusedWithTheirPlace) {
    struct Case {
        std::string text;
        int line;
    };
    const Case cases[] = {
        {"[korvane\n", 1},
        {std::string(kHeader) + "[settings]\nT0En = true\nT0En = false\n", 6},
        {std::string(kHeader) + "[settings]\nSciBaud = \"open\n", 5},
        {std::string(kHeader) + "[settings]\nT0Int = 1__0\n", 5},
        {"\xff\xfe", 1},
    };
    for (const auto& c : cases) {
        const auto read = ParseProject(c.text, "broken.kvp");
        ASSERT_TRUE(std::holds_alternative<ProjectError>(read)) << c.text;
        const auto& error = std::get<ProjectError>(read);
        EXPECT_EQ(error.line, c.line) << error.text();
        EXPECT_EQ(error.text().rfind("broken.kvp:" + std::to_string(c.line) + ": TOML格式错误：", 0), 0u)
            << error.text();
    }
    const auto missing = ReadProjectFile("/nonexistent/folder/x.kvp");
    ASSERT_TRUE(std::holds_alternative<ProjectError>(missing));
    EXPECT_EQ(std::get<ProjectError>(missing).text(),
              "/nonexistent/folder/x.kvp: 无法读取文件：No such file or directory");
}

TEST(ProjectFile, WritingGoesThroughTheAtomicWriterAndReadsBack) {
    const std::string path = testing::TempDir() + "written.kvp";
    ASSERT_EQ(WriteProjectFile(path, EverythingOn()), "");
    const auto read = ReadProjectFile(path);
    ASSERT_TRUE(std::holds_alternative<ProjectSettings>(read));
    EXPECT_EQ(std::get<ProjectSettings>(read), EverythingOn());
    EXPECT_NE(WriteProjectFile("/nonexistent/folder/x.kvp", EverythingOn()), "");
    std::remove(path.c_str());
}

// Every single the writer writes reads back to the same bits.
TEST(ProjectFile, SinglesAtTheirLimitsComeBackBitForBit) {
    using Limits = std::numeric_limits<float>;
    // A frequency is finite, and the crystal above 0.
    const float cases[] = {
        Limits::max(), -Limits::max(), Limits::denorm_min(), -Limits::denorm_min(), Limits::min(), -0.0f,
        0.1f};
    for (float value : cases) {
        ProjectSettings settings;
        settings.CrystalMHz = value > 0 ? value : 1;
        settings.T0FreqMHz = value;
        const auto read = RoundTrip(settings);
        ASSERT_TRUE(std::holds_alternative<ProjectSettings>(read))
            << value << ": " << std::get<ProjectError>(read).text();
        const auto& back = std::get<ProjectSettings>(read);
        EXPECT_TRUE(SameNumber(back.CrystalMHz, settings.CrystalMHz))
            << value << " became " << back.CrystalMHz;
        EXPECT_TRUE(back.T0FreqMHz.toNumber() && SameNumber(*back.T0FreqMHz.toNumber(), value)) << value;
    }
}

// Messages show control characters from the file escaped.
TEST(ProjectFile, ControlCharactersAreEscapedInMessagesAndRefusedInTexts) {
    const std::string header = "[korvane]\nformat = 1\nchip = \"PIC16F87x\"\n[settings]\n";
    struct Case {
        std::string text;
        std::string what;
    } const cases[] = {
        {header + "\"T\\u001b]0;x\\u0007\" = 1\n", "未知的设置项T\\x1b]0;x\\x07"},
        {"[korvane]\nformat = 1\nchip = \"P\\u009b\"\n", "不支持的芯片系列\"P\\u009b\"，只支持PIC16F87x"},
        {header + "T0RegText = \"0x\\u001b\"\n", "设置项T0RegText的文本中有控制字符：0x\\x1b"},
        {header + "T0TimeUs = \"1\\u0000\"\n", "设置项T0TimeUs的文本中有控制字符：1\\x00"},
        {header + "SciBaud = \"\\u007f\"\n", "设置项SciBaud的文本中有控制字符：\\x7f"},
    };
    for (const auto& c : cases) {
        const auto read = ParseProject(c.text, "ctl.kvp");
        ASSERT_TRUE(std::holds_alternative<ProjectError>(read)) << c.text;
        EXPECT_EQ(std::get<ProjectError>(read).what, c.what);
    }
}

std::string Repeated(std::string_view piece, int times) {
    std::string text;
    for (int i = 0; i < times; ++i) text += piece;
    return text;
}

// However long a key or text of the file, a message quotes a line of it.
TEST(ProjectFile, MessagesQuoteAtMostALineOfTheFile) {
    const std::string header = "[korvane]\nformat = 1\nchip = \"PIC16F87x\"\n";
    const std::string line = Repeated("中", static_cast<int>(kQuotedCharacters)),
                      huge = "\"" + Repeated("中", 100000) + "\"";
    const std::string cases[] = {
        header + "[settings]\n" + huge + " = 1\n",
        header + huge + " = 1\n",
        header + "[" + huge + "]\n",
        "[korvane]\nformat = 1\nchip = " + huge + "\n",
        header + "[settings]\nT0RegText = \"\\u0001" + huge.substr(1) + "\n",
        header + "[settings]\n" + huge + " = 1\n" + huge + " = 1\n",  // the parser's message
    };
    for (const auto& text : cases) {
        const auto read = ParseProject(text, "long.kvp");
        ASSERT_TRUE(std::holds_alternative<ProjectError>(read));
        const std::string& what = std::get<ProjectError>(read).what;
        EXPECT_LT(what.size(), line.size() + 100) << what.substr(0, 100);
        EXPECT_NE(what.find("…"), std::string::npos) << what;
    }
    const auto whole = ParseProject(header + "[settings]\n\"" + line + "\" = 1\n", "line.kvp");
    ASSERT_TRUE(std::holds_alternative<ProjectError>(whole));
    EXPECT_EQ(std::get<ProjectError>(whole).what, "未知的设置项" + line);
}

// The parser recurses once per level of a key; the reader stops before it.
TEST(ProjectFile, KeysNestedTooDeepAreRefusedBeforeTheParser) {
    const std::string header = "[korvane]\nformat = 1\nchip = \"PIC16F87x\"\n";
    struct Case {
        const char* what;
        std::string text;
        int line;  // 0: not refused for depth
    } const cases[] = {
        {"dotted key of 50000 parts", header + "[settings]\nx" + Repeated(".a", 50000) + " = 1\n", 5},
        {"header of 100000 parts", header + "[a" + Repeated(".a", 99999) + "]\n", 4},
        {"array of tables", header + "[[a" + Repeated(".a", 99) + "]]\n", 4},
        {"inline tables", header + "x = " + Repeated("{a.a = ", 60) + "1" + Repeated("}", 60) + "\n", 4},
        {"arrays", header + "x = " + Repeated("[", 101) + Repeated("]", 101) + "\n", 4},
        {"after a multi-line string", header + "s = \"\"\"\n\n\"\"\"\nx" + Repeated(".a", 100) + " = 1\n", 7},
        // Up to two quotes before the closing three belong to the text.
        {"after multi-line strings ending in a quote",
         header + "x = { a = \"\"\"q\"\"\"\", b = '''q'''', c" + Repeated(".c", 100) + " = 1 }\n", 4},
        {"100 levels", header + "[a" + Repeated(".a", 99) + "]\n", 0},
        {"dots in strings, comments and values",
         header + "\"" + Repeated(".", 200) + "\" = 1.5 # " + Repeated(".", 200) + "\nx = '" +
             Repeated("a.", 200) + "'\ny = [" + Repeated("1.0, ", 200) + "]\nz = { " +
             Repeated("a = 1, ", 1) + "}\n",
         0},
    };
    for (const auto& c : cases) {
        const auto read = ParseProject(c.text, "deep.kvp");
        ASSERT_TRUE(std::holds_alternative<ProjectError>(read)) << c.what;
        const auto& error = std::get<ProjectError>(read);
        const bool tooDeep = error.what.find("太深") != std::string::npos;
        EXPECT_EQ(tooDeep ? error.line : 0, c.line) << c.what << ": " << error.text();
    }
}

// Runs `body` in a child process and returns its wait status.
template <typename Body>
int InChild(Body body) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        body();
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return status;
}

TEST(ProjectFile, ASaveThatFailsPartWayLeavesTheOldBytes) {
    const std::string path = testing::TempDir() + "partial.kvp";
    ASSERT_EQ(WriteProjectFile(path, ProjectSettings{}), "");
    const std::string before = ProjectText(ProjectSettings{});
    const int status = InChild([&] {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit small{64, 64};
        ::setrlimit(RLIMIT_FSIZE, &small);
        ::_exit(WriteProjectFile(path, EverythingOn()).empty() ? 0 : 1);
    });
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << "the save must fail";
    std::ifstream in(path, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), before);
    std::remove(path.c_str());
}

TEST(ProjectFile, FilesThatAreNoProjectAreRefusedWithoutWaiting) {
    const std::string folder = testing::TempDir() + "notproject" + std::to_string(::getpid());
    ::mkdir(folder.c_str(), 0700);
    const std::string fifo = folder + "/fifo.kvp", large = folder + "/large.kvp";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::ofstream(large) << "[korvane]\n#" << std::string(1 << 20, 'x') << "\n";
    struct Case {
        std::string path;
        std::string text;
    } const cases[] = {
        {fifo, fifo + ": 不是普通文件，无法作为工程文件读取"},
        {"/dev/zero", "/dev/zero: 不是普通文件，无法作为工程文件读取"},
        {large, large + ": 文件太大，不是Korvane工程文件"},
        {folder, folder + ": 无法读取文件：Is a directory"},
    };
    for (const auto& c : cases) {
        const auto read = ReadProjectFile(c.path);
        ASSERT_TRUE(std::holds_alternative<ProjectError>(read)) << c.path;
        EXPECT_EQ(std::get<ProjectError>(read).text(), c.text);
    }
    std::remove(fifo.c_str());
    std::remove(large.c_str());
    ::rmdir(folder.c_str());
}

}  // namespace
}  // namespace korvane
