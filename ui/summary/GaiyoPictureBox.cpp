#include "ui/summary/GaiyoPictureBox.h"

#include <QPainter>

namespace koruba {

GaiyoPictureBox::GaiyoPictureBox(const gaiyo::FixedPicture& picture, bool stretched,
                                 QWidget* parent)
    : QWidget(parent), picture_(picture), stretched_(stretched) {}

void GaiyoPictureBox::paintEvent(QPaintEvent* /*event*/) {
    if (picture_.paint == nullptr || picture_.size.isEmpty()) {
        return;
    }
    QPainter painter(this);
    painter.setRenderHint(QPainter::TextAntialiasing);
    if (stretched_) {
        painter.scale(qreal(width()) / picture_.size.width(),
                      qreal(height()) / picture_.size.height());
    }
    const QRect area(QPoint(0, 0), picture_.size);
    painter.setClipRect(area);
    painter.fillRect(area, Qt::white);
    picture_.paint(painter);
}

} // namespace koruba
