#pragma once

#include "controls/app_context.h"
#include "controls/controls.h"
#include "controls/form.h"
#include "platform/form_id.h"

namespace korvane {

// The closing splash: thanks the user, then ends the program after 1000 ms.
class ClosingSplash : public Form {
public:
    static constexpr const char* kName = FormName(FormId::Splash);

    explicit ClosingSplash(AppContext& context);

    Label Label1{"Label1", "谢谢使用！"};
    IntervalTimer Timer1{"Timer1", 1000, false};

    void Form_Load() override;
    void Timer1_Timer();

private:
    AppContext& context_;
};

}  // namespace korvane
