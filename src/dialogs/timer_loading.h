#pragma once

#include "app/app_context.h"

namespace korvane {

// Holds the timer dialogs' shared loading flag for the length of a load
// sequence. While it is set, the prescaler handlers leave the calculator
// alone: the stored selections are being put back, not chosen.
class TimerLoading {
public:
    explicit TimerLoading(AppContext& context) : flag_(context.timerDialogLoading) { flag_ = true; }
    ~TimerLoading() { flag_ = false; }
    TimerLoading(const TimerLoading&) = delete;
    TimerLoading& operator=(const TimerLoading&) = delete;

private:
    bool& flag_;
};

}  // namespace korvane
