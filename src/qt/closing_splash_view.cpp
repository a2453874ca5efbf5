#include "qt/closing_splash_view.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>

#include "qt/binders.h"

namespace korvane {

ClosingSplashView::ClosingSplashView(ClosingSplash& form, QWidget* parent) : FormDialog(form, parent) {
    setWindowFlags(kUntitledWindow);
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
