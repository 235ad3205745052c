#pragma once

#include <QBrush>
#include <QFont>
#include <QImage>
#include <QPen>
#include <QSize>

namespace koruba {

// The raster picture of an image control. It has the size of its control,
// may be empty (no picture: the control shows what lies beneath), and keeps
// pen, brush and font between drawing calls the way a canvas does. The
// bitmap is created at the control's current size by the first drawing
// call after it was emptied.
//
// All drawing is given in the control's pixels. On a screen of higher
// pixel density the bitmap has that many more pixels (its device pixel
// ratio), so that lines and text come out as sharp as the rest of the
// window; at ratio 1 it is the plain 96 dpi raster.
class Picture {
public:
    enum class PenMode { Copy, Mask, NotXor };

    explicit Picture(QSize controlSize = {});

    // The size of the control the picture belongs to.
    QSize ControlSize() const { return controlSize_; }
    void SetControlSize(QSize size) { controlSize_ = size; }
    // The pixel density of the screen the picture is shown on. A bitmap
    // drawn at another density is carried over, scaled, by the next
    // drawing call.
    qreal DevicePixelRatio() const { return devicePixelRatio_; }
    void SetDevicePixelRatio(qreal ratio) { devicePixelRatio_ = ratio > 0 ? ratio : 1.0; }

    bool IsEmpty() const { return image_.isNull(); }
    // The bitmap; a null image while the picture is empty.
    const QImage& Image() const { return image_; }
    void Clear() { image_ = QImage(); }
    // The bitmap to draw into, created (RGB32, every pixel opaque, white) at the
    // control's size and the picture's density when the picture is empty.
    QImage& Canvas();

    // Canvas state that persists between drawing calls.
    QPen pen{Qt::black, 1.0, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin};
    PenMode penMode = PenMode::Copy;
    QBrush brush{Qt::white, Qt::SolidPattern};
    QFont font;
    QColor fontColor{Qt::black};
    // Escapement of the font in tenths of a degree, counter-clockwise.
    int escapement = 0;

private:
    QSize controlSize_;
    qreal devicePixelRatio_ = 1.0;
    QImage image_;
};

} // namespace koruba
