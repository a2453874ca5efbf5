#pragma once

#include "dialogs/port_form.h"
#include "qt/form_dialog.h"

namespace korvane {

// The Port dialog's window: the five use boxes in a row, below them the five
// pin frames side by side with pin 0 at the top, each pin's level beside it,
// and the OK button, which answers both Enter and Esc.
class PortView : public FormDialog {
    Q_OBJECT
public:
    PortView(PortForm& form, QWidget* parent);
};

}  // namespace korvane
