#pragma once

#include <QColor>
#include <QPoint>
#include <QString>
#include <QWidget>

namespace koruba {

// A panel as the window's layout describes them: an optional sunken
// single border (the 3-D client edge of a bordered panel), a raised
// one-pixel bevel inside it, and an optional caption centred in its own
// colour. Children are placed in the client area, inside the border, so
// clientOrigin() is where their (0, 0) lies.
class BevelPanel : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QColor captionColor READ captionColor WRITE setCaptionColor)

public:
    explicit BevelPanel(bool singleBorder, QWidget* parent = nullptr);

    QPoint clientOrigin() const;
    // What lies inside the border and the bevel, in the panel's own
    // coordinates.
    QRect innerRect() const;

    QString caption() const { return caption_; }
    void setCaption(const QString& caption);
    // The caption keeps this colour also while the panel is disabled.
    QColor captionColor() const { return captionColor_; }
    void setCaptionColor(const QColor& color);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool singleBorder_;
    QString caption_;
    QColor captionColor_{Qt::black};
};

} // namespace koruba
