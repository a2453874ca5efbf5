#include "modules/ccp/ccp_module.h"

#include "format/number_text.h"
#include "generator/sections.h"
#include "settings/ccp_modules.h"

namespace korvane {

namespace {

// Compare mode codes; the last resets Timer1 on a match (special event).
constexpr std::int64_t kFirstCompareCode = 8;
constexpr std::int64_t kSpecialEventCode = 11;
constexpr auto kByte = ValueForm::Byte;
// PWM is always mode code 1100, whatever the stored code says.
constexpr std::int64_t kPwmCode = 12;

bool IsPwm(const ProjectSettings& s, const CcpModuleFields& m) {
    return (s.*m.mode).equals(2);
}

bool HasDuty(const ProjectSettings& s, const CcpModuleFields& m) {
    return s.*m.dutyReg >= 0 && s.*m.dutyReg <= 255;
}

void WriteMode(std::int64_t code, const CcpModuleFields& m, Body& out) {
    for (int bit = 0; bit < 4; ++bit)
        out.SetBit(std::string(m.name) + "M" + std::to_string(bit), BitAt(code, bit));
}

// The duty's two low bits, which share CCPxCON with the mode.
void WriteDutyLowBits(const ProjectSettings& s, const CcpModuleFields& m, Body& out) {
    out.SetBit(std::string(m.name) + "Y", BitOf(s.*m.y));
    out.SetBit(std::string(m.name) + "X", BitOf(s.*m.x));
}

void WriteModule(const ProjectSettings& s, const CcpModuleFields& m, Body& out) {
    // CCPRx is the register pair named after the module: CCPR1H, CCPR1L.
    const std::string r = "CCPR" + std::to_string(m.number);
    const bool pwm = IsPwm(s, m);
    const std::int64_t code = pwm ? kPwmCode : RoundedClampedIndex(s.*m.modeCode);
    const bool inOrder = WritesInDataSheetOrder(s);
    // In the data sheet's order the mode comes after CCPRx (a compare could
    // match an undefined CCPRx) and, for a PWM, after Timer2 starts.
    if (!inOrder) WriteMode(code, m, out);
    if (pwm) {
        // No duty worked out (a duty longer than the period): none of its
        // ten bits is written, and the user was told.
        if (!HasDuty(s, m)) return;
        out.Comment({"//PWM占空比:", (s.*m.dutyUs).toText(), "uS"});
        out.Set({{r + "L", s.*m.dutyReg, kByte}});
        if (!inOrder) WriteDutyLowBits(s, m, out);
        return;
    }
    const float value = s.*m.compareValue;
    if (code >= kFirstCompareCode && value >= 1 && value <= kLargestCompareValue) {
        const auto counts = static_cast<std::int64_t>(value);
        out.Comment({"//比较时间:", (s.*m.compareTimeUs).toText(), "uS",
                     code == kSpecialEventCode ? ",即Timer1的周期" : ""});
        out.Set({{r + "H", counts / 256, kByte}, {r + "L", counts % 256, kByte}});
    }
    if (inOrder) WriteMode(code, m, out);
}

void BuildCcp(const ProjectSettings& s, const CcpModuleFields& m, Body& out) {
    // CCP2's block always starts with an empty line, even as the first.
    if (m.number == 2) out.Blank();
    out.Comment({"//", m.name, "模块设置"});
    WriteModule(s, m, out);
}

// A PWM output is switched on after Timer2 runs, its duty's low bits with
// its mode: the data sheet's PWM order.
void StartPwm(const ProjectSettings& s, const CcpModuleFields& m, Body& out) {
    if (!IsPwm(s, m)) return;
    if (HasDuty(s, m)) WriteDutyLowBits(s, m, out);
    WriteMode(kPwmCode, m, out);
}

bool Ccp1Written(const ProjectSettings& s) {
    return s.Ccp1En.isTrue();
}

bool Ccp2Written(const ProjectSettings& s) {
    return s.Ccp2En.isTrue();
}

// A CCP branch follows whether the module is used; its enable its interrupt.
constexpr InterruptSource kCcp1Interrupts[] = {
    {.serviced = Ccp1Written,
     .enabled = [](const ProjectSettings& s) { return s.Ccp1Int != 0; },
     .peripheral = true,
     .flag = "CCP1IF",
     .serviceComment = "//CCP1中断服务子程序",
     .enableBit = "CCP1IE",
     .enableComment = "//CCP1中断允许"},
};
constexpr InterruptSource kCcp2Interrupts[] = {
    {.serviced = Ccp2Written,
     .enabled = [](const ProjectSettings& s) { return s.Ccp2Int != 0; },
     .peripheral = true,
     .flag = "CCP2IF",
     .serviceComment = "//CCP2中断服务子程序",
     .enableBit = "CCP2IE",
     .enableComment = "//CCP2中断允许"},
};

// Capture reads the pin; compare and PWM drive it.
void ClaimPins(const ProjectSettings& s, const CcpModuleFields& ccp, PinUse use, std::vector<PinClaim>& out) {
    if (!(s.*ccp.enabled).isTrue()) return;
    const bool capture = (s.*ccp.mode).equals(kCcpCapture);
    out.push_back(
        {use, kPortC, ccp.pin, capture, capture ? PinSignal::DigitalInput : PinSignal::DrivenOutput});
}

constexpr FixedMessage kCcpPortNeeded = {"禁止关闭RC", "CCP1或CCP2模块需使用RC2或RC1口,不可关闭",
                                         "若需关闭RC口,请先关闭CCP1和CCP2模块"};
constexpr PinUseTexts kCcp1PinUses[] = {
    {PinUse::Ccp1, "Ccp1En", "CCP1模块", "关闭CCP1模块",
     FixedMessage{"RC2口已被占用", "CCP1模块已使用RC2口,若要定义为其它用途", "请先将先关闭CCP1模块."},
     kCcpPortNeeded},
};
constexpr PinUseTexts kCcp2PinUses[] = {
    {PinUse::Ccp2, "Ccp2En", "CCP2模块", "关闭CCP2模块",
     FixedMessage{"RC口已被占用", "CCP2模块已使用RC1口,若要定义为其它用途", "请先将先关闭CCP2模块."},
     kCcpPortNeeded},
};

std::string PinText(const ProjectSettings& s, const CcpModuleFields& ccp) {
    const SettingValue& mode = s.*ccp.mode;
    const char* what = mode.equals(kCcpCapture)   ? "捕捉输入"
                       : mode.equals(kCcpCompare) ? "比较输出"
                                                  : " PWM输出";
    return std::string(ccp.name) + what;
}

// The compare and duty values follow Timer1's and Timer2's clocks even where
// those timers are not set up here; a module in use says what it lacks.
void Settle(ProjectSettings& s, const CcpModuleFields& m, std::vector<SettingProblem>& problems) {
    using Kind = SettingProblem::Kind;
    RecalculateCcp(s, m);
    if (!(s.*m.enabled).isTrue()) return;
    using namespace ccp_messages;
    const std::string n = "Ccp" + std::to_string(m.number);
    const auto mode = RoundedClampedIndex(s.*m.mode);
    if (mode == kCcpPwm) {
        if (const auto message = DutyFor(s, (s.*m.dutyUs).toText(), {}).message)
            problems.push_back({Kind::Ccp, n + "DutyUs", message->title, message->text});
        if (!s.T2En.isTrue())
            problems.push_back(
                {Kind::NeedsTimer, "T2En", std::string(kTimer2Title),
                 std::string(m.name) + ": " + std::string(kTimer2Line1) + "\r" + std::string(kUseTimer2)});
        return;
    }
    if (mode == kCcpCompare) {
        if (const auto message = CompareFor(s, (s.*m.compareTimeUs).toText(), {}).message)
            problems.push_back({Kind::Ccp, n + "CmpTimeUs", message->title, message->text});
    }
    if (!s.T1En.isTrue())
        problems.push_back(
            {Kind::NeedsTimer, "T1En", std::string(kTimer1Title),
             std::string(m.name) + ": " + std::string(kTimer1Line1) + "\r" + std::string(kUseTimer1)});
}

// The mode code follows whether the module is used, its mode and sub-mode.
void Rules(const ProjectSettings& s, const CcpModuleFields& m, std::vector<RuleBreach>& out) {
    const int code = (s.*m.enabled).isTrue()
                         ? CcpModeCode(static_cast<int>(RoundedClampedIndex(s.*m.mode)), s.*m.subCode)
                         : 0;
    const std::string n = "Ccp" + std::to_string(m.number);
    RuleFollows(out, m.number == 1 ? "Ccp1M" : "Ccp2M", s.*m.modeCode, std::int16_t(code),
                n + "En、" + n + "Mode和" + n + "SubCode");
}

// Only the function of the module's mode is written: SDCC keeps every
// function, called or not.
void Drivers(const ProjectSettings& s, const CcpModuleFields& m, std::vector<Driver>& out) {
    const std::string n = std::to_string(m.number);
    const std::string r = "CCPR" + n;
    const std::string prefix = "ccp" + n;
    const auto mode = RoundedClampedIndex(s.*m.mode);
    if (mode == kCcpPwm) {
        out.push_back({"void " + prefix + "_set_duty(unsigned int duty)",
                       "//设置PWM占空比(10位,单位为TMR2的1/4个计数);不等待;两部分在周期结束时才一起生效,"
                       "若两次写入之间正好结束一个周期,该周期的占空比会差几个单位",
                       {r + "L = (unsigned char)(duty >> 2);",
                        "CCP" + n + "CON = (unsigned char)((CCP" + n + "CON & 0xCF) | ((duty & 3) << 4));"}});
    } else if (mode == kCcpCompare) {
        out.push_back({"void " + prefix + "_compare(unsigned int value)",
                       "//设置比较值(Timer1的计数);不等待;无返回值",
                       {r + "H = (unsigned char)(value >> 8);", r + "L = (unsigned char)value;"}});
    } else {
        out.push_back({"unsigned int " + prefix + "_capture(void)",
                       "//最近一次捕捉到的Timer1计数(16位);不等待;两次读之间又捕捉时重读",
                       {"unsigned char high;", "unsigned char low;", "do {", "    high = " + r + "H;",
                        "    low = " + r + "L;", "} while (high != " + r + "H);",
                        "return ((unsigned int)high << 8) | low;"}});
    }
}

// Each of the two modules' hooks, for its row.
template <int I>
struct One {
    static constexpr const CcpModuleFields& m = kCcpModules[I];
    static void Build(const ProjectSettings& s, Body& out) { BuildCcp(s, m, out); }
    static void Start(const ProjectSettings& s, Body& out) { StartPwm(s, m, out); }
    static void Claim(const ProjectSettings& s, std::vector<PinClaim>& out) {
        ClaimPins(s, m, I == 0 ? PinUse::Ccp1 : PinUse::Ccp2, out);
    }
    static std::string Text(const ProjectSettings& s, const PinClaim&) { return PinText(s, m); }
    static void SettleOne(ProjectSettings& s, const NumberLocale&, std::vector<SettingProblem>& problems) {
        Settle(s, m, problems);
    }
    static void RulesOne(const ProjectSettings& s, std::vector<RuleBreach>& out) { Rules(s, m, out); }
    static bool DriversAsked(const ProjectSettings& s) {
        return (s.*m.enabled).isTrue() && s.CcpDrivers != 0;
    }
    static void DriversOne(const ProjectSettings& s, std::vector<Driver>& out, std::vector<Global>&) {
        Drivers(s, m, out);
    }
};

}  // namespace

constexpr Module kCcp1Module = {
    .name = "CCP1",
    .setup = SetupId::Ccp,
    .writesSetup = Ccp1Written,
    .build = One<0>::Build,
    .interrupts = kCcp1Interrupts,
    .claimPins = One<0>::Claim,
    .pinUses = kCcp1PinUses,
    .pinText = One<0>::Text,
    .settle = One<0>::SettleOne,
    .rules = One<0>::RulesOne,
    .driversOn = One<0>::DriversAsked,
    .drivers = One<0>::DriversOne,
    // PWM's duty, the largest of the three.
    .driverBudget = {.words = 38, .ram = 5},
    .form = FormId::Ccp,
    .start = One<0>::Start,
};

constexpr Module kCcp2Module = {
    .name = "CCP2",
    .setup = SetupId::Ccp,
    .writesSetup = Ccp2Written,
    .build = One<1>::Build,
    .interrupts = kCcp2Interrupts,
    .claimPins = One<1>::Claim,
    .pinUses = kCcp2PinUses,
    .pinText = One<1>::Text,
    .settle = One<1>::SettleOne,
    .rules = One<1>::RulesOne,
    .driversOn = One<1>::DriversAsked,
    .drivers = One<1>::DriversOne,
    // PWM's duty, the largest of the three.
    .driverBudget = {.words = 38, .ram = 5},
    .form = FormId::Ccp,
    .start = One<1>::Start,
};

}  // namespace korvane
