#pragma once

#include <QSize>
#include <QWidget>

#include <functional>

namespace koruba {

// A fixed picture on the window (the element icons), painted from QPainter
// code in design coordinates and scaled to the widget, so that it is drawn
// at the screen's full resolution. Transparent around the drawing; takes
// no input.
class PaintedImage : public QWidget {
    Q_OBJECT

public:
    using PaintFunction = std::function<void(QPainter&)>;

    PaintedImage(QSize designSize, PaintFunction paint, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QSize designSize_;
    PaintFunction paint_;
};

} // namespace koruba
