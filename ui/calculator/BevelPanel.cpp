#include "ui/calculator/BevelPanel.h"

#include <QPainter>
#include <qdrawutil.h>

namespace koruba {

namespace {
constexpr int kBorderWidth = 2;
}

BevelPanel::BevelPanel(bool singleBorder, QWidget* parent)
    : QWidget(parent), singleBorder_(singleBorder) {}

QPoint BevelPanel::clientOrigin() const {
    return singleBorder_ ? QPoint(kBorderWidth, kBorderWidth) : QPoint(0, 0);
}

QRect BevelPanel::innerRect() const {
    const QPoint origin = clientOrigin();
    return rect().adjusted(origin.x() + 1, origin.y() + 1, -origin.x() - 1, -origin.y() - 1);
}

void BevelPanel::setCaption(const QString& caption) {
    caption_ = caption;
    update();
}

void BevelPanel::setCaptionColor(const QColor& color) {
    captionColor_ = color;
    update();
}

void BevelPanel::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    // The active colour group throughout: a disabled panel looks the same.
    QPalette pal = palette();
    pal.setCurrentColorGroup(QPalette::Active);
    painter.fillRect(rect(), pal.color(QPalette::Window));
    QRect r = rect();
    if (singleBorder_) {
        qDrawWinPanel(&painter, r, pal, true);
        r.adjust(kBorderWidth, kBorderWidth, -kBorderWidth, -kBorderWidth);
    }
    // One raised bevel: a light line on the top and left, a dark one on
    // the bottom and right (a shaded rectangle would draw two of each, an
    // etched groove).
    qDrawShadePanel(&painter, r, pal, false, 1);
    if (!caption_.isEmpty()) {
        painter.setPen(captionColor_);
        painter.setFont(font());
        painter.drawText(r, Qt::AlignCenter, caption_);
    }
}

} // namespace koruba
