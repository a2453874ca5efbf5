#include "app/start_screen.h"

namespace korvane {

StartScreen::StartScreen(AppContext& context) : Form(kName, ""), context_(context) {
    Timer3.onTimer = [this] { Timer3_Timer(); };
}

void StartScreen::Form_Load() {
    Picture1.setPath(context_.platform.programFolder() + "/" + kPictureFile);
}

void StartScreen::Form_KeyPress(int keyAscii) {
    if (keyAscii != 0) unload();
}

void StartScreen::Timer3_Timer() {
    Timer3.setEnabled(false);
    unload();
}

}  // namespace korvane
