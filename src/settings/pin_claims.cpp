#include "settings/pin_claims.h"

#include <initializer_list>
#include <iterator>

#include "modules/module_table.h"
#include "settings/ad_converter.h"
#include "settings/ccp_modules.h"
#include "settings/chip_facts.h"
#include "settings/mssp.h"

namespace korvane {

namespace {

struct FixedMessage {
    const char* title;
    const char* line1;
    const char* line2;
};

// Per use: the setting that makes it, who holds the pins and what frees
// them, for the messages. The older uses keep the warnings the Port dialog
// has always shown; the others get theirs built in the same style.
struct UseTexts {
    PinUse use;
    const char* setting;
    const char* user;
    const char* release;
    std::optional<FixedMessage> pinTaken;
    std::optional<FixedMessage> portNeeded;
};

constexpr FixedMessage kCcpPortNeeded = {"禁止关闭RC", "CCP1或CCP2模块需使用RC2或RC1口,不可关闭",
                                         "若需关闭RC口,请先关闭CCP1和CCP2模块"};

constexpr UseTexts kUses[] = {
    {PinUse::Timer0Clock, "T0ClockMode", "定时器0外部时钟", "将定时器0设置为使用内部时钟",
     FixedMessage{"RA4口已被占用", "定时器0选择了外部时钟输入,RA4必须定义为输入.",
                  "若要定义为输出,请先将定时器0设置为使用内部时钟."},
     FixedMessage{"禁止关闭RA", "定时器0需使用RA4口,不可关闭", "若需关闭RA口,请先设定定时器0不为计数模式"}},
    {PinUse::Ccp1, "Ccp1En", "CCP1模块", "关闭CCP1模块",
     FixedMessage{"RC2口已被占用", "CCP1模块已使用RC2口,若要定义为其它用途", "请先将先关闭CCP1模块."},
     kCcpPortNeeded},
    {PinUse::Ccp2, "Ccp2En", "CCP2模块", "关闭CCP2模块",
     FixedMessage{"RC口已被占用", "CCP2模块已使用RC1口,若要定义为其它用途", "请先将先关闭CCP2模块."},
     kCcpPortNeeded},
    {PinUse::Timer1Clock, "T1ClockMode", "Timer1计数器", "将Timer1设置为定时方式", std::nullopt,
     std::nullopt},
    {PinUse::Timer1Oscillator, "T1OscEn", "Timer1振荡器", "将Timer1设置为不使用内部振荡器", std::nullopt,
     std::nullopt},
    {PinUse::Sci, "SciEn", "SCI串行口", "关闭SCI串行口", std::nullopt, std::nullopt},
    {PinUse::Mssp, "MsspEn", "MSSP模块", "关闭MSSP模块", std::nullopt, std::nullopt},
    {PinUse::Rb0Int, "Rb0Int", "RB0/INT中断", "关闭RB0/INT中断", std::nullopt, std::nullopt},
    {PinUse::RbChange, "RbChangeInt", "RB口电平变化中断", "关闭RB口电平变化中断", std::nullopt, std::nullopt},
    {PinUse::Analog, "AdEn", "A/D转换模块", "在A/D转换模块中将其设为数字I/O", std::nullopt, std::nullopt},
};

constexpr bool InPinUseOrder() {
    for (std::size_t i = 0; i < std::size(kUses); ++i)
        if (static_cast<std::size_t>(kUses[i].use) != i) return false;
    return std::size(kUses) == kPinUseCount;
}
static_assert(InPinUseOrder(), "every pin use has its texts, in the order of PinUse");

const UseTexts& TextsOf(PinUse use) {
    return kUses[static_cast<std::size_t>(use)];
}

// Timer1's two uses share its pins by design.
bool SameModule(PinUse a, PinUse b) {
    const auto timer1 = [](PinUse use) {
        return use == PinUse::Timer1Clock || use == PinUse::Timer1Oscillator;
    };
    return a == b || (timer1(a) && timer1(b));
}

constexpr const char kPortLetters[] = "ABCDE";

std::string PinName(int port, int pin) {
    return std::string("R") + kPortLetters[port] + std::to_string(pin);
}

std::string Join(std::initializer_list<std::string> lines) {
    std::string text;
    for (const std::string& line : lines) text += (text.empty() ? "" : "\r") + line;
    return text;
}

PinMessage FromFixed(const FixedMessage& message) {
    return {message.title, Join({message.line1, message.line2})};
}

PinDirections& DirectionsOf(ProjectSettings& s, int port) {
    static constexpr PinDirections ProjectSettings::*kDirections[] = {
        &ProjectSettings::PortADir, &ProjectSettings::PortBDir, &ProjectSettings::PortCDir,
        &ProjectSettings::PortDDir, &ProjectSettings::PortEDir};
    return s.*kDirections[port];
}

std::int16_t& UsedOf(ProjectSettings& s, int port) {
    static constexpr std::int16_t ProjectSettings::*kUsed[] = {
        &ProjectSettings::PortAUsed, &ProjectSettings::PortBUsed, &ProjectSettings::PortCUsed,
        &ProjectSettings::PortDUsed, &ProjectSettings::PortEUsed};
    return s.*kUsed[port];
}

}  // namespace

namespace claims {

namespace {
// T1OSO/T1CKI and T1OSI; the USART's TX and RX.
constexpr int kTimer1ClockPin = 0, kTimer1OscillatorPin = 1;
constexpr int kTxPin = 6, kRxPin = 7;

void Ccp(const ProjectSettings& s, const CcpModuleFields& ccp, PinUse use, std::vector<PinClaim>& out) {
    constexpr int kCaptureMode = 0;
    if (!(s.*ccp.enabled).isTrue()) return;
    // Capture reads the pin; compare and PWM drive it.
    out.push_back({use, kPortC, ccp.pin, (s.*ccp.mode).equals(kCaptureMode)});
}
}  // namespace

// Timer0 holds RA4 whenever it is clocked from outside, even while off.
void Timer0(const ProjectSettings& s, std::vector<PinClaim>& out) {
    if (!s.T0ClockMode.equals(0)) out.push_back({PinUse::Timer0Clock, kPortA, kTimer0ClockPin, true});
}

void Ccp1(const ProjectSettings& s, std::vector<PinClaim>& out) {
    Ccp(s, kCcpModules[0], PinUse::Ccp1, out);
}

void Ccp2(const ProjectSettings& s, std::vector<PinClaim>& out) {
    Ccp(s, kCcpModules[1], PinUse::Ccp2, out);
}

void Timer1(const ProjectSettings& s, std::vector<PinClaim>& out) {
    constexpr int kCounterMode = 1;
    if (!s.T1En.isTrue()) return;
    if (s.T1ClockMode.equals(kCounterMode))
        out.push_back({PinUse::Timer1Clock, kPortC, kTimer1ClockPin, true});
    if (s.T1OscEn != 0) {
        out.push_back({PinUse::Timer1Oscillator, kPortC, kTimer1ClockPin, true});
        out.push_back({PinUse::Timer1Oscillator, kPortC, kTimer1OscillatorPin, true});
    }
}

// The USART drives TX itself, but only with both TRIS bits set.
void Sci(const ProjectSettings& s, std::vector<PinClaim>& out) {
    if (!s.SciEn.equals(1)) return;
    out.push_back({PinUse::Sci, kPortC, kTxPin, true});
    out.push_back({PinUse::Sci, kPortC, kRxPin, true});
}

// I2C: the module drives SCL and SDA itself, with both TRIS bits set.
// SPI: the master drives SCK, a slave reads it; SDO is always driven.
void Mssp(const ProjectSettings& s, std::vector<PinClaim>& out) {
    if (!MsspUsed(s)) return;
    const std::int16_t mode = MsspModeOf(s);
    const bool master = mode == kMsspSpiMaster;
    const bool i2c = mode == kMsspI2cMaster;
    out.push_back({PinUse::Mssp, kPortC, kSckPin, !master});
    out.push_back({PinUse::Mssp, kPortC, kSdiPin, true});
    if (!i2c) out.push_back({PinUse::Mssp, kPortC, kSdoPin, false});
    if (mode == kMsspSpiSlave && s.MsspSlaveSelect == 1) out.push_back({PinUse::Mssp, kPortA, kSsPin, true});
}

// Both interrupts watch their pins, which only inputs can do; an output
// among RB4..RB7 is left out of the change comparison.
void PortB(const ProjectSettings& s, std::vector<PinClaim>& out) {
    if (s.Rb0Int != 0) out.push_back({PinUse::Rb0Int, kPortB, kRb0IntPin, true});
    if (s.RbChangeInt != 0)
        for (int pin = kFirstRbChangePin; pin <= kLastRbChangePin; ++pin)
            out.push_back({PinUse::RbChange, kPortB, pin, true});
}

// An analog input, or a reference input, reads only with its TRIS bit set.
void Ad(const ProjectSettings& s, std::vector<PinClaim>& out) {
    if (!AdUsed(s)) return;
    for (int channel : AnalogPinChannels(s)) {
        const AdPin pin = AdChannelPin(channel);
        out.push_back({PinUse::Analog, pin.port, pin.pin, true});
    }
}

}  // namespace claims

std::vector<PinClaim> PinClaims(const ProjectSettings& s) {
    std::vector<PinClaim> claims;
    for (const Module* module : ModulesInClaimOrder())
        if (module->claimPins) module->claimPins(s, claims);
    return claims;
}

std::optional<PinClaim> ClaimOn(const ProjectSettings& s, int port, int pin) {
    for (const PinClaim& claim : PinClaims(s))
        if (claim.port == port && claim.pin == pin) return claim;
    return std::nullopt;
}

std::optional<PinClaim> ClaimOnPort(const ProjectSettings& s, int port) {
    for (const PinClaim& claim : PinClaims(s))
        if (claim.port == port) return claim;
    return std::nullopt;
}

void ApplyPinClaims(ProjectSettings& s) {
    for (const PinClaim& claim : PinClaims(s)) {
        DirectionsOf(s, claim.port)[static_cast<std::size_t>(claim.pin)] = claim.input ? 1 : 0;
        UsedOf(s, claim.port) = 1;
    }
}

std::optional<PinConflict> ConflictOf(const ProjectSettings& s, PinUse taker) {
    const std::vector<PinClaim> claims = PinClaims(s);
    for (const PinClaim& mine : claims) {
        if (mine.use != taker) continue;
        for (const PinClaim& other : claims)
            if (!SameModule(other.use, taker) && other.port == mine.port && other.pin == mine.pin)
                return PinConflict{other, mine};
    }
    return std::nullopt;
}

std::optional<PinConflict> FirstConflict(const ProjectSettings& s) {
    const std::vector<PinConflict> conflicts = PinConflicts(s);
    if (conflicts.empty()) return std::nullopt;
    return conflicts.front();
}

std::vector<PinConflict> PinConflicts(const ProjectSettings& s) {
    const std::vector<PinClaim> claims = PinClaims(s);
    std::vector<PinConflict> conflicts;
    for (std::size_t i = 0; i < claims.size(); ++i)
        for (std::size_t j = i + 1; j < claims.size(); ++j)
            if (!SameModule(claims[i].use, claims[j].use) && claims[i].port == claims[j].port &&
                claims[i].pin == claims[j].pin)
                conflicts.push_back({claims[i], claims[j]});
    return conflicts;
}

const char* ClaimingSetting(PinUse use) {
    return TextsOf(use).setting;
}

PinMessage PinTakenMessage(const PinClaim& claim) {
    const UseTexts& texts = TextsOf(claim.use);
    if (texts.pinTaken) return FromFixed(*texts.pinTaken);
    const std::string pin = PinName(claim.port, claim.pin);
    const char* kept = claim.input ? "输入" : "输出";
    const char* wanted = claim.input ? "输出" : "输入";
    return {pin + "口已被占用",
            Join({std::string(texts.user) + "已使用" + pin + "口," + pin + "必须定义为" + kept + ".",
                  std::string("若要定义为") + wanted + ",请先" + texts.release + "."})};
}

PinMessage PortNeededMessage(const ProjectSettings& s, const PinClaim& claim) {
    const UseTexts& texts = TextsOf(claim.use);
    if (texts.portNeeded) return FromFixed(*texts.portNeeded);
    std::string pins;
    for (const PinClaim& other : PinClaims(s))
        if (other.use == claim.use && other.port == claim.port)
            pins += (pins.empty() ? "" : "、") + PinName(other.port, other.pin);
    const std::string port = std::string("R") + kPortLetters[claim.port];
    return {"禁止关闭" + port, Join({std::string(texts.user) + "需使用" + pins + "口,不可关闭",
                                     "若需关闭" + port + "口,请先" + texts.release})};
}

PinMessage ConflictMessage(const PinConflict& conflict) {
    const UseTexts& holder = TextsOf(conflict.holder.use);
    const UseTexts& taker = TextsOf(conflict.taker.use);
    const std::string pin = PinName(conflict.taker.port, conflict.taker.pin);
    return {pin + "口已被占用",
            Join({std::string(holder.user) + "已使用" + pin + "口," + taker.user + "不能同时使用.",
                  std::string("若要使用") + taker.user + ",请先" + holder.release + "."})};
}

}  // namespace korvane
