#include "qt/form_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QWindow>

#include "qt/binders.h"

namespace korvane {

FormDialog::FormDialog(Form& form, QWidget* parent) : QDialog(parent), form_(form) {
    setObjectName(ToQt(form.name()));
    // A title and a close box only: the dialogs are of fixed size, so a
    // window manager must offer neither maximise nor a "?" button.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    showCaption();
    QPointer<FormDialog> guard(this);
    form.observe([guard](Change change) {
        if (!guard) return;
        if (change == Change::Close)
            guard->QDialog::done(QDialog::Accepted);
        else
            guard->showCaption();
    });
}

void FormDialog::showCaption() {
    const QString caption = ToQt(form_.caption());
    setWindowTitle(caption);
    // Qt fills an empty title with the program's name; a blank shows nothing.
    if (caption.isEmpty() && windowHandle()) windowHandle()->setTitle(QStringLiteral(" "));
}

void FormDialog::reject() {
    // The form decides; its unload asks us to close (Change::Close).
    form_.unload();
}

void FormDialog::showEvent(QShowEvent* event) {
    if (!centred_) {
        centred_ = true;
        showCaption();
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

void AddOkRow(QBoxLayout* layout, Button& ok, QWidget* parent, Label* readout) {
    auto* button = Make<QPushButton>(ok, parent);
    button->setDefault(true);
    auto* row = new QHBoxLayout;
    if (readout) row->addWidget(Make<QLabel>(*readout, parent));
    row->addStretch();
    row->addWidget(button);
    layout->addLayout(row);
}

}  // namespace korvane
