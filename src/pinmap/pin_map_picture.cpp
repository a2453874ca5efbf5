#include "pinmap/pin_map_picture.h"

#include <QBuffer>
#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QSvgGenerator>
#include <algorithm>
#include <utility>

namespace korvane {

namespace {

// The layout in picture units. The boxes are wide enough for every name;
// a long use is shortened with "…" and said in full by the tool tip.
constexpr double kMargin = 10;
constexpr double kTitleHeight = 28;
constexpr double kGap = 6;
constexpr double kRowPitch = 34;
constexpr double kBoxHeight = 31;
constexpr double kBoxWidth = 230;
constexpr double kLeadWidth = 30;
constexpr double kLeadHeight = 20;
constexpr double kLeadGap = 6;
constexpr double kBodyWidth = 110;
constexpr double kLegendItemWidth = 108;
constexpr double kLegendRowHeight = 22;
constexpr double kSwatch = 14;
constexpr double kTextPadding = 6;
constexpr int kNamePixels = 13, kUsePixels = 12;

QFont PictureFont(int pixels, bool bold = false) {
    // The font the program ships with for Chinese, named first: the picture
    // is drawn alike on the screen, in a file and by korvane-gen.
    QFont font;
    font.setFamilies({QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC"),
                      QStringLiteral("sans-serif")});
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

QString Qs(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

void DrawLine(QPainter& painter, const QRectF& rect, const QString& text, const QFont& font,
              Qt::Alignment align) {
    painter.setFont(font);
    const QString shown = QFontMetricsF(font).elidedText(text, Qt::ElideRight, rect.width());
    painter.drawText(rect, static_cast<int>(align | Qt::AlignVCenter), shown);
}

}  // namespace

QColor KindColour(PinKind kind) {
    static constexpr QRgb kColours[] = {
        0xffe08a,  // Power
        0xb0bec5,  // Reset
        0x80deea,  // Oscillator
        0xc5e1a5,  // DigitalInput
        0xffcc80,  // DigitalOutput
        0x90caf9,  // Analog
        0x64b5f6,  // Reference
        0xce93d8,  // Module
        0xbcaaa4,  // Programming
        0xeeeeee,  // Free
        0xe53935,  // Conflict
    };
    static_assert(std::size(kColours) == kPinKindCount, "every kind has its colour");
    return QColor::fromRgb(kColours[static_cast<std::size_t>(kind)]);
}

PinMapPicture::PinMapPicture(PinTable table) : table_(std::move(table)) {
    const int count = static_cast<int>(table_.rows.size());
    const int perSide = (count + 1) / 2;
    const double top = kMargin + kTitleHeight + kGap;
    const double leftBox = kMargin;
    const double leftLead = leftBox + kBoxWidth + kLeadGap;
    const double body = leftLead + kLeadWidth;
    const double rightLead = body + kBodyWidth;
    const double rightBox = rightLead + kLeadWidth + kLeadGap;
    const double width = rightBox + kBoxWidth + kMargin;
    places_.resize(table_.rows.size());
    for (int i = 0; i < count; ++i) {
        // Counted down the left side, then up the right, as on the chip.
        const bool left = i < perSide;
        const int slot = left ? i : count - 1 - i;
        const double y = top + slot * kRowPitch;
        const double leadY = y + (kRowPitch - kLeadHeight) / 2;
        Place& place = places_[static_cast<std::size_t>(i)];
        place.box =
            QRectF(left ? leftBox : rightBox, y + (kRowPitch - kBoxHeight) / 2, kBoxWidth, kBoxHeight);
        place.lead = QRectF(left ? leftLead : rightLead, leadY, kLeadWidth, kLeadHeight);
    }
    body_ = QRectF(body, top - kGap / 2, kBodyWidth, perSide * kRowPitch + kGap);
    title_ = QRectF(kMargin, kMargin, width - 2 * kMargin, kTitleHeight);
    const double inner = width - 2 * kMargin;
    const int columns = std::max(1, static_cast<int>(inner / kLegendItemWidth));
    const int legendRows = (static_cast<int>(kPinKindCount) + columns - 1) / columns;
    legend_ = QRectF(kMargin, body_.bottom() + kGap * 2, inner, legendRows * kLegendRowHeight);
    size_ = QSizeF(width, legend_.bottom() + kMargin);
}

QTransform PinMapPicture::fit(const QRectF& target) const {
    const double scale = std::min(target.width() / size_.width(), target.height() / size_.height());
    QTransform transform;
    transform.translate(target.x() + (target.width() - size_.width() * scale) / 2,
                        target.y() + (target.height() - size_.height() * scale) / 2);
    transform.scale(scale, scale);
    return transform;
}

int PinMapPicture::rowAt(const QRectF& target, QPointF point) const {
    bool invertible = false;
    const QPointF at = fit(target).inverted(&invertible).map(point);
    if (!invertible) return -1;
    for (std::size_t i = 0; i < places_.size(); ++i)
        if (places_[i].box.contains(at) || places_[i].lead.contains(at)) return static_cast<int>(i);
    return -1;
}

QRectF PinMapPicture::boxIn(const QRectF& target, int row) const {
    if (row < 0 || static_cast<std::size_t>(row) >= places_.size()) return {};
    return fit(target).mapRect(places_[static_cast<std::size_t>(row)].box);
}

void PinMapPicture::paint(QPainter& painter, const QRectF& target, int current) const {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setTransform(fit(target), true);
    painter.fillRect(QRectF(QPointF(), size_), Qt::white);

    painter.setPen(Qt::black);
    DrawLine(painter, title_, Qs(table_.part + "  " + table_.package + "  引脚图"), PictureFont(18, true),
             Qt::AlignHCenter);

    // The package, its notch marking the end of pin 1.
    painter.setPen(QPen(QColor(0x20, 0x20, 0x20), 1));
    painter.setBrush(QColor(0x3c, 0x3c, 0x3c));
    painter.drawRoundedRect(body_, 6, 6);
    painter.setBrush(Qt::white);
    painter.drawChord(QRectF(body_.center().x() - 14, body_.top() - 14, 28, 28), 180 * 16, 180 * 16);
    painter.save();
    painter.translate(body_.center());
    painter.rotate(-90);
    painter.setPen(Qt::white);
    DrawLine(painter, QRectF(-body_.height() / 2, -14, body_.height(), 28), Qs(table_.part),
             PictureFont(20, true), Qt::AlignHCenter);
    painter.restore();

    const int perSide = (static_cast<int>(table_.rows.size()) + 1) / 2;
    for (std::size_t i = 0; i < table_.rows.size(); ++i) {
        const PinRow& row = table_.rows[i];
        const Place& place = places_[i];
        const bool left = static_cast<int>(i) < perSide;
        painter.setPen(QPen(QColor(0x60, 0x60, 0x60), 1));
        painter.setBrush(QColor(0xc8, 0xc8, 0xc8));
        painter.drawRect(place.lead);
        painter.setPen(Qt::black);
        DrawLine(painter, place.lead, QString::number(row.number), PictureFont(12, true), Qt::AlignHCenter);

        const QColor fill = KindColour(row.kind);
        painter.setPen(QPen(fill.darker(150), 1));
        painter.setBrush(fill);
        painter.drawRoundedRect(place.box, 4, 4);
        painter.setPen(row.kind == PinKind::Conflict ? Qt::white : Qt::black);
        // The text keeps to the side of the chip, so a name reads next to its lead.
        const Qt::Alignment align = left ? Qt::AlignRight : Qt::AlignLeft;
        const QRectF text = place.box.adjusted(kTextPadding, 2, -kTextPadding, -2);
        DrawLine(painter, QRectF(text.x(), text.y(), text.width(), text.height() / 2), Qs(row.name),
                 PictureFont(kNamePixels, true), align);
        DrawLine(painter, QRectF(text.x(), text.center().y(), text.width(), text.height() / 2), Qs(row.use),
                 PictureFont(kUsePixels), align);
        if (static_cast<int>(i) == current) {
            painter.setPen(QPen(QColor(0x15, 0x65, 0xc0), 3));
            painter.setBrush(Qt::NoBrush);
            painter.drawRoundedRect(place.box.united(place.lead).adjusted(-2, -2, 2, 2), 5, 5);
        }
    }

    const auto columns =
        static_cast<std::size_t>(std::max(1, static_cast<int>(legend_.width() / kLegendItemWidth)));
    for (std::size_t k = 0; k < kPinKindCount; ++k) {
        const std::size_t column = k % columns, line = k / columns;
        const double x = legend_.x() + static_cast<double>(column) * kLegendItemWidth;
        const double y = legend_.y() + static_cast<double>(line) * kLegendRowHeight;
        const QColor fill = KindColour(kPinKindTexts[k].kind);
        painter.setPen(QPen(fill.darker(150), 1));
        painter.setBrush(fill);
        painter.drawRect(QRectF(x, y + (kLegendRowHeight - kSwatch) / 2, kSwatch, kSwatch));
        painter.setPen(Qt::black);
        DrawLine(painter, QRectF(x + kSwatch + 6, y, kLegendItemWidth - kSwatch - 10, kLegendRowHeight),
                 QString::fromUtf8(kPinKindTexts[k].text), PictureFont(12), Qt::AlignLeft);
    }
    painter.restore();
}

std::string PinMapBytes(const PinTable& table, PinMapFormat format, std::string& error) {
    error.clear();
    if (format == PinMapFormat::Unknown) {
        error = kPinMapFormats;
        return {};
    }
    const PinMapPicture picture(table);
    const QRectF whole(QPointF(), picture.size());
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (format == PinMapFormat::Svg) {
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        svg.setSize(picture.size().toSize());
        svg.setViewBox(whole);
        svg.setTitle(Qs(table.part + " 引脚图"));
        QPainter painter;
        if (!painter.begin(&svg)) error = "SVG";
        picture.paint(painter, whole);
        painter.end();
    } else {
        QImage image(picture.size().toSize(), QImage::Format_ARGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        picture.paint(painter, whole);
        painter.end();
        if (!image.save(&buffer, "PNG")) error = "PNG";
    }
    return error.empty() ? buffer.data().toStdString() : std::string();
}

}  // namespace korvane
