#include "draw/BayDrawing.h"

#include "calc/NumberFormat.h"
#include "draw/Colors.h"
#include "draw/LibDrawPixel.h"

namespace koruba {

namespace {

QString SizeLabel(std::int32_t braceSize) {
    switch (braceSize) {
    case 0:
        return QStringLiteral("15x90");
    case 1:
        return QStringLiteral("30x90");
    case 2:
        return QStringLiteral("45x90");
    case 3:
        return QStringLiteral("90x90");
    default:
        return {};
    }
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

    // The sum is formed in single precision, as the calculation forms it.
    float sum = cell.BraceMult + cell.PanelMult;
    bool capped = false;
    if (sum > multiplierCap) {
        sum = multiplierCap;
        capped = true;
    }
    if (sum > 0.0f) {
        const QString value = QString::fromStdString(F1(sum));
        if (capped) {
            DrwText(bayImage, 5, 31, 0.0f, QLatin1Char('[') + value + QLatin1String("]*"),
                    LabelPoints, FontMsPGothic, 1, 0, clBlack, bg);
        } else {
            DrwText(bayImage, 6, 31, 0.0f, QLatin1Char('[') + value + QLatin1Char(']'), LabelPoints,
                    FontMsGothic, 0, 0, clBlack, bg);
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
