#include "qt/start_screen_view.h"

#include <QKeyEvent>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>

#include "qt/binders.h"

namespace korvane {

StartScreenView::StartScreenView(StartScreen& form, QWidget* parent)
    : FormDialog(form, parent), start_(form) {
    setWindowFlags(kUntitledWindow);
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
    const int code = KeyAscii(event);
    if (code != 0)
        start_.Form_KeyPress(code);
    else
        event->ignore();
}

}  // namespace korvane
