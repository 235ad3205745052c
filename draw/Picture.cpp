#include "draw/Picture.h"

#include "draw/JapaneseFonts.h"

#include <QPainter>

namespace koruba {

Picture::Picture(QSize controlSize) : controlSize_(controlSize) {
    // A fresh canvas speaks the window's font: "ＭＳ Ｐゴシック", 9 points.
    font.setFamily(MsPGothicWindow);
    font.setPixelSize(12);
}

QImage& Picture::Canvas() {
    if (controlSize_.isEmpty()) {
        return image_;
    }
    if (image_.isNull() || image_.devicePixelRatio() != devicePixelRatio_) {
        // RGB32 keeps every pixel opaque, which is what the raster
        // operations of the pen modes expect.
        QImage fresh(controlSize_ * devicePixelRatio_, QImage::Format_RGB32);
        fresh.setDevicePixelRatio(devicePixelRatio_);
        fresh.fill(Qt::white);
        // 96 dpi in control pixels, as the point sizes of the text assume;
        // the painter scales to the density itself.
        fresh.setDotsPerMeterX(3780);
        fresh.setDotsPerMeterY(3780);
        if (!image_.isNull()) {
            QPainter p(&fresh);
            p.drawImage(QRect(QPoint(0, 0), controlSize_), image_);
        }
        image_ = fresh;
    }
    return image_;
}

} // namespace koruba
