#pragma once

#include "app/app_context.h"
#include "app/form_names.h"
#include "controls/controls.h"
#include "controls/form.h"

namespace korvane {

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
