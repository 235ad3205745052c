#pragma once

#include <QByteArray>
#include <QImage>

namespace koruba {

// The program's icon: a red capital N in front of the yellow outline of a
// two-storey frame (two bays below, one above on the right) on a dark
// tile. One description feeds both the scalable SVG and the bitmaps; the
// bitmaps snap the frame lines to whole pixels so that the small sizes
// stay sharp instead of scaling the SVG down.
QImage RenderAppIcon(int size);
QByteArray AppIconSvg();

// The bitmap sizes shipped for the hicolor icon theme.
inline constexpr int AppIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

} // namespace koruba
