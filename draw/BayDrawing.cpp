#include "draw/BayDrawing.h"

#include "calc/NumberFormat.h"
#include "draw/Colors.h"
#include "draw/LibDrawPixel.h"

#include <QFontMetrics>
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

constexpr std::int32_t FontMsGothic = 3;
constexpr std::int32_t FontMsPGothic = 4;
constexpr std::int32_t LabelPoints = 9;

// The star of a capped label at density 1. The label's face draws its
// nine-point asterisk as a 3x4 blob on a cross brace's diagonal; DejaVu
// Sans keeps the six arms of its asterisk at 12 pixels. The star hangs
// from the top of the brackets and ends one pixel clear of the bay's right
// edge, inside a one-pixel ring of the background, so that a diagonal
// running under the label never touches it.
constexpr char kStarFace[] = "DejaVu Sans";
constexpr int kStarPixels = 12;
constexpr int kStarTop = 32;
constexpr int kStarRightMargin = 2;

QImage starGlyph() {
    QFont font(QString::fromLatin1(kStarFace));
    font.setPixelSize(kStarPixels);
    font.setStyleStrategy(QFont::NoAntialias);
    font.setHintingPreference(QFont::PreferVerticalHinting);
    const QFontMetrics metrics(font);
    QImage glyph(2 * kStarPixels, metrics.height(), QImage::Format_RGB32);
    glyph.fill(Qt::white);
    QPainter p(&glyph);
    p.setFont(font);
    p.setPen(Qt::black);
    p.drawText(kStarPixels / 2, metrics.ascent(), QStringLiteral("*"));
    return glyph;
}

void drawCapStar(Picture& bayImage, TColor bg) {
    const QImage glyph = starGlyph();
    QRect ink;
    for (int y = 0; y < glyph.height(); ++y) {
        for (int x = 0; x < glyph.width(); ++x) {
            if (glyph.pixel(x, y) == qRgb(0, 0, 0)) {
                ink |= QRect(x, y, 1, 1);
            }
        }
    }
    if (ink.isNull()) {
        return;
    }
    QImage& canvas = bayImage.Canvas();
    const QPoint shift(bayImage.ControlSize().width() - kStarRightMargin - ink.right(),
                       kStarTop - ink.top());
    QPainter p(&canvas);
    const QColor ring = ToQColor(bg);
    for (const bool inkPass : {false, true}) {
        for (int y = ink.top(); y <= ink.bottom(); ++y) {
            for (int x = ink.left(); x <= ink.right(); ++x) {
                if (glyph.pixel(x, y) != qRgb(0, 0, 0)) {
                    continue;
                }
                const QPoint at = QPoint(x, y) + shift;
                if (inkPass) {
                    p.fillRect(QRect(at, QSize(1, 1)), Qt::black);
                } else {
                    p.fillRect(QRect(at - QPoint(1, 1), QSize(3, 3)), ring);
                }
            }
        }
    }
}

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

} // namespace koruba
