#pragma once

#include "draw/Colors.h"

#include <QDir>
#include <QImage>
#include <QRect>
#include <QString>

#include <optional>

namespace koruba::test {

inline QRgb Rgb(TColor color) {
    return ToQColor(color).rgb();
}

// Writes a picture, and the same magnified four times, into the build tree
// for a person to look at.
inline void SavePng(const QImage& image, const QString& name) {
    const QDir dir(QStringLiteral(KORUBA_DRAW_PNG_DIR));
    dir.mkpath(QStringLiteral("."));
    image.save(dir.filePath(name + QStringLiteral(".png")));
    image.scaled(image.size() * 4, Qt::IgnoreAspectRatio, Qt::FastTransformation)
        .save(dir.filePath(name + QStringLiteral("_x4.png")));
}

// The smallest rectangle holding every pixel of the colour inside the area;
// nothing when there is none.
inline std::optional<QRect> BoundsOf(const QImage& image, QRgb color, QRect area = {}) {
    if (area.isNull()) {
        area = image.rect();
    }
    area &= image.rect();
    std::optional<QRect> bounds;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (image.pixel(x, y) == color) {
                bounds = bounds ? bounds->united(QRect(x, y, 1, 1)) : QRect(x, y, 1, 1);
            }
        }
    }
    return bounds;
}

inline int CountOf(const QImage& image, QRgb color, QRect area = {}) {
    if (area.isNull()) {
        area = image.rect();
    }
    area &= image.rect();
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            count += image.pixel(x, y) == color ? 1 : 0;
        }
    }
    return count;
}

} // namespace koruba::test
