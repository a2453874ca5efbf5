#include "pins/pin_table.h"

#include <gtest/gtest.h>

#include <array>
#include <cctype>
#include <fstream>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "calc/settings_calc.h"
#include "chip/claims.h"
#include "chip/settle.h"
#include "pins/packages.h"
#include "random_settings.h"
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
