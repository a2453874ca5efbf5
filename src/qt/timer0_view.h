#pragma once

#include "dialogs/timer0_form.h"
#include "qt/form_dialog.h"

namespace korvane {

// The Timer0 dialog's window: on/off, clock, edge, prescaler and interrupt on
// the left, the period calculator on the right.
class Timer0View : public FormDialog {
    Q_OBJECT
public:
    Timer0View(Timer0Form& form, QWidget* parent);
};

}  // namespace korvane
