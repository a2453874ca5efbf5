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
    picture_ = Make<QLabel>(form.Picture1, this);
    picture_->setMinimumSize(160, 100);
    // The picture keeps its room while hidden, so the window opens at its
    // final size whenever the picture is shown (see setVisible).
    QSizePolicy policy = picture_->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    picture_->setSizePolicy(policy);
    layout->addWidget(picture_);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    Make<QTimer>(form.Timer3, this);
}

void StartScreenView::setVisible(bool visible) {
    // Qt starts its accessibility bridge, a D-Bus session connection that
    // takes milliseconds, when the first child widget is shown. Shown with
    // the window, the picture would hold back the window's opening; shown
    // just after it, it is still there for the first paint.
    const bool picture = visible && !picture_->isHidden();
    if (picture) picture_->hide();
    FormDialog::setVisible(visible);
    if (picture) picture_->show();
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
