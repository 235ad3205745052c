#include "ui/calculator/ShapeControl.h"

#include <QPainter>

namespace koruba {

ShapeControl::ShapeControl(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void ShapeControl::setPenColor(const QColor& color) {
    penColor_ = color;
    update();
}

void ShapeControl::setBrushColor(const QColor& color) {
    brushColor_ = color;
    update();
}

void ShapeControl::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.fillRect(rect(), brushColor_);
    // Outline drawn as four filled edges so that it covers whole device
    // pixels at any scale, including the one-pixel-high rule.
    const int w = width();
    const int h = height();
    painter.fillRect(0, 0, w, 1, penColor_);
    painter.fillRect(0, h - 1, w, 1, penColor_);
    painter.fillRect(0, 0, 1, h, penColor_);
    painter.fillRect(w - 1, 0, 1, h, penColor_);
}

} // namespace koruba
