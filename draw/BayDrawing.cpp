#include "draw/BayDrawing.h"

#include "calc/NumberFormat.h"
#include "draw/Colors.h"
#include "draw/LibDrawPixel.h"

#include <QPainter>

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

// The star of a capped label at density 1. The label's face draws its
// nine-point asterisk as a 3x4 blob on a cross brace's diagonal; DejaVu
// Sans keeps the six arms of its asterisk at 12 pixels. The star hangs
// from the top of the brackets and ends one pixel clear of the bay's right
// edge, on a plate of the background one pixel wider all round, so that a
// diagonal running under the label never touches it.
constexpr char kStarFace[] = "DejaVu Sans";
constexpr int kStarPixels = 12;
constexpr int kStarTop = 32;
constexpr int kStarRightMargin = 2;

void drawCapStar(Picture& bayImage, TColor bg) {
    QFont font(QString::fromLatin1(kStarFace));
    font.setPixelSize(kStarPixels);
    font.setStyleStrategy(QFont::NoAntialias);
    font.setHintingPreference(QFont::PreferVerticalHinting);
    QPainter p(&bayImage.Canvas());
    p.setFont(font);
    const QRect ink = p.fontMetrics().boundingRect(QLatin1Char('*'));
    const QPoint origin(bayImage.ControlSize().width() - kStarRightMargin - ink.right(),
                        kStarTop - ink.top());
    p.fillRect(ink.translated(origin).adjusted(-1, -1, 1, 1), ToQColor(bg));
    p.setPen(Qt::black);
    p.drawText(origin, QStringLiteral("*"));
}

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
            // On a denser picture the face's own star has pixels enough.
            const bool sharp = bayImage.DevicePixelRatio() == 1.0;
            const QString label = QLatin1Char('[') + value + QLatin1Char(']');
            DrwText(bayImage, 5, 31, 0.0f, sharp ? label : label + QLatin1Char('*'), LabelPoints,
                    FontMsPGothic, 1, 0, clBlack, bg);
            if (sharp) {
                drawCapStar(bayImage, bg);
            }
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
