#pragma once

#include "dialogs/timer1_form.h"
#include "qt/form_dialog.h"

namespace korvane {

// The Timer1 dialog's window: on/off, mode, synchronisation, oscillator,
// prescaler and interrupt on the left, the period calculator on the right.
class Timer1View : public FormDialog {
    Q_OBJECT
public:
    Timer1View(Timer1Form& form, QWidget* parent);
};

}  // namespace korvane
