#pragma once

#include "dialogs/chip_form.h"
#include "qt/form_dialog.h"

namespace korvane {

// The chip dialog's window: the eight parts in one frame, four to a row.
class ChipView : public FormDialog {
    Q_OBJECT
public:
    ChipView(ChipForm& form, QWidget* parent);
};

}  // namespace korvane
