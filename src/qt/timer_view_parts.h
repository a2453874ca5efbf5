#pragma once

#include "dialogs/timer_form.h"

class QBoxLayout;
class QWidget;

namespace korvane {

// The part every timer dialog shows alike, as a column: the time and
// frequency boxes, the read-outs in their frame, and the two buttons.
// Neither button is the default: Enter in a number box must not close the
// dialog by surprise (Timer2 would drop what was just typed).
QBoxLayout* MakeTimerCalculator(TimerForm& form, QWidget* parent);

// Lays out a timer dialog: its own controls on the left, the calculator on
// the right; the window keeps the size of its contents.
void LayOutTimerDialog(QWidget* dialog, QBoxLayout* ownControls, QBoxLayout* calculator);

}  // namespace korvane
