#include "qt/port_view.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
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

    // Enter presses it as the default button; Esc closes through reject(),
    // which unloads the form just as the button does.
    auto* ok = Make<QPushButton>(form.Command1, this);
    ok->setDefault(true);
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    buttonRow->addWidget(ok);
    layout->addLayout(buttonRow);

    layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace korvane
