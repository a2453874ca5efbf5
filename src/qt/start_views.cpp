#include "qt/start_views.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>

#include "qt/binders.h"

namespace korvane {

namespace {
constexpr Qt::WindowFlags kUntitled = Qt::Dialog | Qt::FramelessWindowHint;
}

StartScreenView::StartScreenView(StartScreen& form, QWidget* parent)
    : FormDialog(form, parent), start_(form) {
    setWindowFlags(kUntitled);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* picture = Make<QLabel>(form.Picture1, this);
    picture->setMinimumSize(160, 100);
    layout->addWidget(picture);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    Make<QTimer>(form.Timer3, this);
}

void StartScreenView::keyPressEvent(QKeyEvent* event) {
    // Letters, digits, Enter, Escape, Backspace: every key that types a code.
    int code = 0;
    switch (event->key()) {
        case Qt::Key_Backspace:
            code = 8;
            break;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            code = 13;
            break;
        case Qt::Key_Escape:
            code = 27;
            break;
        default:
            if (event->text().size() == 1) code = event->text().at(0).unicode();
    }
    if (code != 0)
        start_.Form_KeyPress(code);
    else
        event->ignore();
}

ClosingSplashView::ClosingSplashView(ClosingSplash& form, QWidget* parent) : FormDialog(form, parent) {
    setWindowFlags(kUntitled);
    auto* layout = new QVBoxLayout(this);
    auto* label = Make<QLabel>(form.Label1, this);
    label->setAlignment(Qt::AlignCenter);
    QFont font = label->font();
    font.setPointSize(font.pointSize() * 2);
    label->setFont(font);
    layout->addWidget(label);
    setFixedSize(320, 120);
    Make<QTimer>(form.Timer1, this);
}

void ClosingSplashView::keyPressEvent(QKeyEvent* event) {
    event->accept();
}

void ClosingSplashView::closeEvent(QCloseEvent* event) {
    // Only the timer ends the splash, together with the program.
    event->ignore();
}

}  // namespace korvane
