#include "qt/ad_view.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "qt/binders.h"
#include "qt/driver_choice_view.h"

namespace korvane {

AdView::AdView(AdForm& form, QWidget* parent) : FormDialog(form, parent) {
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Make<QCheckBox>(form.Chk_AdEn, this));

    auto* right = new QVBoxLayout;
    right->addWidget(MakeOptionFrame(form.Fra_Channel, form.Opt_Channel, {.columns = 4}, this));
    right->addWidget(MakeOptionFrame(form.Fra_Clock, form.Opt_Clock, {.columns = 2}, this));
    right->addWidget(MakeOptionFrame(form.Fra_Format, form.Opt_Format, {.columns = 2}, this));
    right->addWidget(Make<QCheckBox>(form.Chk_AdInt, this));
    right->addWidget(MakeDriverChoice(form.Drivers, this));
    right->addStretch();

    auto* columns = new QHBoxLayout;
    columns->addWidget(MakeOptionFrame(form.Fra_Pcfg, form.Opt_Pcfg, {.columns = 1}, this));
    columns->addLayout(right);
    layout->addLayout(columns);

    AddOkRow(layout, form.Command1, this, &form.Lbl_Tad);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace korvane
