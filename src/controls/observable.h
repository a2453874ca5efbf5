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

    int observe(Observer observer) {
        observers_.emplace_back(++lastId_, std::move(observer));
        return lastId_;
    }
    void unobserve(int id) {
        std::erase_if(observers_, [id](const auto& entry) { return entry.first == id; });
    }

protected:
    void notify(Change change = Change::State) const {
        // A callback may unobserve while we walk the list; walk a copy.
        const auto observers = observers_;
        for (const auto& [id, observer] : observers) observer(change);
    }

private:
    std::vector<std::pair<int, Observer>> observers_;
    int lastId_ = 0;
};

}  // namespace korvane
