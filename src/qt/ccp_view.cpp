#include "qt/ccp_view.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>

#include "qt/binders.h"
#include "qt/driver_choice_view.h"

namespace korvane {

namespace {

// Both right-hand frames keep their room while hidden, so switching to or
// from PWM does not make the window jump.
void KeepRoomWhenHidden(QWidget* widget) {
    QSizePolicy policy = widget->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    widget->setSizePolicy(policy);
}

// One digit fits a bit box; a time box takes a long time.
constexpr const char* kBitWidth = "00000";
constexpr const char* kTimeWidth = "0000000000";

// A box with its label in one grid row; `widest` is the text the box should
// have room for (the width is only a hint).
QLineEdit* MakeBoxRow(QGridLayout* grid, int row, Label& label, TextBox& box, const char* widest,
                      QWidget* parent) {
    auto* edit = Make<QLineEdit>(box, parent);
    edit->setMaximumWidth(edit->fontMetrics().horizontalAdvance(QString::fromLatin1(widest)));
    AddCaptionRow(grid, row, label, edit, parent);
    return edit;
}

// A read-out whose text changes while the dialog is open gets room for its
// longest text at once, so that typing never resizes the window.
QLabel* MakeReadOut(Label& label, const QString& longest, QWidget* parent) {
    auto* readOut = Make<QLabel>(label, parent);
    readOut->setMinimumWidth(readOut->fontMetrics().horizontalAdvance(longest));
    return readOut;
}

QGroupBox* MakeModuleFrame(CcpForm::Module& m, QWidget* parent) {
    auto* moduleFrame = Make<QGroupBox>(m.moduleFrame, parent);
    auto* column = new QVBoxLayout(moduleFrame);
    column->addWidget(Make<QCheckBox>(m.useBox, moduleFrame));

    auto* row = new QHBoxLayout;
    auto* modeFrame = MakeOptionFrame(m.modeFrame, m.modeOptions, {}, moduleFrame);
    // Beside the taller sub-mode frame the options stay together at the top.
    static_cast<QBoxLayout*>(modeFrame->layout())->addStretch();
    row->addWidget(modeFrame);

    auto* subModeFrame = Make<QGroupBox>(m.subModeFrame, moduleFrame);
    auto* subModeColumn = new QVBoxLayout(subModeFrame);
    subModeColumn->addWidget(Make<QCheckBox>(m.interruptBox, subModeFrame));
    const auto subModes = MakeOptions(m.subModeOptions, subModeFrame);
    // Room for the captions of every mode, so that switching between
    // capture and compare never resizes or moves the dialog.
    int widest = 0;
    const QString shown = subModes.front()->text();
    for (const std::string& caption : CcpForm::SubModeCaptionsOfEveryMode()) {
        subModes.front()->setText(ToQt(caption));
        widest = std::max(widest, subModes.front()->sizeHint().width());
    }
    subModes.front()->setText(shown);
    for (QRadioButton* option : subModes) {
        option->setMinimumWidth(widest);
        subModeColumn->addWidget(option);
    }
    auto* compare = new QGridLayout;
    MakeBoxRow(compare, 0, m.compareLabel, m.compareBox, kTimeWidth, subModeFrame);
    compare->addWidget(MakeReadOut(m.compareValue, ToQt(m.compareValue.caption()) + "0xFFFF", subModeFrame),
                       1, 0, 1, 2);
    subModeColumn->addLayout(compare);

    auto* pwmFrame = Make<QGroupBox>(m.pwmFrame, moduleFrame);
    auto* bits = new QGridLayout(pwmFrame);
    MakeBoxRow(bits, 0, m.yLabel, m.yBox, kBitWidth, pwmFrame);
    MakeBoxRow(bits, 1, m.xLabel, m.xBox, kBitWidth, pwmFrame);
    MakeBoxRow(bits, 2, m.dutyLabel, m.dutyBox, kTimeWidth, pwmFrame);
    bits->addWidget(MakeReadOut(m.dutyPercent, ToQt(m.dutyPercent.caption()) + "100.0%", pwmFrame), 2, 2);
    bits->addWidget(Make<QLabel>(m.pwmPeriod, pwmFrame), 3, 0, 1, 3);
    bits->addWidget(Make<QLabel>(m.pwmResolution, pwmFrame), 4, 0, 1, 3);
    bits->setRowStretch(5, 1);

    auto* sharedPlace = new QGridLayout;
    for (QGroupBox* frame : {subModeFrame, pwmFrame}) {
        KeepRoomWhenHidden(frame);
        for (QWidget* inside : frame->findChildren<QWidget*>()) KeepRoomWhenHidden(inside);
        sharedPlace->addWidget(frame, 0, 0);
    }
    row->addLayout(sharedPlace, 1);
    column->addLayout(row);
    return moduleFrame;
}

}  // namespace

CcpView::CcpView(CcpForm& form, QWidget* parent) : FormDialog(form, parent) {
    auto* layout = new QVBoxLayout(this);
    for (int i = 0; i < CcpForm::kModuleCount; ++i) layout->addWidget(MakeModuleFrame(form.module(i), this));
    layout->addWidget(MakeDriverChoice(form.Drivers, this));

    auto* ok = Make<QPushButton>(form.Command1, this);
    ok->setDefault(true);
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    buttonRow->addWidget(ok);
    buttonRow->addStretch();
    layout->addLayout(buttonRow);

    layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace korvane
