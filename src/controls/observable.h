#pragma once

#include <functional>
#include <utility>
#include <vector>

namespace korvane {

// What a view has to redraw. State covers every plain property; the other
// kinds are one-off requests that carry no state of their own.
enum class Change {
    State,      // any property changed: re-read everything
    SelectAll,  // a text box asks its view to select its whole text
    Close,      // a form asks its window to close
};

// The small change callback through which views watch a model. Views hold no
// state of their own, so one notification kind per redraw request is enough.
class Observable {
public:
    using Observer = std::function<void(Change)>;

    Observable() = default;
    // Observers belong to one view of one model: a copy starts unobserved.
    Observable(const Observable&) {}
    // cppcheck-suppress operatorEqVarError
    Observable& operator=(const Observable&) { return *this; }

    // An observer stays while its model lives: a view is deleted only just
    // before the form it mirrors, with nothing notified in between.
    void observe(Observer observer) { observers_.push_back(std::move(observer)); }

protected:
    void notify(Change change = Change::State) const {
        // A callback may observe while we walk the list; walk a copy.
        const auto observers = observers_;
        for (const auto& observer : observers) observer(change);
    }

private:
    std::vector<Observer> observers_;
};

}  // namespace korvane
