#pragma once

#include "dialogs/ccp_form.h"
#include "qt/form_dialog.h"

namespace korvane {

// The CCP dialog's window: the CCP1 frame above the CCP2 frame, each with its
// use box, the mode options on the left and, on the right, the sub-mode frame
// or in PWM mode the duty-cycle bits in the same place; the OK button below.
class CcpView : public FormDialog {
    Q_OBJECT
public:
    CcpView(CcpForm& form, QWidget* parent);
};

}  // namespace korvane
