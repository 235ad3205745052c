#include "draw/ColumnDiagram.h"

#include "calc/PatternTable.h"
#include "draw/BayDrawing.h"
#include "draw/Colors.h"
#include "draw/PatternDiagram.h"

#include <algorithm>
#include <optional>

namespace koruba {

namespace {

QRectF rectOf(const DiagramBlock& b) {
    return QRectF(b.x1, b.y1, b.x2 - b.x1, b.y2 - b.y1);
}

// The bay image's place in diagram pixels: the window's panel shows the
// diagram one pixel up and left of where it lays out the bay images.
QRectF bayRect(std::int32_t tag, const DiagramGeometry& g) {
    const BayImageRect r = BayImagePlace(tag, g);
    return QRectF(r.Left + 1, r.Top + 1, r.Width, r.Height);
}

} // namespace

void paintColumnDiagram(QPainter& painter, const QRectF& target, std::int32_t patternTag,
                        std::int32_t reversed, const BayTable& bays) {
    const DiagramGeometry g;
    const std::vector<DiagramBlock> blocks = patternBlocks(patternTag, reversed, g);
    if (blocks.empty() || target.isEmpty()) {
        return;
    }
    QRectF extent;
    for (const DiagramBlock& b : blocks) {
        extent = extent.united(rectOf(b));
    }
    const qreal scale =
        std::min(target.width() / extent.width(), target.height() / extent.height());

    painter.save();
    painter.translate(target.center());
    painter.scale(scale, scale);
    painter.translate(-extent.center());
    for (const DiagramBlock& b : blocks) {
        painter.fillRect(rectOf(b), ToQColor(b.color));
    }
    // The window draws a brace 4 pixels wide in a bay 39 pixels wide.
    constexpr qreal kBraceWidth = 4.0;
    for (std::int32_t tag = 1; tag <= 4; ++tag) {
        const std::optional<BayAddress> bay = bayOfTag(tag);
        if (bay && bayInUse(tag, patternTag, reversed)) {
            paintBay(painter, bayRect(tag, g), bays.Cell(bay->storey, bay->side), kBraceWidth);
        }
    }
    painter.restore();
}

} // namespace koruba
