#pragma once

namespace korvane {

// What a dialog may ask of the main window: the setup guide sets the crystal,
// generates the source at its end and opens the help.
class MainWindowActions {
public:
    virtual ~MainWindowActions() = default;
    virtual void chooseCrystal() = 0;
    virtual void generateSource() = 0;
    virtual void showHelp() = 0;
};

}  // namespace korvane
