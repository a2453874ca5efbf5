#include "qt/config_view.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "qt/binders.h"

namespace korvane {

ConfigView::ConfigView(ConfigForm& form, QWidget* parent) : FormDialog(form, parent) {
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Make<QLabel>(form.Lbl_Part, this));

    auto* left = new QVBoxLayout;
    left->addWidget(MakeOptionFrame(form.Frame1, form.Opt_Osc, {.columns = 4}, this));
    auto* crystal = Make<QLabel>(form.Lbl_Crystal, this);
    crystal->setWordWrap(true);
    left->addWidget(crystal);
    left->addWidget(Make<QCheckBox>(form.Chk_Wdt, this));
    left->addWidget(Make<QCheckBox>(form.Chk_Pwrt, this));
    left->addWidget(Make<QCheckBox>(form.Chk_Bor, this));
    auto* borNote = Make<QLabel>(form.Lbl_Bor, this);
    borNote->setWordWrap(true);
    borNote->setIndent(20);
    left->addWidget(borNote);
    left->addWidget(Make<QCheckBox>(form.Chk_Lvp, this));
    left->addWidget(Make<QCheckBox>(form.Chk_Debug, this));
    left->addStretch();

    auto* right = new QVBoxLayout;
    right->addWidget(MakeOptionFrame(form.Frame2, form.Opt_Cp, {.columns = 1}, this));
    right->addWidget(Make<QCheckBox>(form.Chk_Cpd, this));
    right->addWidget(MakeOptionFrame(form.Frame3, form.Opt_Wrt, {.columns = 1}, this));
    right->addStretch();

    auto* columns = new QHBoxLayout;
    columns->addLayout(left);
    columns->addLayout(right);
    layout->addLayout(columns);

    layout->addWidget(Make<QCheckBox>(form.Chk_Write, this));
    AddOkRow(layout, form.Command1, this, &form.Lbl_Word);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace korvane
