#include "qt/guide_view.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "qt/binders.h"

namespace korvane {

GuideView::GuideView(GuideForm& form, QWidget* parent) : FormDialog(form, parent), guide_(form) {
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Make<QLabel>(form.Label1, this));

    auto* middle = new QHBoxLayout;
    auto* picture = Make<QLabel>(form.Picture1, this);
    // Room for the picture even when the file is missing.
    picture->setMinimumSize(180, 240);
    middle->addWidget(picture);

    auto* questionColumn = new QVBoxLayout;
    auto* question = Make<QLabel>(form.Label, this);
    question->setWordWrap(true);
    question->setMinimumWidth(260);
    questionColumn->addWidget(question);
    for (QRadioButton* option : MakeOptions(form.OptYesNo, this)) questionColumn->addWidget(option);
    questionColumn->addStretch();
    middle->addLayout(questionColumn);
    layout->addLayout(middle);

    auto* next = Make<QPushButton>(form.Command1, this);
    next->setDefault(true);
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    auto* back = Make<QPushButton>(form.Command4, this);
    // Enter goes on to the next step even after the back button took the focus.
    back->setAutoDefault(false);
    buttonRow->addWidget(back);
    buttonRow->addWidget(next);
    buttonRow->addWidget(Make<QPushButton>(form.Command2, this));
    buttonRow->addWidget(Make<QPushButton>(form.Command3, this));
    layout->addLayout(buttonRow);

    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void GuideView::reject() {
    guide_.Command2_Click();
}

}  // namespace korvane
