#pragma once

#include <QColor>
#include <QWidget>

namespace koruba {

// A rectangle shape: filled with its brush colour and outlined with a
// one-pixel pen. One pixel high it serves as a rule whose colour can be
// switched (the line between the two formula blocks).
class ShapeControl : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QColor penColor READ penColor WRITE setPenColor)
    Q_PROPERTY(QColor brushColor READ brushColor WRITE setBrushColor)

public:
    explicit ShapeControl(QWidget* parent = nullptr);

    QColor penColor() const { return penColor_; }
    void setPenColor(const QColor& color);
    QColor brushColor() const { return brushColor_; }
    void setBrushColor(const QColor& color);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor penColor_{Qt::black};
    QColor brushColor_{Qt::white};
};

} // namespace koruba
