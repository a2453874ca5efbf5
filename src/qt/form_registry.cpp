#include "qt/form_registry.h"

#include <array>
#include <cstddef>

#include "app/closing_splash.h"
#include "app/start_screen.h"
#include "qt/ad_view.h"
#include "qt/ccp_view.h"
#include "qt/chip_view.h"
#include "qt/closing_splash_view.h"
#include "qt/comparator_view.h"
#include "qt/config_view.h"
#include "qt/guide_view.h"
#include "qt/mssp_view.h"
#include "qt/port_view.h"
#include "qt/portb_view.h"
#include "qt/sci_view.h"
#include "qt/start_screen_view.h"
#include "qt/timer0_view.h"
#include "qt/timer1_view.h"
#include "qt/timer2_view.h"

// Each form with its view, in the order of FormId. A new dialog is added
// here, and only here: include its form and view headers and add one line.

namespace korvane {

namespace {

constexpr std::array kForms = {
    MakeFormEntry<StartScreen, StartScreenView>(FormId::Start),
    MakeFormEntry<ClosingSplash, ClosingSplashView>(FormId::Splash),
    MakeFormEntry<GuideForm, GuideView>(FormId::Guide),
    MakeFormEntry<PortForm, PortView>(FormId::Port),
    MakeFormEntry<Timer0Form, Timer0View>(FormId::Timer0),
    MakeFormEntry<Timer1Form, Timer1View>(FormId::Timer1),
    MakeFormEntry<Timer2Form, Timer2View>(FormId::Timer2),
    MakeFormEntry<CcpForm, CcpView>(FormId::Ccp),
    MakeFormEntry<SciForm, SciView>(FormId::Sci),
    MakeFormEntry<ChipForm, ChipView>(FormId::Chip),
    MakeFormEntry<ConfigForm, ConfigView>(FormId::ConfigWord),
    MakeFormEntry<MsspForm, MsspView>(FormId::Mssp),
    MakeFormEntry<PortBForm, PortBView>(FormId::PortB),
    MakeFormEntry<AdForm, AdView>(FormId::Ad),
    MakeFormEntry<ComparatorForm, ComparatorView>(FormId::Comparator),
};
static_assert(kForms.size() == kFormCount, "every form is registered");
constexpr bool InFormIdOrder() {
    for (std::size_t i = 0; i < kForms.size(); ++i)
        if (static_cast<std::size_t>(kForms[i].id) != i) return false;
    return true;
}
static_assert(InFormIdOrder(), "the table is in the order of FormId");

}  // namespace

const FormEntry& FindForm(FormId id) {
    return kForms[static_cast<std::size_t>(id)];
}

}  // namespace korvane
