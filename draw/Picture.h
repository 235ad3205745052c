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
class Picture {
public:
    enum class PenMode { Copy, Mask, NotXor };

    explicit Picture(QSize controlSize = {});

    // The size of the control the picture belongs to.
    QSize ControlSize() const { return controlSize_; }
    void SetControlSize(QSize size) { controlSize_ = size; }

    bool IsEmpty() const { return image_.isNull(); }
    // The bitmap; a null image while the picture is empty.
    const QImage& Image() const { return image_; }
    void Clear() { image_ = QImage(); }
    // The bitmap to draw into, created (RGB32, every pixel opaque, white) at the
    // control's size when the picture is empty.
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
    QImage image_;
};

} // namespace koruba
