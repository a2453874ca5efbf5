#include "qt/timer_view_parts.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "qt/binders.h"

namespace korvane {

QBoxLayout* MakeTimerCalculator(TimerForm& form, QWidget* parent) {
    auto* column = new QVBoxLayout;

    auto* inputs = new QGridLayout;
    AddCaptionRow(inputs, 0, form.Label1, Make<QLineEdit>(form.Txt_Time, parent), parent);
    AddCaptionRow(inputs, 1, form.Label2, Make<QLineEdit>(form.Txt_Osc, parent), parent);
    column->addLayout(inputs);

    auto* frame = Make<QGroupBox>(form.calculatorFrame(), parent);
    auto* readOuts = new QGridLayout(frame);
    const std::pair<Label*, TextBox*> rows[] = {{&form.Label3, &form.Txt_Max},
                                                {&form.Label4, &form.Txt_Min},
                                                {&form.Label5, &form.Txt_Tmr0},
                                                {&form.Label6, &form.Txt_Err}};
    int row = 0;
    for (const auto& [label, box] : rows)
        AddCaptionRow(readOuts, row++, *label, Make<QLineEdit>(*box, frame), frame);
    column->addWidget(frame);

    auto* buttons = new QHBoxLayout;
    for (Button* model : {&form.Command1, &form.Command2}) {
        auto* button = Make<QPushButton>(*model, parent);
        button->setAutoDefault(false);
        buttons->addWidget(button);
    }
    column->addLayout(buttons);
    auto* warning = Make<QLabel>(form.Lbl_Overhead, parent);
    warning->setWordWrap(true);
    column->addWidget(warning);
    column->addStretch();
    return column;
}

void LayOutTimerDialog(QWidget* dialog, QBoxLayout* ownControls, QBoxLayout* calculator) {
    auto* layout = new QHBoxLayout(dialog);
    ownControls->addStretch();
    layout->addLayout(ownControls);
    layout->addLayout(calculator);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace korvane
