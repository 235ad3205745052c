#pragma once

#include "calc/BracingModel.h"
#include "draw/Picture.h"

namespace koruba {

// Redraws a bay image completely from its bay: sky blue with a panel, else
// white; the brace diagonals in orange; the size label at the top; the
// bay's multiplier sum at the bottom, "[5.0]*" in bold when capped. Without
// a cap (the 2025 rules) the actual sum shows, never with "*".
void DrawBay(Picture& bayImage, const BayCell& cell, float multiplierCap = kBayMultiplierCap2000);

} // namespace koruba
