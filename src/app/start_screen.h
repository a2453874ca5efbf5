#pragma once

#include "app/app_context.h"
#include "app/form_names.h"
#include "controls/controls.h"
#include "controls/form.h"

namespace korvane {

// The start screen: the product picture until a character key or 2000 ms.
class StartScreen : public Form {
public:
    static constexpr const char* kName = form_names::kStart;
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

// The closing splash: thanks the user, then ends the program after 1000 ms.
class ClosingSplash : public Form {
public:
    static constexpr const char* kName = form_names::kSplash;

    explicit ClosingSplash(AppContext& context);

    Label Label1{"Label1", "谢谢使用！"};
    IntervalTimer Timer1{"Timer1", 1000, false};

    void Form_Load() override;
    void Timer1_Timer();

private:
    AppContext& context_;
};

}  // namespace korvane
