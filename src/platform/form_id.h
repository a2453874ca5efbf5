#pragma once

#include <cstddef>
#include <iterator>

namespace korvane {

// Every form that can be opened (Navigation::showForm), registered once in
// the form table of the Qt layer (qt/form_registry.cpp).
enum class FormId {
    Start,
    Splash,
    Guide,
    Port,
    Timer0,
    Timer1,
    Timer2,
    Ccp,
    Sci,
    Chip,
    ConfigWord,
    Mssp,
    PortB,
    Ad,
    Comparator,
};
inline constexpr FormId kLastFormId = FormId::Comparator;

// Each form's name, in the order of FormId: its window's objectName.
inline constexpr const char* kFormNames[] = {
    "start", "frmSplash", "guide",  "Port", "timer0", "Timer1", "timer2",     "ccp",
    "sci",   "chip",      "config", "mssp", "portb",  "ad",     "comparator",
};
inline constexpr std::size_t kFormCount = std::size(kFormNames);
static_assert(kFormCount == static_cast<std::size_t>(kLastFormId) + 1, "every form has one name");

constexpr const char* FormName(FormId id) {
    return kFormNames[static_cast<std::size_t>(id)];
}

// Each form's page in the help file, in the order of FormId: what F1 opens
// in that window. The start screen and the splash have none ("").
// clang-format off
inline constexpr const char* kFormHelpPages[] = {
    "",         "",         "guide.html", "port.html",   "timer0.html", "timer1.html", "timer2.html",
    "ccp.html", "sci.html", "chip.html",  "config.html", "mssp.html",   "portb.html",  "ad.html",
    "comparator.html",
};
// clang-format on
static_assert(std::size(kFormHelpPages) == kFormCount, "every form has one help page entry");

constexpr const char* FormHelpPage(FormId id) {
    return kFormHelpPages[static_cast<std::size_t>(id)];
}

}  // namespace korvane
