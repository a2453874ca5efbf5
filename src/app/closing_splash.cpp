#include "app/closing_splash.h"

namespace korvane {

ClosingSplash::ClosingSplash(AppContext& context) : Form(kName, ""), context_(context) {
    Timer1.onTimer = [this] { Timer1_Timer(); };
}

void ClosingSplash::Form_Load() {
    Timer1.setEnabled(true);
}

void ClosingSplash::Timer1_Timer() {
    Timer1.setEnabled(false);
    context_.platform.endProgram();
}

}  // namespace korvane
