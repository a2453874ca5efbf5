#include "qt/timer1_view.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QVBoxLayout>

#include "qt/binders.h"
#include "qt/timer_view_parts.h"

namespace korvane {

Timer1View::Timer1View(Timer1Form& form, QWidget* parent) : FormDialog(form, parent) {
    auto* left = new QVBoxLayout;
    left->addWidget(Make<QCheckBox>(form.Chk_T1En, this));
    left->addWidget(MakeOptionFrame(form.Frame1, form.Opt_Osc, {.columns = 2}, this));
    left->addWidget(MakeOptionFrame(form.Frame3, form.Opt_CountMode, {.columns = 2}, this));
    left->addWidget(MakeOptionFrame(form.Fra_T1OscIn, form.Opt_OscInT1, {.columns = 2}, this));
    left->addWidget(MakeOptionFrame(form.Fra_Ps, form.Opt_Ps, {.columns = 4}, this));
    left->addWidget(Make<QCheckBox>(form.Chk_Int, this));
    LayOutTimerDialog(this, left, MakeTimerCalculator(form, this));
}

}  // namespace korvane
