#include "ui/calculator/ImageControl.h"

#include <QMouseEvent>
#include <QPainter>

namespace koruba {

ImageControl::ImageControl(QWidget* parent) : QWidget(parent), picture_(size()) {
    // Nothing of the control itself is painted where the picture is empty.
    setAttribute(Qt::WA_NoSystemBackground);
    setAutoFillBackground(false);
}

void ImageControl::setTransparent(bool transparent) {
    transparent_ = transparent;
    refresh();
}

const QImage& ImageControl::shown() {
    const QImage& image = picture_.Image();
    if (!transparent_) {
        return image;
    }
    if (shownStale_) {
        shown_ = image.convertToFormat(QImage::Format_ARGB32);
        const QRgb key = image.pixel(0, image.height() - 1);
        for (int y = 0; y < shown_.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(shown_.scanLine(y));
            for (int x = 0; x < shown_.width(); ++x) {
                if (line[x] == key) {
                    line[x] = 0;
                }
            }
        }
        shownStale_ = false;
    }
    return shown_;
}

void ImageControl::paintEvent(QPaintEvent* /*event*/) {
    if (picture_.IsEmpty()) {
        return;
    }
    QPainter painter(this);
    // A picture drawn for another density is enlarged or reduced, never
    // blurred.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(QPoint(0, 0), shown());
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
