#include "ui/ImageControl.h"

#include <QMouseEvent>
#include <QPainter>

namespace koruba {

ImageControl::ImageControl(QWidget* parent) : QWidget(parent), picture_(size()) {
    // Nothing of the control itself is painted where the picture is empty.
    setAttribute(Qt::WA_NoSystemBackground);
    setAutoFillBackground(false);
}

void ImageControl::paintEvent(QPaintEvent* /*event*/) {
    if (picture_.IsEmpty()) {
        return;
    }
    QPainter painter(this);
    // The picture is pixel art at the control's own size; on a high-density
    // screen its pixels are enlarged, not blurred.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    const QImage& image = picture_.Image();
    painter.drawImage(QRect(QPoint(0, 0), image.size()), image);
}

void ImageControl::resizeEvent(QResizeEvent* event) {
    picture_.SetControlSize(size());
    QWidget::resizeEvent(event);
}

void ImageControl::mousePressEvent(QMouseEvent* event) {
    clickCandidate_ = event->button();
    emit mouseDown(event->button());
}

void ImageControl::mouseReleaseEvent(QMouseEvent* event) {
    const Qt::MouseButton candidate = clickCandidate_;
    clickCandidate_ = Qt::NoButton;
    if (candidate != Qt::NoButton && candidate == event->button() &&
        rect().contains(event->position().toPoint())) {
        emit clicked(event->button());
    }
}

void ImageControl::mouseDoubleClickEvent(QMouseEvent* event) {
    clickCandidate_ = Qt::NoButton;
    emit mouseDown(event->button());
    emit doubleClicked(event->button());
}

} // namespace koruba
