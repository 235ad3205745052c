#pragma once

#include "calc/BracingModel.h"

#include <QPainter>
#include <QRectF>

#include <cstdint>

namespace koruba {

// A column's frame pattern with what stands in its bays, painted as vectors
// on any painter (a PDF page, a printer) so that it is sharp at the
// device's resolution: the members of the window's diagram, the column
// under study in red, and in each bay the pattern uses the panel colour and
// the braces as the bay images show them. The diagram keeps its
// proportions and is centred in target; nothing is painted for a tag that
// is not a pattern.
void paintColumnDiagram(QPainter& painter, const QRectF& target, std::int32_t patternTag,
                        std::int32_t reversed, const BayTable& bays);

} // namespace koruba
