#include "controls/controls.h"

#include <algorithm>
#include <stdexcept>

namespace korvane {

void Control::setSize(int width, int height) {
    // Never negative: a window smaller than its margins leaves the control empty.
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == width_ && height == height_) return;
    width_ = width;
    height_ = height;
    notify();
}

void Button::click() {
    if (usable() && onClick) onClick();
}

void CheckBox::setChecked(bool checked) {
    if (assign(checked_, checked) && onClick) onClick();
}

bool CheckBox::press() {
    if (!usable()) return false;
    return !onPress || onPress();
}

void CheckBox::click() {
    if (press()) setChecked(!checked_);
}

OptionGroup::OptionGroup(std::string name, std::vector<std::string> captions, int firstIndex)
    : name_(std::move(name)), firstIndex_(firstIndex) {
    for (auto& caption : captions) options_.push_back({std::move(caption)});
}

bool OptionGroup::contains(int index) const {
    return index >= firstIndex_ && index < firstIndex_ + count();
}

OptionGroup::Option& OptionGroup::at(int index) {
    if (!contains(index)) throw std::out_of_range(name_ + ": no option " + std::to_string(index));
    return options_[static_cast<std::size_t>(index - firstIndex_)];
}

const OptionGroup::Option& OptionGroup::at(int index) const {
    return const_cast<OptionGroup*>(this)->at(index);
}

void OptionGroup::select(int index) {
    if (!contains(index) || index == selected_) return;
    selected_ = index;
    notify();
    if (onClick) onClick(index);
}

const std::string& OptionGroup::caption(int index) const {
    return at(index).caption;
}

void OptionGroup::setCaption(int index, std::string caption) {
    auto& option = at(index);
    if (option.caption == caption) return;
    option.caption = std::move(caption);
    notify();
}

bool OptionGroup::enabled(int index) const {
    return at(index).enabled;
}

void OptionGroup::setEnabled(int index, bool enabled) {
    auto& option = at(index);
    if (option.enabled == enabled) return;
    option.enabled = enabled;
    notify();
}

void OptionGroup::setAllEnabled(bool enabled) {
    for (int i = firstIndex_; i < firstIndex_ + count(); ++i) setEnabled(i, enabled);
}

bool OptionGroup::visible(int index) const {
    return at(index).visible;
}

void OptionGroup::setVisible(int index, bool visible) {
    auto& option = at(index);
    if (option.visible == visible) return;
    option.visible = visible;
    notify();
}

void OptionGroup::setAllVisible(bool visible) {
    for (int i = firstIndex_; i < firstIndex_ + count(); ++i) setVisible(i, visible);
}

void OptionGroup::click(int index) {
    if (contains(index) && enabled(index) && visible(index)) select(index);
}

void TextBox::setText(std::string text) {
    if (text == text_) return;
    markedLines_.clear();
    if (assign(text_, std::move(text)) && onChange) onChange();
}

void MenuItem::click() {
    if (!usable()) return;
    if (checkable_) setChecked(!checked_);
    Button::click();
}

void TextBox::gotFocus() {
    if (onGotFocus) onGotFocus();
}

int TextBox::keyPress(int code) {
    if (!onKeyPress) return code;
    // Characters beyond 16 bits cannot be told to a filter; treat them as
    // the filter would treat any letter.
    std::int16_t keyAscii = code >= 0 && code <= INT16_MAX ? static_cast<std::int16_t>(code) : 0;
    if (keyAscii == 0) return 0;
    onKeyPress(keyAscii);
    return keyAscii;
}

void ListBox::clear() {
    if (items_.empty() && listIndex_ == -1) return;
    items_.clear();
    listIndex_ = -1;
    notify();
}

void ListBox::addItem(std::string item) {
    items_.push_back(std::move(item));
    notify();
}

void ListBox::setListIndex(int index) {
    if (index < -1 || index >= static_cast<int>(items_.size())) return;
    assign(listIndex_, index);
}

void ComboBox::clear() {
    // Clearing a combo box empties its text as well.
    if (items_.empty() && listIndex_ == -1 && text_.empty()) return;
    items_.clear();
    listIndex_ = -1;
    text_.clear();
    notify();
}

void ComboBox::addItem(std::string item) {
    items_.push_back(std::move(item));
    notify();
}

void ComboBox::pick(int index) {
    if (!usable() || index < 0 || index >= static_cast<int>(items_.size())) return;
    listIndex_ = index;
    text_ = items_[static_cast<std::size_t>(index)];
    notify();
    if (onClick) onClick();
}

void IntervalTimer::setEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    notify();
}

void IntervalTimer::tick() {
    if (enabled_ && intervalMs_ > 0 && onTimer) onTimer();
}

}  // namespace korvane
