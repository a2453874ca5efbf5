#pragma once

#include <string>

namespace korvane {

// What a dialog may ask of the main window: the setup guide sets the crystal,
// generates the source at its end and opens the help.
class MainWindowActions {
public:
    virtual ~MainWindowActions() = default;
    virtual void chooseCrystal() = 0;
    virtual void generateSource() = 0;
    // Opens the help at `page` ("" for its start page).
    virtual void showHelp(const std::string& page) = 0;
};

}  // namespace korvane
