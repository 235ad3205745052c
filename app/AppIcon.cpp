#include "app/AppIcon.h"

#include <QColor>
#include <QLineF>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QString>
#include <QStringList>

#include <array>
#include <cmath>

namespace koruba {

namespace {

// Design grid: the icon is 64 units square.
constexpr double Grid = 64.0;

const QColor TileColor(0x2f, 0x3b, 0x45);
const QColor FrameColor(0xff, 0xd2, 0x00);
const QColor LetterColor(0xe5, 0x26, 0x2b);
const QColor LetterEdgeColor(0x14, 0x18, 0x1c);

constexpr double TileInset = 2.0;
constexpr double TileRadius = 10.0;
constexpr double FrameWidth = 3.0;
constexpr double LetterEdgeWidth = 2.0;

// Sill, floor beam and roof beam, then the posts: two bays below, the
// right one continued by the single bay above.
constexpr std::array<QLineF, 8> FrameLines{{
    {8, 54, 56, 54},
    {8, 34, 56, 34},
    {32, 14, 56, 14},
    {8, 34, 8, 54},
    {32, 34, 32, 54},
    {56, 34, 56, 54},
    {32, 14, 32, 34},
    {56, 14, 56, 34},
}};

// A heavy N in the corner that the upper storey leaves free, reaching
// down over the floor beam and the left post above it.
constexpr std::array<QPointF, 10> LetterOutline{{
    {8, 42},
    {8, 6},
    {15, 6},
    {26, 27},
    {26, 6},
    {33, 6},
    {33, 42},
    {26, 42},
    {15, 21},
    {15, 42},
}};

QPolygonF Letter(double scale) {
    QPolygonF polygon;
    for (const QPointF& point : LetterOutline)
        polygon << point * scale;
    return polygon;
}

// Frame lines land on whole pixels (on pixel centres for odd widths), so
// that a 16-pixel icon shows one-pixel lines rather than grey smears.
double Snap(double value, double scale, int width) {
    const double offset = (width % 2 == 1) ? 0.5 : 0.0;
    return std::floor(value * scale) + offset;
}

QString Number(double value) {
    return QString::number(value, 'g', 6);
}

} // namespace

QImage RenderAppIcon(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    const double scale = size / Grid;

    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(TileColor);
    const double inset = TileInset * scale;
    painter.drawRoundedRect(QRectF(inset, inset, size - 2 * inset, size - 2 * inset),
                            TileRadius * scale, TileRadius * scale);

    const int frameWidth = qMax(1, static_cast<int>(std::lround(FrameWidth * scale)));
    painter.setPen(QPen(FrameColor, frameWidth, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    for (const QLineF& line : FrameLines) {
        painter.drawLine(
            QLineF(Snap(line.x1(), scale, frameWidth), Snap(line.y1(), scale, frameWidth),
                   Snap(line.x2(), scale, frameWidth), Snap(line.y2(), scale, frameWidth)));
    }

    // The dark edge parts the letter from the frame lines it crosses; at
    // the smallest sizes it would eat the letter, so it thins out there.
    const double edgeWidth = qMax(0.75, LetterEdgeWidth * scale);
    painter.setPen(QPen(LetterEdgeColor, edgeWidth, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.setBrush(LetterColor);
    painter.drawPolygon(Letter(scale));
    painter.end();
    return image;
}

QByteArray AppIconSvg() {
    QString svg;
    svg += QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                          "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"64\" height=\"64\""
                          " viewBox=\"0 0 64 64\">\n");
    svg += QStringLiteral("  <title>KORUBA-X</title>\n");
    svg += QStringLiteral("  <rect x=\"%1\" y=\"%1\" width=\"%2\" height=\"%2\" rx=\"%3\" "
                          "fill=\"%4\"/>\n")
               .arg(Number(TileInset), Number(Grid - 2 * TileInset), Number(TileRadius),
                    TileColor.name());
    svg += QStringLiteral("  <g stroke=\"%1\" stroke-width=\"%2\" stroke-linecap=\"square\" "
                          "fill=\"none\">\n")
               .arg(FrameColor.name(), Number(FrameWidth));
    for (const QLineF& line : FrameLines) {
        svg += QStringLiteral("    <line x1=\"%1\" y1=\"%2\" x2=\"%3\" y2=\"%4\"/>\n")
                   .arg(Number(line.x1()), Number(line.y1()), Number(line.x2()), Number(line.y2()));
    }
    svg += QStringLiteral("  </g>\n");
    QStringList points;
    for (const QPointF& point : LetterOutline)
        points << Number(point.x()) + QLatin1Char(',') + Number(point.y());
    svg += QStringLiteral("  <polygon points=\"%1\" fill=\"%2\" stroke=\"%3\" stroke-width=\"%4\" "
                          "stroke-linejoin=\"miter\"/>\n")
               .arg(points.join(QLatin1Char(' ')), LetterColor.name(), LetterEdgeColor.name(),
                    Number(LetterEdgeWidth));
    svg += QStringLiteral("</svg>\n");
    return svg.toUtf8();
}

} // namespace koruba
