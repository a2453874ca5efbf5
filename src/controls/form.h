#pragma once

#include <string>
#include <utility>

#include "controls/observable.h"

namespace korvane {

enum class WindowState { Normal, Minimized, Maximized };

// A window's logic: a plain class that owns its controls as members and has
// its handlers under their given names. The form's view builds the widgets,
// binds them to the members, calls load() before showing, reports resizes,
// and closes when the form asks it to (Change::Close).
class Form : public Observable {
public:
    Form(std::string name, std::string caption) : name_(std::move(name)), caption_(std::move(caption)) {}
    virtual ~Form() = default;
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    // The form's name, which is also its window's objectName and its key in
    // the form table of the Qt layer.
    const std::string& name() const { return name_; }

    const std::string& caption() const { return caption_; }
    void setCaption(std::string caption);

    WindowState windowState() const { return windowState_; }
    void setWindowState(WindowState state);

    // Outer window size in twips, as the view last reported it.
    int width() const { return width_; }
    int height() const { return height_; }

    // Runs Form_Load with the loading state set; the view calls it once,
    // before the window is shown.
    void load();
    // Unloads the form however it is closed (a button, the close box, Esc):
    // asks Form_QueryUnload, and unless it refuses runs Form_Unload once and
    // asks the window to close. False when the form stays open.
    bool unload();
    bool unloaded() const { return unloaded_; }
    // The view reports the window's new outer size (twips) and state.
    void resized(int widthTwips, int heightTwips, WindowState state);

    // The handlers under their given names; forms override what they need.
    virtual void Form_Load() {}
    // A form that cannot keep what it shows sets `cancel`: it stays open and
    // Form_Unload does not run.
    virtual void Form_QueryUnload(bool& /*cancel*/) {}
    virtual void Form_Unload() {}
    virtual void Form_Resize() {}

protected:
    // Setting a control from code runs its handler as a click would; while
    // the load sequence puts the stored state back, the handlers that would
    // otherwise recalculate or rewrite settings ask this and stay quiet.
    bool loading() const { return *loading_; }
    // Forms whose load sequences share one flag keep the state there instead.
    void shareLoadingFlag(bool& flag) { loading_ = &flag; }

private:
    std::string name_;
    std::string caption_;
    WindowState windowState_ = WindowState::Normal;
    int width_ = 0;
    int height_ = 0;
    bool unloaded_ = false;
    bool ownLoading_ = false;
    bool* loading_ = &ownLoading_;
};

}  // namespace korvane
