#include "qt/form_registry.h"

#include <vector>

#include "app/closing_splash.h"
#include "app/form_names.h"
#include "app/start_screen.h"
#include "qt/ccp_view.h"
#include "qt/closing_splash_view.h"
#include "qt/guide_view.h"
#include "qt/port_view.h"
#include "qt/sci_view.h"
#include "qt/start_screen_view.h"
#include "qt/timer0_view.h"
#include "qt/timer1_view.h"
#include "qt/timer2_view.h"

// Each form that can be opened by name, with its view. A new dialog is added
// here, and only here: include its form and view headers and add one line.

namespace korvane {

namespace {

const std::vector<FormEntry>& FormTable() {
    static const std::vector<FormEntry> table = {
        MakeFormEntry<StartScreen, StartScreenView>(StartScreen::kName),
        MakeFormEntry<ClosingSplash, ClosingSplashView>(ClosingSplash::kName),
        MakeFormEntry<PortForm, PortView>(form_names::kPort),
        MakeFormEntry<Timer0Form, Timer0View>(form_names::kTimer0),
        MakeFormEntry<Timer1Form, Timer1View>(form_names::kTimer1),
        MakeFormEntry<Timer2Form, Timer2View>(form_names::kTimer2),
        MakeFormEntry<CcpForm, CcpView>(form_names::kCcp),
        MakeFormEntry<SciForm, SciView>(form_names::kSci),
        MakeFormEntry<GuideForm, GuideView>(form_names::kGuide),
    };
    return table;
}

}  // namespace

const FormEntry* FindForm(const std::string& name) {
    for (const auto& entry : FormTable())
        if (entry.name == name) return &entry;
    return nullptr;
}

}  // namespace korvane
