#pragma once

#include <QBrush>
#include <QColor>
#include <QWidget>

namespace koruba {

// A rectangle shape of the summary dialog: an outline of the given colour
// and width, drawn inside the widget's edges, over an optional fill. It
// takes no mouse input, so that it can lie over a label as a cell border.
class GaiyoShape : public QWidget {
public:
    GaiyoShape(const QColor& penColor, int penWidth, const QBrush& fill, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor penColor_;
    int penWidth_;
    QBrush fill_;
};

} // namespace koruba
