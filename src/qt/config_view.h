#pragma once

#include "dialogs/config_form.h"
#include "qt/form_dialog.h"

namespace korvane {

// The configuration-word dialog's window: oscillator and the on/off fields
// on the left, the protections on the right, the word and OK below.
class ConfigView : public FormDialog {
    Q_OBJECT
public:
    ConfigView(ConfigForm& form, QWidget* parent);
};

}  // namespace korvane
