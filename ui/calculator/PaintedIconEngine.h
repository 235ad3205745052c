#pragma once

#include <QIconEngine>
#include <QSize>

#include <functional>

namespace koruba {

// Paints a picture, given as QPainter code in its own design coordinates,
// at whatever pixel size an icon is asked for. Tool-bar images and button
// glyphs so stay sharp at any device pixel ratio instead of being scaled
// up from a small bitmap. The disabled form is derived by the style, as
// for any pixmap icon.
class PaintedIconEngine : public QIconEngine {
public:
    using PaintFunction = std::function<void(QPainter&)>;

    PaintedIconEngine(QSize designSize, PaintFunction paint);

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override;
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
    QIconEngine* clone() const override;

    static QIcon makeIcon(QSize designSize, PaintFunction paint);

private:
    QSize designSize_;
    PaintFunction paint_;
};

} // namespace koruba
