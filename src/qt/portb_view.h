#pragma once

#include "dialogs/portb_form.h"
#include "qt/form_dialog.h"

namespace korvane {

// Port B's extras: the INT interrupt with its edge frame below it, the change
// interrupt, the pull-ups, and the OK button, which answers Enter and Esc.
class PortBView : public FormDialog {
    Q_OBJECT
public:
    PortBView(PortBForm& form, QWidget* parent);
};

}  // namespace korvane
