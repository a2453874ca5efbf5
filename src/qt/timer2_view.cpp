#include "qt/timer2_view.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QVBoxLayout>

#include "qt/binders.h"
#include "qt/timer_view_parts.h"

namespace korvane {

Timer2View::Timer2View(Timer2Form& form, QWidget* parent) : FormDialog(form, parent) {
    auto* left = new QVBoxLayout;
    left->addWidget(Make<QCheckBox>(form.Chk_T2En, this));
    left->addWidget(MakeOptionFrame(form.Fra_Ps, form.Opt_Ps, {.columns = 3}, this));
    left->addWidget(MakeOptionFrame(form.Fra_Bs, form.Opt_Bs, {.columns = 4}, this));
    left->addWidget(Make<QCheckBox>(form.Chk_Int, this));
    LayOutTimerDialog(this, left, MakeTimerCalculator(form, this));
}

}  // namespace korvane
