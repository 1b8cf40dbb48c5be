#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QRect>
#include <QString>

#include <functional>

namespace ListCtrlEx::test {

// Bounding box of the pixels inside `area` that match `wanted`; empty when none.
inline QRect PixelBounds(const QImage& image, const QRect& area, const std::function<bool(QRgb)>& wanted)
{
    QRect bounds;
    const QRect clipped = area & image.rect();
    for (int y = clipped.top(); y <= clipped.bottom(); ++y) {
        for (int x = clipped.left(); x <= clipped.right(); ++x) {
            if (wanted(image.pixel(x, y)))
                bounds |= QRect(x, y, 1, 1);
        }
    }
    return bounds;
}

// Pixels that differ from (or, with `equal`, match) the given colour.
inline QRect InkBounds(const QImage& image, const QRect& area, const QColor& color, bool equal = false)
{
    const QRgb c = color.rgb() | 0xFF000000u;
    return PixelBounds(image, area, [c, equal](QRgb p) { return ((p | 0xFF000000u) == c) == equal; });
}

inline bool HasPixel(const QImage& image, const QRect& area, const QColor& color)
{
    return !InkBounds(image, area, color, true).isEmpty();
}

inline QColor PixelAt(const QImage& image, int x, int y)
{
    return QColor(image.pixel(x, y));
}

// Text drawn the plain way on a plain background: what a cell or header item
// must match at the same place.
inline QImage ReferenceText(QSize size, const QFont& font, const QColor& background, const QColor& color,
    const QRect& textRect, int flags, const QString& text)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(background);
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(color);
    painter.drawText(textRect, flags, text);
    return image;
}

} // namespace ListCtrlEx::test
