// Feeds the source assembly thousands of settings records that no dialog would
// produce (every value kind in every field, out-of-range indices, NaN, huge
// numbers, stray text) and checks the properties that must hold for any input.
#include "random_settings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "chip/assemble.h"
#include "chip/build_program.h"
#include "generator/classic_writer.h"
#include "generator/config_word.h"
#include "generator/program_check.h"
#include "generator/sections.h"
#include "settings/output_form.h"
#include "settings/parts.h"
#include "settings/project_settings.h"

namespace korvane {
namespace {

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
        lines.push_back(text.substr(start, end - start));
    }
    return lines;
}

int Count(const std::vector<std::string>& lines, std::string_view wanted) {
    int n = 0;
    for (const auto& line : lines) n += line == wanted;
    return n;
}

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

// The code without its comments: each line cut at its first "//", blank lines
// dropped. With and without comments this must be the same.
std::vector<std::string> CodeOnly(const std::vector<std::string>& lines) {
    std::vector<std::string> code;
    for (std::string line : lines) {
        // The modern forms' stamp is a hash of the text, comments and all.
        if (line.starts_with("/* Korvane ")) continue;
        if (const auto cut = line.find("//"); cut != std::string::npos) line.erase(cut);
        if (line.find_first_not_of(' ') != std::string::npos) code.push_back(line);
    }
    return code;
}

// Bits the generator writes as a constant or as a bit of an option index;
// their value must be the digit 0 or 1 whatever the settings hold.
const std::set<std::string, std::less<>> kDigitBits = {
    "PSA",     "PS0",     "PS1",     "PS2",     "T1CKPS0", "T1CKPS1", "TMR1CS", "T1SYNC", "TMR1ON", "T2CKPS0",
    "T2CKPS1", "TOUTPS0", "TOUTPS1", "TOUTPS2", "TOUTPS3", "TMR2ON",  "CCP1M0", "CCP1M1", "CCP1M2", "CCP1M3",
    "CCP2M0",  "CCP2M1",  "CCP2M2",  "CCP2M3",  "T0IE",    "TMR1IE",  "TMR2IE", "CCP1IE", "CCP2IE", "TXIE",
    "RCIE",    "GIE",     "T0IF",    "TMR1IF",  "TMR2IF",  "CCP1IF",  "CCP2IF", "TXIF",   "RCIF",   "PEIE",
    "T0SE",    "SSPM0",   "SSPM1",   "SSPM2",   "SSPM3",   "CKP",     "CKE",    "SMP",    "SSPEN",  "SSPIE",
    "BCLIE",   "SSPIF",   "BCLIF",   "CMIE",    "CMIF",
};

// The enables that live in PIE1/PIE2 and so need PEIE.
constexpr const char* kPeripheralEnables[] = {" TMR1IE=1;", " TMR2IE=1;", " CCP1IE=1;",
                                              " CCP2IE=1;", " TXIE=1;",   " RCIE=1;",
                                              " SSPIE=1;",  " BCLIE=1;",  " CMIE=1;"};

// In the order main calls them.
constexpr const char* kSetupFunctions[] = {"set_port",    "fun_timerset", "fun_ccpset", "fun_sciset",
                                           "fun_msspset", "fun_adset",    "fun_cmpset", "fun_intset"};

void CheckSource(const ProjectSettings& s, bool withComments, const std::string& text) {
    SCOPED_TRACE(withComments ? "comments on" : "comments off");
    // The include line, the configuration word unless switched off, an empty line.
    ASSERT_TRUE(StartsWith(
        text, "#include<pic.h>\r\n" +
                  ClassicSectionText(BuildProgram(s), ClassicSection::ConfigWord, withComments) + "\r\n"));
    ASSERT_GE(text.size(), 2u);
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n') {
            ASSERT_TRUE(i > 0 && text[i - 1] == '\r') << "bare LF at " << i;
        } else if (text[i] == '\r') {
            ASSERT_TRUE(i + 1 < text.size() && text[i + 1] == '\n') << "bare CR at " << i;
        }
    }
    const std::vector<std::string> lines = Lines(text);

    // Declared, defined and called together, each at most once; main calls
    // the set-up functions in order and the interrupt enable last.
    ASSERT_EQ(Count(lines, "void main()"), 1);
    std::vector<std::string> expectedCalls;
    for (const std::string name : kSetupFunctions) {
        const int declared = Count(lines, "void " + name + "();");
        const int defined = Count(lines, "void " + name + "()");
        const int called = Count(lines, " " + name + "();");
        EXPECT_LE(defined, 1) << name;
        EXPECT_EQ(declared, defined) << name;
        EXPECT_EQ(called, defined) << name;
        if (defined) expectedCalls.push_back(" " + name + "();");
    }
    const int irqDeclared = Count(lines, "void interrupt IRQ(void);");
    const int irqDefined = Count(lines, "void interrupt IRQ(void)");
    EXPECT_EQ(irqDeclared, irqDefined);
    EXPECT_EQ(irqDefined, Count(lines, "void fun_intset()"));

    const auto mainAt = std::find(lines.begin(), lines.end(), "void main()");
    ASSERT_TRUE(lines.end() - mainAt >= 2 && mainAt[1] == "{");
    std::vector<std::string> mainBody;
    for (auto line = mainAt + 2; line != lines.end() && *line != "}"; ++line) mainBody.push_back(*line);
    EXPECT_EQ(mainBody, expectedCalls);

    // A 28-pin part has no ports D and E to set up.
    const bool anyPort = s.PortAUsed || s.PortBUsed || s.PortCUsed ||
                         (ChosenPart(s).hasPortsDE() && (s.PortDUsed || s.PortEUsed));
    const bool anyInterrupt = s.T0Int || s.Rb0Int || s.RbChangeInt || s.T1Int || s.T2Int || s.Ccp1Int ||
                              s.Ccp2Int || s.SciTxInt.equals(1) || s.SciRxInt == 1 ||
                              (s.MsspEn == 1 && (s.MsspInt || (s.MsspMode == 2 && s.MsspBclInt))) ||
                              (s.AdEn == 1 && s.AdInt) ||
                              (s.CmpEn == 1 && ChosenPart(s).comparators && s.CmpInt);
    EXPECT_EQ(Count(lines, "void set_port()"), anyPort ? 1 : 0);
    EXPECT_EQ(Count(lines, "void fun_sciset()"), s.SciEn.equals(1) ? 1 : 0);
    EXPECT_EQ(Count(lines, "void fun_msspset()"), s.MsspEn == 1 ? 1 : 0);
    EXPECT_EQ(Count(lines, "void fun_adset()"), s.AdEn == 1 ? 1 : 0);
    EXPECT_EQ(Count(lines, "void fun_cmpset()"), s.CmpEn == 1 && ChosenPart(s).comparators ? 1 : 0);
    EXPECT_EQ(irqDefined, anyInterrupt ? 1 : 0);

    // Every function body opens and closes once; every branch of the service
    // function opens and closes once.
    const int functions = 1 + irqDefined + static_cast<int>(expectedCalls.size());
    EXPECT_EQ(Count(lines, "{"), functions);
    EXPECT_EQ(Count(lines, "}"), functions);
    int branches = 0;
    for (const auto& line : lines) branches += StartsWith(line, " if(");
    EXPECT_EQ(Count(lines, "  {"), branches);
    EXPECT_EQ(Count(lines, "  }"), branches);

    if (!withComments) {
        EXPECT_EQ(text.find("//"), std::string::npos);
    }

    // PEIE comes with a peripheral enable, directly before GIE, and only then.
    const std::vector<std::string> code = CodeOnly(lines);
    bool anyPeripheral = false;
    for (const char* enable : kPeripheralEnables) anyPeripheral = anyPeripheral || Count(code, enable) > 0;
    const auto peie = std::find(code.begin(), code.end(), " PEIE=1;");
    EXPECT_EQ(peie != code.end(), anyPeripheral);
    if (peie != code.end()) {
        EXPECT_TRUE(peie + 1 != code.end() && peie[1] == " GIE=1;");
    }

    for (const std::string& line : code) {
        std::size_t start = 0;
        for (std::size_t end; (end = line.find(';', start)) != std::string::npos; start = end + 1) {
            std::string_view statement(line.data() + start, end - start);
            while (!statement.empty() && statement.front() == ' ') statement.remove_prefix(1);
            const auto equals = statement.find('=');
            if (equals == std::string_view::npos) continue;
            const std::string_view name = statement.substr(0, equals);
            if (kDigitBits.count(name) == 0) continue;
            const std::string_view value = statement.substr(equals + 1);
            EXPECT_TRUE(value == "0" || value == "1") << line;
        }
    }
}

TEST(RandomSettings, AnySettingsGiveWellFormedSource) {
    RandomSettings random(20240611);
    constexpr int kRecords = 2000;
    for (int i = 0; i < kRecords; ++i) {
        const ProjectSettings s = random.Next();
        SCOPED_TRACE("record " + std::to_string(i));
        const std::string plain = AssembleSource(s, false);
        const std::string commented = AssembleSource(s, true);
        CheckSource(s, false, plain);
        CheckSource(s, true, commented);
        // Same settings, same answer, same text; comments change only comments.
        EXPECT_EQ(AssembleSource(s, false), plain);
        EXPECT_EQ(AssembleSource(s, true), commented);
        EXPECT_EQ(CodeOnly(Lines(commented)), CodeOnly(Lines(plain)));
        if (::testing::Test::HasFailure()) {
            ADD_FAILURE() << "comments on:\n" << commented << "\ncomments off:\n" << plain;
            break;
        }
    }
}

// The other forms, for the same records: CR LF only, the same text every time,
// comments that change nothing else, and every function declared, defined and
// called once.
TEST(RandomSettings, ModernFormsAreWellFormed) {
    RandomSettings random(20261208);
    for (int i = 0; i < 500; ++i) {
        ProjectSettings s = random.Next();
        for (const auto form : {OutputFormId::Xc8, OutputFormId::Sdcc}) {
            s.OutputForm = static_cast<std::int16_t>(form);
            SCOPED_TRACE("record " + std::to_string(i) + " form " + std::to_string(s.OutputForm));
            const std::string plain = AssembleSource(s, false);
            const std::string commented = AssembleSource(s, true);
            EXPECT_EQ(AssembleSource(s, true), commented);
            for (std::size_t c = 0; c < commented.size(); ++c) {
                if (commented[c] == '\r' || commented[c] == '\n') {
                    ASSERT_EQ(commented.substr(commented[c] == '\r' ? c : c - 1, 2), "\r\n") << c;
                }
            }
            std::vector<std::string> code = CodeOnly(Lines(commented));
            for (std::string& line : code)
                while (!line.empty() && line.back() == ' ') line.pop_back();
            EXPECT_EQ(code, CodeOnly(Lines(plain)));
            EXPECT_EQ(plain.find("//"), std::string::npos);
            const std::vector<std::string> lines = Lines(plain);
            EXPECT_EQ(Count(lines, "void main(void)"), 1);
            for (const std::string name : kSetupFunctions) {
                const int defined = Count(lines, "void " + name + "(void)");
                EXPECT_EQ(Count(lines, "void " + name + "(void);"), defined) << name;
                EXPECT_EQ(Count(lines, "    " + name + "();"), defined) << name;
            }
            EXPECT_EQ(std::count(plain.begin(), plain.end(), '{'),
                      std::count(plain.begin(), plain.end(), '}'));
            if (::testing::Test::HasFailure()) {
                ADD_FAILURE() << commented;
                return;
            }
        }
    }
}

// Whatever the settings, every register and bit the program names exists on
// the chosen part (gputils' names for it), so the check that refuses any
// other never stops a program the dialogs can describe.
TEST(RandomSettings, ProgramsNameOnlyWhatTheirPartHas) {
    RandomSettings random(20261210);
    for (int i = 0; i < 1000; ++i) {
        ProjectSettings s = random.Next();
        s.OutputForm = static_cast<std::int16_t>(i % kOutputFormCount);
        const Program program = BuildProgram(s);
        EXPECT_EQ(NamesThePartLacks(program), std::vector<std::string>{})
            << "record " << i << " " << program.part;
        if (::testing::Test::HasFailure()) return;
    }
}

// The modern forms' set-up follows the data sheet whatever the settings: no
// timer starts before fun_timerstart, each CCPRx pair is written before its
// CCPxCON, SPBRG before the serial port is switched on and the transmitter
// and receiver after it, and the watchdog is cleared before Timer0 takes the
// prescaler from it. Each line is found by what it writes, in text order,
// which is the order main calls the functions in.
TEST(RandomSettings, ModernFormsSetUpInTheDataSheetOrder) {
    RandomSettings random(20261209);
    int starts = 0;
    for (int i = 0; i < 500; ++i) {
        ProjectSettings s = random.Next();
        s.OutputForm = static_cast<std::int16_t>(OutputFormId::Sdcc);
        // The set-up's order: a duty driver's own CCPRxL write comes later by design.
        s.CcpDrivers = 0;
        SCOPED_TRACE("record " + std::to_string(i));
        const std::vector<std::string> lines = Lines(AssembleSource(s, false));
        const auto first = [&](std::string_view prefix) {
            for (std::size_t n = 0; n < lines.size(); ++n)
                if (StartsWith(lines[n], prefix)) return n;
            return lines.size();
        };
        const auto last = [&](std::string_view prefix) {
            std::size_t at = lines.size();
            for (std::size_t n = 0; n < lines.size(); ++n)
                if (StartsWith(lines[n], prefix)) at = n;
            return at;
        };
        const auto value = [&](std::size_t n) {
            return std::stoi(lines[n].substr(lines[n].find("0x") + 2, 2), nullptr, 16);
        };
        const std::size_t none = lines.size();
        const std::size_t start = first("void fun_timerstart(void)");
        starts += start != none;
        for (const char* on : {"    TMR1ON = 1;", "    TMR2ON = 1;"}) {
            const std::size_t n = first(on);
            EXPECT_TRUE(n == none || n > start) << on;
        }
        const std::size_t t1con = first("    T1CON = "), t2con = first("    T2CON = ");
        EXPECT_TRUE(t1con == none || !(value(t1con) & 0x01)) << lines[t1con];
        EXPECT_TRUE(t2con == none || !(value(t2con) & 0x04)) << lines[t2con];
        for (const char* ccp : {"1", "2"}) {
            const std::size_t duty = last(std::string("    CCPR") + ccp + "L = ");
            EXPECT_TRUE(duty == none || duty < first(std::string("    CCP") + ccp + "CON = ")) << ccp;
        }
        if (const std::size_t rcsta = first("    RCSTA = "); rcsta != none) {
            const std::size_t spbrg = last("    SPBRG = ");
            EXPECT_TRUE(spbrg == none || spbrg < rcsta);
            for (const char* enable : {"    TXEN = 1;", "    CREN = 1;", "    SREN = 1;"}) {
                const std::size_t n = first(enable);
                EXPECT_TRUE(n == none || n > rcsta) << enable;
            }
        }
        const std::size_t option = first("    OPTION_REG = ");
        EXPECT_TRUE(option == none || (value(option) & 0x08) || first("    __asm clrwdt __endasm;") < option);
        if (::testing::Test::HasFailure()) return;
    }
    EXPECT_GT(starts, 50) << "too few records start a timer to prove the order";
}

}  // namespace
}  // namespace korvane
