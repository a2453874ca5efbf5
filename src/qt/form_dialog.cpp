#include "qt/form_dialog.h"

#include <QPointer>
#include <QScreen>
#include <QShowEvent>

#include "qt/binders.h"

namespace korvane {

FormDialog::FormDialog(Form& form, QWidget* parent) : QDialog(parent), form_(form) {
    setObjectName(ToQt(form.name()));
    setWindowTitle(ToQt(form.caption()));
    // No "?" button: the forms have only a close box.
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    QPointer<FormDialog> guard(this);
    form.observe([guard](Change change) {
        if (!guard) return;
        if (change == Change::Close)
            guard->QDialog::done(QDialog::Accepted);
        else
            guard->setWindowTitle(ToQt(guard->form_.caption()));
    });
}

void FormDialog::reject() {
    // The form decides; its unload asks us to close (Change::Close).
    form_.unload();
}

void FormDialog::showEvent(QShowEvent* event) {
    if (!centred_) {
        centred_ = true;
        adjustSize();
        CentreOnScreen(this);
    }
    QDialog::showEvent(event);
}

void CentreOnScreen(QWidget* window) {
    const QScreen* screen = window->screen();
    if (!screen) return;
    const QRect area = screen->geometry();
    const QSize size = window->frameGeometry().size();
    window->move(area.left() + (area.width() - size.width()) / 2,
                 area.top() + (area.height() - size.height()) / 2);
}

}  // namespace korvane
