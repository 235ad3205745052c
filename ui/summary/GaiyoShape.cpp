#include "ui/summary/GaiyoShape.h"

#include <QPainter>

namespace koruba {

GaiyoShape::GaiyoShape(const QColor& penColor, int penWidth, const QBrush& fill, QWidget* parent)
    : QWidget(parent), penColor_(penColor), penWidth_(penWidth), fill_(fill) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void GaiyoShape::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    const QRect r = rect();
    if (fill_.style() != Qt::NoBrush) {
        painter.fillRect(r, fill_);
    }
    for (int i = 0; i < penWidth_; ++i) {
        const QRect ring = r.adjusted(i, i, -i, -i);
        painter.fillRect(QRect(ring.left(), ring.top(), ring.width(), 1), penColor_);
        painter.fillRect(QRect(ring.left(), ring.bottom(), ring.width(), 1), penColor_);
        painter.fillRect(QRect(ring.left(), ring.top(), 1, ring.height()), penColor_);
        painter.fillRect(QRect(ring.right(), ring.top(), 1, ring.height()), penColor_);
    }
}

} // namespace koruba
