#include "ui/calculator/PaintedIconEngine.h"

#include <QApplication>
#include <QIcon>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QStyle>
#include <QStyleOption>

#include <utility>

namespace koruba {

PaintedIconEngine::PaintedIconEngine(QSize designSize, PaintFunction paint)
    : designSize_(designSize), paint_(std::move(paint)) {}

void PaintedIconEngine::paint(QPainter* painter, const QRect& rect, QIcon::Mode /*mode*/,
                              QIcon::State /*state*/) {
    if (!paint_ || designSize_.isEmpty()) {
        return;
    }
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, true);
    painter->setRenderHint(QPainter::TextAntialiasing, true);
    painter->translate(rect.topLeft());
    painter->scale(static_cast<qreal>(rect.width()) / designSize_.width(),
                   static_cast<qreal>(rect.height()) / designSize_.height());
    paint_(*painter);
    painter->restore();
}

QPixmap PaintedIconEngine::pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        paint(&painter, QRect(QPoint(0, 0), size), mode, state);
    }
    QPixmap pm = QPixmap::fromImage(image);
    if (mode == QIcon::Disabled && qobject_cast<QApplication*>(QCoreApplication::instance())) {
        QStyleOption option;
        option.palette = QApplication::palette();
        pm = QApplication::style()->generatedIconPixmap(QIcon::Disabled, pm, &option);
    }
    return pm;
}

QIconEngine* PaintedIconEngine::clone() const {
    return new PaintedIconEngine(designSize_, paint_);
}

QIcon PaintedIconEngine::makeIcon(QSize designSize, PaintFunction paint) {
    // QIcon takes ownership of the engine.
    return QIcon(new PaintedIconEngine(designSize, std::move(paint)));
}

} // namespace koruba
