#include "qt/timer_view_parts.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "qt/binders.h"

namespace korvane {

QGroupBox* MakeOptionFrame(Frame& frame, OptionGroup& options, int columns, QWidget* parent) {
    auto* box = Make<QGroupBox>(frame, parent);
    auto* grid = new QGridLayout(box);
    const auto buttons = MakeOptions(options, box);
    for (int i = 0; i < static_cast<int>(buttons.size()); ++i)
        grid->addWidget(buttons[static_cast<std::size_t>(i)], i / columns, i % columns);
    return box;
}

QBoxLayout* MakeTimerCalculator(TimerForm& form, QWidget* parent) {
    auto* column = new QVBoxLayout;

    auto* inputs = new QGridLayout;
    auto* time = Make<QLineEdit>(form.Txt_Time, parent);
    auto* label1 = Make<QLabel>(form.Label1, parent);
    label1->setBuddy(time);
    inputs->addWidget(label1, 0, 0);
    inputs->addWidget(time, 0, 1);
    auto* osc = Make<QLineEdit>(form.Txt_Osc, parent);
    auto* label2 = Make<QLabel>(form.Label2, parent);
    label2->setBuddy(osc);
    inputs->addWidget(label2, 1, 0);
    inputs->addWidget(osc, 1, 1);
    column->addLayout(inputs);

    auto* frame = Make<QGroupBox>(form.calculatorFrame(), parent);
    auto* readOuts = new QGridLayout(frame);
    const std::pair<Label*, TextBox*> rows[] = {{&form.Label3, &form.Txt_Max},
                                                {&form.Label4, &form.Txt_Min},
                                                {&form.Label5, &form.Txt_Tmr0},
                                                {&form.Label6, &form.Txt_Err}};
    int row = 0;
    for (const auto& [label, box] : rows) {
        auto* edit = Make<QLineEdit>(*box, frame);
        auto* caption = Make<QLabel>(*label, frame);
        caption->setBuddy(edit);
        readOuts->addWidget(caption, row, 0);
        readOuts->addWidget(edit, row, 1);
        ++row;
    }
    column->addWidget(frame);

    auto* buttons = new QHBoxLayout;
    for (Button* model : {&form.Command1, &form.Command2}) {
        auto* button = Make<QPushButton>(*model, parent);
        button->setAutoDefault(false);
        buttons->addWidget(button);
    }
    column->addLayout(buttons);
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
