#pragma once

#include "ui/GaiyoPictures.h"

namespace koruba::gaiyo {

// Pictures of the main window's controls for the usage tab of the summary
// dialog, with fixed example values. They are drawn here rather than taken
// from the live window: the examples must read the same whatever state the
// window is in, and their texts differ from the window's own in places.

// Image10: the element group with the 45x90 brace size chosen.
FixedPicture ElementGroupPicture();
// Image11: a two-storey frame of four bays with braces placed.
FixedPicture FrameExamplePicture();
// Image12: the mirror button with its glyph.
FixedPicture ReverseButtonPicture();
// Image13: the clear-all button.
FixedPicture ClearButtonPicture();
// Image14: the coefficient box.
FixedPicture CoefficientBoxPicture();
// Image15: the three result boxes.
FixedPicture ResultBoxesPicture();

} // namespace koruba::gaiyo
