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
// clang-format off
constexpr InterruptSource kTimer0Interrupts[] = {
    {[](const ProjectSettings& s) { return s.T0Int != 0; }, [](const ProjectSettings& s) { return s.T0Int != 0; },
     false, "T0IF", "//Timer0中断服务子程序", "T0IE", "//Tiemr0中断允许", nullptr, nullptr, nullptr, nullptr, nullptr,
     Service::ClearFlag, nullptr, nullptr, ReloadTimer0},
};
constexpr InterruptSource kPortBInterrupts[] = {
    {[](const ProjectSettings& s) { return s.Rb0Int != 0; }, [](const ProjectSettings& s) { return s.Rb0Int != 0; },
     false, "INTF", "//RB0/INT中断服务子程序", "INTE", "//RB0/INT中断允许", nullptr, nullptr, nullptr, nullptr, nullptr},
    // RBIF is set again at once while RB4..RB7 differ from what PORTB last
    // read. The value is stored: a read whose value is dropped some
    // compilers leave out, volatile or not.
    {[](const ProjectSettings& s) { return s.RbChangeInt != 0; }, [](const ProjectSettings& s) { return s.RbChangeInt != 0; },
     false, "RBIF", "//RB口电平变化中断服务子程序", "RBIE", "//RB口电平变化中断允许",
     "portb_state", "PORTB", "//先读PORTB结束电平失配,否则RBIF清零后又被置位,中断反复进入",
     "volatile unsigned char portb_state;", "//RB口电平变化中断时读到的PORTB值"},
};
constexpr InterruptSource kTimer1Interrupts[] = {
    {[](const ProjectSettings& s) { return s.T1Int != 0; }, [](const ProjectSettings& s) { return s.T1Int != 0; },
     true, "TMR1IF", "//Timer1中断服务子程序", "TMR1IE", "//Tiemr1中断允许", nullptr, nullptr, nullptr, nullptr, nullptr,
     Service::ClearFlag, nullptr, nullptr, ReloadTimer1},
};
constexpr InterruptSource kTimer2Interrupts[] = {
    {[](const ProjectSettings& s) { return s.T2Int != 0; }, [](const ProjectSettings& s) { return s.T2Int != 0; },
     true, "TMR2IF", "//Timer2中断服务子程序", "TMR2IE", "//Tiemr2中断允许", nullptr, nullptr, nullptr, nullptr, nullptr},
};
// A CCP branch follows whether the module is used; its enable its interrupt.
constexpr InterruptSource kCcp1Interrupts[] = {
    {Ccp1Written, [](const ProjectSettings& s) { return s.Ccp1Int != 0; },
     true, "CCP1IF", "//CCP1中断服务子程序", "CCP1IE", "//CCP1中断允许", nullptr, nullptr, nullptr, nullptr, nullptr},
};
constexpr InterruptSource kCcp2Interrupts[] = {
    {Ccp2Written, [](const ProjectSettings& s) { return s.Ccp2Int != 0; },
     true, "CCP2IF", "//CCP2中断服务子程序", "CCP2IE", "//CCP2中断允许", nullptr, nullptr, nullptr, nullptr, nullptr},
};
constexpr InterruptSource kSciInterrupts[] = {
    {[](const ProjectSettings& s) { return s.SciTxInt.equals(1); }, [](const ProjectSettings& s) { return s.SciTxInt.equals(1); },
     true, "TXIF", "//SCI串行口发送中断服务子程序", "TXIE", "//SCI串行口发送中断允许", nullptr, nullptr, nullptr, nullptr, nullptr,
     Service::SendData, "TXREG", "sci_tx", nullptr},
    {[](const ProjectSettings& s) { return s.SciRxInt == 1; }, [](const ProjectSettings& s) { return s.SciRxInt == 1; },
     true, "RCIF", "//SCI串行口接收中断服务子程序", "RCIE", "//SCI串行口接收中断允许", nullptr, nullptr, nullptr, nullptr, nullptr,
     Service::ReadData, "RCREG", "sci_rx", nullptr},
};
constexpr InterruptSource kMsspInterrupts[] = {
    {SspInterrupt, SspInterrupt,
     true, "SSPIF", "//MSSP中断服务子程序", "SSPIE", "//MSSP中断允许", nullptr, nullptr, nullptr, nullptr, nullptr},
    {BusCollisionInterrupt, BusCollisionInterrupt,
     true, "BCLIF", "//I2C总线冲突中断服务子程序", "BCLIE", "//I2C总线冲突中断允许", nullptr, nullptr, nullptr, nullptr, nullptr,
     Service::ClearFlag, nullptr, nullptr, nullptr, "//总线冲突后MSSP已回到空闲状态,被打断的传送须由用户代码从起始条件重新开始"},
};
constexpr InterruptSource kAdInterrupts[] = {
    {AdInterrupt, AdInterrupt,
     true, "ADIF", "//A/D转换中断服务子程序", "ADIE", "//A/D转换中断允许", nullptr, nullptr, nullptr, nullptr, nullptr,
     Service::ReadResult, "ADRES", "ad", nullptr},
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

// id, name, set-up function, writes it, builder, interrupts,
// pins, claim rank, settle, settle rank, dialog, start.
constexpr std::array<Module, kModuleCount> kModules = {{
    {ModuleId::Ports, "Ports", SetupId::Ports, AnyPortUsed, BuildPorts, {},
     nullptr, 8, nullptr, 9, FormId::Port},
    {ModuleId::Timer0, "Timer0", SetupId::Timers, Timer0Written, BuildTimer0, kTimer0Interrupts,
     claims::Timer0, 0, settle::Timer0, 0, FormId::Timer0},
    {ModuleId::PortB, "PortB", SetupId::Timers, PortBOptionsWritten, BuildPortBOptions, kPortBInterrupts,
     claims::PortB, 6, nullptr, 10, FormId::PortB},
    {ModuleId::Timer1, "Timer1", SetupId::Timers, Timer1Written, BuildTimer1, kTimer1Interrupts,
     claims::Timer1, 3, settle::Timer1, 1, FormId::Timer1, StartTimer1},
    {ModuleId::Timer2, "Timer2", SetupId::Timers, Timer2Written, BuildTimer2, kTimer2Interrupts,
     nullptr, 9, settle::Timer2, 2, FormId::Timer2, StartTimer2},
    {ModuleId::Ccp1, "CCP1", SetupId::Ccp, Ccp1Written, BuildCcp1, kCcp1Interrupts,
     claims::Ccp1, 1, settle::Ccp1, 4, FormId::Ccp, StartCcp1},
    {ModuleId::Ccp2, "CCP2", SetupId::Ccp, Ccp2Written, BuildCcp2, kCcp2Interrupts,
     claims::Ccp2, 2, settle::Ccp2, 5, FormId::Ccp, StartCcp2},
    {ModuleId::Sci, "SCI", SetupId::Sci, SciUsed, BuildSci, kSciInterrupts,
     claims::Sci, 4, settle::Sci, 3, FormId::Sci},
    {ModuleId::Mssp, "MSSP", SetupId::Mssp, MsspUsed, BuildMssp, kMsspInterrupts,
     claims::Mssp, 5, settle::Mssp, 6, FormId::Mssp},
    {ModuleId::Ad, "A/D", SetupId::Ad, AdUsed, BuildAd, kAdInterrupts,
     claims::Ad, 7, settle::Ad, 8, FormId::Ad},
    {ModuleId::ConfigWord, "ConfigWord", std::nullopt, Never, nullptr, {},
     nullptr, 10, settle::ConfigWord, 7, FormId::ConfigWord},
}};
// clang-format on

constexpr bool InModuleIdOrder() {
    for (std::size_t i = 0; i < kModules.size(); ++i)
        if (static_cast<std::size_t>(kModules[i].id) != i) return false;
    return true;
}
static_assert(InModuleIdOrder(), "the table is in the order of ModuleId");

// Each rank once: the ranks put every module somewhere in that order.
template <typename Rank>
constexpr std::array<const Module*, kModuleCount> InOrderOf(Rank rank) {
    std::array<const Module*, kModuleCount> order{};
    for (const Module& module : kModules) order[static_cast<std::size_t>(module.*rank)] = &module;
    return order;
}
template <typename Rank>
constexpr bool RanksArePermutation(Rank rank) {
    std::array<bool, kModuleCount> seen{};
    for (const Module& module : kModules) {
        const int r = module.*rank;
        if (r < 0 || r >= kModuleCount || seen[static_cast<std::size_t>(r)]) return false;
        seen[static_cast<std::size_t>(r)] = true;
    }
    return true;
}
static_assert(RanksArePermutation(&Module::claimRank), "every module has its own claim rank");
static_assert(RanksArePermutation(&Module::settleRank), "every module has its own settle rank");

constexpr std::array kClaimOrder = InOrderOf(&Module::claimRank);
constexpr std::array kSettleOrder = InOrderOf(&Module::settleRank);

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
    return kClaimOrder;
}

std::span<const Module* const> ModulesInSettleOrder() {
    return kSettleOrder;
}

bool AnyInterrupt(const ProjectSettings& s) {
    for (const Module& module : kModules)
        for (const InterruptSource& source : module.interrupts)
            if (source.enabled(s)) return true;
    return false;
}

}  // namespace korvane
