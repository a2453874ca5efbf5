#pragma once

#include "dialogs/comparator_form.h"
#include "qt/form_dialog.h"

namespace korvane {

// The comparator dialog's window: the modes on the left with the pins they
// take, the inversions, the input switch and the interrupt on the right, the
// voltage reference under them with its voltage read-out.
class ComparatorView : public FormDialog {
    Q_OBJECT
public:
    ComparatorView(ComparatorForm& form, QWidget* parent);
};

}  // namespace korvane
