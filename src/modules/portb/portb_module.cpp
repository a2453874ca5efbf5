#include "modules/portb/portb_module.h"

#include "settings/chip_facts.h"

namespace korvane {

namespace {

// INTEDG and RBPU sit in OPTION_REG beside Timer0's bits, so fun_timerset
// writes them and exists for them too.
bool PortBOptionsWritten(const ProjectSettings& s) {
    return s.Rb0Int != 0 || s.RbPullUp == 1;
}

// Only the two bits, so that Timer0's bits of OPTION_REG keep their values.
void BuildPortBOptions(const ProjectSettings& s, Body& out) {
    out.Blank();
    out.Comment({"//RB口功能设置"});
    if (s.Rb0Int != 0) {
        const bool rising = s.Rb0Edge == 1;
        out.Comment({"//RB0/INT中断,", rising ? "上升沿触发" : "下降沿触发"});
        out.SetBit("INTEDG", rising ? 1 : 0);
    }
    // RBPU is active low: 0 switches the pull-ups on.
    if (s.RbPullUp == 1) out.SetBit("RBPU", 0, "//打开RB口弱上拉");
}

constexpr InterruptSource kInterrupts[] = {
    {.serviced = [](const ProjectSettings& s) { return s.Rb0Int != 0; },
     .enabled = [](const ProjectSettings& s) { return s.Rb0Int != 0; },
     .flag = "INTF",
     .serviceComment = "//RB0/INT中断服务子程序",
     .enableBit = "INTE",
     .enableComment = "//RB0/INT中断允许"},
    // RBIF is set again at once while RB4..RB7 differ from what PORTB last
    // read. The value is stored: a read whose value is dropped some
    // compilers leave out, volatile or not.
    {.serviced = [](const ProjectSettings& s) { return s.RbChangeInt != 0; },
     .enabled = [](const ProjectSettings& s) { return s.RbChangeInt != 0; },
     .flag = "RBIF",
     .serviceComment = "//RB口电平变化中断服务子程序",
     .enableBit = "RBIE",
     .enableComment = "//RB口电平变化中断允许",
     .variable = "portb_state",
     .source = "PORTB",
     .readComment = "//先读PORTB结束电平失配,否则RBIF清零后又被置位,中断反复进入",
     .declaration = "volatile unsigned char portb_state;",
     .declarationComment = "//RB口电平变化中断时读到的PORTB值"},
};

// Both interrupts watch their pins, which only inputs can do; an output
// among RB4..RB7 is left out of the change comparison.
void ClaimPins(const ProjectSettings& s, std::vector<PinClaim>& out) {
    if (s.Rb0Int != 0) out.push_back({PinUse::Rb0Int, kPortB, kRb0IntPin, true, PinSignal::DigitalInput});
    if (s.RbChangeInt != 0)
        for (int pin = kFirstRbChangePin; pin <= kLastRbChangePin; ++pin)
            out.push_back({PinUse::RbChange, kPortB, pin, true, PinSignal::DigitalInput});
}

constexpr PinUseTexts kPinUses[] = {
    {PinUse::Rb0Int, "Rb0Int", "RB0/INT中断", "关闭RB0/INT中断"},
    {PinUse::RbChange, "RbChangeInt", "RB口电平变化中断", "关闭RB口电平变化中断"},
};

std::string PinText(const ProjectSettings&, const PinClaim& claim) {
    return claim.use == PinUse::Rb0Int ? "RB0/INT外部中断" : "RB口电平变化中断";
}

}  // namespace

constexpr Module kPortBModule = {
    .name = "PortB",
    .setup = SetupId::Timers,
    .writesSetup = PortBOptionsWritten,
    .build = BuildPortBOptions,
    .interrupts = kInterrupts,
    .claimPins = ClaimPins,
    .pinUses = kPinUses,
    .pinText = PinText,
    .form = FormId::PortB,
};

}  // namespace korvane
