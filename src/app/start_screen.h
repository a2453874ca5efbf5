#pragma once

#include "controls/app_context.h"
#include "controls/controls.h"
#include "controls/form.h"
#include "platform/form_id.h"

namespace korvane {

// The start screen: the product picture until a character key or 2000 ms.
class StartScreen : public Form {
public:
    static constexpr const char* kName = FormName(FormId::Start);
    static constexpr const char* kPictureFile = "korvane.jpg";

    explicit StartScreen(AppContext& context);

    Picture Picture1{"Picture"};  // the window's own picture
    IntervalTimer Timer3{"Timer3", 2000, true};

    void Form_Load() override;
    // Any key that produces a character closes the screen at once.
    void Form_KeyPress(int keyAscii);
    void Timer3_Timer();

private:
    AppContext& context_;
};

}  // namespace korvane
