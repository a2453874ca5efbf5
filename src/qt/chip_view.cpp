#include "qt/chip_view.h"

#include <QGroupBox>
#include <QVBoxLayout>

#include "qt/binders.h"
#include "qt/driver_choice_view.h"

namespace korvane {

ChipView::ChipView(ChipForm& form, QWidget* parent) : FormDialog(form, parent) {
    auto* layout = new QVBoxLayout(this);
    // The plain parts in the first row, the A parts below them.
    auto* parts = MakeOptionFrame(form.Frame1, form.Opt_Part, {.columns = 4}, this);
    layout->addWidget(parts);
    layout->addWidget(MakeOptionFrame(form.Frame2, form.Opt_Form, {.columns = 3}, this));
    layout->addWidget(MakeDriverChoice(form.Drivers, this));
    AddOkRow(layout, form.Command1, this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace korvane
