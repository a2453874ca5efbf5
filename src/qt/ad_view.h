#pragma once

#include "dialogs/ad_form.h"
#include "qt/form_dialog.h"

namespace korvane {

// The A/D dialog's window: the pin configurations on the left, channel,
// clock and format on the right, the TAD read-out under them.
class AdView : public FormDialog {
    Q_OBJECT
public:
    AdView(AdForm& form, QWidget* parent);
};

}  // namespace korvane
