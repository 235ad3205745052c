#include "ui/calculator/PaintedImage.h"

#include <QPainter>

#include <utility>

namespace koruba {

PaintedImage::PaintedImage(QSize designSize, PaintFunction paint, QWidget* parent)
    : QWidget(parent), designSize_(designSize), paint_(std::move(paint)) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void PaintedImage::paintEvent(QPaintEvent* /*event*/) {
    if (!paint_ || designSize_.isEmpty()) {
        return;
    }
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.scale(static_cast<qreal>(width()) / designSize_.width(),
                  static_cast<qreal>(height()) / designSize_.height());
    paint_(painter);
}

} // namespace koruba
