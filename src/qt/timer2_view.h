#pragma once

#include "dialogs/timer2_form.h"
#include "qt/form_dialog.h"

namespace korvane {

// The Timer2 dialog's window: on/off, prescaler, postscaler and interrupt on
// the left, the period calculator on the right.
class Timer2View : public FormDialog {
    Q_OBJECT
public:
    Timer2View(Timer2Form& form, QWidget* parent);
};

}  // namespace korvane
