#include "chip/module_list.h"

#include <stdexcept>

#include "generator/sections.h"
#include "modules/ad/ad_module.h"
#include "modules/ccp/ccp_module.h"
#include "modules/comparator/comparator_module.h"
#include "modules/config_word/config_word_module.h"
#include "modules/eeprom/eeprom_module.h"
#include "modules/mssp/mssp_module.h"
#include "modules/portb/portb_module.h"
#include "modules/ports/ports_module.h"
#include "modules/sci/sci_module.h"
#include "modules/timer0/timer0_module.h"
#include "modules/timer1/timer1_module.h"
#include "modules/timer2/timer2_module.h"

// The list of modules. A new module is its folder and its place in each of
// the three lists below; the module list's test fails on one missing from a list.

namespace korvane {

namespace {

constexpr SetupFunction kSetupFunctions[] = {
    {SetupId::Ports, "set_port", "//端口I/O定义子程序"},
    {SetupId::Timers, "fun_timerset", "//定时器初始化设置子程序"},
    {SetupId::Ccp, "fun_ccpset", "//CCP初始化设置子程序"},
    {SetupId::Sci, "fun_sciset", "//SCI串行口初始化设置子程序"},
    {SetupId::Mssp, "fun_msspset", "//MSSP初始化设置子程序"},
    {SetupId::Ad, "fun_adset", "//A/D转换模块初始化设置子程序"},
    {SetupId::Comparator, "fun_cmpset", "//比较器初始化设置子程序"},
    {SetupId::Start, "fun_timerstart", "//启动定时器子程序:所有模块设置好以后才启动定时器和PWM输出"},
};

// In the order the generated program sets the modules up and services their
// interrupts.
constexpr const Module* kModules[] = {
    &kPortsModule, &kTimer0Module,     &kPortBModule,  &kTimer1Module, &kTimer2Module,
    &kCcp1Module,  &kCcp2Module,       &kSciModule,    &kMsspModule,   &kConfigWordModule,
    &kAdModule,    &kComparatorModule, &kEepromModule,
};

// The first claim on a pin holds it: the modules whose pins are fixed by the
// chip claim before those the user places.
constexpr const Module* kClaimOrder[] = {
    &kTimer0Module, &kCcp1Module,       &kCcp2Module,   &kTimer1Module,     &kSciModule,
    &kMsspModule,   &kPortBModule,      &kAdModule,     &kComparatorModule, &kPortsModule,
    &kTimer2Module, &kConfigWordModule, &kEepromModule,
};
// The timers settle first: the modules they clock follow them.
constexpr const Module* kSettleOrder[] = {
    &kTimer0Module, &kTimer1Module, &kTimer2Module,     &kSciModule, &kCcp1Module,
    &kCcp2Module,   &kMsspModule,   &kConfigWordModule, &kAdModule,  &kComparatorModule,
    &kPortsModule,  &kPortBModule,  &kEepromModule,
};

}  // namespace

std::span<const Module* const> Modules() {
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

const Module& ModuleOfUse(PinUse use) {
    for (const Module* module : kModules)
        for (const PinUseTexts& texts : module->pinUses)
            if (texts.use == use) return *module;
    throw std::logic_error("a pin use no module names");
}

bool DriversOn(const Module& module, const ProjectSettings& s) {
    return module.driversOn && module.driversOn(s) && WritesInDataSheetOrder(s);
}

bool DriversServe(const Module& module, const InterruptSource& source, const ProjectSettings& s) {
    return source.driverService && DriversOn(module, s);
}

bool AnyInterrupt(const ProjectSettings& s) {
    for (const Module* module : kModules)
        for (const InterruptSource& source : module->interrupts)
            if (source.enabled(s) || DriversServe(*module, source, s)) return true;
    return false;
}

}  // namespace korvane
