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

constexpr std::int32_t FontMsGothic = 3;
constexpr std::int32_t FontMsPGothic = 4;
constexpr std::int32_t LabelPoints = 9;

} // namespace

void DrawBay(Picture& bayImage, const BayCell& cell, float multiplierCap) {
    const std::int32_t iw = bayImage.ControlSize().width();
    const std::int32_t ih = bayImage.ControlSize().height();
    const TColor bg = cell.PanelOn == 1 ? clSkyBlue : clWhite;

    DrwFill(bayImage, bg);
    DrwRect(bayImage, 0, 0, iw, ih, 4, 0, 1, bg, bg, 0);
    if (cell.BraceKind == BraceRisingLeft || cell.BraceKind == CrossBrace) {
        DrwLine(bayImage, 0, 0, iw, ih, 4, 0, clMemberOrange, 0);
    }
    if (cell.BraceKind == BraceRisingRight || cell.BraceKind == CrossBrace) {
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

} // namespace koruba
