#pragma once

#include "controls/observable.h"

namespace korvane {

// An event with no state of its own that anyone may raise: "the settings may
// have changed". Observers re-read what they show.
class Notifier : public Observable {
public:
    void raise() const { notify(); }
};

}  // namespace korvane
