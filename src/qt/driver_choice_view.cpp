#include "qt/driver_choice_view.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "qt/binders.h"

namespace korvane {

QGroupBox* MakeDriverChoice(DriverChoice& choice, QWidget* parent, QLayout* extra) {
    auto* frame = Make<QGroupBox>(choice.Fra_Drivers, parent);
    auto* rows = new QVBoxLayout(frame);
    auto* first = new QHBoxLayout;
    first->addWidget(Make<QCheckBox>(choice.Chk_Drivers, frame));
    if (extra) first->addLayout(extra);
    first->addStretch();
    rows->addLayout(first);
    rows->addWidget(Make<QLabel>(choice.Lbl_DriverCost, frame));
    return frame;
}

}  // namespace korvane
