#pragma once

#include <functional>
#include <string>

#include "controls/observable.h"
#include "pins/pin_table.h"
#include "platform/form_id.h"
#include "settings/project_settings.h"

namespace korvane {

// The pin map's logic: the table of the current settings, whether the map
// is shown, and what a pin opens. The main window owns it and refreshes it
// whenever the settings may have changed; its view redraws on each change.
class PinMapPanel : public Observable {
public:
    explicit PinMapPanel(const ProjectSettings& settings);

    const PinTable& table() const { return table_; }

    bool shown() const { return shown_; }
    void setShown(bool shown);

    // Builds the table again; observers hear of it only when it changed.
    void Refresh();

    // A pin chosen (double-click, Enter): the dialog that decides its use.
    // Power, reset and the like open nothing.
    void OpenPin(int row) const;

    // Set by the main window: opens a dialog as its menu item does.
    std::function<void(FormId)> openDialog;
    // Set by the view layer, which can draw: writes the picture to a path,
    // returning "" or what went wrong. Unset, the map cannot be exported.
    std::function<std::string(const PinTable&, const std::string&)> writer;

private:
    const ProjectSettings& settings_;
    PinTable table_;
    bool shown_ = false;
};

}  // namespace korvane
