#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "controls/observable.h"

namespace korvane {

// State shared by every control: its name (the view's objectName), caption,
// enabled and visible. Setting a property to its current value raises nothing.
// Sizes are in twips and are only used by forms that lay out by hand.
class Control : public Observable {
public:
    explicit Control(std::string name, std::string caption = {})
        : name_(std::move(name)), caption_(std::move(caption)) {}

    const std::string& name() const { return name_; }

    const std::string& caption() const { return caption_; }
    void setCaption(std::string caption) { assign(caption_, std::move(caption)); }

    bool enabled() const { return enabled_; }
    void setEnabled(bool enabled) { assign(enabled_, enabled); }

    // What the pointer resting on the control explains; empty for none.
    const std::string& toolTip() const { return toolTip_; }
    void setToolTip(std::string toolTip) { assign(toolTip_, std::move(toolTip)); }

    bool visible() const { return visible_; }
    void setVisible(bool visible) { assign(visible_, visible); }

    int width() const { return width_; }
    int height() const { return height_; }
    void setSize(int width, int height);

    // Whether a user could reach the control right now.
    bool usable() const { return enabled_ && visible_; }

protected:
    template <class T>
    bool assign(T& field, T value) {
        if (field == value) return false;
        field = std::move(value);
        notify();
        return true;
    }

private:
    std::string name_;
    std::string caption_;
    std::string toolTip_;
    bool enabled_ = true;
    bool visible_ = true;
    int width_ = 0;
    int height_ = 0;
};

class Label : public Control {
public:
    using Control::Control;
};

class Frame : public Control {
public:
    using Control::Control;
};

// A picture box or a form's own picture: the file it shows.
class Picture : public Control {
public:
    using Control::Control;
    const std::string& path() const { return path_; }
    void setPath(std::string path) { assign(path_, std::move(path)); }

private:
    std::string path_;
};

// A command button or a menu item: a click raises onClick.
class Button : public Control {
public:
    using Control::Control;
    std::function<void()> onClick;
    // A user's click; ignored while the button cannot be reached.
    void click();
};

class MenuItem : public Button {
public:
    using Button::Button;

    // A menu option shows a tick while checked; a user's click turns it
    // over before onClick runs.
    bool checkable() const { return checkable_; }
    void setCheckable(bool checkable) { assign(checkable_, checkable); }
    bool checked() const { return checked_; }
    void setChecked(bool checked) { assign(checked_, checked); }
    void click();

private:
    bool checkable_ = false;
    bool checked_ = false;
};

// A check box. Its click handler runs whenever `checked` changes, whether the
// user or the program changed it; the forms' load sequences rely on that.
class CheckBox : public Control {
public:
    using Control::Control;

    bool checked() const { return checked_; }
    // The box state as the dialogs store it: 1 ticked, 0 clear.
    int value() const { return checked_ ? 1 : 0; }
    void setChecked(bool checked);

    std::function<void()> onClick;
    // Runs when the user presses the box, before it changes; returning false
    // refuses the change (a reserved pin).
    std::function<bool()> onPress;

    // The user pressed the box (mouse or space): true when the change may go
    // ahead. Views route every user press through here.
    bool press();
    // A whole user click: press, then toggle unless refused.
    void click();

private:
    bool checked_ = false;
};

// An indexed array of option buttons of which at most one is selected. The
// indices run from `firstIndex` on (some groups start at 4). Selecting an
// option raises onClick with its index; re-selecting the selected one does not.
class OptionGroup : public Observable {
public:
    static constexpr int kNone = -1;

    OptionGroup(std::string name, std::vector<std::string> captions, int firstIndex = 0);

    const std::string& name() const { return name_; }
    int firstIndex() const { return firstIndex_; }
    int count() const { return static_cast<int>(options_.size()); }
    bool contains(int index) const;

    int selected() const { return selected_; }
    bool isSelected(int index) const { return selected_ == index; }
    // Out-of-range indices are ignored: a setting may hold anything.
    void select(int index);

    const std::string& caption(int index) const;
    void setCaption(int index, std::string caption);
    bool enabled(int index) const;
    void setEnabled(int index, bool enabled);
    void setAllEnabled(bool enabled);
    bool visible(int index) const;
    void setVisible(int index, bool visible);
    void setAllVisible(bool visible);

    std::function<void(int)> onClick;
    // A user's click on one option; ignored while that option is unreachable.
    void click(int index);

private:
    struct Option {
        std::string caption;
        bool enabled = true;
        bool visible = true;
    };
    Option& at(int index);
    const Option& at(int index) const;

    std::string name_;
    std::vector<Option> options_;
    int firstIndex_;
    int selected_ = kNone;
};

// A text box. Its change handler runs whenever the text changes, whoever
// changed it. Key presses reach onKeyPress before the text changes.
class TextBox : public Control {
public:
    explicit TextBox(std::string name, std::string text = {})
        : Control(std::move(name)), text_(std::move(text)) {}

    const std::string& text() const { return text_; }
    // A new text drops the marked lines.
    void setText(std::string text);

    // Lines (from 0) the view highlights: those the last preview changed.
    const std::vector<int>& markedLines() const { return markedLines_; }
    void setMarkedLines(std::vector<int> lines) { assign(markedLines_, std::move(lines)); }

    bool readOnly() const { return readOnly_; }
    void setReadOnly(bool readOnly) { assign(readOnly_, readOnly); }

    std::function<void()> onChange;
    std::function<void()> onGotFocus;
    // Receives the character code of a typed key and may set it to 0 to
    // discard the key: Txt_Time.onKeyPress = DecimalKeyFilter;
    std::function<void(std::int16_t&)> onKeyPress;

    // The view reports focus and typed characters through these.
    void gotFocus();
    // Returns the code that should reach the box; 0 means discard.
    int keyPress(int code);
    // Asks the view to select the whole text (selection start 0, whole length).
    void selectAll() { notify(Change::SelectAll); }

private:
    std::string text_;
    std::vector<int> markedLines_;
    bool readOnly_ = false;
};

class ListBox : public Control {
public:
    using Control::Control;

    const std::vector<std::string>& items() const { return items_; }
    void clear();
    void addItem(std::string item);
    int listIndex() const { return listIndex_; }
    void setListIndex(int index);

private:
    std::vector<std::string> items_;
    int listIndex_ = -1;
};

// A drop-down combo box whose text may also be set from code.
class ComboBox : public Control {
public:
    using Control::Control;

    const std::vector<std::string>& items() const { return items_; }
    void clear();
    void addItem(std::string item);
    const std::string& text() const { return text_; }
    void setText(std::string text) { assign(text_, std::move(text)); }
    int listIndex() const { return listIndex_; }

    // The user picks item `index`: it becomes the text and onClick runs.
    std::function<void()> onClick;
    void pick(int index);

private:
    std::vector<std::string> items_;
    std::string text_;
    int listIndex_ = -1;
};

// A repeating interval timer. onTimer runs on every tick while it is enabled;
// the view drives the ticks, tests call tick() themselves.
class IntervalTimer : public Observable {
public:
    IntervalTimer(std::string name, int intervalMs, bool enabled = false)
        : name_(std::move(name)), intervalMs_(intervalMs), enabled_(enabled) {}

    const std::string& name() const { return name_; }
    int interval() const { return intervalMs_; }
    bool enabled() const { return enabled_; }
    void setEnabled(bool enabled);

    std::function<void()> onTimer;
    void tick();

private:
    std::string name_;
    int intervalMs_;
    bool enabled_;
};

}  // namespace korvane
