#include "qt/chip_view.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "qt/binders.h"
#include "qt/timer_view_parts.h"

namespace korvane {

ChipView::ChipView(ChipForm& form, QWidget* parent) : FormDialog(form, parent) {
    auto* layout = new QVBoxLayout(this);
    // The plain parts in the first row, the A parts below them.
    auto* parts = MakeOptionFrame(form.Frame1, form.Opt_Part, 4, this);
    layout->addWidget(parts);
    auto* ok = Make<QPushButton>(form.Command1, this);
    ok->setDefault(true);
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    buttonRow->addWidget(ok);
    layout->addLayout(buttonRow);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace korvane
