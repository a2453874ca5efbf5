#include "modules/module_table.h"

#include <algorithm>
#include <array>
#include <cstddef>

#include "generator/sections.h"
#include "settings/ad_converter.h"
#include "settings/mssp.h"

// Every module in the order the generated program sets it up and services its
// interrupts. A new module is one row here: its settings, builder, form and
// help page live in their own files.

namespace korvane {

namespace {

bool Never(const ProjectSettings&) {
    return false;
}

// The interrupt sources, in the order of the module table; within the
// routine they are tested in this order.
constexpr InterruptSource kTimer0Interrupts[] = {
    {.serviced = [](const ProjectSettings& s) { return s.T0Int != 0; },
     .enabled = [](const ProjectSettings& s) { return s.T0Int != 0; },
     .flag = "T0IF",
     .serviceComment = "//Timer0中断服务子程序",
     .enableBit = "T0IE",
     .enableComment = "//Tiemr0中断允许",
     .reload = ReloadTimer0},
};
constexpr InterruptSource kPortBInterrupts[] = {
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
constexpr InterruptSource kTimer1Interrupts[] = {
    {.serviced = [](const ProjectSettings& s) { return s.T1Int != 0; },
     .enabled = [](const ProjectSettings& s) { return s.T1Int != 0; },
     .peripheral = true,
     .flag = "TMR1IF",
     .serviceComment = "//Timer1中断服务子程序",
     .enableBit = "TMR1IE",
     .enableComment = "//Tiemr1中断允许",
     .reload = ReloadTimer1},
};
constexpr InterruptSource kTimer2Interrupts[] = {
    {.serviced = [](const ProjectSettings& s) { return s.T2Int != 0; },
     .enabled = [](const ProjectSettings& s) { return s.T2Int != 0; },
     .peripheral = true,
     .flag = "TMR2IF",
     .serviceComment = "//Timer2中断服务子程序",
     .enableBit = "TMR2IE",
     .enableComment = "//Tiemr2中断允许"},
};
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
constexpr InterruptSource kSciInterrupts[] = {
    {.serviced = [](const ProjectSettings& s) { return s.SciTxInt.equals(1); },
     .enabled = [](const ProjectSettings& s) { return s.SciTxInt.equals(1); },
     .peripheral = true,
     .flag = "TXIF",
     .serviceComment = "//SCI串行口发送中断服务子程序",
     .enableBit = "TXIE",
     .enableComment = "//SCI串行口发送中断允许",
     .service = Service::SendData,
     .dataRegister = "TXREG",
     .dataVariable = "sci_tx"},
    {.serviced = [](const ProjectSettings& s) { return s.SciRxInt == 1; },
     .enabled = [](const ProjectSettings& s) { return s.SciRxInt == 1; },
     .peripheral = true,
     .flag = "RCIF",
     .serviceComment = "//SCI串行口接收中断服务子程序",
     .enableBit = "RCIE",
     .enableComment = "//SCI串行口接收中断允许",
     .service = Service::ReadData,
     .dataRegister = "RCREG",
     .dataVariable = "sci_rx"},
};
constexpr InterruptSource kMsspInterrupts[] = {
    {.serviced = SspInterrupt,
     .enabled = SspInterrupt,
     .peripheral = true,
     .flag = "SSPIF",
     .serviceComment = "//MSSP中断服务子程序",
     .enableBit = "SSPIE",
     .enableComment = "//MSSP中断允许"},
    {.serviced = BusCollisionInterrupt,
     .enabled = BusCollisionInterrupt,
     .peripheral = true,
     .flag = "BCLIF",
     .serviceComment = "//I2C总线冲突中断服务子程序",
     .enableBit = "BCLIE",
     .enableComment = "//I2C总线冲突中断允许",
     .userAction = "//总线冲突后MSSP已回到空闲状态,被打断的传送须由用户代码从起始条件重新开始"},
};
constexpr InterruptSource kAdInterrupts[] = {
    {.serviced = AdInterrupt,
     .enabled = AdInterrupt,
     .peripheral = true,
     .flag = "ADIF",
     .serviceComment = "//A/D转换中断服务子程序",
     .enableBit = "ADIE",
     .enableComment = "//A/D转换中断允许",
     .service = Service::ReadResult,
     .dataRegister = "ADRES",
     .dataVariable = "ad"},
};

constexpr SetupFunction kSetupFunctions[] = {
    {SetupId::Ports, "set_port", "//端口I/O定义子程序"},
    {SetupId::Timers, "fun_timerset", "//定时器初始化设置子程序"},
    {SetupId::Ccp, "fun_ccpset", "//CCP初始化设置子程序"},
    {SetupId::Sci, "fun_sciset", "//SCI串行口初始化设置子程序"},
    {SetupId::Mssp, "fun_msspset", "//MSSP初始化设置子程序"},
    {SetupId::Ad, "fun_adset", "//A/D转换模块初始化设置子程序"},
    {SetupId::Start, "fun_timerstart", "//启动定时器子程序:所有模块设置好以后才启动定时器和PWM输出"},
};

constexpr std::array<Module, kModuleCount> kModules = {{
    {.id = ModuleId::Ports,
     .name = "Ports",
     .setup = SetupId::Ports,
     .writesSetup = AnyPortUsed,
     .build = BuildPorts,
     .form = FormId::Port},
    {.id = ModuleId::Timer0,
     .name = "Timer0",
     .setup = SetupId::Timers,
     .writesSetup = Timer0Written,
     .build = BuildTimer0,
     .interrupts = kTimer0Interrupts,
     .claimPins = claims::Timer0,
     .settle = settle::Timer0,
     .form = FormId::Timer0},
    {.id = ModuleId::PortB,
     .name = "PortB",
     .setup = SetupId::Timers,
     .writesSetup = PortBOptionsWritten,
     .build = BuildPortBOptions,
     .interrupts = kPortBInterrupts,
     .claimPins = claims::PortB,
     .form = FormId::PortB},
    {.id = ModuleId::Timer1,
     .name = "Timer1",
     .setup = SetupId::Timers,
     .writesSetup = Timer1Written,
     .build = BuildTimer1,
     .interrupts = kTimer1Interrupts,
     .claimPins = claims::Timer1,
     .settle = settle::Timer1,
     .form = FormId::Timer1,
     .start = StartTimer1},
    {.id = ModuleId::Timer2,
     .name = "Timer2",
     .setup = SetupId::Timers,
     .writesSetup = Timer2Written,
     .build = BuildTimer2,
     .interrupts = kTimer2Interrupts,
     .settle = settle::Timer2,
     .form = FormId::Timer2,
     .start = StartTimer2},
    {.id = ModuleId::Ccp1,
     .name = "CCP1",
     .setup = SetupId::Ccp,
     .writesSetup = Ccp1Written,
     .build = BuildCcp1,
     .interrupts = kCcp1Interrupts,
     .claimPins = claims::Ccp1,
     .settle = settle::Ccp1,
     .form = FormId::Ccp,
     .start = StartCcp1},
    {.id = ModuleId::Ccp2,
     .name = "CCP2",
     .setup = SetupId::Ccp,
     .writesSetup = Ccp2Written,
     .build = BuildCcp2,
     .interrupts = kCcp2Interrupts,
     .claimPins = claims::Ccp2,
     .settle = settle::Ccp2,
     .form = FormId::Ccp,
     .start = StartCcp2},
    {.id = ModuleId::Sci,
     .name = "SCI",
     .setup = SetupId::Sci,
     .writesSetup = SciUsed,
     .build = BuildSci,
     .interrupts = kSciInterrupts,
     .claimPins = claims::Sci,
     .settle = settle::Sci,
     .form = FormId::Sci},
    {.id = ModuleId::Mssp,
     .name = "MSSP",
     .setup = SetupId::Mssp,
     .writesSetup = MsspUsed,
     .build = BuildMssp,
     .interrupts = kMsspInterrupts,
     .claimPins = claims::Mssp,
     .settle = settle::Mssp,
     .form = FormId::Mssp},
    {.id = ModuleId::Ad,
     .name = "A/D",
     .setup = SetupId::Ad,
     .writesSetup = AdUsed,
     .build = BuildAd,
     .interrupts = kAdInterrupts,
     .claimPins = claims::Ad,
     .settle = settle::Ad,
     .form = FormId::Ad},
    {.id = ModuleId::ConfigWord,
     .name = "ConfigWord",
     .writesSetup = Never,
     .settle = settle::ConfigWord,
     .form = FormId::ConfigWord},
}};

constexpr bool InModuleIdOrder() {
    for (std::size_t i = 0; i < kModules.size(); ++i)
        if (static_cast<std::size_t>(kModules[i].id) != i) return false;
    return true;
}
static_assert(InModuleIdOrder(), "the table is in the order of ModuleId");

// The first claim on a pin holds it: the modules whose pins are fixed by the
// chip claim before those the user places.
constexpr ModuleId kClaimOrder[] = {ModuleId::Timer0, ModuleId::Ccp1,   ModuleId::Ccp2,      ModuleId::Timer1,
                                    ModuleId::Sci,    ModuleId::Mssp,   ModuleId::PortB,     ModuleId::Ad,
                                    ModuleId::Ports,  ModuleId::Timer2, ModuleId::ConfigWord};
// The timers settle first: the modules they clock follow them.
constexpr ModuleId kSettleOrder[] = {
    ModuleId::Timer0, ModuleId::Timer1,     ModuleId::Timer2, ModuleId::Sci,   ModuleId::Ccp1, ModuleId::Ccp2,
    ModuleId::Mssp,   ModuleId::ConfigWord, ModuleId::Ad,     ModuleId::Ports, ModuleId::PortB};

// Every module once in each order, so a module added to the table and
// forgotten in an order fails the build.
template <std::size_t N>
constexpr bool EveryModuleOnce(const ModuleId (&order)[N]) {
    std::array<int, kModuleCount> seen{};
    for (const ModuleId id : order) ++seen[static_cast<std::size_t>(id)];
    return N == kModuleCount && std::ranges::all_of(seen, [](int n) { return n == 1; });
}
static_assert(EveryModuleOnce(kClaimOrder), "every module has its place in the claim order");
static_assert(EveryModuleOnce(kSettleOrder), "every module has its place in the settle order");

template <std::size_t N>
constexpr std::array<const Module*, N> InOrder(const ModuleId (&order)[N]) {
    std::array<const Module*, N> modules{};
    for (std::size_t i = 0; i < N; ++i) modules[i] = &kModules[static_cast<std::size_t>(order[i])];
    return modules;
}
constexpr std::array kClaimModules = InOrder(kClaimOrder);
constexpr std::array kSettleModules = InOrder(kSettleOrder);

constexpr bool EverySetupHasModule() {
    for (const SetupFunction& function : kSetupFunctions)
        if (function.id != SetupId::Start &&
            std::ranges::none_of(kModules, [&](const Module& m) { return m.setup == function.id; }))
            return false;
    return true;
}
static_assert(EverySetupHasModule(), "every set-up function has a module");

}  // namespace

std::span<const Module> Modules() {
    return kModules;
}

std::span<const SetupFunction> SetupFunctions() {
    return kSetupFunctions;
}

std::span<const Module* const> ModulesInClaimOrder() {
    return kClaimModules;
}

std::span<const Module* const> ModulesInSettleOrder() {
    return kSettleModules;
}

bool AnyInterrupt(const ProjectSettings& s) {
    for (const Module& module : kModules)
        for (const InterruptSource& source : module.interrupts)
            if (source.enabled(s)) return true;
    return false;
}

}  // namespace korvane
