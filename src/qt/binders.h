#pragma once

#include <QString>
#include <string>
#include <vector>

#include "controls/controls.h"

class QAction;
class QCheckBox;
class QComboBox;
class QGridLayout;
class QGroupBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTimer;
class QWidget;

namespace korvane {

// Binders tie one widget to one control model: the widget gets the model's
// name as objectName, mirrors the model whenever it changes, and forwards the
// user's actions to the model, which raises the form's handlers. Widgets keep
// no state of their own. The model must outlive the widget's user actions
// (the form outlives its view).

inline QString ToQt(const std::string& text) {
    return QString::fromStdString(text);
}
inline std::string FromQt(const QString& text) {
    return text.toStdString();
}

// The character code a key press types, as the forms' key handlers see it:
// Backspace (8), Enter (13) and Escape (27) by their codes, otherwise the one character of
// the key's text (control characters included); 0 for keys that type nothing.
int KeyAscii(const QKeyEvent* event);

// The objectName of member `index` of a control array: "Opt_Osc(1)".
QString MemberName(const std::string& arrayName, int index);

// Mouse presses and the space key go through CheckBox::press(), so a refused
// press never changes the box.
void Bind(QCheckBox* widget, CheckBox& model);
// buttons[i] shows option firstIndex()+i; they join one exclusive group.
void Bind(const std::vector<QRadioButton*>& buttons, OptionGroup& model);
// Typed characters pass onKeyPress first (Enter and Escape are left to the
// dialog's default and cancel buttons); focus raises onGotFocus.
void Bind(QLineEdit* widget, TextBox& model);
// A multi-line text area; the model holds CRLF line ends, the widget "\n".
void Bind(QPlainTextEdit* widget, TextBox& model);
void Bind(QGroupBox* widget, Frame& model);
void Bind(QLabel* widget, Label& model);
void Bind(QLabel* widget, Picture& model);
void Bind(QPushButton* widget, Button& model);
void Bind(QAction* widget, MenuItem& model);
void Bind(QMenu* widget, MenuItem& model);
void Bind(QListWidget* widget, ListBox& model);
void Bind(QComboBox* widget, ComboBox& model);
// The QTimer ticks the model while the model is enabled.
void Bind(QTimer* timer, IntervalTimer& model);

// Create-and-bind shorthands for views: auto* box = Make<QCheckBox>(form.Chk_T0En, this);
template <class Widget, class Model>
Widget* Make(Model& model, QWidget* parent) {
    auto* widget = new Widget(parent);
    Bind(widget, model);
    return widget;
}
// One radio button per option, in index order, bound as a group.
std::vector<QRadioButton*> MakeOptions(OptionGroup& model, QWidget* parent);

// How an option frame places its buttons: `columns` to a row of a grid, or
// with no columns ({}) stacked in a QVBoxLayout, to which the caller may add.
// `highFirst` puts the last option first, where a dialog lists the higher
// setting on top.
struct OptionPlacement {
    int columns = 0;
    bool highFirst = false;
};
// A frame holding one option group's buttons.
QGroupBox* MakeOptionFrame(Frame& frame, OptionGroup& options, OptionPlacement placement, QWidget* parent);

// A caption whose access key focuses `buddy`.
QLabel* MakeCaption(Label& label, QWidget* buddy, QWidget* parent);
// A caption and its box in one grid row: the caption spans the first
// `captionColumns` columns, the box takes the next. Returns the caption.
QLabel* AddCaptionRow(QGridLayout* grid, int row, Label& label, QWidget* box, QWidget* parent,
                      int captionColumns = 1);

// Twips (1/1440 inch) and pixels at a logical DPI.
int TwipsToPixels(int twips, double dpi);
int PixelsToTwips(int pixels, double dpi);

}  // namespace korvane
