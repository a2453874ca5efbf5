
#include "chip/module_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "../core/sample_settings.h"
#include "app/form1.h"
#include "fake_platform.h"
#include "guide/guide_form.h"

namespace korvane {
namespace {

// Every module switched on with every interrupt and every pin it can take.
ProjectSettings EveryModuleOn() {
    ProjectSettings s = EverythingOn();
    s.T0ClockMode = 1;
    s.Rb0Int = -1;
    s.RbChangeInt = -1;
    s.T1OscEn = 1;
    s.MsspEn = 1;
    s.MsspMode = 2;
    s.MsspInt = -1;
    s.MsspBclInt = -1;
    s.AdEn = 1;
    s.AdInt = -1;
    s.CmpEn = 1;
    s.CmpMode = 0b011;  // both outputs
    s.CmpInt = -1;
    s.CvrEn = 1;
    s.CvrOe = 1;
    return s;
}

// A module reaches the user and the program only through its row: its dialog
// from the menu and from the guide, its help page, its statements, its
// interrupts and its pins. A row missing any of them fails here.
TEST(ModuleTable, EveryModuleIsReachableAndComplete) {
    ProjectSettings settings;
    FakePlatform platform;
    AppContext context{settings, platform};
    Form1 mainWindow{context};
    context.mainWindow = &mainWindow;
    // The crystal's input box and the comment question: cancelled, no.
    platform.inputs = {"", ""};
    platform.answers = {MessageAnswer::No};
    for (const Form1::Menu& menu : mainWindow.menus())
        if (menu.title == &mainWindow.VbMenuSet)
            for (MenuItem* item : menu.items) item->click();
    const std::set<std::string> fromMenu(platform.shownForms.begin(), platform.shownForms.end());
    platform.shownForms.clear();
    GuideForm guide{context};
    guide.load();
    for (int step = 1; step <= GuideForm::kStepCount; ++step) guide.Command1.click();
    const std::set<std::string> fromGuide(platform.shownForms.begin(), platform.shownForms.end());

    // Modules that by their nature have no interrupt, take no pin or hold
    // no value that follows from others or from the part.
    const std::set<std::string> noInterrupt = {"Ports", "ConfigWord", "EEPROM"};
    const std::set<std::string> noPins = {"Ports", "Timer2", "ConfigWord", "EEPROM"};
    const std::set<std::string> noRules = {"Ports", "PortB", "MSSP", "EEPROM"};
    const ProjectSettings on = EveryModuleOn();
    std::set<PinUse> uses;
    for (const Module* module : Modules()) {
        SCOPED_TRACE(module->name);
        const std::string form = FormName(module->form);
        EXPECT_TRUE(fromMenu.contains(form));
        EXPECT_TRUE(fromGuide.contains(form));
        EXPECT_STRNE(FormHelpPage(module->form), "");
        EXPECT_EQ(module->setup.has_value(), module->build != nullptr);
        EXPECT_TRUE(!module->setup || module->writesSetup(on));
        EXPECT_EQ(module->interrupts.empty(), noInterrupt.contains(module->name));
        EXPECT_EQ(module->rules == nullptr, noRules.contains(module->name));
        for (const InterruptSource& source : module->interrupts) {
            EXPECT_TRUE(source.serviced(on)) << source.flag;
            EXPECT_TRUE(source.enabled(on)) << source.flag;
        }
        // Every pin it claims is one of its own uses, named and told.
        std::vector<PinClaim> claims;
        if (module->claimPins) module->claimPins(on, claims);
        EXPECT_EQ(claims.empty(), noPins.contains(module->name));
        EXPECT_EQ(module->pinUses.empty(), claims.empty());
        EXPECT_EQ(module->pinText != nullptr, !claims.empty());
        for (const PinClaim& claim : claims) {
            EXPECT_EQ(&ModuleOfUse(claim.use), module);
            EXPECT_FALSE(module->pinText(on, claim).empty());
        }
        for (const PinUseTexts& texts : module->pinUses) EXPECT_TRUE(uses.insert(texts.use).second);
    }
    EXPECT_EQ(uses.size(), kPinUseCount);
    // Each order holds every module once.
    for (const auto order : {ModulesInClaimOrder(), ModulesInSettleOrder()}) {
        EXPECT_EQ(order.size(), Modules().size());
        for (const Module* module : Modules())
            EXPECT_EQ(std::ranges::count(order, module), 1) << module->name;
    }
    for (const SetupFunction& function : SetupFunctions())
        EXPECT_TRUE(function.id == SetupId::Start ||
                    std::ranges::any_of(Modules(), [&](const Module* m) { return m->setup == function.id; }))
            << function.name;
}

}  // namespace
}  // namespace korvane
