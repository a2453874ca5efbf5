#pragma once

#include <QGroupBox>

#include "dialogs/driver_choice.h"

class QLayout;

namespace korvane {

// The drivers' frame of a module dialog: the box and, in its row, `extra`
// (the SCI's buffer sizes), then the cost below.
QGroupBox* MakeDriverChoice(DriverChoice& choice, QWidget* parent, QLayout* extra = nullptr);

}  // namespace korvane
