#include "qt/timer0_view.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QVBoxLayout>

#include "qt/binders.h"
#include "qt/timer_view_parts.h"

namespace korvane {

Timer0View::Timer0View(Timer0Form& form, QWidget* parent) : FormDialog(form, parent) {
    auto* left = new QVBoxLayout;
    left->addWidget(Make<QCheckBox>(form.Chk_T0En, this));
    left->addWidget(MakeOptionFrame(form.Frame1, form.Opt_Osc, {.columns = 1}, this));
    left->addWidget(MakeOptionFrame(form.Frame3, form.Opt_CountMode, {.columns = 2}, this));
    left->addWidget(Make<QCheckBox>(form.Chk_Ps, this));
    left->addWidget(MakeOptionFrame(form.Fra_Ps, form.Opt_Ps, {.columns = 4}, this));
    left->addWidget(Make<QCheckBox>(form.Chk_Int, this));
    LayOutTimerDialog(this, left, MakeTimerCalculator(form, this));
}

}  // namespace korvane
