#include "draw/Picture.h"

#include "draw/JapaneseFonts.h"

namespace koruba {

Picture::Picture(QSize controlSize) : controlSize_(controlSize) {
    // A fresh canvas speaks the window's font: "ＭＳ Ｐゴシック", 9 points.
    font.setFamily(MsPGothicWindow);
    font.setPixelSize(12);
}

QImage& Picture::Canvas() {
    if (image_.isNull() && !controlSize_.isEmpty()) {
        // RGB32 keeps every pixel opaque, which is what the raster
        // operations of the pen modes expect.
        image_ = QImage(controlSize_, QImage::Format_RGB32);
        image_.fill(Qt::white);
        // A 96 dpi raster, as the point sizes of the text assume.
        image_.setDotsPerMeterX(3780);
        image_.setDotsPerMeterY(3780);
    }
    return image_;
}

} // namespace koruba
