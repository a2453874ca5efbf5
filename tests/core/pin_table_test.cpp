#include "pins/pin_table.h"

#include <gtest/gtest.h>

#include <array>
#include <cctype>
#include <fstream>
#include <map>
#include <optional>
#include <set>
#include <span>
#include <sstream>
#include <string>
#include <vector>

#include "calc/settings_calc.h"
#include "chip/claims.h"
#include "chip/settle.h"
#include "pins/packages.h"
#include "random_settings.h"
#include "settings/chip_facts.h"
#include "settings/parts.h"
#include "settings/pin_claims.h"

namespace korvane {
namespace {

struct Pin {
    int number;
    const char* name;
    PinKind kind;
    const char* use;
    std::optional<FormId> form;
};

// Realistic projects as the program opens them; the conflict as a
// hand-edited file can have it, which opening refuses.
TEST(PinTable, RealisticProjects) {
    using K = PinKind;
    struct Case {
        const char* what;
        void (*set)(ProjectSettings&);
        std::vector<Pin> expected;
    };
    const Case cases[] = {
        {"ports only",
         [](ProjectSettings& s) {
             s.PortBUsed = s.PortDUsed = 1;
             s.PortBDir = {1, 1, 1, 1, 0, 0, 0, 0};
         },
         {{1, "MCLR/VPP", K::Reset, "复位", std::nullopt},
          {11, "VDD", K::Power, "电源正", std::nullopt},
          {13, "OSC1/CLKI", K::Oscillator, "4MHz晶体", FormId::ConfigWord},
          {15, "RC0/T1OSO/T1CKI", K::Free, "未用", FormId::Port},
          {19, "RD0/PSP0", K::DigitalOutput, "数字输出", FormId::Port},
          {36, "RB3/PGM", K::DigitalInput, "数字输入", FormId::Port}}},
        {"PWM, SCI and I2C at 20 MHz",
         [](ProjectSettings& s) {
             s.CrystalMHz = 20;
             s.T0FreqMHz = s.T1FreqMHz = s.T2FreqMHz = 20.0f;
             s.T2En = s.Ccp1En = true;
             s.T2TimeUs = std::string("50");
             s.Ccp1Mode = 2;
             s.Ccp1DutyUs = std::string("10");
             s.SciEn = s.MsspEn = 1;
             s.MsspMode = 2;
         },
         {{14, "OSC2/CLKO", K::Oscillator, "20MHz晶体", FormId::ConfigWord},
          {17, "RC2/CCP1", K::Module, "CCP1 PWM输出", FormId::Ccp},
          {18, "RC3/SCK/SCL", K::Module, "I²C时钟SCL", FormId::Mssp},
          {24, "RC5/SDO", K::DigitalOutput, "数字输出", FormId::Port},
          {25, "RC6/TX/CK", K::Module, "SCI发送TX", FormId::Sci}}},
        {"A/D with VREF+",
         [](ProjectSettings& s) {
             s.AdEn = 1;
             s.AdPcfg = 0b0001;  // every channel analog, AN3 is VREF+
         },
         {{4, "RA2/AN2/VREF-/CVREF", K::Analog, "模拟输入AN2", FormId::Ad},
          {5, "RA3/AN3/VREF+", K::Reference, "参考电压VREF+", FormId::Ad},
          {6, "RA4/T0CKI/C1OUT", K::DigitalOutput, "数字输出", FormId::Port},
          {10, "RE2/CS/AN7", K::Analog, "模拟输入AN7", FormId::Ad}}},
        // AN0 is the converter's first, which holds it; the comparators
        // read it too.
        {"comparators with outputs and CVREF beside the A/D",
         [](ProjectSettings& s) {
             s.AdEn = s.CmpEn = 1;
             s.AdPcfg = 0b1110;
             s.CmpMode = 0b011;
             s.CvrEn = s.CvrOe = 1;
         },
         {{2, "RA0/AN0", K::Analog, "模拟输入AN0", FormId::Ad},
          {3, "RA1/AN1", K::Analog, "比较器C2输入VIN-", FormId::Comparator},
          {4, "RA2/AN2/VREF-/CVREF", K::Reference, "参考电压输出CVREF", FormId::Comparator},
          {6, "RA4/T0CKI/C1OUT", K::Module, "比较器输出C1OUT", FormId::Comparator},
          {7, "RA5/AN4/SS/C2OUT", K::Module, "比较器输出C2OUT", FormId::Comparator}}},
        {"a 28-pin part",
         [](ProjectSettings& s) {
             s.ChipPart = 6;  // PIC16F876A
             s.T0ClockMode = 1;
             s.T1En = true;
             s.T1OscEn = s.CfgLvp = 1;
             s.Rb0Int = -1;
         },
         {{6, "RA4/T0CKI/C1OUT", K::Module, "Timer0外部时钟T0CKI", FormId::Timer0},
          {11, "RC0/T1OSO/T1CKI", K::Module, "Timer1振荡器T1OSO", FormId::Timer1},
          {20, "VDD", K::Power, "电源正", std::nullopt},
          {21, "RB0/INT", K::Module, "RB0/INT外部中断", FormId::PortB},
          {24, "RB3/PGM", K::Programming, "低电压编程PGM", FormId::ConfigWord}}},
        {"A/D with VREF- and VREF+",
         [](ProjectSettings& s) {
             s.AdEn = 1;
             s.AdPcfg = 0b1000;  // AN3 is VREF+, AN2 VREF-
         },
         {{3, "RA1/AN1", K::Analog, "模拟输入AN1", FormId::Ad},
          {4, "RA2/AN2/VREF-/CVREF", K::Reference, "参考电压VREF-", FormId::Ad},
          {5, "RA3/AN3/VREF+", K::Reference, "参考电压VREF+", FormId::Ad}}},
        {"debugger, low-voltage programming and an RC oscillator",
         [](ProjectSettings& s) {
             s.PortBUsed = 1;
             s.CfgOsc = kOscRc;
             s.CfgDebug = s.CfgLvp = 1;
         },
         {{13, "OSC1/CLKI", K::Oscillator, "RC振荡输入", FormId::ConfigWord},
          {14, "OSC2/CLKO", K::Oscillator, "CLKO输出Fosc/4", FormId::ConfigWord},
          {35, "RB2", K::DigitalOutput, "数字输出", FormId::Port},
          {36, "RB3/PGM", K::Programming, "低电压编程PGM", FormId::ConfigWord},
          {39, "RB6/PGC", K::Programming, "在线调试PGC", FormId::ConfigWord},
          {40, "RB7/PGD", K::Programming, "在线调试PGD", FormId::ConfigWord}}},
        {"the debugger on a 28-pin part",
         [](ProjectSettings& s) {
             s.ChipPart = 2;  // PIC16F876
             s.PortBUsed = 1;
             s.CfgDebug = 1;
         },
         {{24, "RB3/PGM", K::DigitalOutput, "数字输出", FormId::Port},
          {27, "RB6/PGC", K::Programming, "在线调试PGC", FormId::ConfigWord},
          {28, "RB7/PGD", K::Programming, "在线调试PGD", FormId::ConfigWord}}},
        {"two modules on one pin",
         [](ProjectSettings& s) {
             s.Ccp2En = s.T1En = true;
             s.T1OscEn = 1;
         },
         {{16, "RC1/T1OSI/CCP2", K::Conflict, "冲突:CCP2/Timer1", FormId::Timer1}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ProjectSettings s;
        c.set(s);
        if (FirstConflict(s))
            ApplyPinClaims(s);
        else
            EXPECT_TRUE(SettleProject(s, kPlainNumbers).empty());
        const PinTable table = PinTableOf(s);
        for (const Pin& pin : c.expected) {
            const PinRow& row = table.rows.at(static_cast<std::size_t>(pin.number - 1));
            EXPECT_EQ(row.name, pin.name);
            EXPECT_EQ(row.kind, pin.kind) << row.name << " " << row.use;
            EXPECT_EQ(row.use, pin.use) << row.name;
            EXPECT_EQ(row.form, pin.form) << row.name;
        }
        // The conflict's tool tip gives the reason the dialogs give.
        if (const auto conflict = FirstConflict(s)) {
            EXPECT_NE(table.rows[15].detail.find(ConflictMessage(*conflict).title), std::string::npos);
        }
    }
}

// Whatever the settings: every claimed pin shown as its
// module's and every pin two modules want as a conflict, every other port
// pin as the Port dialog sets it.
TEST(PinTable, FollowsTheClaimsAndDirectionsOfAnySettings) {
    RandomSettings random(20261208);
    for (int i = 0; i < 400; ++i) {
        const ProjectSettings s = random.Next();
        SCOPED_TRACE("record " + std::to_string(i));
        const PartFacts& part = ChosenPart(s);
        const PinTable table = PinTableOf(s);
        ASSERT_EQ(table.rows.size(), static_cast<std::size_t>(part.pins));
        std::map<std::pair<int, int>, const PinRow*> byBit;
        for (const PackagePin& pin : PackageOf(part).pins) {
            const PinRow& row = table.rows.at(static_cast<std::size_t>(pin.number - 1));
            ASSERT_EQ(row.number, pin.number);
            if (pin.function == PinFunction::Port) byBit[{pin.port, pin.bit}] = &row;
        }
        std::set<std::pair<int, int>> claimed, contested;
        for (const PinClaim& claim : PinClaims(s)) claimed.insert({claim.port, claim.pin});
        for (const PinConflict& conflict : PinConflicts(s))
            contested.insert({conflict.taker.port, conflict.taker.pin});
        const std::array<const PinDirections*, 5> directions = {&s.PortADir, &s.PortBDir, &s.PortCDir,
                                                                &s.PortDDir, &s.PortEDir};
        for (const auto& [bit, row] : byBit) {
            const PinKind kind = row->kind;
            if (contested.contains(bit)) {
                EXPECT_EQ(kind, PinKind::Conflict) << row->name;
            } else if (claimed.contains(bit)) {
                EXPECT_TRUE(kind == PinKind::Module || kind == PinKind::Analog || kind == PinKind::Reference)
                    << row->name;
            } else if (kind == PinKind::DigitalInput || kind == PinKind::DigitalOutput) {
                EXPECT_EQ(kind == PinKind::DigitalInput, (*directions[bit.first])[bit.second] != 0)
                    << row->name;
            } else {
                EXPECT_TRUE(kind == PinKind::Free || kind == PinKind::Programming) << row->name;
            }
            EXPECT_TRUE(row->form.has_value()) << row->name;
        }
        if (::testing::Test::HasFailure()) break;
    }
}

// Every pin by number, named as the data sheets' pin diagrams name it (bars
// left out); in brackets what the A parts' comparator module adds. Any two
// labels swapped, or one on the wrong pin, fails here.
struct DrawnPin {
    int number;
    const char* name;
};
constexpr DrawnPin kDip28Names[] = {
    {1, "MCLR/VPP"},
    {2, "RA0/AN0"},
    {3, "RA1/AN1"},
    {4, "RA2/AN2/VREF-[/CVREF]"},
    {5, "RA3/AN3/VREF+"},
    {6, "RA4/T0CKI[/C1OUT]"},
    {7, "RA5/AN4/SS[/C2OUT]"},
    {8, "VSS"},
    {9, "OSC1/CLKI"},
    {10, "OSC2/CLKO"},
    {11, "RC0/T1OSO/T1CKI"},
    {12, "RC1/T1OSI/CCP2"},
    {13, "RC2/CCP1"},
    {14, "RC3/SCK/SCL"},
    {15, "RC4/SDI/SDA"},
    {16, "RC5/SDO"},
    {17, "RC6/TX/CK"},
    {18, "RC7/RX/DT"},
    {19, "VSS"},
    {20, "VDD"},
    {21, "RB0/INT"},
    {22, "RB1"},
    {23, "RB2"},
    {24, "RB3/PGM"},
    {25, "RB4"},
    {26, "RB5"},
    {27, "RB6/PGC"},
    {28, "RB7/PGD"},
};
constexpr DrawnPin kDip40Names[] = {
    {1, "MCLR/VPP"},
    {2, "RA0/AN0"},
    {3, "RA1/AN1"},
    {4, "RA2/AN2/VREF-[/CVREF]"},
    {5, "RA3/AN3/VREF+"},
    {6, "RA4/T0CKI[/C1OUT]"},
    {7, "RA5/AN4/SS[/C2OUT]"},
    {8, "RE0/RD/AN5"},
    {9, "RE1/WR/AN6"},
    {10, "RE2/CS/AN7"},
    {11, "VDD"},
    {12, "VSS"},
    {13, "OSC1/CLKI"},
    {14, "OSC2/CLKO"},
    {15, "RC0/T1OSO/T1CKI"},
    {16, "RC1/T1OSI/CCP2"},
    {17, "RC2/CCP1"},
    {18, "RC3/SCK/SCL"},
    {19, "RD0/PSP0"},
    {20, "RD1/PSP1"},
    {21, "RD2/PSP2"},
    {22, "RD3/PSP3"},
    {23, "RC4/SDI/SDA"},
    {24, "RC5/SDO"},
    {25, "RC6/TX/CK"},
    {26, "RC7/RX/DT"},
    {27, "RD4/PSP4"},
    {28, "RD5/PSP5"},
    {29, "RD6/PSP6"},
    {30, "RD7/PSP7"},
    {31, "VSS"},
    {32, "VDD"},
    {33, "RB0/INT"},
    {34, "RB1"},
    {35, "RB2"},
    {36, "RB3/PGM"},
    {37, "RB4"},
    {38, "RB5"},
    {39, "RB6/PGC"},
    {40, "RB7/PGD"},
};

TEST(PinTable, EveryPinNamedAsTheDataSheetDrawsIt) {
    for (std::size_t index = 0; index < Parts().size(); ++index) {
        const PartFacts& part = Parts()[index];
        SCOPED_TRACE(std::string(part.name));
        ProjectSettings s;
        s.ChipPart = static_cast<std::int16_t>(index);
        const PinTable table = PinTableOf(s);
        const bool fortyPins = part.pins == 40;
        const std::span<const DrawnPin> drawn =
            fortyPins ? std::span<const DrawnPin>(kDip40Names) : std::span<const DrawnPin>(kDip28Names);
        EXPECT_EQ(table.package, fortyPins ? "DIP40" : "DIP28");
        ASSERT_EQ(table.rows.size(), drawn.size());
        const bool aPart = part.name.ends_with('A');
        for (std::size_t i = 0; i < drawn.size(); ++i) {
            std::string name = drawn[i].name;
            if (const auto open = name.find('['); open != std::string::npos)
                name = aPart ? name.substr(0, open) + name.substr(open + 1, name.size() - open - 2)
                             : name.substr(0, open);
            EXPECT_EQ(table.rows[i].number, drawn[i].number);
            EXPECT_EQ(table.rows[i].name, name) << "pin " << drawn[i].number;
        }
    }
}

// gputils' include file of each part names its port bits; the package
// drawing has exactly those port pins, and the comparator outputs exactly
// on the parts whose header defines them.
TEST(PinTable, PackagesAgreeWithGputilsHeaders) {
    for (const PartFacts& part : Parts()) {
        SCOPED_TRACE(std::string(part.name));
        std::string file = "/usr/share/gputils/header/p" + std::string(part.name.substr(3)) + ".inc";
        for (char& ch : file) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
        std::ifstream in(file);
        ASSERT_TRUE(in) << file;
        std::set<std::string> headerBits;
        bool comparators = false;
        std::string line, section;
        while (std::getline(in, line)) {
            if (line.starts_with(";-----")) section = line;
            std::istringstream words(line);
            std::string name, equ;
            words >> name >> equ;
            if (equ != "EQU") continue;
            if (section.find(" PORT") != std::string::npos && section.find(" Bits") != std::string::npos)
                headerBits.insert(name);
            comparators = comparators || name == "C1OUT";
        }
        std::set<std::string> drawnBits;
        bool drawnComparators = false;
        for (const PackagePin& pin : PackageOf(part).pins) {
            const std::string name = PinNameOn(pin, part);
            drawnComparators = drawnComparators || name.find("C1OUT") != std::string::npos;
            if (pin.function != PinFunction::Port) continue;
            const std::string bit = name.substr(0, name.find('/'));
            drawnBits.insert(bit);
            EXPECT_EQ(bit, std::string("R") + "ABCDE"[pin.port] + std::to_string(pin.bit));
        }
        EXPECT_EQ(drawnBits, headerBits);
        EXPECT_EQ(drawnComparators, comparators);
        EXPECT_EQ(part.comparators, comparators);
        EXPECT_EQ(static_cast<int>(PackageOf(part).pins.size()), part.pins);
    }
}

}  // namespace
}  // namespace korvane
