// Compiles generated sources with the host C compiler against a header that
// names only the PIC16F877A's real registers and bits, so a misspelt name, a
// bit value that does not fit or broken syntax shows up as a failure.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "calc/settings_calc.h"
#include "chip/assemble.h"
#include "chip/claims.h"
#include "chip/settle.h"
#include "format/number_text.h"
#include "generator/classic_writer.h"
#include "random_settings.h"
#include "scratch_process.h"
#include "settings/mssp.h"
#include "settings/pin_claims.h"
#include "settings/project_settings.h"

namespace korvane {
namespace {

namespace fs = std::filesystem;

const std::string kDataDir = KORVANE_TEST_DATA_DIR;

bool HaveGcc() {
    return std::system("gcc --version >/dev/null 2>&1") == 0;
}

struct CompileResult {
    bool ok;
    std::string diagnostics;
};

// C99 as the PIC compilers of the day understood it: "interrupt" is their
// keyword for the service routine and "void main()" is their entry point.
CompileResult CompileC(const fs::path& dir, const std::string& name, const std::string& source) {
    const fs::path file = dir / (name + ".c");
    {
        std::ofstream out(file, std::ios::binary);
        out << source;
    }
    const std::string command =
        "gcc -x c -std=c99 -pedantic-errors -Wall -Wextra -Werror -Wno-main "
        "-fsyntax-only -Dinterrupt= -I'" +
        kDataDir + "' -include '" + kDataDir + "/pic.h' '" + file.string() + "'";
    const CommandRun run = RunCommand(command);
    return {run.ok, run.output};
}

struct Variant {
    std::string name;
    ProjectSettings settings;
    // Fragments the chip's data sheet demands of this set-up, and ones it forbids.
    std::vector<std::string> mustContain = {};
    std::vector<std::string> mustNotContain = {};
};

// The settings below are filled the way the dialogs and calculators leave
// them: indices as int16, register values as "0x" texts, times as typed text
// or as the calculator's single.

void UseTimer0(ProjectSettings& s, int clockMode, int psIndex, bool usePs, int edge) {
    s.T0En = true;
    s.T0UsePs = usePs;
    s.T0PsIndex = psIndex;
    s.T0PsDiv = static_cast<std::int16_t>(usePs ? 2 << psIndex : 1);
    s.T0ClockMode = clockMode;
    s.T0Edge = edge;
    s.T0TimeUs = 100.0f;
    s.T0ErrorUs = 0.5f;
    s.T0RegText = RegisterByteText(206 - psIndex * 25);
    if (clockMode != 0) {  // RA4 carries the external clock
        s.PortAUsed = 1;
        s.PortADir[4] = 1;
    }
}

void UseTimer1(ProjectSettings& s, int clockMode, int syncMode, int oscEn, int psIndex) {
    s.T1En = true;
    s.T1PsIndex = psIndex;
    s.T1PsDiv = static_cast<double>(1 << psIndex);
    s.T1ClockMode = clockMode;
    s.T1SyncMode = syncMode;
    s.T1OscEn = static_cast<std::int16_t>(oscEn);
    s.T1TimeUs = "1000";
    s.T1ErrorUs = 0;
    s.T1RegHighText = RegisterByteText(0xFC);
    s.T1RegLowText = RegisterByteText(0x18 - 8 * psIndex);
}

void UseTimer2(ProjectSettings& s, int psIndex, int postIndex) {
    s.T2En = true;
    s.T2PsIndex = psIndex;
    s.T2PsDiv = static_cast<std::int16_t>(1 << (2 * psIndex));
    s.T2PostIndex = postIndex;
    s.T2TimeUs = 50.0f;
    s.T2ErrorUs = 0.25f;
    s.T2RegText = RegisterByteText(0xCE + postIndex);
}

enum CcpMode { kCapture = 0, kCompare = 1, kPwm = 2 };

// subCode is the capture/compare option 4..7; the module claims its RC pin.
void UseCcp(ProjectSettings& s, int module, CcpMode mode, int subCode, int x, int y) {
    const int code = mode == kPwm ? 12 : mode == kCompare ? subCode + 4 : subCode;
    const bool first = module == 1;
    (first ? s.Ccp1En : s.Ccp2En) = true;
    (first ? s.Ccp1Mode : s.Ccp2Mode) = static_cast<int>(mode);
    (first ? s.Ccp1M : s.Ccp2M) = code;
    (first ? s.Ccp1SubCode : s.Ccp2SubCode) = static_cast<std::int16_t>(subCode);
    (first ? s.Ccp1X : s.Ccp2X) = x;
    (first ? s.Ccp1Y : s.Ccp2Y) = y;
    s.PortCUsed = 1;
    s.PortCDir[first ? 2 : 1] = mode == kCapture ? 1 : 0;
}

void UseSci(ProjectSettings& s, int syncMode, int clockSource, int receive, int highSpeed, int tx9, int rx9) {
    s.SciEn = 1;
    s.SciSyncMode = syncMode;
    s.SciClockSource = clockSource;
    s.SciContinuous = receive;
    s.SciSingleRx = 1 - receive;
    s.SciRxEn = receive;
    s.SciTxEn = 1;
    s.SciHighSpeed = static_cast<std::int16_t>(highSpeed);
    s.SciTx9 = tx9;
    s.SciRx9 = rx9;
    s.SciBaud = "9600";
    s.SciSpbrgText = RegisterByteText(highSpeed != 0 ? 25 : 6);
    s.PortCUsed = 1;
    s.PortCDir[7] = 1;
    s.PortCDir[6] = 1;
}

constexpr int kInterruptSources = 7;

// Source order: Timer0, Timer1, Timer2, CCP1, CCP2, SCI transmit, SCI receive.
void EnableInterrupt(ProjectSettings& s, int source) {
    switch (source) {
        case 0:
            s.T0Int = -1;
            break;
        case 1:
            s.T1Int = -1;
            break;
        case 2:
            s.T2Int = -1;
            break;
        case 3:
            s.Ccp1Int = -1;
            break;
        case 4:
            s.Ccp2Int = -1;
            break;
        case 5:
            s.SciTxInt = 1;
            break;
        case 6:
            s.SciRxInt = 1;
            break;
    }
}

void UsePeripheralOf(ProjectSettings& s, int source) {
    switch (source) {
        case 0:
            UseTimer0(s, 0, 1, true, 0);
            break;
        case 1:
            UseTimer1(s, 0, 0, 0, 3);
            break;
        case 2:
            UseTimer2(s, 1, 9);
            break;
        case 3:
            UseCcp(s, 1, kCompare, 6, 0, 0);
            break;
        case 4:
            UseCcp(s, 2, kCapture, 5, 0, 0);
            break;
        default:
            UseSci(s, 0, 1, 1, 1, 0, 0);
            break;
    }
}

void UseAllPorts(ProjectSettings& s) {
    s.PortAUsed = s.PortBUsed = s.PortCUsed = s.PortDUsed = s.PortEUsed = 1;
    s.PortADir = {1, 1, 0, 0, 1, 0, 0, 0};
    s.PortBDir.fill(1);
    s.PortCDir = {0, 0, 0, 0, 0, 0, 0, 1};
    s.PortDDir = {0, 1, 0, 1, 0, 0, 0, 0};
    s.PortEDir = {1, 1, 1, 0, 0, 0, 0, 0};
}

std::vector<Variant> PortVariants() {
    std::vector<Variant> variants;
    variants.push_back({"defaults", {}});
    Variant none{"no port", {}};
    none.settings.PortAUsed = none.settings.PortBUsed = 0;
    variants.push_back(none);
    Variant all{"all ports", {}};
    UseAllPorts(all.settings);
    variants.push_back(all);
    // Ports A and E power up analog; only TRISE's low three bits are pins.
    Variant onlyE{"only port E", {}};
    onlyE.settings.PortAUsed = onlyE.settings.PortBUsed = 0;
    onlyE.settings.PortEUsed = 1;
    onlyE.settings.PortEDir = {1, 0, 1, 0, 1, 1, 1, 1};
    onlyE.mustContain = {" TRISE = 0x05;", " ADCON1 = 0x06;"};
    variants.push_back(onlyE);
    Variant onlyB{"only port B", {}};
    onlyB.settings.PortAUsed = 0;
    onlyB.mustNotContain = {"ADCON1"};
    variants.push_back(onlyB);
    return variants;
}

std::vector<Variant> TimerVariants() {
    std::vector<Variant> variants;
    // Every prescaler, each clock option, both edges, prescaler on and off.
    for (int i = 0; i < 8; ++i) {
        Variant v{"Timer0 #" + std::to_string(i), {}};
        UseTimer0(v.settings, i % 3, i, i % 4 != 3, (i / 3) % 2);
        // T0SE set counts on the falling edge of T0CKI (edge option 0).
        if (i % 3 == 2) v.mustContain = {(i / 3) % 2 == 0 ? " T0SE=1;" : " T0SE=0;"};
        variants.push_back(v);
    }
    // Every mode x synchronisation x oscillator, every prescaler.
    for (int i = 0; i < 8; ++i) {
        const int clockMode = i & 1, syncMode = (i >> 1) & 1;
        Variant v{"Timer1 #" + std::to_string(i), {}};
        UseTimer1(v.settings, clockMode, syncMode, (i >> 2) & 1, i % 4);
        if (clockMode == 1) {
            // T1SYNC is active-low: set means "do not synchronise".
            v.mustContain = {"TMR1CS=1;", syncMode == 0 ? "T1SYNC=0;" : "T1SYNC=1;"};
        }
        variants.push_back(v);
    }
    for (int ps = 0; ps < 3; ++ps) {
        Variant v{"Timer2 #" + std::to_string(ps), {}};
        UseTimer2(v.settings, ps, ps * 7);
        // Timer2 restarts at PR2; a start value in TMR2 would be lost after the first period.
        v.mustContain = {" PR2=0x"};
        v.mustNotContain = {"TMR2="};
        variants.push_back(v);
    }
    // All three together: every postscaler, the blocks side by side.
    for (int i = 0; i < 16; ++i) {
        Variant v{"three timers #" + std::to_string(i), {}};
        UseTimer0(v.settings, i % 3, (i + 3) % 8, i % 5 != 0, i % 2);
        UseTimer1(v.settings, (i / 2) % 2, (i / 4) % 2, i % 2, i % 4);
        UseTimer2(v.settings, i % 3, i);
        variants.push_back(v);
    }
    return variants;
}

std::vector<Variant> CcpVariants() {
    std::vector<Variant> variants;
    for (int subCode = 4; subCode <= 7; ++subCode) {
        for (CcpMode mode : {kCapture, kCompare}) {
            Variant v{"CCP1 mode " + std::to_string(mode) + " sub " + std::to_string(subCode), {}};
            UseCcp(v.settings, 1, mode, subCode, 0, 0);
            variants.push_back(v);
        }
    }
    for (int xy = 0; xy < 4; ++xy) {
        Variant v{"CCP2 PWM xy " + std::to_string(xy), {}};
        UseCcp(v.settings, 2, kPwm, 4, xy >> 1, xy & 1);
        variants.push_back(v);
        Variant both{"CCP1 PWM and CCP2 #" + std::to_string(xy), {}};
        UseCcp(both.settings, 1, kPwm, 4, xy & 1, xy >> 1);
        UseCcp(both.settings, 2, xy % 2 == 0 ? kCapture : kCompare, 4 + xy, 0, 0);
        UseTimer1(both.settings, 0, 0, 0, 0);
        UseTimer2(both.settings, 1, 0);
        variants.push_back(both);
    }
    return variants;
}

std::vector<Variant> SciVariants() {
    std::vector<Variant> variants;
    // Asynchronous high and low speed, synchronous master and slave, receive
    // on and off, 8 and 9 bits.
    for (int i = 0; i < 16; ++i) {
        Variant v{"SCI #" + std::to_string(i), {}};
        UseSci(v.settings, i & 1, (i >> 1) & 1, (i >> 2) & 1, (i >> 3) & 1, i % 3 == 0, i % 5 == 0);
        variants.push_back(v);
    }
    return variants;
}

std::vector<Variant> InterruptVariants() {
    std::vector<Variant> variants;
    for (int source = 0; source < kInterruptSources; ++source) {
        // Every source but Timer0 is enabled in PIE1/PIE2, which count only
        // with PEIE set; Timer0's enable is in INTCON itself.
        const std::vector<std::string> peie = {" PEIE=1;"};
        const bool peripheral = source != 0;
        Variant alone{"interrupt " + std::to_string(source) + " alone", {}};
        EnableInterrupt(alone.settings, source);
        (peripheral ? alone.mustContain : alone.mustNotContain) = peie;
        variants.push_back(alone);
        Variant used{"interrupt " + std::to_string(source) + " with its peripheral", {}};
        EnableInterrupt(used.settings, source);
        UsePeripheralOf(used.settings, source);
        (peripheral ? used.mustContain : used.mustNotContain) = peie;
        variants.push_back(used);
    }
    // Used CCP modules get a service branch even with their interrupt off.
    Variant ccpNoInt{"CCP used, only Timer1 interrupt", {}};
    UseCcp(ccpNoInt.settings, 1, kCapture, 4, 0, 0);
    UseCcp(ccpNoInt.settings, 2, kPwm, 4, 1, 0);
    EnableInterrupt(ccpNoInt.settings, 1);
    ccpNoInt.mustContain = {" PEIE=1;"};
    variants.push_back(ccpNoInt);
    Variant all{"every interrupt", {}};
    all.mustContain = {" PEIE=1;"};
    for (int source = 0; source < kInterruptSources; ++source) {
        EnableInterrupt(all.settings, source);
        UsePeripheralOf(all.settings, source);
    }
    variants.push_back(all);
    return variants;
}

// SPI with its clock bits, I2C with SSPADD and both interrupts, the A/D with
// its own: every name these sections write.
std::vector<Variant> MsspAndAdVariants() {
    Variant spi{"SPI master", {}};
    spi.settings.MsspEn = 1;
    spi.settings.MsspCkp = 1;
    spi.mustContain = {" CKE=1;", " SSPEN=1;"};
    Variant i2c{"I2C master", {}};
    i2c.settings.MsspEn = 1;
    i2c.settings.MsspMode = kMsspI2cMaster;
    i2c.settings.MsspSspadd = 9;
    i2c.settings.MsspInt = i2c.settings.MsspBclInt = -1;
    i2c.mustContain = {" SSPADD=0x09;", " BCLIE=1;", " PEIE=1;"};
    Variant ad{"A/D", {}};
    ad.settings.AdEn = 1;
    ad.settings.AdInt = -1;
    ApplyPinClaims(ad.settings);
    ad.mustContain = {" ADCON1=0x", " ADCON0=0x", " ADIE=1;"};
    return {spi, i2c, ad};
}

Variant Everything() {
    Variant v{"everything", {}};
    ProjectSettings& s = v.settings;
    UseAllPorts(s);
    UseTimer0(s, 2, 7, true, 1);
    UseTimer1(s, 1, 1, 1, 3);
    UseTimer2(s, 2, 15);
    UseCcp(s, 1, kCapture, 7, 0, 0);
    UseCcp(s, 2, kPwm, 4, 1, 1);
    UseSci(s, 1, 1, 1, 1, 1, 1);
    for (int source = 0; source < kInterruptSources; ++source) EnableInterrupt(s, source);
    s.Rb0Int = -1;
    s.RbChangeInt = -1;
    s.RbPullUp = 1;
    return v;
}

class GeneratedC : public ::testing::Test {
protected:
    void SetUp() override {
        if (!HaveGcc()) GTEST_SKIP() << "gcc is not installed";
        ASSERT_FALSE(scratch_.path().empty()) << "no scratch folder";
    }

    void ExpectAllCompile(const std::vector<Variant>& variants) {
        int index = 0;
        for (const Variant& v : variants) {
            for (bool withComments : {false, true}) {
                const std::string source = AssembleSource(v.settings, withComments);
                const std::string label = v.name + (withComments ? " (comments on)" : " (comments off)");
                const CompileResult result =
                    CompileC(scratch_.path(), "variant" + std::to_string(index++), source);
                EXPECT_TRUE(result.ok) << label << "\n" << result.diagnostics << "--- source ---\n" << source;
                for (const std::string& fragment : v.mustContain) {
                    EXPECT_NE(source.find(fragment), std::string::npos)
                        << label << ": expected " << fragment << " in\n"
                        << source;
                }
                for (const std::string& fragment : v.mustNotContain) {
                    EXPECT_EQ(source.find(fragment), std::string::npos)
                        << label << ": did not expect " << fragment << " in\n"
                        << source;
                }
            }
        }
    }

    ScratchDir scratch_{"korvane-c"};
};

TEST_F(GeneratedC, Ports) {
    ExpectAllCompile(PortVariants());
}
TEST_F(GeneratedC, Timers) {
    ExpectAllCompile(TimerVariants());
}
TEST_F(GeneratedC, CcpModules) {
    ExpectAllCompile(CcpVariants());
}
TEST_F(GeneratedC, SerialPort) {
    ExpectAllCompile(SciVariants());
}
TEST_F(GeneratedC, MsspAndAdConverter) {
    ExpectAllCompile(MsspAndAdVariants());
}
TEST_F(GeneratedC, Interrupts) {
    ExpectAllCompile(InterruptVariants());
}
TEST_F(GeneratedC, Everything) {
    ExpectAllCompile({Everything()});
}
// Whatever a project file holds, as opening it leaves it, compiles.
TEST_F(GeneratedC, RandomProjectsAsOpened) {
    RandomSettings random(20261208);
    std::vector<Variant> variants;
    for (int i = 0; i < 16; ++i) {
        Variant v{"random " + std::to_string(i), random.NextAccepted()};
        SettleProject(v.settings, {});
        variants.push_back(v);
    }
    ExpectAllCompile(variants);
}

// The check is only worth something if the header refuses what the chip lacks.
TEST_F(GeneratedC, HeaderRefusesNamesTheChipLacks) {
    struct Case {
        const char* statement;
        bool compiles;
    };
    const Case cases[] = {
        {"T1SYNC=1;", true},        {"TMR1CS=1;T1SYNC=0;", true}, {"TMR1H=TMR1L=0x00;", true},
        {"T0IE=1;", true},          {"TMR0IE=1;", true},          {"PR2=0xFF;", true},
        {"if(RCIF) RCIF=0;", true}, {"T1INSYNC=1;", false},       {"TMR1SYNC=1;", false},
        {"T0SYNC=1;", false},       {"TRISF = 0x00;", false},     {"TMR3=0;", false},
        {"CCP3M0=1;", false},       {"T2CKPS2=1;", false},        {"TOUTPS4=1;", false},
        {"PS3=1;", false},          {"PEIE=2;", false},           {"TMR0=;", false},
    };
    int index = 0;
    for (const Case& c : cases) {
        const std::string source = std::string("void main()\n{\n ") + c.statement + "\n}\n";
        const CompileResult result = CompileC(scratch_.path(), "probe" + std::to_string(index++), source);
        EXPECT_EQ(result.ok, c.compiles) << c.statement << "\n" << result.diagnostics;
    }
}

}  // namespace
}  // namespace korvane
