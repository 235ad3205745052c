#pragma once

#include "calc/BracingModel.h"
#include "draw/Picture.h"

#include <QPainter>
#include <QRectF>

namespace koruba {

// Redraws a bay image completely from its bay: sky blue with a panel, else
// white; the brace diagonals in orange; the size label at the top; the
// bay's multiplier sum at the bottom, "[5.0]*" in bold when capped. Without
// a cap (the 2025 rules) the actual sum shows, never with "*".
void DrawBay(Picture& bayImage, const BayCell& cell, float multiplierCap = kBayMultiplierCap2000);

// The same bay as vectors on any painter (a printed page): the panel colour
// and the brace diagonals, clipped to the bay. Too small on paper for the
// labels, which the sheet's table gives in full.
void paintBay(QPainter& painter, const QRectF& bay, const BayCell& cell, qreal braceWidth);

} // namespace koruba
