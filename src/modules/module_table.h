#pragma once

#include <optional>
#include <span>
#include <vector>

#include "calc/settings_calc.h"
#include "generator/program.h"
#include "platform/form_id.h"
#include "settings/pin_claims.h"
#include "settings/project_settings.h"

namespace korvane {

// Every module of the chip that Korvane sets up, registered once in
// module_table.cpp. The generator, the interrupt routine, the pin claims,
// the settle after a crystal or timer change and the dialog checks all walk
// this table, so a module added there is added everywhere.

enum class ModuleId { Ports, Timer0, PortB, Timer1, Timer2, Ccp1, Ccp2, Sci, Mssp, Ad, ConfigWord };
inline constexpr int kModuleCount = static_cast<int>(ModuleId::ConfigWord) + 1;

using SettingsTest = bool (*)(const ProjectSettings&);

// One interrupt of a module, with its branch in the interrupt routine and its
// enable bit. A branch that reads a register before clearing the flag stores
// the value into a global, declared for main too.
struct InterruptSource {
    SettingsTest serviced = nullptr;  // gets a branch
    SettingsTest enabled = nullptr;   // gets its enable bit
    bool peripheral = false;          // PIE1/PIE2: takes effect only with PEIE set
    const char* flag = nullptr;
    const char* serviceComment = nullptr;
    const char* enableBit = nullptr;
    const char* enableComment = nullptr;
    // A register the branch reads into a global before clearing the flag.
    const char* variable = nullptr;
    const char* source = nullptr;
    const char* readComment = nullptr;
    const char* declaration = nullptr;
    const char* declarationComment = nullptr;
    // How the forms that serve a flag themselves do it; the start value a
    // timer's branch reloads there.
    Service service = Service::ClearFlag;
    const char* dataRegister = nullptr;
    const char* dataVariable = nullptr;
    std::optional<TimerReload> (*reload)(const ProjectSettings&) = nullptr;
    // What the user's code must do, where the data sheet leaves it to the program.
    const char* userAction = nullptr;
};

// A set-up function of the generated program: every module whose `setup` is
// its id writes its statements into it, in table order.
struct SetupFunction {
    SetupId id;
    const char* name;
    const char* comment;
};

struct Module {
    ModuleId id;
    const char* name = nullptr;
    std::optional<SetupId> setup{};  // none: it writes no set-up function
    SettingsTest writesSetup = nullptr;
    void (*build)(const ProjectSettings&, Body&) = nullptr;
    std::span<const InterruptSource> interrupts{};
    void (*claimPins)(const ProjectSettings&, std::vector<PinClaim>&) = nullptr;
    // Works out again what follows the crystal and the timers for the
    // module; says what could not be done.
    void (*settle)(ProjectSettings&, const NumberLocale&, std::vector<SettingProblem>&) = nullptr;
    FormId form;
    // What it does in the modern forms' start function, once every module
    // is set up: start a timer, switch a PWM output on.
    void (*start)(const ProjectSettings&, Body&) = nullptr;
};

std::span<const Module> Modules();
std::span<const SetupFunction> SetupFunctions();
// The modules in claim order (the first claim on a pin holds it) and in
// settle order (the order their problems are told).
std::span<const Module* const> ModulesInClaimOrder();
std::span<const Module* const> ModulesInSettleOrder();

// Whether any interrupt is enabled: the routine and fun_intset exist.
bool AnyInterrupt(const ProjectSettings& s);

}  // namespace korvane
