#pragma once

#include "dialogs/sci_form.h"
#include "qt/form_dialog.h"

namespace korvane {

// The SCI dialog's window: port, mode, baud speed, transmit and receive
// settings on the left, the baud-rate calculator on the right and the OK
// button below.
class SciView : public FormDialog {
    Q_OBJECT
public:
    SciView(SciForm& form, QWidget* parent);
};

}  // namespace korvane
