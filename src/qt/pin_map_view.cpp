#include "qt/pin_map_view.h"

#include <QCloseEvent>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QToolTip>
#include <algorithm>

#include "qt/binders.h"

namespace korvane {

PinMapView::PinMapView(PinMapPanel& panel, QWidget* parent)
    : QWidget(parent), panel_(panel), picture_(panel.table()) {
    setObjectName("PinMapView");
    setAccessibleName(QStringLiteral("引脚图"));
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    QPointer<PinMapView> guard(this);
    panel.observe([guard](Change) {
        if (!guard) return;
        guard->picture_ = PinMapPicture(guard->panel_.table());
        guard->current_ = std::min(guard->current_, static_cast<int>(guard->panel_.table().rows.size()) - 1);
        guard->update();
    });
}

QSize PinMapView::sizeHint() const {
    return (picture_.size() * 0.75).toSize();
}

QSize PinMapView::minimumSizeHint() const {
    return (picture_.size() * 0.3).toSize();
}

int PinMapView::rowAt(QPoint point) const {
    return picture_.rowAt(QRectF(rect()), QPointF(point));
}

QRect PinMapView::boxOf(int row) const {
    return picture_.boxIn(QRectF(rect()), row).toAlignedRect();
}

QString PinMapView::description(int row) const {
    const PinRow& pin = picture_.table().rows.at(static_cast<std::size_t>(row));
    return QStringLiteral("%1脚 %2\n%3:%4\n%5")
        .arg(pin.number)
        .arg(ToQt(pin.name), ToQt(KindText(pin.kind)), ToQt(pin.use), ToQt(pin.detail));
}

bool PinMapView::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const int row = rowAt(help->pos());
        if (row < 0)
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), description(row), this, boxOf(row));
        return true;
    }
    return QWidget::event(event);
}

void PinMapView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    picture_.paint(painter, QRectF(rect()), hasFocus() ? current_ : -1);
}

void PinMapView::mousePressEvent(QMouseEvent* event) {
    if (const int row = rowAt(event->position().toPoint()); row >= 0) {
        current_ = row;
        update();
    }
    QWidget::mousePressEvent(event);
}

void PinMapView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (const int row = rowAt(event->position().toPoint()); row >= 0) panel_.OpenPin(row);
}

void PinMapView::choose(int row) {
    const int count = static_cast<int>(picture_.table().rows.size());
    if (count == 0) return;
    current_ = (row % count + count) % count;
    update();
    QToolTip::showText(mapToGlobal(boxOf(current_).bottomLeft()), description(current_), this,
                       boxOf(current_));
}

void PinMapView::keyPressEvent(QKeyEvent* event) {
    const int count = static_cast<int>(picture_.table().rows.size());
    // Up and down follow the pins' side; left and right cross to the pin opposite.
    const bool left = current_ < (count + 1) / 2;
    switch (event->key()) {
        case Qt::Key_Up:
            choose(left ? current_ - 1 : current_ + 1);
            return;
        case Qt::Key_Down:
            choose(left ? current_ + 1 : current_ - 1);
            return;
        case Qt::Key_Left:
        case Qt::Key_Right:
            choose(count - 1 - current_);
            return;
        case Qt::Key_Home:
            choose(0);
            return;
        case Qt::Key_End:
            choose(count - 1);
            return;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            panel_.OpenPin(current_);
            return;
        default:
            QWidget::keyPressEvent(event);
    }
}

PinMapDock::PinMapDock(PinMapPanel& panel, QWidget* parent)
    : QDockWidget(QStringLiteral("引脚图"), parent), panel_(panel), view_(new PinMapView(panel, this)) {
    setObjectName("PinMapDock");
    setWidget(view_);
    setFocusProxy(view_);
}

void PinMapDock::closeEvent(QCloseEvent* event) {
    QDockWidget::closeEvent(event);
    panel_.setShown(false);
}

}  // namespace korvane
