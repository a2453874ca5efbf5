#pragma once

#include <QColor>
#include <QRectF>
#include <QSizeF>
#include <QTransform>
#include <string>
#include <vector>

#include "pins/pin_table.h"

class QPainter;

namespace korvane {

// The pin map as a picture: the package seen from above, pin 1 at the top
// left, each pin's number on its lead and its name and use in a box coloured
// by its kind, a legend below. Laid out once in fixed units (pixels at 1:1);
// painting scales the whole to the target, keeping its proportions.
class PinMapPicture {
public:
    explicit PinMapPicture(PinTable table);

    const PinTable& table() const { return table_; }
    // The picture's own size, which an exported PNG has.
    QSizeF size() const { return size_; }

    // Paints into `target`, centred; `current` (a row index, or -1) gets a
    // focus frame.
    void paint(QPainter& painter, const QRectF& target, int current = -1) const;
    // The row whose box or lead lies under `point` of the target, or -1.
    int rowAt(const QRectF& target, QPointF point) const;
    // Where row `row`'s box lies in the target.
    QRectF boxIn(const QRectF& target, int row) const;

private:
    struct Place {
        QRectF box;   // name and use
        QRectF lead;  // the pin with its number
    };
    QTransform fit(const QRectF& target) const;

    PinTable table_;
    std::vector<Place> places_;
    QRectF body_;
    QRectF title_;
    QRectF legend_;
    QSizeF size_;
};

// A kind's colour in the picture and its legend.
QColor KindColour(PinKind kind);

inline constexpr const char* kPinMapFormats = "只能保存为SVG(.svg)或PNG(.png)图片";

// The picture as SVG or PNG bytes; `error` says what went wrong, if anything.
std::string PinMapBytes(const PinTable& table, PinMapFormat format, std::string& error);

// Writes the picture as SVG or PNG, by the path's suffix (.svg, .png, any
// case), through the program's one writer of outputs. Returns "" or what
// went wrong.
std::string SavePinMap(const PinTable& table, const std::string& path);

}  // namespace korvane
