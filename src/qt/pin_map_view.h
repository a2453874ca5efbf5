#pragma once

#include <QDockWidget>
#include <QWidget>

#include "app/pin_map_panel.h"
#include "pinmap/pin_map_picture.h"

namespace korvane {

// The pin map's drawing area: the picture scaled into the widget, a pin's
// full description as its tool tip, a double-click (or Enter on the pin the
// arrow keys chose) opening the dialog that decides the pin.
class PinMapView : public QWidget {
    Q_OBJECT
public:
    explicit PinMapView(PinMapPanel& panel, QWidget* parent = nullptr);

    const PinMapPicture& picture() const { return picture_; }
    int currentRow() const { return current_; }
    // What the tool tip of row `row` says.
    QString description(int row) const;
    // Where row `row`'s box is drawn, in widget coordinates.
    QRect boxOf(int row) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    int rowAt(QPoint point) const;
    void choose(int row);

    PinMapPanel& panel_;
    PinMapPicture picture_;
    int current_ = 0;
};

// The dock the map lives in, shown and hidden by the panel. Its close box
// tells the panel, so the menu's tick and the remembered state follow.
class PinMapDock : public QDockWidget {
    Q_OBJECT
public:
    explicit PinMapDock(PinMapPanel& panel, QWidget* parent = nullptr);
    PinMapView* view() const { return view_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    PinMapPanel& panel_;
    PinMapView* view_;
};

}  // namespace korvane
