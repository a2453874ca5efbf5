#include "qt/comparator_view.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

#include "qt/binders.h"

namespace korvane {

ComparatorView::ComparatorView(ComparatorForm& form, QWidget* parent) : FormDialog(form, parent) {
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Make<QLabel>(form.Lbl_Part, this));
    layout->addWidget(Make<QCheckBox>(form.Chk_CmpEn, this));

    auto* right = new QVBoxLayout;
    right->addWidget(Make<QCheckBox>(form.Chk_C1Inv, this));
    right->addWidget(Make<QCheckBox>(form.Chk_C2Inv, this));
    right->addWidget(MakeOptionFrame(form.Fra_Cis, form.Opt_Cis, {.columns = 1}, this));
    right->addWidget(Make<QCheckBox>(form.Chk_CmpInt, this));
    right->addStretch();

    auto* columns = new QHBoxLayout;
    columns->addWidget(MakeOptionFrame(form.Fra_Mode, form.Opt_Mode, {.columns = 1}, this));
    columns->addLayout(right);
    layout->addLayout(columns);
    layout->addWidget(Make<QLabel>(form.Lbl_Pins, this));

    auto* reference = Make<QGroupBox>(form.Fra_Cvr, this);
    auto* referenceLayout = new QVBoxLayout(reference);
    auto* switches = new QHBoxLayout;
    switches->addWidget(Make<QCheckBox>(form.Chk_CvrEn, reference));
    switches->addWidget(Make<QCheckBox>(form.Chk_CvrOe, reference));
    switches->addStretch();
    referenceLayout->addLayout(switches);
    for (QRadioButton* button : MakeOptions(form.Opt_CvrRange, reference)) referenceLayout->addWidget(button);
    auto* step = new QHBoxLayout;
    auto* combo = Make<QComboBox>(form.Combo_Cvr, reference);
    step->addWidget(MakeCaption(form.Lbl_CvrStep, combo, reference));
    step->addWidget(combo);
    step->addWidget(Make<QLabel>(form.Lbl_Cvref, reference));
    step->addStretch();
    referenceLayout->addLayout(step);
    layout->addWidget(reference);

    AddOkRow(layout, form.Command1, this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace korvane
