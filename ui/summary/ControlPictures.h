#pragma once

#include "ui/summary/GaiyoPictures.h"

namespace koruba::gaiyo {

// Pictures of the main window's controls for the usage tab of the summary
// dialog, with fixed example values. They are drawn here rather than taken
// from the live window: the examples must read the same whatever state the
// window is in, and their texts differ from the window's own in places.

// Image10: the element group with the 45x90 brace size chosen.
FixedPicture elementGroupPicture();
// Image11: a two-storey frame of four bays with braces placed.
FixedPicture frameExamplePicture();
// Image12: the mirror button with its glyph.
FixedPicture reverseButtonPicture();
// Image13: the clear-all button.
FixedPicture clearButtonPicture();
// Image14: the coefficient box.
FixedPicture coefficientBoxPicture();
// Image15: the three result boxes.
FixedPicture resultBoxesPicture();

} // namespace koruba::gaiyo
