#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "calc/settings_calc.h"
#include "generator/program.h"
#include "platform/form_id.h"
#include "settings/pin_claims.h"
#include "settings/project_settings.h"
#include "settings/setting_rules.h"

namespace korvane {

// What every module of the chip brings: one row, defined in the module's own
// folder and listed once in chip/module_list.cpp. The generator, the
// interrupt routine, the pin claims, the settle after a crystal or timer
// change, the rule checks and the part switch all walk the list, so a module
// added there is added everywhere.

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
    // The service its module's drivers serve the branch with; the branch
    // and its enable exist whenever the drivers do.
    std::optional<Service> driverService{};
};

// A set-up function of the generated program: every module whose `setup` is
// its id writes its statements into it, in list order.
struct SetupFunction {
    SetupId id;
    const char* name;
    const char* comment;
};

// What a module's drivers cost on the SDCC form, measured with the project's
// own SDCC build against the same project with them off: program words, and
// RAM bytes besides any buffers the user sizes.
struct DriverBudget {
    int words = 0;
    int ram = 0;
};

struct Module {
    const char* name = nullptr;
    std::optional<SetupId> setup{};  // none: it writes no set-up function
    SettingsTest writesSetup = nullptr;
    void (*build)(const ProjectSettings&, Body&) = nullptr;
    std::span<const InterruptSource> interrupts{};
    // The pins it takes, with the texts that name them and the messages that
    // guard them; `pinText` says what it does with a pin it claims.
    void (*claimPins)(const ProjectSettings&, std::vector<PinClaim>&) = nullptr;
    std::span<const PinUseTexts> pinUses{};
    std::string (*pinText)(const ProjectSettings&, const PinClaim&) = nullptr;
    // Works out again what follows the crystal and the timers for the
    // module; says what could not be done.
    void (*settle)(ProjectSettings&, const NumberLocale&, std::vector<SettingProblem>&) = nullptr;
    // The values it holds that break a rule: one that follows from others,
    // or one the chosen part does not offer.
    void (*rules)(const ProjectSettings&, std::vector<RuleBreach>&) = nullptr;
    // What it keeps, and what it tells the user, when the part changes from
    // `before` to the part `after` already holds.
    void (*switchPart)(const ProjectSettings& before, ProjectSettings& after,
                       std::vector<std::string>& changes) = nullptr;
    // Its driver functions and the variables they share with the interrupt
    // routine, in the forms that have drivers, while `driversOn`.
    SettingsTest driversOn = nullptr;
    void (*drivers)(const ProjectSettings&, std::vector<Driver>&, std::vector<Global>&) = nullptr;
    DriverBudget driverBudget{};
    // Where the drivers differ with the settings (one mode's or another's),
    // their cost; it then stands for `driverBudget`.
    DriverBudget (*driverBudgetFor)(const ProjectSettings&) = nullptr;
    int (*driverBuffers)(const ProjectSettings&) = nullptr;  // the bytes of its buffers
    FormId form = FormId::Start;
    // What it does in the modern forms' start function, once every module
    // is set up: start a timer, switch a PWM output on.
    void (*start)(const ProjectSettings&, Body&) = nullptr;
};

inline DriverBudget DriverBudgetOf(const Module& module, const ProjectSettings& s) {
    return module.driverBudgetFor ? module.driverBudgetFor(s) : module.driverBudget;
}

}  // namespace korvane
