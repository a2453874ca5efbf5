#include "controls/form.h"

namespace korvane {

void Form::setCaption(std::string caption) {
    if (caption == caption_) return;
    caption_ = std::move(caption);
    notify();
}

void Form::setWindowState(WindowState state) {
    if (state == windowState_) return;
    windowState_ = state;
    notify();
}

void Form::load() {
    // Cleared again however Form_Load ends.
    struct Flag {
        bool& set;
        explicit Flag(bool& flag) : set(flag) { set = true; }
        ~Flag() { set = false; }
        Flag(const Flag&) = delete;
        Flag& operator=(const Flag&) = delete;
    } const loading(*loading_);
    Form_Load();
}

bool Form::unload() {
    if (unloaded_) return true;
    bool cancel = false;
    Form_QueryUnload(cancel);
    if (cancel) return false;
    unloaded_ = true;
    Form_Unload();
    notify(Change::Close);
    return true;
}

void Form::resized(int widthTwips, int heightTwips, WindowState state) {
    width_ = widthTwips;
    height_ = heightTwips;
    windowState_ = state;
    Form_Resize();
}

}  // namespace korvane
