#pragma once

#include "dialogs/mssp_form.h"
#include "qt/form_dialog.h"

namespace korvane {

// The MSSP dialog's window: the module and its mode on the left with the SPI
// clock and timing, the I2C bus rate and its calculator on the right, the
// interrupts and the OK button below.
class MsspView : public FormDialog {
    Q_OBJECT
public:
    MsspView(MsspForm& form, QWidget* parent);
};

}  // namespace korvane
