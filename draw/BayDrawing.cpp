#include "draw/BayDrawing.h"

#include "calc/NumberFormat.h"
#include "draw/Colors.h"
#include "draw/LibDrawPixel.h"

namespace koruba {

namespace {

QString SizeLabel(std::int32_t braceSize) {
    if (braceSize < 0 || braceSize >= static_cast<std::int32_t>(kBraceSizes.size())) {
        return {};
    }
    const BraceSize& size = kBraceSizes[static_cast<std::size_t>(braceSize)];
    return QStringLiteral("%1x%2").arg(size.thicknessMm).arg(size.widthMm);
}

TColor backgroundOf(const BayCell& cell) {
    return cell.PanelOn == 1 ? clSkyBlue : clWhite;
}

// The diagonal from the upper left to the lower right corner, and the one
// from the lower left to the upper right.
bool fallingDiagonal(const BayCell& cell) {
    return cell.BraceKind == BraceRisingLeft || cell.BraceKind == CrossBrace;
}
bool risingDiagonal(const BayCell& cell) {
    return cell.BraceKind == BraceRisingRight || cell.BraceKind == CrossBrace;
}

constexpr std::int32_t FontMsGothic = 3;
constexpr std::int32_t FontMsPGothic = 4;
constexpr std::int32_t LabelPoints = 9;

} // namespace

void DrawBay(Picture& bayImage, const BayCell& cell, float multiplierCap) {
    const std::int32_t iw = bayImage.ControlSize().width();
    const std::int32_t ih = bayImage.ControlSize().height();
    const TColor bg = backgroundOf(cell);

    DrwFill(bayImage, bg);
    DrwRect(bayImage, 0, 0, iw, ih, 4, 0, 1, bg, bg, 0);
    if (fallingDiagonal(cell)) {
        DrwLine(bayImage, 0, 0, iw, ih, 4, 0, clMemberOrange, 0);
    }
    if (risingDiagonal(cell)) {
        DrwLine(bayImage, 0, ih, iw, 0, 4, 0, clMemberOrange, 0);
    }
    if (cell.BraceKind > 0) {
        DrwText(bayImage, 5, 0, 0.0f, SizeLabel(cell.BraceSize), LabelPoints, FontMsGothic, 0, 0,
                clBlack, bg);
    }

    const BayMultiplier m = bayMultiplier(cell, multiplierCap);
    if (m.sum > 0.0f) {
        const QString value = QString::fromStdString(F1(m.sum));
        if (m.capped) {
            DrwText(bayImage, 5, 31, 0.0f, QLatin1Char('[') + value + QLatin1String("]*"),
                    LabelPoints, FontMsPGothic, 1, 0, clBlack, bg);
        } else {
            // Sums of 10 and more, which only the uncapped 2025 rules give,
            // start further left so that the closing bracket shows.
            const std::int32_t left = m.sum < 10.0f ? 6 : 1;
            DrwText(bayImage, left, 31, 0.0f, QLatin1Char('[') + value + QLatin1Char(']'),
                    LabelPoints, FontMsGothic, 0, 0, clBlack, bg);
        }
    }
}

void paintBay(QPainter& painter, const QRectF& bay, const BayCell& cell, qreal braceWidth) {
    painter.save();
    painter.setClipRect(bay, Qt::IntersectClip);
    painter.fillRect(bay, ToQColor(backgroundOf(cell)));
    painter.setPen(QPen(ToQColor(clMemberOrange), braceWidth, Qt::SolidLine, Qt::FlatCap));
    if (fallingDiagonal(cell)) {
        painter.drawLine(bay.topLeft(), bay.bottomRight());
    }
    if (risingDiagonal(cell)) {
        painter.drawLine(bay.bottomLeft(), bay.topRight());
    }
    painter.restore();
}

} // namespace koruba
