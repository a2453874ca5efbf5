#include "qt/port_view.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "qt/binders.h"

namespace korvane {

PortView::PortView(PortForm& form, QWidget* parent) : FormDialog(form, parent) {
    auto* layout = new QVBoxLayout(this);

    auto* useFrame = Make<QGroupBox>(form.Frame1, this);
    auto* useRow = new QHBoxLayout(useFrame);
    for (int p = 0; p < PortForm::kPortCount; ++p)
        useRow->addWidget(Make<QCheckBox>(form.port(p).useBox, useFrame));
    layout->addWidget(useFrame);

    auto* pinRow = new QHBoxLayout;
    QCheckBox* firstLevel = nullptr;
    for (int p = 0; p < PortForm::kPortCount; ++p) {
        const PortForm::Port port = form.port(p);
        auto* pinFrame = Make<QGroupBox>(port.pinFrame, this);
        // Each pin's direction, and beside it the level it starts at. Made
        // column by column, so Tab goes down the directions first.
        auto* pins = new QGridLayout(pinFrame);
        for (int k = 0; k < PortForm::kPinCount; ++k)
            pins->addWidget(Make<QCheckBox>(port.pins[k], pinFrame), k, 0);
        for (int k = 0; k < PortForm::kPinCount; ++k) {
            auto* level = Make<QCheckBox>(port.levelBoxes[k], pinFrame);
            pins->addWidget(level, k, 1);
            if (!firstLevel) firstLevel = level;
        }
        pinRow->addWidget(pinFrame);
    }
    layout->addWidget(MakeCaption(form.Label1, firstLevel, this));
    layout->addLayout(pinRow);

    AddOkRow(layout, form.Command1, this);

    layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace korvane
