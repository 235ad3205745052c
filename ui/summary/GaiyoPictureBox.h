#pragma once

#include "ui/summary/GaiyoPictures.h"

#include <QWidget>

namespace koruba {

// An image control of the summary dialog. It paints its fixed picture
// unscaled at its top left, or stretched over the whole control, straight
// from the picture's vector drawing, so that it stays sharp at any device
// pixel ratio. What the picture does not cover shows the parent.
class GaiyoPictureBox : public QWidget {
public:
    GaiyoPictureBox(const gaiyo::FixedPicture& picture, bool stretched, QWidget* parent);

    const gaiyo::FixedPicture& fixedPicture() const { return picture_; }
    bool stretched() const { return stretched_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    gaiyo::FixedPicture picture_;
    bool stretched_;
};

} // namespace koruba
