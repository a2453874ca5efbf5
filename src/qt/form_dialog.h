#pragma once

#include <QDialog>

#include "controls/controls.h"
#include "controls/form.h"

class QBoxLayout;

namespace korvane {

// Base of every dialog view: carries the form's name and caption, centres
// itself on the screen when shown, and closes only through the form, so
// Form_Unload runs however the window is closed (button, close box, Esc).
class FormDialog : public QDialog {
    Q_OBJECT
public:
    FormDialog(Form& form, QWidget* parent);

    Form& form() const { return form_; }

    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void showCaption();

    Form& form_;
    bool centred_ = false;
};

// The OK button at the right below the rest: the default button, so Enter
// presses it, while Esc closes through reject() just as it does. A read-out,
// if any, sits at the row's left.
void AddOkRow(QBoxLayout* layout, Button& ok, QWidget* parent, Label* readout = nullptr);

// The start screen and the closing splash: a window without title or frame.
inline constexpr Qt::WindowFlags kUntitledWindow = Qt::Dialog | Qt::FramelessWindowHint;

// Places a window in the middle of its screen:
// left = (screen width - window width) / 2, top likewise.
void CentreOnScreen(QWidget* window);

}  // namespace korvane
