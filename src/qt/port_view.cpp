#include "qt/port_view.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
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
    for (int p = 0; p < PortForm::kPortCount; ++p) {
        const PortForm::Port port = form.port(p);
        auto* pinFrame = Make<QGroupBox>(port.pinFrame, this);
        auto* pinColumn = new QVBoxLayout(pinFrame);
        for (auto& pin : port.pins) pinColumn->addWidget(Make<QCheckBox>(pin, pinFrame));
        pinRow->addWidget(pinFrame);
    }
    layout->addLayout(pinRow);

    AddOkRow(layout, form.Command1, this);

    layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace korvane
