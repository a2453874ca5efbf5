#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "chip/assemble.h"
#include "chip/build_program.h"
#include "generator/classic_writer.h"
#include "generator/config_word.h"
#include "generator/program_check.h"
#include "generator/sections.h"
#include "generator/source_lines.h"
#include "sample_settings.h"
#include "settings/mssp.h"
#include "settings/output_form.h"

namespace korvane {
namespace {

// Joins lines, each ending with CRLF, as the generator writes them.
std::string Lines(std::initializer_list<std::string_view> lines) {
    std::string text;
    for (std::string_view line : lines) (text += line) += "\r\n";
    return text;
}

ProjectSettings NothingUsed() {
    ProjectSettings s;
    s.PortAUsed = 0;
    s.PortBUsed = 0;
    return s;
}

using Builder = std::string (*)(const ProjectSettings&, bool);

// One part of the classic text of the program the settings describe.
template <ClassicSection section>
std::string Section(const ProjectSettings& s, bool withComments) {
    return ClassicSectionText(BuildProgram(s), section, withComments);
}
constexpr Builder BuildConfigWord = Section<ClassicSection::ConfigWord>;
constexpr Builder BuildDeclarations = Section<ClassicSection::Declarations>;
constexpr Builder BuildMain = Section<ClassicSection::Main>;
constexpr Builder BuildPortSetup = Section<ClassicSection::Ports>;
constexpr Builder BuildInterruptService = Section<ClassicSection::InterruptService>;
constexpr Builder BuildTimerSetup = Section<ClassicSection::Timers>;
constexpr Builder BuildCcpSetup = Section<ClassicSection::Ccp>;
constexpr Builder BuildSciSetup = Section<ClassicSection::Sci>;
constexpr Builder BuildMsspSetup = Section<ClassicSection::Mssp>;
constexpr Builder BuildAdSetup = Section<ClassicSection::Ad>;
constexpr Builder BuildComparatorSetup = Section<ClassicSection::Comparator>;
constexpr Builder BuildInterruptEnable = Section<ClassicSection::InterruptEnable>;

struct SectionCase {
    const char* name;
    Builder build;
    std::function<void(ProjectSettings&)> set;
    bool comments;
    std::string expected;
};

void PrintTo(const SectionCase& c, std::ostream* os) {
    *os << c.name;
}

class SectionText : public testing::TestWithParam<SectionCase> {};

TEST_P(SectionText, IsExact) {
    const SectionCase& c = GetParam();
    ProjectSettings s = NothingUsed();
    c.set(s);
    EXPECT_EQ(c.build(s, c.comments), c.expected);
}

std::string CaseName(const testing::TestParamInfo<SectionCase>& info) {
    return info.param.name;
}

// One function of the XC8 form, from its opening line to its closing brace.
std::string Xc8Function(const ProjectSettings& settings, bool comments, std::string_view opening) {
    ProjectSettings s = settings;
    s.OutputForm = static_cast<std::int16_t>(OutputFormId::Xc8);
    const std::string text = AssembleSource(s, comments);
    const auto start = text.find("\r\n" + std::string(opening) + "\r\n");
    if (start == std::string::npos) return "";
    return text.substr(start + 2, text.find("\r\n}\r\n", start) + 3 - start);
}

std::string Xc8SetPort(const ProjectSettings& s, bool comments) {
    return Xc8Function(s, comments, "void set_port(void)");
}

std::string Xc8Main(const ProjectSettings& s, bool comments) {
    return Xc8Function(s, comments, "void main(void)");
}

// Whether the XC8 form's interrupt routine touches TMR0 in code, however the
// reload is spelt.
std::string Xc8IsrWritesTmr0(const ProjectSettings& s, bool comments) {
    const std::string isr = Xc8Function(s, comments, "void __interrupt() isr(void)");
    for (std::size_t at = 0, end; (end = isr.find("\r\n", at)) != std::string::npos; at = end + 2) {
        const std::string line = isr.substr(at, end - at);
        if (line.substr(0, line.find("//")).find("TMR0") != std::string::npos) return "TMR0";
    }
    return isr.empty() ? "no interrupt routine" : "";
}

// The XC8 form's reload: the start value plus the counts the reload loses,
// the two-cycle inhibit of a TMR0 write rounded to whole counts; nothing for
// pulses counted on T0CKI, nor for Timer1, whose stop the compiler times.
std::string Xc8Reload(const ProjectSettings& s, bool comments) {
    const std::string isr = Xc8Function(s, comments, "void __interrupt() isr(void)");
    for (const char* reload : {"TMR0 += ", "TMR1L += "})
        if (const auto at = isr.find(reload); at != std::string::npos)
            return isr.substr(at, isr.find(';', at) - at);
    return "";
}

std::string Xc8CrystalLine(const ProjectSettings& settings, bool comments) {
    ProjectSettings s = settings;
    s.OutputForm = static_cast<std::int16_t>(OutputFormId::Xc8);
    const std::string text = AssembleSource(s, comments);
    const auto start = text.find("#define _XTAL_FREQ ");
    return start == std::string::npos ? "" : text.substr(start, text.find("\r\n", start) + 2 - start);
}

const SectionCase kPortCases[] = {
    // The start levels are the modern forms' alone: the classic text is as it was.
    {"PortsAandC", BuildPortSetup,
     [](ProjectSettings& s) {
         s.PortAUsed = 1;
         s.PortCUsed = 1;
         s.PortADir[0] = s.PortADir[1] = s.PortADir[4] = 1;
         s.PortCDir[7] = 1;
         s.PortALevel = {1, 0, 1, 0, 0, 0, 0, 0};
         s.PortCLevel.fill(1);
     },
     true,
     Lines({"//端口I/O定义子程序", "void set_port()", "{", " TRISA = 0x13;", " TRISC = 0x80;",
            "//PORTA、PORTE设为数字I/O", " ADCON1 = 0x06;", "}"})},
    // TRISE's upper bits are PSPMODE and status bits: stored directions of
    // RE3..RE7 never reach them.
    {"OnlyPortEThreeInputs", BuildPortSetup,
     [](ProjectSettings& s) {
         s.PortEUsed = 1;
         s.PortEDir = {1, 1, 1, 1, 1, 0, 1, 1};
     },
     false, Lines({"void set_port()", "{", " TRISE = 0x07;", " ADCON1 = 0x06;", "}"})},
    {"PortEOutputsWithComments", BuildPortSetup,
     [](ProjectSettings& s) {
         s.PortEUsed = 1;
         s.PortEDir = {0, 1, 0, 0, 1, 0, 0, 0};
     },
     true,
     Lines({"//端口I/O定义子程序", "void set_port()", "{", " TRISE = 0x02;", "//PORTA、PORTE设为数字I/O",
            " ADCON1 = 0x06;", "}"})},
    // Ports B, C and D have no analog pins: ADCON1 stays as it is.
    {"WithoutPortsAandENoAdcon1", BuildPortSetup,
     [](ProjectSettings& s) {
         s.PortBUsed = s.PortCUsed = s.PortDUsed = 1;
         s.PortEDir.fill(1);
     },
     true,
     Lines({"//端口I/O定义子程序", "void set_port()", "{", " TRISB = 0x00;", " TRISC = 0x00;",
            " TRISD = 0x00;", "}"})},
    {"AllInputsAndHexEdges", BuildPortSetup,
     [](ProjectSettings& s) {
         s.PortAUsed = s.PortBUsed = s.PortDUsed = 1;
         s.PortADir.fill(1);
         s.PortBDir = {1, 1, 1, 1, 0, 0, 0, 0};
         s.PortDDir = {0, 0, 0, 0, 1, 0, 0, 0};
     },
     false,
     // Port A has six pins: directions stored for RA6 and RA7 set no bit.
     Lines({"void set_port()", "{", " TRISA = 0x3F;", " TRISB = 0x0F;", " TRISD = 0x10;", " ADCON1 = 0x06;",
            "}"})},
    {"NoPortUsedIsEmptyEvenWithComments", BuildPortSetup, [](ProjectSettings&) {}, true, ""},
    // A 28-pin part has no ports D and E to set up, even when ticked, nor
    // a port E to name.
    {"TwentyEightPinPartWritesNoTrisDOrE", BuildPortSetup,
     [](ProjectSettings& s) {
         s.ChipPart = 6;  // PIC16F876A
         s.PortAUsed = s.PortBUsed = s.PortCUsed = s.PortDUsed = s.PortEUsed = 1;
     },
     true,
     Lines({"//端口I/O定义子程序", "void set_port()", "{", " TRISA = 0x00;", " TRISB = 0x00;",
            " TRISC = 0x00;", "//PORTA设为数字I/O", " ADCON1 = 0x06;", "}"})},
    // Each latch before its TRIS; a level counts on an output pin alone (RA1
    // is an input, RA6 and RA7 are no pins); an unused port gets neither.
    {"ModernLatchesBeforeTheirTris", Xc8SetPort,
     [](ProjectSettings& s) {
         s.PortAUsed = s.PortDUsed = 1;
         s.PortADir = {0, 1, 0, 0, 0, 0, 0, 0};
         s.PortALevel = {0, 1, 1, 0, 1, 0, 1, 1};
         s.PortBLevel.fill(1);
         s.PortDLevel = {1, 0, 0, 0, 0, 0, 0, 1};
     },
     true,
     Lines({"void set_port(void)", "{", "    //先写锁存器再定方向,输出引脚一开始就是设定的电平",
            "    PORTA = 0x14;", "    TRISA = 0x02;", "    PORTD = 0x81;", "    TRISD = 0x00;",
            "    //PORTA、PORTE设为数字I/O", "    ADCON1 = 0x06;", "    /* 用户代码开始: set_port */",
            "    /* 用户代码结束: set_port */", "}"})},
};
INSTANTIATE_TEST_SUITE_P(Port, SectionText, testing::ValuesIn(kPortCases), CaseName);

const SectionCase kDeclarationCases[] = {
    {"NothingNoComments", BuildDeclarations, [](ProjectSettings&) {}, false, ""},
    {"NothingWithComments", BuildDeclarations, [](ProjectSettings&) {}, true, Lines({"// 函数声明部份"})},
    {"SciReceiveOnly", BuildDeclarations,
     [](ProjectSettings& s) {
         s.SciEn = 1;
         s.SciRxInt = 1;
     },
     false, Lines({"void interrupt IRQ(void);", "void fun_intset();", "void fun_sciset();"})},
    {"TimerInterruptWithoutTimer", BuildDeclarations, [](ProjectSettings& s) { s.T1Int = -1; }, false,
     Lines({"void interrupt IRQ(void);", "void fun_intset();"})},
    {"MainNothing", BuildMain, [](ProjectSettings&) {}, false, Lines({"void main()", "{", "}"})},
    {"MainSciReceive", BuildMain,
     [](ProjectSettings& s) {
         s.SciEn = 1;
         s.SciRxInt = 1;
     },
     true, Lines({"// 主函数", "void main()", "{", " fun_sciset();", " fun_intset();", "}"})},
    // A word programmed elsewhere may have the watchdog on: the loop clears it.
    {"ModernMainClearsTheWatchdogWhenTheWordIsLeftToTheUser", Xc8Main,
     [](ProjectSettings& s) { s.CfgWrite = 0; }, false,
     Lines({"void main(void)", "{", "    /* 用户代码开始: 主循环前 */", "    /* 用户代码结束: 主循环前 */",
            "    while (1) {", "        /* 用户代码开始: 主循环 */", "        /* 用户代码结束: 主循环 */",
            "        CLRWDT();", "    }", "}"})},
};
INSTANTIATE_TEST_SUITE_P(Declarations, SectionText, testing::ValuesIn(kDeclarationCases), CaseName);

const SectionCase kInterruptCases[] = {
    {"ServiceTimer0AndReceive", BuildInterruptService,
     [](ProjectSettings& s) {
         s.T0Int = -1;
         s.SciRxInt = 1;
     },
     false,
     Lines({"void interrupt IRQ(void)", "{", " if(T0IF)", "  {", "   T0IF=0;", "  }", " if(RCIF)", "  {",
            "   RCIF=0;", "  }", "}"})},
    {"EnableTimer0AndReceive", BuildInterruptEnable,
     [](ProjectSettings& s) {
         s.T0Int = -1;
         s.SciRxInt = 1;
     },
     false, Lines({"void fun_intset()", "{", " T0IE=1;", " RCIE=1;", " PEIE=1;", " GIE=1;", "}"})},
    // Timer0's enable sits in INTCON itself: no PEIE for it alone.
    {"EnableTimer0AloneWithComments", BuildInterruptEnable, [](ProjectSettings& s) { s.T0Int = -1; }, true,
     Lines({"//中断允许设置子程序", "void fun_intset()", "{", " T0IE=1;//Tiemr0中断允许", " GIE=1;", "}"})},
    {"EnableTimer0AloneNoComments", BuildInterruptEnable, [](ProjectSettings& s) { s.T0Int = -1; }, false,
     Lines({"void fun_intset()", "{", " T0IE=1;", " GIE=1;", "}"})},
    {"EnableTransmitOnlyWithComments", BuildInterruptEnable, [](ProjectSettings& s) { s.SciTxInt = 1; }, true,
     Lines({"//中断允许设置子程序", "void fun_intset()", "{", " TXIE=1;//SCI串行口发送中断允许",
            " PEIE=1;//外设中断允许", " GIE=1;", "}"})},
    {"NoSourceServiceEmpty", BuildInterruptService, [](ProjectSettings&) {}, true, ""},
    {"NoSourceEnableEmpty", BuildInterruptEnable, [](ProjectSettings&) {}, true, ""},
    {"UsedCcpGetsBranchWithoutItsInterrupt", BuildInterruptService,
     [](ProjectSettings& s) {
         s.Ccp1En = true;
         s.T1Int = -1;
     },
     true,
     Lines({"//中断子程序", "void interrupt IRQ(void)", "{", " if(TMR1IF)", "  {", "   TMR1IF=0;",
            "    //Timer1中断服务子程序", "  }", " if(CCP1IF)", "  {", "   CCP1IF=0;",
            "    //CCP1中断服务子程序", "  }", "}"})},
    {"UsedCcpWithoutInterruptGetsNoEnable", BuildInterruptEnable,
     [](ProjectSettings& s) {
         s.Ccp1En = true;
         s.T1Int = -1;
     },
     true,
     Lines({"//中断允许设置子程序", "void fun_intset()", "{", " TMR1IE=1;//Tiemr1中断允许",
            " PEIE=1;//外设中断允许", " GIE=1;", "}"})},
    {"UnusedCcpInterruptServiceHasNoBranch", BuildInterruptService,
     [](ProjectSettings& s) { s.Ccp2Int = -1; }, false, Lines({"void interrupt IRQ(void)", "{", "}"})},
    {"UnusedCcpInterruptStillEnabled", BuildInterruptEnable, [](ProjectSettings& s) { s.Ccp2Int = -1; },
     false, Lines({"void fun_intset()", "{", " CCP2IE=1;", " PEIE=1;", " GIE=1;", "}"})},
    {"TransmitOnly", BuildInterruptService, [](ProjectSettings& s) { s.SciTxInt = 1; }, false,
     Lines({"void interrupt IRQ(void)", "{", " if(TXIF)", "  {", "   TXIF=0;", "  }", "}"})},
    // A counter's count is the outside world's: its branch never reloads
    // TMR0, whatever start value timing mode left behind.
    {"ModernTimer0TimingReloads", Xc8IsrWritesTmr0,
     [](ProjectSettings& s) {
         s.T0En = true;
         s.T0Int = -1;
         s.T0RegText = "0x38";
     },
     false, "TMR0"},
    {"ModernTimer0CounterNeverReloads", Xc8IsrWritesTmr0,
     [](ProjectSettings& s) {
         s.T0En = true;
         s.T0Int = -1;
         s.T0RegText = "0x38";
         s.T0ClockMode = 2;
     },
     false, ""},
};
INSTANTIATE_TEST_SUITE_P(Interrupts, SectionText, testing::ValuesIn(kInterruptCases), CaseName);

const auto Timer0Reload = [](int mode, bool prescaler) {
    return [mode, prescaler](ProjectSettings& s) {
        s.T0En = true;
        s.T0Int = -1;
        s.T0ClockMode = mode;
        s.T0UsePs = prescaler;
        s.T0PsDiv = prescaler ? 8 : 1;
        s.T0RegText = "0x38";
    };
};
const SectionCase kReloadCases[] = {
    {"Timer0InternalOneToOne", Xc8Reload, Timer0Reload(0, false), false, "TMR0 += 0x3A"},
    {"Timer0InternalPrescaled", Xc8Reload, Timer0Reload(0, true), false, "TMR0 += 0x39"},
    {"Timer0OutsideClock", Xc8Reload, Timer0Reload(1, false), false, "TMR0 += 0x38"},
    {"Timer1", Xc8Reload,
     [](ProjectSettings& s) {
         s.T1En = true;
         s.T1Int = -1;
         s.T1RegHighText = std::string("0xFC");
         s.T1RegLowText = "0x18";
     },
     false, "TMR1L += 0x18"},
};
INSTANTIATE_TEST_SUITE_P(Reloads, SectionText, testing::ValuesIn(kReloadCases), CaseName);

void CountingFallingEdge(ProjectSettings& s) {
    s.T0En = true;
    s.T0UsePs = false;
    s.T0ClockMode = 2;
    s.T0Edge = 0;
}

const SectionCase kTimerCases[] = {
    {"Timer0Prescaler8", BuildTimerSetup,
     [](ProjectSettings& s) {
         s.T0En = true;
         s.T0PsIndex = 3;
         s.T0PsDiv = 16;
         s.T0RegText = "0x06";
     },
     false,
     Lines({"void fun_timerset()", "{", " PSA=0;", " PS0=1;PS1=1;PS2=0;", " T0CS=0;", " TMR0=0x06;", "}"})},
    {"Timer0TypicalRunWithComments", BuildTimerSetup,
     [](ProjectSettings& s) {
         s.T0En = true;
         s.T0TimeUs = 100.0f;
         s.T0FreqMHz = 4.0f;
         s.T0RegText = "0xCE";
         s.T0ErrorUs = 0;
     },
     true,
     Lines({"//定时器初始化设置子程序", "void fun_timerset()", "{", "//Timer0初始化设置",
            " PSA=0;//Timer0 使用预分频器", "//Timer0选择分频率为1:2", " PS0=0;PS1=0;PS2=0;",
            "//内部时钟定时方式,定时时间:100uS,误差:0uS", " T0CS=0;", " TMR0=0xCE;", "}"})},
    {"Timer0NoPrescalerExternalTiming", BuildTimerSetup,
     [](ProjectSettings& s) {
         s.T0En = true;
         s.T0UsePs = false;
         s.T0PsDiv = 1;
         s.T0ClockMode = 1;
     },
     true,
     Lines({"//定时器初始化设置子程序", "void fun_timerset()", "{", "//Timer0初始化设置",
            "//外部时钟定时方式", " T0CS=1;", "}"})},
    {"Timer0CountingRisingEdge", BuildTimerSetup,
     [](ProjectSettings& s) {
         s.T0En = true;
         s.T0PsIndex = 7;
         s.T0PsDiv = 256;
         s.T0ClockMode = 2;
         s.T0Edge = 1;
         s.T0RegText = "0x55";
     },
     true,
     Lines({"//定时器初始化设置子程序", "void fun_timerset()", "{", "//Timer0初始化设置",
            " PSA=0;//Timer0 使用预分频器", "//Timer0选择分频率为1:256", " PS0=1;PS1=1;PS2=1;",
            "//外部时钟计数方式,上升沿触发", " T0CS=1;", " TMR0=0x00;", " T0SE=0;", "}"})},
    // T0SE set counts falling edges of T0CKI.
    {"Timer0CountingFallingEdgeNoComments", BuildTimerSetup, CountingFallingEdge, false,
     Lines({"void fun_timerset()", "{", " T0CS=1;", " TMR0=0x00;", " T0SE=1;", "}"})},
    {"Timer0CountingFallingEdgeWithComments", BuildTimerSetup, CountingFallingEdge, true,
     Lines({"//定时器初始化设置子程序", "void fun_timerset()", "{", "//Timer0初始化设置",
            "//外部时钟计数方式,下降沿触发", " T0CS=1;", " TMR0=0x00;", " T0SE=1;", "}"})},
    // Whatever a text setting holds, a line break in it is one blank.
    {"LineBreaksInsideTextsBecomeBlanks", BuildTimerSetup,
     [](ProjectSettings& s) {
         s.T0En = true;
         s.T0UsePs = false;
         s.T0TimeUs = "25\n6";
         s.T0RegText = "0x\r\n9C";
         s.T2En = true;
         s.T2TimeUs = "\r1\n\r2\r\n";
         s.T2RegText = "\n";
     },
     true,
     Lines({"//定时器初始化设置子程序", "void fun_timerset()", "{", "//Timer0初始化设置",
            "//内部时钟定时方式,定时时间:25 6uS,误差:0uS", " T0CS=0;", "", "//Timer2初始化设置",
            "//timer2使用预分频率1:1", " T2CKPS0=0;T2CKPS1=0;", "//timer2使用后分频率1:1", " TOUTPS0=0;",
            " TOUTPS1=0;", " TOUTPS2=0;", " TOUTPS3=0;", "//定时器2定时时间为: 1  2 uS,误差:0uS",
            " TMR2ON=1;", "}"})},
    {"Timer1TimerModeTypedTime", BuildTimerSetup,
     [](ProjectSettings& s) {
         s.T1En = true;
         s.T1PsIndex = 2;
         s.T1PsDiv = 4.0;
         s.T1TimeUs = "1000";
         s.T1ErrorUs = 0.5f;
         s.T1RegHighText = "0xFF";
         s.T1RegLowText = "0x06";
         s.T1OscEn = 1;
     },
     true,
     Lines({"//定时器初始化设置子程序", "void fun_timerset()", "{", "", "//Timer1初始化设置",
            "//timer1使用预分频率1:4", " T1CKPS0=0;T1CKPS1=1;", "//使用T1内部振荡器", " T1OSCEN=1;",
            "//Timer1工作定时器模式,定时时间:1000uS,误差:0.5uS", " TMR1CS=0;", " TMR1H=0xFF;TMR1L=0x06;",
            " TMR1ON=1;", "}"})},
    {"Timer1CounterUnsynchronised", BuildTimerSetup,
     [](ProjectSettings& s) {
         s.T1En = true;
         s.T1ClockMode = 1;
         s.T1SyncMode = 1;
     },
     true,
     Lines({"//定时器初始化设置子程序", "void fun_timerset()", "{", "", "//Timer1初始化设置",
            "//timer1使用预分频率1:1", " T1CKPS0=0;T1CKPS1=0;", "//不使用T1内部振荡器", " T1OSCEN=0;",
            "//Timer1工作计数器模式(与外部时钟不同步)", " TMR1CS=1;T1SYNC=1;", " TMR1H=TMR1L=0x00;",
            " TMR1ON=1;", "}"})},
    {"Timer1CounterSynchronisedNoComments", BuildTimerSetup,
     [](ProjectSettings& s) {
         s.T1En = true;
         s.T1ClockMode = 1;
     },
     false,
     Lines({"void fun_timerset()", "{", "", " T1CKPS0=0;T1CKPS1=0;", " T1OSCEN=0;", " TMR1CS=1;T1SYNC=0;",
            " TMR1H=TMR1L=0x00;", " TMR1ON=1;", "}"})},
    {"OnlyTimer2Sixteen", BuildTimerSetup,
     [](ProjectSettings& s) {
         s.T2En = true;
         s.T2PsIndex = 2;
         s.T2PsDiv = 16;
         s.T2PostIndex = 15;
         s.T2TimeUs = 3276.8f;
         s.T2ErrorUs = -0.25f;
         s.T2RegText = "0x00";
     },
     true,
     Lines({"//定时器初始化设置子程序", "void fun_timerset()", "{", "", "//Timer2初始化设置",
            "//timer2使用预分频率1:16", " T2CKPS0=0;T2CKPS1=1;", "//timer2使用后分频率1:16", " TOUTPS0=1;",
            " TOUTPS1=1;", " TOUTPS2=1;", " TOUTPS3=1;", "//定时器2定时时间为:3276.8uS,误差:-0.25uS",
            " PR2=0x00;//TMR2计数到PR2后自动清零", " TMR2ON=1;", "}"})},
    {"Timer2OneToFourPost3", BuildTimerSetup,
     [](ProjectSettings& s) {
         s.T2En = true;
         s.T2PsIndex = 1;
         s.T2PostIndex = 2;
     },
     false,
     Lines({"void fun_timerset()", "{", "", " T2CKPS0=1;T2CKPS1=0;", " TOUTPS0=0;", " TOUTPS1=1;",
            " TOUTPS2=0;", " TOUTPS3=0;", " TMR2ON=1;", "}"})},
    {"InterruptAloneWritesNoTimer", BuildTimerSetup, [](ProjectSettings& s) { s.T0Int = -1; }, true, ""},
};
INSTANTIATE_TEST_SUITE_P(Timers, SectionText, testing::ValuesIn(kTimerCases), CaseName);

const SectionCase kCcpCases[] = {
    {"Ccp1CaptureRisingEdge", BuildCcpSetup,
     [](ProjectSettings& s) {
         s.Ccp1En = true;
         s.Ccp1M = 5;
     },
     true,
     Lines({"//CCP初始化设置子程序", "void fun_ccpset()", "{", "//CCP1模块设置", " CCP1M0=1;", " CCP1M1=0;",
            " CCP1M2=1;", " CCP1M3=0;", "}"})},
    {"OnlyCcp2PwmIgnoresStoredCode", BuildCcpSetup,
     [](ProjectSettings& s) {
         s.Ccp2En = true;
         s.Ccp2Mode = 2;
         s.Ccp2M = 5;
         s.Ccp2Y = 1;
     },
     false,
     Lines({"void fun_ccpset()", "{", "", " CCP2M0=0;", " CCP2M1=0;", " CCP2M2=1;", " CCP2M3=1;",
            " CCPR2L=0x80;", " CCP2Y=1;", " CCP2X=0;", "}"})},
    {"BothCompareAndCapture", BuildCcpSetup,
     [](ProjectSettings& s) {
         s.Ccp1En = s.Ccp2En = true;
         s.Ccp1Mode = 1;
         s.Ccp1M = 11;
         s.Ccp2M = 4;
         s.Ccp1Int = -1;
     },
     false,
     Lines({"void fun_ccpset()", "{", " CCP1M0=1;", " CCP1M1=1;", " CCP1M2=0;", " CCP1M3=1;",
            " CCPR1H=0x03;CCPR1L=0xE8;", "", " CCP2M0=0;", " CCP2M1=0;", " CCP2M2=1;", " CCP2M3=0;", "}"})},
    {"CompareValueWithItsTime", BuildCcpSetup,
     [](ProjectSettings& s) {
         s.Ccp1En = s.Ccp2En = true;
         s.Ccp1Mode = s.Ccp2Mode = 1;
         s.Ccp1M = 8;
         s.Ccp2M = 11;
         s.Ccp1CmpTimeUs = 50000.0f;
         s.Ccp1CmpValue = 50000;
         s.Ccp2CmpTimeUs = 0.2f;
         s.Ccp2CmpValue = 1;
     },
     true,
     Lines({"//CCP初始化设置子程序", "void fun_ccpset()", "{", "//CCP1模块设置", " CCP1M0=0;", " CCP1M1=0;",
            " CCP1M2=0;", " CCP1M3=1;", "//比较时间:50000uS", " CCPR1H=0xC3;CCPR1L=0x50;", "",
            "//CCP2模块设置", " CCP2M0=1;", " CCP2M1=1;", " CCP2M2=0;", " CCP2M3=1;",
            "//比较时间:0.2uS,即Timer1的周期", " CCPR2H=0x00;CCPR2L=0x01;", "}"})},
    {"NoValueWorkedOutWritesNoRegister", BuildCcpSetup,
     [](ProjectSettings& s) {
         s.Ccp1En = s.Ccp2En = true;
         s.Ccp1Mode = 1;
         s.Ccp1M = 9;
         s.Ccp1CmpValue = 0;
         s.Ccp2Mode = 2;
         s.Ccp2DutyReg = -1;
     },
     true,
     Lines({"//CCP初始化设置子程序", "void fun_ccpset()", "{", "//CCP1模块设置", " CCP1M0=1;", " CCP1M1=0;",
            " CCP1M2=0;", " CCP1M3=1;", "", "//CCP2模块设置", " CCP2M0=0;", " CCP2M1=0;", " CCP2M2=1;",
            " CCP2M3=1;", "}"})},
    {"PwmDutyWithItsTime", BuildCcpSetup,
     [](ProjectSettings& s) {
         s.Ccp1En = true;
         s.Ccp1Mode = 2;
         s.Ccp1DutyUs = 25.5f;
         s.Ccp1DutyReg = 0x19;
         s.Ccp1X = 1;
     },
     true,
     Lines({"//CCP初始化设置子程序", "void fun_ccpset()", "{", "//CCP1模块设置", " CCP1M0=0;", " CCP1M1=0;",
            " CCP1M2=1;", " CCP1M3=1;", "//PWM占空比:25.5uS", " CCPR1L=0x19;", " CCP1Y=0;", " CCP1X=1;",
            "}"})},
};
INSTANTIATE_TEST_SUITE_P(Ccp, SectionText, testing::ValuesIn(kCcpCases), CaseName);

void AsyncSci(ProjectSettings& s) {
    s.SciEn = 1;
    s.SciSpbrgText = "0x19";
    s.SciBaud = "9600";
}

const SectionCase kSciCases[] = {
    {"AsyncHighSpeedWithComments", BuildSciSetup, AsyncSci, true,
     Lines({"//SCI串行口初始化设置子程序", "void fun_sciset()", "{", "//串行口工作于异步方式", " SYNC=0;",
            " CREN=1;", " BRGH=1;//高波特率方式:Baud Rate = Fosc/(16*(SPBRG+1))", " TXEN=1;",
            " TX9=0;//发送数据长度为8位", " RX9=0;//接收数据长度为8位", " SPBRG=0x19;// 通信波特率为9600",
            " SPEN=1;", "}"})},
    {"AsyncHighSpeedNoComments", BuildSciSetup, AsyncSci, false,
     Lines({"void fun_sciset()", "{", "", " SYNC=0;", " CREN=1;", " BRGH=1;", " TXEN=1;", " TX9=0;",
            " RX9=0;", " SPBRG=0x19;", " SPEN=1;", "}"})},
    {"AsyncLowSpeedNineBits", BuildSciSetup,
     [](ProjectSettings& s) {
         s.SciEn = 1;
         s.SciHighSpeed = 0;
         s.SciTx9 = 1;
         s.SciRx9 = 1;
         s.SciRxEn = 0;
     },
     true,
     Lines({"//SCI串行口初始化设置子程序", "void fun_sciset()", "{", "//串行口工作于异步方式", " SYNC=0;",
            " CREN=0;", " BRGH=0;//低波特率方式:Baud Rate = Fosc/(64*(SPBRG+1))", " TXEN=1;",
            " TX9=1;//发送数据长度为9位", " RX9=1;//接收数据长度为9位", " SPEN=1;", "}"})},
    {"SyncSlave", BuildSciSetup,
     [](ProjectSettings& s) {
         s.SciEn = 1;
         s.SciSyncMode = 1;
         s.SciClockSource = 0;
     },
     true,
     Lines({"//SCI串行口初始化设置子程序", "void fun_sciset()", "{", "//串行口工作于同步从动方式", " SYNC=1;",
            " CSRC=0;", " CREN=1;//允许连续接收", " TXEN=1;", " TX9=0;//发送数据长度为8位",
            " RX9=0;//接收数据长度为8位", " SPEN=1;", "}"})},
    {"SyncMasterNotContinuous", BuildSciSetup,
     [](ProjectSettings& s) {
         s.SciEn = 1;
         s.SciSyncMode = 1;
         s.SciContinuous = 0;
     },
     true,
     Lines({"//SCI串行口初始化设置子程序", "void fun_sciset()", "{", "//串行口工作于同步主控方式", " SYNC=1;",
            " CSRC=1;", " CREN=0;//不允许边连续接收", " SREN=1;", " TXEN=1;", " TX9=0;//发送数据长度为8位",
            " RX9=0;//接收数据长度为8位", " SPEN=1;", "}"})},
    {"LineBreakInTheRateComment", BuildSciSetup,
     [](ProjectSettings& s) {
         AsyncSci(s);
         s.SciBaud = "96\r00";
     },
     true,
     Lines({"//SCI串行口初始化设置子程序", "void fun_sciset()", "{", "//串行口工作于异步方式", " SYNC=0;",
            " CREN=1;", " BRGH=1;//高波特率方式:Baud Rate = Fosc/(16*(SPBRG+1))", " TXEN=1;",
            " TX9=0;//发送数据长度为8位", " RX9=0;//接收数据长度为8位", " SPBRG=0x19;// 通信波特率为96 00",
            " SPEN=1;", "}"})},
    {"UnusedIsEmpty", BuildSciSetup,
     [](ProjectSettings& s) {
         s.SciEn = 0;
         s.SciTxInt = 1;
     },
     true, ""},
};
INSTANTIATE_TEST_SUITE_P(Sci, SectionText, testing::ValuesIn(kSciCases), CaseName);

void I2cMaster(ProjectSettings& s) {
    s.MsspEn = 1;
    s.MsspMode = kMsspI2cMaster;
    s.MsspInt = -1;
    s.MsspBclInt = -1;
}

const SectionCase kMsspCases[] = {
    {"SpiMasterWithComments", BuildMsspSetup,
     [](ProjectSettings& s) {
         s.MsspEn = 1;
         s.MsspSpiClock = 1;
         s.MsspCkp = 1;
         s.MsspCke = 0;
         s.MsspSmp = 1;
     },
     true,
     Lines({"//MSSP初始化设置子程序", "void fun_msspset()", "{", "//MSSP工作于SPI主控方式,时钟为Fosc/16",
            " SSPM0=1;", " SSPM1=0;", " SSPM2=0;", " SSPM3=0;", " CKP=1;//时钟空闲时为高电平",
            " CKE=0;//时钟由空闲变为有效时发送数据", " SMP=1;//在数据输出时间的末尾采样输入数据", " SSPEN=1;",
            "}"})},
    // A slave samples in the middle whatever SMP was left at.
    {"SpiSlaveWithSsNoComments", BuildMsspSetup,
     [](ProjectSettings& s) {
         s.MsspEn = 1;
         s.MsspMode = kMsspSpiSlave;
         s.MsspSmp = 1;
     },
     false,
     Lines({"void fun_msspset()", "{", " SSPM0=0;", " SSPM1=0;", " SSPM2=1;", " SSPM3=0;", " CKP=0;",
            " CKE=1;", " SMP=0;", " SSPEN=1;", "}"})},
    {"I2cMaster400kHzAt20MHz", BuildMsspSetup,
     [](ProjectSettings& s) {
         I2cMaster(s);
         s.CrystalMHz = 20;
         s.MsspI2cKHz = 400.0f;
         s.MsspSlewControl = 1;
         s.MsspSspadd = 12;
     },
     true,
     Lines({"//MSSP初始化设置子程序", "void fun_msspset()", "{", "//MSSP工作于I2C主控方式", " SSPM0=0;",
            " SSPM1=0;", " SSPM2=0;", " SSPM3=1;", " SMP=0;//使用压摆率控制(400kHz)",
            "//I2C总线速率:400kHz,实际速率:384.615kHz,误差:-3.846%",
            " SSPADD=0x0C;//I2C时钟 = Fosc/(4*(SSPADD+1))", " SSPEN=1;", "}"})},
    // No SSPADD for the rate at this crystal: none is written.
    {"I2cMasterWithoutSspadd", BuildMsspSetup,
     [](ProjectSettings& s) {
         I2cMaster(s);
         s.MsspSspadd = -1;
     },
     false,
     Lines({"void fun_msspset()", "{", " SSPM0=0;", " SSPM1=0;", " SSPM2=0;", " SSPM3=1;", " SMP=1;",
            " SSPEN=1;", "}"})},
    // Bus collisions belong to I2C.
    {"SpiHasNoBusCollision", BuildInterruptEnable,
     [](ProjectSettings& s) {
         I2cMaster(s);
         s.MsspMode = kMsspSpiMaster;
     },
     false, Lines({"void fun_intset()", "{", " SSPIE=1;", " PEIE=1;", " GIE=1;", "}"})},
};
INSTANTIATE_TEST_SUITE_P(Mssp, SectionText, testing::ValuesIn(kMsspCases), CaseName);

// AN0..AN4 analog at 20 MHz on the 16F877A: Fosc/32 by default, channel AN1.
void AdOn(ProjectSettings& s) {
    s.CrystalMHz = 20;
    s.AdEn = 1;
    s.AdPcfg = 0b0010;
    s.AdChannel = 1;
    s.AdClock = 0b010;
    s.AdInt = -1;
}

const SectionCase kAdCases[] = {
    {"AdSetup", BuildAdSetup, AdOn, true,
     Lines({"//A/D转换模块初始化设置子程序", "void fun_adset()", "{", "//AN0-AN4模拟,VREF+=VDD,VREF-=VSS",
            "//转换结果右对齐", " ADCON1=0x82;", "//转换时钟Fosc/32,TAD=1.600uS,转换时间19.200uS",
            "//转换通道AN1,打开A/D模块", " ADCON0=0x89;", "}"})},
    // With the module on, set_port leaves ADCON1 to it.
    {"PortSetupLeavesAdcon1", BuildPortSetup,
     [](ProjectSettings& s) {
         AdOn(s);
         s.PortAUsed = 1;
     },
     false, Lines({"void set_port()", "{", " TRISA = 0x00;", "}"})},
};
INSTANTIATE_TEST_SUITE_P(Ad, SectionText, testing::ValuesIn(kAdCases), CaseName);

// The reference before the mode, the wait for the outputs (four turns of at
// least three cycles are the 10 cycles of 10 us at 4 MHz), and with the
// interrupt the read that ends the mismatch before CMIF is cleared. With the
// comparators off only the reference is set, and nothing waits.
const SectionCase kComparatorCases[] = {
    {"ComparatorSetup", BuildComparatorSetup,
     [](ProjectSettings& s) {
         s.CmpEn = 1;
         s.CmpMode = 0b011;
         s.CmpC1Inv = 1;
         s.CmpInt = -1;
         s.CvrEn = s.CvrOe = 1;
         s.CvrValue = 12;
     },
     true,
     Lines({"//比较器初始化设置子程序", "void fun_cmpset()", "{",
            "//参考电压低量程,CVREF=12/24VDD,VDD=5V时为2.500V", "//CVREF从RA2输出",
            " CVRCON=0xEC;//CVREN=1 CVROE=1 CVRR=1 CVR=1100", "//两个独立比较器,有输出", "//C1输出反相",
            " CMCON=0x13;//C2INV=0 C1INV=1 CIS=0 CM=011",
            " {volatile unsigned char n=4;while(n)n--;}//等待10uS:模式改变后比较器输出有效,参考电压稳定",
            " cmcon_state=CMCON;//读CMCON结束失配,再清CMIF,打开中断时不会误入中断", " CMIF=0;", "}"})},
    {"ReferenceAlone", BuildComparatorSetup,
     [](ProjectSettings& s) {
         s.CmpEn = 1;
         s.CmpMode = 0b111;
         s.CmpInt = -1;
         s.CvrEn = s.CvrOe = 1;
         s.CvrRange = 0;
         s.CvrValue = 5;
     },
     false, Lines({"void fun_cmpset()", "{", " CVRCON=0xC5;", " CMCON=0x07;", "}"})},
    // A part without comparators writes none.
    {"NotOnA16F877", BuildComparatorSetup,
     [](ProjectSettings& s) {
         s.ChipPart = 3;
         s.CmpEn = 1;
     },
     true, ""},
};
INSTANTIATE_TEST_SUITE_P(Comparator, SectionText, testing::ValuesIn(kComparatorCases), CaseName);

// The MSSP's and the A/D's sections stand between the SCI's and the enables,
// each after an empty line, and are declared in that order before port B's
// variable.
TEST(AssembleSource, NewSectionsBetweenTheSciAndTheEnables) {
    ProjectSettings s = EverythingOn();
    AdOn(s);
    s.MsspEn = 1;
    s.RbChangeInt = -1;
    const std::string text = AssembleSource(s, false);
    std::size_t at = 0;
    for (const std::string& part :
         {Lines({"void fun_sciset();", "void fun_msspset();", "void fun_adset();",
                 "volatile unsigned char portb_state;"}),
          Lines({"}", "", "void fun_sciset()"}), Lines({"}", "", "void fun_msspset()"}),
          Lines({"}", "", "void fun_adset()"}), Lines({"}", "", "void fun_intset()"})}) {
        at = text.find(part, at);
        ASSERT_NE(at, std::string::npos) << part;
    }
}

// Port B's, the MSSP's and the A/D's interrupts together.
void NewInterrupts(ProjectSettings& s) {
    I2cMaster(s);
    AdOn(s);
    s.Rb0Int = -1;
    s.RbChangeInt = -1;
}

const SectionCase kPortBCases[] = {
    // PORTB is read before RBIF is cleared, or the mismatch sets it again.
    {"NewInterruptsService", BuildInterruptService, NewInterrupts, true,
     Lines({"//中断子程序", "void interrupt IRQ(void)", "{", " if(INTF)", "  {", "   INTF=0;",
            "    //RB0/INT中断服务子程序", "  }", " if(RBIF)", "  {",
            "   portb_state=PORTB;//先读PORTB结束电平失配,否则RBIF清零后又被置位,中断反复进入", "   RBIF=0;",
            "    //RB口电平变化中断服务子程序", "  }"}) +
         Lines({" if(SSPIF)", "  {", "   SSPIF=0;", "    //MSSP中断服务子程序", "  }", " if(BCLIF)", "  {",
                "   BCLIF=0;", "    //I2C总线冲突中断服务子程序", "  }", " if(ADIF)", "  {", "   ADIF=0;",
                "    //A/D转换中断服务子程序", "  }", "}"})},
    {"NewInterruptsEnable", BuildInterruptEnable, NewInterrupts, true,
     Lines({"//中断允许设置子程序", "void fun_intset()", "{", " INTE=1;//RB0/INT中断允许",
            " RBIE=1;//RB口电平变化中断允许", " SSPIE=1;//MSSP中断允许", " BCLIE=1;//I2C总线冲突中断允许",
            " ADIE=1;//A/D转换中断允许", " PEIE=1;//外设中断允许", " GIE=1;", "}"})},
    {"DeclaresTheStateTheBranchStores", BuildDeclarations, [](ProjectSettings& s) { s.RbChangeInt = -1; },
     true,
     Lines({"// 函数声明部份", "void interrupt IRQ(void);", "void fun_intset();",
            "volatile unsigned char portb_state;//RB口电平变化中断时读到的PORTB值"})},
    // Modules switched off enable nothing, whatever their interrupts say.
    {"ModulesOffEnableNothing", BuildInterruptEnable,
     [](ProjectSettings& s) {
         I2cMaster(s);
         AdOn(s);
         s.MsspEn = s.AdEn = 0;
     },
     false, ""},
    // The change interrupt and pull-ups off leave OPTION_REG alone.
    {"ChangeInterruptWritesNoOptionBits", BuildTimerSetup, [](ProjectSettings& s) { s.RbChangeInt = -1; },
     true, ""},
};
INSTANTIATE_TEST_SUITE_P(PortB, SectionText, testing::ValuesIn(kPortBCases), CaseName);

// INTEDG and RBPU join Timer0's bits of OPTION_REG, which stay as they are.
TEST(PortBOptions, FollowTimer0sLinesUnchanged) {
    ProjectSettings s = NothingUsed();
    s.T0En = true;
    s.T0ClockMode = 2;
    s.T0Edge = 1;
    const std::string timer0 = BuildTimerSetup(s, true);
    s.Rb0Int = -1;
    s.Rb0Edge = 1;
    s.RbPullUp = 1;
    // Timer0's lines up to its closing "}", then port B's.
    EXPECT_EQ(BuildTimerSetup(s, true),
              timer0.substr(0, timer0.size() - 3) + Lines({"", "//RB口功能设置", "//RB0/INT中断,上升沿触发",
                                                           " INTEDG=1;", " RBPU=0;//打开RB口弱上拉", "}"}));
}

TEST(AssembleSource, DefaultPortsWithoutComments) {
    EXPECT_EQ(AssembleSource(ProjectSettings(), false), Lines({"#include<pic.h>",
                                                               "__CONFIG(0x3F71);",
                                                               "",
                                                               "void set_port();",
                                                               "",
                                                               "void main()",
                                                               "{",
                                                               " set_port();",
                                                               "}",
                                                               "",
                                                               "void set_port()",
                                                               "{",
                                                               " TRISA = 0x00;",
                                                               " TRISB = 0x00;",
                                                               " ADCON1 = 0x06;",
                                                               "}",
                                                               "",
                                                               "",
                                                               "",
                                                               "",
                                                               ""}));
}

TEST(AssembleSource, NothingUsedWithoutConfigurationWord) {
    ProjectSettings s = NothingUsed();
    s.CfgWrite = 0;
    EXPECT_EQ(AssembleSource(s, false),
              Lines({"#include<pic.h>", "", "", "void main()", "{", "}", "", "", "", "", "", ""}));
}

// Set in the programmer instead: neither the word nor its comment line.
const SectionCase kConfigWordCases[] = {
    {"OffWritesNeitherLine", BuildConfigWord, [](ProjectSettings& s) { s.CfgWrite = 0; }, true, ""},
    // The crystal in Hz from the digits typed, rounded: the nearest single
    // of 18.432 is 18431999.2.
    {"XtalFreqRoundsAFraction", Xc8CrystalLine, [](ProjectSettings& s) { s.CrystalMHz = 3.6864f; }, false,
     Lines({"#define _XTAL_FREQ 3686400"})},
    {"XtalFreqIsTheTypedCrystal", Xc8CrystalLine, [](ProjectSettings& s) { s.CrystalMHz = 18.432f; }, false,
     Lines({"#define _XTAL_FREQ 18432000"})},
};
INSTANTIATE_TEST_SUITE_P(ConfigWord, SectionText, testing::ValuesIn(kConfigWordCases), CaseName);

// The configuration word's comment line for the default choices.
constexpr const char* kDefaultWordComment =
    "//配置字: XT振荡 看门狗关 上电延时开 欠压复位开 低电压编程关 在线调试关 代码不保护 EEPROM数据不保护 "
    "程序存储器不写保护";

TEST(AssembleSource, EverySectionWithComments) {
    EXPECT_EQ(AssembleSource(EverythingOn(), true),
              Lines({"#include<pic.h>",
                     kDefaultWordComment,
                     "__CONFIG(0x3F71);",
                     "",
                     "// 函数声明部份",
                     "void interrupt IRQ(void);",
                     "void fun_intset();",
                     "void set_port();",
                     "void fun_timerset();",
                     "void fun_ccpset();",
                     "void fun_sciset();",
                     "",
                     "// 主函数",
                     "void main()",
                     "{",
                     " set_port();",
                     " fun_timerset();",
                     " fun_ccpset();",
                     " fun_sciset();",
                     " fun_intset();",
                     "}",
                     "",
                     "//端口I/O定义子程序",
                     "void set_port()",
                     "{",
                     " TRISA = 0x00;",
                     " TRISB = 0x00;",
                     " TRISC = 0xC4;",
                     "//PORTA、PORTE设为数字I/O",
                     " ADCON1 = 0x06;",
                     "}",
                     "",
                     "//中断子程序",
                     "void interrupt IRQ(void)",
                     "{",
                     " if(T0IF)",
                     "  {",
                     "   T0IF=0;",
                     "    //Timer0中断服务子程序",
                     "  }",
                     " if(TMR1IF)",
                     "  {",
                     "   TMR1IF=0;",
                     "    //Timer1中断服务子程序",
                     "  }",
                     " if(TMR2IF)",
                     "  {",
                     "   TMR2IF=0;",
                     "    //Timer2中断服务子程序",
                     "  }",
                     " if(CCP1IF)",
                     "  {",
                     "   CCP1IF=0;",
                     "    //CCP1中断服务子程序",
                     "  }",
                     " if(CCP2IF)",
                     "  {",
                     "   CCP2IF=0;",
                     "    //CCP2中断服务子程序",
                     "  }",
                     " if(TXIF)",
                     "  {",
                     "   TXIF=0;",
                     "    //SCI串行口发送中断服务子程序",
                     "  }",
                     " if(RCIF)",
                     "  {",
                     "   RCIF=0;",
                     "    //SCI串行口接收中断服务子程序",
                     "  }",
                     "}",
                     "",
                     "//定时器初始化设置子程序",
                     "void fun_timerset()",
                     "{",
                     "//Timer0初始化设置",
                     " PSA=0;//Timer0 使用预分频器",
                     "//Timer0选择分频率为1:2",
                     " PS0=0;PS1=0;PS2=0;",
                     "//内部时钟定时方式,定时时间:100uS,误差:0uS",
                     " T0CS=0;",
                     " TMR0=0xCE;",
                     "",
                     "//Timer1初始化设置",
                     "//timer1使用预分频率1:1",
                     " T1CKPS0=0;T1CKPS1=0;",
                     "//不使用T1内部振荡器",
                     " T1OSCEN=0;",
                     "//Timer1工作定时器模式,定时时间:1000uS,误差:0uS",
                     " TMR1CS=0;",
                     " TMR1H=0xFC;TMR1L=0x18;",
                     " TMR1ON=1;",
                     "",
                     "//Timer2初始化设置",
                     "//timer2使用预分频率1:1",
                     " T2CKPS0=0;T2CKPS1=0;",
                     "//timer2使用后分频率1:1",
                     " TOUTPS0=0;",
                     " TOUTPS1=0;",
                     " TOUTPS2=0;",
                     " TOUTPS3=0;",
                     "//定时器2定时时间为:256uS,误差:0uS",
                     " PR2=0xFF;//TMR2计数到PR2后自动清零",
                     " TMR2ON=1;",
                     "}",
                     "",
                     "//CCP初始化设置子程序",
                     "void fun_ccpset()",
                     "{",
                     "//CCP1模块设置",
                     " CCP1M0=0;",
                     " CCP1M1=0;",
                     " CCP1M2=1;",
                     " CCP1M3=0;",
                     "",
                     "//CCP2模块设置",
                     " CCP2M0=0;",
                     " CCP2M1=0;",
                     " CCP2M2=1;",
                     " CCP2M3=1;",
                     "//PWM占空比:128uS",
                     " CCPR2L=0x80;",
                     " CCP2Y=0;",
                     " CCP2X=0;",
                     "}",
                     "",
                     "//SCI串行口初始化设置子程序",
                     "void fun_sciset()",
                     "{",
                     "//串行口工作于异步方式",
                     " SYNC=0;",
                     " CREN=1;",
                     " BRGH=1;//高波特率方式:Baud Rate = Fosc/(16*(SPBRG+1))",
                     " TXEN=1;",
                     " TX9=0;//发送数据长度为8位",
                     " RX9=0;//接收数据长度为8位",
                     " SPBRG=0xCF;// 通信波特率为1200",
                     " SPEN=1;",
                     "}",
                     "",
                     "//中断允许设置子程序",
                     "void fun_intset()",
                     "{",
                     " T0IE=1;//Tiemr0中断允许",
                     " TMR1IE=1;//Tiemr1中断允许",
                     " TMR2IE=1;//Tiemr2中断允许",
                     " CCP1IE=1;//CCP1中断允许",
                     " CCP2IE=1;//CCP2中断允许",
                     " TXIE=1;//SCI串行口发送中断允许",
                     " RCIE=1;//SCI串行口接收中断允许",
                     " PEIE=1;//外设中断允许",
                     " GIE=1;",
                     "}"}));
}

TEST(AssembleSource, EverySectionWithoutComments) {
    EXPECT_EQ(AssembleSource(EverythingOn(), false), Lines({"#include<pic.h>",
                                                            "__CONFIG(0x3F71);",
                                                            "",
                                                            "void interrupt IRQ(void);",
                                                            "void fun_intset();",
                                                            "void set_port();",
                                                            "void fun_timerset();",
                                                            "void fun_ccpset();",
                                                            "void fun_sciset();",
                                                            "",
                                                            "void main()",
                                                            "{",
                                                            " set_port();",
                                                            " fun_timerset();",
                                                            " fun_ccpset();",
                                                            " fun_sciset();",
                                                            " fun_intset();",
                                                            "}",
                                                            "",
                                                            "void set_port()",
                                                            "{",
                                                            " TRISA = 0x00;",
                                                            " TRISB = 0x00;",
                                                            " TRISC = 0xC4;",
                                                            " ADCON1 = 0x06;",
                                                            "}",
                                                            "",
                                                            "void interrupt IRQ(void)",
                                                            "{",
                                                            " if(T0IF)",
                                                            "  {",
                                                            "   T0IF=0;",
                                                            "  }",
                                                            " if(TMR1IF)",
                                                            "  {",
                                                            "   TMR1IF=0;",
                                                            "  }",
                                                            " if(TMR2IF)",
                                                            "  {",
                                                            "   TMR2IF=0;",
                                                            "  }",
                                                            " if(CCP1IF)",
                                                            "  {",
                                                            "   CCP1IF=0;",
                                                            "  }",
                                                            " if(CCP2IF)",
                                                            "  {",
                                                            "   CCP2IF=0;",
                                                            "  }",
                                                            " if(TXIF)",
                                                            "  {",
                                                            "   TXIF=0;",
                                                            "  }",
                                                            " if(RCIF)",
                                                            "  {",
                                                            "   RCIF=0;",
                                                            "  }",
                                                            "}",
                                                            "",
                                                            "void fun_timerset()",
                                                            "{",
                                                            " PSA=0;",
                                                            " PS0=0;PS1=0;PS2=0;",
                                                            " T0CS=0;",
                                                            " TMR0=0xCE;",
                                                            "",
                                                            " T1CKPS0=0;T1CKPS1=0;",
                                                            " T1OSCEN=0;",
                                                            " TMR1CS=0;",
                                                            " TMR1H=0xFC;TMR1L=0x18;",
                                                            " TMR1ON=1;",
                                                            "",
                                                            " T2CKPS0=0;T2CKPS1=0;",
                                                            " TOUTPS0=0;",
                                                            " TOUTPS1=0;",
                                                            " TOUTPS2=0;",
                                                            " TOUTPS3=0;",
                                                            " PR2=0xFF;",
                                                            " TMR2ON=1;",
                                                            "}",
                                                            "",
                                                            "void fun_ccpset()",
                                                            "{",
                                                            " CCP1M0=0;",
                                                            " CCP1M1=0;",
                                                            " CCP1M2=1;",
                                                            " CCP1M3=0;",
                                                            "",
                                                            " CCP2M0=0;",
                                                            " CCP2M1=0;",
                                                            " CCP2M2=1;",
                                                            " CCP2M3=1;",
                                                            " CCPR2L=0x80;",
                                                            " CCP2Y=0;",
                                                            " CCP2X=0;",
                                                            "}",
                                                            "",
                                                            "void fun_sciset()",
                                                            "{",
                                                            "",
                                                            " SYNC=0;",
                                                            " CREN=1;",
                                                            " BRGH=1;",
                                                            " TXEN=1;",
                                                            " TX9=0;",
                                                            " RX9=0;",
                                                            " SPBRG=0xCF;",
                                                            " SPEN=1;",
                                                            "}",
                                                            "",
                                                            "void fun_intset()",
                                                            "{",
                                                            " T0IE=1;",
                                                            " TMR1IE=1;",
                                                            " TMR2IE=1;",
                                                            " CCP1IE=1;",
                                                            " CCP2IE=1;",
                                                            " TXIE=1;",
                                                            " RCIE=1;",
                                                            " PEIE=1;",
                                                            " GIE=1;",
                                                            "}"}));
}

TEST(AssembleSource, DoesNotChangeTheSettings) {
    const ProjectSettings before = EverythingOn();
    // A copy of its own, compared afterwards: that it stays unchanged is the test.
    ProjectSettings s = before;  // NOLINT(performance-unnecessary-copy-initialization)
    (void)AssembleSource(s, true);
    EXPECT_EQ(s, before);
}

// Each kind of element of the program model, as the classic writer spells it
// inside a set-up function, with comments and without.
TEST(ClassicWriter, SpellsEachElement) {
    constexpr auto kBit = ValueForm::Bit;
    constexpr auto kByte = ValueForm::Byte;
    struct Case {
        Step step;
        std::string_view withComments;
        std::optional<std::string_view> without;  // none: no line at all
    } const cases[] = {
        {Blank{}, "", ""},
        {Note{"//说明", false}, "//说明", std::nullopt},
        {Note{"//说明", true}, "//说明", ""},
        {Assign{{{"PSA", 0, kBit}}, "//注", Layout::Packed}, " PSA=0;//注", " PSA=0;"},
        {Assign{{{"PS0", 1, kBit}, {"PS1", 0, kBit}}, {}, Layout::Packed}, " PS0=1;PS1=0;", " PS0=1;PS1=0;"},
        {Assign{{{"BRGH", 1, ValueForm::Decimal}}, {}, Layout::Packed}, " BRGH=1;", " BRGH=1;"},
        {Assign{{{"TRISA", 0x13, kByte}}, {}, Layout::Spaced}, " TRISA = 0x13;", " TRISA = 0x13;"},
        {Assign{{{"TMR1H", 0, kByte}, {"TMR1L", 0, kByte}}, {}, Layout::Chained}, " TMR1H=TMR1L=0x00;",
         " TMR1H=TMR1L=0x00;"},
        // A line break in a comment's text cannot end the line early.
        {Note{"//a\r\nb", false}, "//a b", std::nullopt},
    };
    for (const auto& c : cases) {
        Program program;
        program.setups.push_back({SetupId::Sci, "f", "//f", {c.step}, {}});
        for (const bool comments : {true, false}) {
            const auto line = comments ? std::optional(c.withComments) : c.without;
            const std::string expected = std::string(comments ? "//f\r\n" : "") + "void f()\r\n{\r\n" +
                                         (line ? std::string(*line) + "\r\n" : "") + "}\r\n";
            EXPECT_NE(WriteClassic(program, comments).find(expected), std::string::npos)
                << c.withComments << " comments " << comments;
        }
    }
}

// The generator reads a stored option index as the nearest whole number,
// halves to even, where the dialogs would refuse it.
TEST(RoundedClampedIndex, RoundsHalfToEvenAndClamps) {
    struct Case {
        SettingValue value;
        std::int64_t index;
    } const cases[] = {
        {2.6, 3},
        {2.5, 2},
        {3.5, 4},
        {-0.6, -1},
        {-2.5, -2},
        {SettingValue("2.5"), 2},
        {1e300, 2147483647},
        {-1e300, -2147483647},
        {SettingValue("abc"), 0},
        {SettingValue(), 0},
        {std::numeric_limits<double>::quiet_NaN(), 0},
    };
    for (const auto& c : cases) EXPECT_EQ(RoundedClampedIndex(c.value), c.index) << c.value;
}

// The check refuses what the part lacks wherever the program names it: a
// set-up write, a branch's flag or enable, an enable bit.
TEST(ProgramCheck, NamesWhatThePartLacks) {
    struct Row {
        const char* part;
        Program program;
        std::vector<std::string> lacking;
    };
    const auto writing = [](const char* target) {
        Program p;
        p.setups.push_back(
            {SetupId::Ports, "set_port", "", {Assign{{{target, 0, ValueForm::Byte}}, ""}}, {}});
        return p;
    };
    const auto testing = [](const char* flag, const char* enable) {
        Program p;
        p.interrupts = true;
        p.branches.push_back(
            Branch{flag, "", {}, {}, {}, true, true, enable, Service::ClearFlag, {}, {}, {}, {}, {}});
        p.enables.push_back({enable, "", true});
        return p;
    };
    std::vector<Row> rows = {
        {"pic16f873", writing("TRISD"), {"TRISD"}},
        {"pic16f877", writing("TRISD"), {}},
        {"pic16f877a", writing("TOUTPS4"), {"TOUTPS4"}},
        {"pic16f877", testing("CMIF", "CMIE"), {"CMIE", "CMIF"}},
        {"pic16f877a", testing("CMIF", "CMIE"), {}},
        {"pic16f877a", writing("RBPU"), {}},  // gputils' NOT_RBPU
        {"pic16f999", writing("TRISA"), {"TRISA"}},
    };
    for (Row& row : rows) {
        row.program.part = row.part;
        EXPECT_EQ(NamesThePartLacks(row.program), row.lacking) << row.part;
    }
}

// The MSSP's drivers are the chosen master mode's alone, in the forms that
// have drivers and only when asked (a slave has none).
TEST(AssembleSource, MsspDriversOfTheChosenModeOnly) {
    struct Row {
        OutputFormId form;
        std::int16_t mode, drivers;
        bool spi, i2c;
    };
    const Row rows[] = {
        {OutputFormId::Sdcc, kMsspSpiMaster, 1, true, false},
        {OutputFormId::Xc8, kMsspI2cMaster, 1, false, true},
        {OutputFormId::Xc8, kMsspSpiSlave, 1, false, false},
        {OutputFormId::Sdcc, kMsspI2cMaster, 0, false, false},
        {OutputFormId::Classic, kMsspI2cMaster, 1, false, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(static_cast<int>(row.form) * 100 + row.mode * 10 + row.drivers);
        ProjectSettings s;
        s.OutputForm = static_cast<std::int16_t>(row.form);
        s.MsspEn = 1;
        s.MsspMode = row.mode;
        s.MsspDrivers = row.drivers;
        const std::string text = AssembleSource(s, true);
        EXPECT_EQ(text.find("unsigned char spi_transfer(unsigned char byte)\r\n{") != std::string::npos,
                  row.spi);
        for (const char* name :
             {"i2c_start(void)", "i2c_restart(void)", "i2c_stop(void)", "i2c_write(unsigned",
              "i2c_read(unsigned", "i2c_write_bytes(", "i2c_read_bytes("})
            EXPECT_EQ(text.find(std::string("unsigned char ") + name) != std::string::npos, row.i2c) << name;
        EXPECT_EQ(text.find("驱动函数约占程序存储器") != std::string::npos, row.spi || row.i2c);
    }
}

}  // namespace
}  // namespace korvane
