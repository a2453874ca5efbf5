#include "qt/portb_view.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QVBoxLayout>

#include "qt/binders.h"

namespace korvane {

PortBView::PortBView(PortBForm& form, QWidget* parent) : FormDialog(form, parent) {
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Make<QCheckBox>(form.Chk_IntE, this));
    layout->addWidget(MakeOptionFrame(form.Fra_Edge, form.Opt_Edge, {.columns = 2}, this));
    layout->addWidget(Make<QCheckBox>(form.Chk_RbIE, this));
    layout->addWidget(Make<QCheckBox>(form.Chk_PullUp, this));

    AddOkRow(layout, form.Command1, this);

    layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace korvane
