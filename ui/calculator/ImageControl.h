#pragma once

#include "draw/Picture.h"

#include <QWidget>

namespace koruba {

// An image control: shows the raster picture that the drawing layer draws
// into, and lets whatever lies beneath show through while the picture is
// empty. Mouse events follow the desktop toolkit the window was designed
// for: every press raises mouseDown; a release over the control that was
// pressed raises clicked; the second press of a double-click raises
// mouseDown and doubleClicked, and its release raises nothing. A disabled
// control takes no mouse input at all.
class ImageControl : public QWidget {
    Q_OBJECT

public:
    explicit ImageControl(QWidget* parent = nullptr);

    // The picture to draw into; its control size is the control's size
    // now, also before a hidden control has received its resize event, and
    // its density that of the screen the control is on.
    Picture& picture() {
        picture_.SetControlSize(size());
        picture_.SetDevicePixelRatio(devicePixelRatioF());
        return picture_;
    }
    const Picture& picture() const { return picture_; }

    // A transparent control shows what lies beneath wherever its picture
    // has the transparent colour: the colour of the picture's lower-left
    // pixel, as such image controls do.
    bool transparent() const { return transparent_; }
    void setTransparent(bool transparent);

    // Repaints the control after code has drawn into its picture.
    void refresh() {
        shownStale_ = true;
        update();
    }

signals:
    void mouseDown(Qt::MouseButton button);
    void clicked(Qt::MouseButton button);
    void doubleClicked(Qt::MouseButton button);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    // The picture as shown: with the transparent colour made see-through
    // when the control is transparent. Made again after a refresh.
    const QImage& shown();

    Picture picture_;
    bool transparent_ = false;
    QImage shown_;
    bool shownStale_ = true;
    // The button whose release may still raise a click; NoButton after a
    // double-click press, whose release raises nothing.
    Qt::MouseButton clickCandidate_ = Qt::NoButton;
};

} // namespace koruba
