#include "draw/HousePlan.h"

#include "columns/BayToken.h"
#include "draw/Colors.h"
#include "draw/JapaneseFonts.h"

#include <QFontMetricsF>
#include <QPainterPath>
#include <QPolygonF>

#include <algorithm>
#include <array>
#include <cmath>

namespace koruba {

namespace {

// Sizes on the plan, in millimetres of the house: the plan is drawn to
// scale, so that the symbols keep their place between the grid lines at
// every zoom and on every page.
constexpr qreal kWallHalf = 70.0;
constexpr qreal kColumnHalf = 60.0;
constexpr qreal kThroughRadius = 115.0;
constexpr int kSymbolPixels = 190;
constexpr int kTokenPixels = 120;
constexpr int kGridNamePixels = 170;
constexpr int kDimensionPixels = 130;
constexpr qreal kDimensionOffset = 450.0;
constexpr qreal kTotalOffset = 800.0;
constexpr qreal kBubbleOffset = 1150.0;
constexpr qreal kBubbleRadius = 200.0;
constexpr qreal kMargin = 1400.0;
constexpr qreal kLabelGap = 80.0;

const QColor kGridColour(150, 150, 150);
const QColor kFaint(200, 200, 200);
const QColor kBeyondColour(208, 0, 0);
const QColor kWarningColour(230, 0, 0);

// From light grey for the smallest hardware to purple for the reference
// hold-downs beyond the notice's table: neighbouring classes differ in hue
// so that a column one class off stands out.
constexpr std::array<QRgb, 11> kClassColours{{
    0xffdcdcdc, // (い)
    0xffc6e2ff, // (ろ)
    0xff8fc8ff, // (は)
    0xffa8e6a1, // (に)
    0xffd4f08c, // (ほ)
    0xfffff07a, // (へ)
    0xffffd166, // (と)
    0xffffa95e, // (ち)
    0xffff8a80, // (り)
    0xfff06292, // (ぬ)
    0xffba68c8, // (る)*
}};

QPen mmPen(const QColor& colour, qreal width, Qt::PenStyle style = Qt::SolidLine) {
    return QPen(colour, width, style, Qt::FlatCap, Qt::MiterJoin);
}

// A grid line's chain line: a long dash and a dot, some half a metre
// apart, as separate strokes. Qt's own dash-dot of a thin pen would cut
// each line of a large plan into thousands of pieces to draw, and starts
// its pattern afresh where a repaint of part of the plan clips the line,
// so that the repainted part would not match the rest.
QPen gridPen() {
    return mmPen(kGridColour, 10.0);
}

// Dashes in millimetres, on and off in turn.
constexpr std::array<qreal, 4> kChainPattern{300.0, 100.0, 30.0, 100.0};
constexpr std::array<qreal, 2> kDashPattern{100.0, 50.0};

template <std::size_t N>
void dashedLine(QPainter& painter, QPointF from, QPointF to, const QRectF& area,
                const std::array<qreal, N>& pattern) {
    const QPointF d = to - from;
    const qreal length = std::hypot(d.x(), d.y());
    if (length <= 0.0) {
        return;
    }
    const QPointF u = d / length;
    QList<QLineF> strokes;
    qreal at = 0.0;
    for (std::size_t i = 0; at < length; at += pattern[i], i = (i + 1) % pattern.size()) {
        if (i % 2 == 0) {
            const QLineF stroke(from + u * at, from + u * std::min(at + pattern[i], length));
            if (area.isEmpty() || area.intersects(QRectF(stroke.p1(), stroke.p2())
                                                      .normalized()
                                                      .adjusted(-10.0, -10.0, 10.0, 10.0))) {
                strokes.push_back(stroke);
            }
        }
    }
    painter.drawLines(strokes);
}

// The plan's few fonts and their metrics, made once a frame: a plan of a
// few hundred columns uses them thousands of times. The fonts are in
// pixels of the plan (millimetres), so that their metrics do not depend
// on the device.
struct PlanFont {
    explicit PlanFont(int pixels, bool bold = false)
        : font(JapaneseFont(MsGothic, pixels, bold)), metrics(font) {}
    QFont font;
    QFontMetricsF metrics;
};
struct PlanFonts {
    PlanFont grid{kGridNamePixels};
    PlanFont dimension{kDimensionPixels};
    PlanFont token{kTokenPixels};
    PlanFont symbol{kSymbolPixels};
    PlanFont beyond{kSymbolPixels, true};
    PlanFont warning{140, true};
};

// A text centred on a point, in the painter's font.
void centredText(QPainter& painter, QPointF centre, const QString& text) {
    constexpr qreal kRoom = 4000.0;
    painter.drawText(QRectF(centre.x() - kRoom / 2, centre.y() - kRoom / 2, kRoom, kRoom),
                     Qt::AlignCenter | Qt::TextDontClip, text);
}

struct GridExtent {
    qreal left = 0;
    qreal right = 0;
    qreal top = 0; // painter y of the highest grid line
    qreal bottom = 0;
};

GridExtent extentOf(const House& house) {
    GridExtent e;
    if (!house.gridX.empty()) {
        e.left = house.gridX.front().positionMm;
        e.right = house.gridX.back().positionMm;
    }
    if (!house.gridY.empty()) {
        e.bottom = -static_cast<qreal>(house.gridY.front().positionMm);
        e.top = -static_cast<qreal>(house.gridY.back().positionMm);
    }
    return e;
}

bool validPoint(const House& house, GridPoint p) {
    return p.x >= 0 && p.y >= 0 && static_cast<std::size_t>(p.x) < house.gridX.size() &&
           static_cast<std::size_t>(p.y) < house.gridY.size();
}

void paintGrid(QPainter& painter, const House& house, const PlanFonts& fonts, const QRectF& area) {
    const GridExtent e = extentOf(house);
    painter.setBrush(Qt::NoBrush);
    auto bubble = [&painter](QPointF centre, const std::string& name) {
        painter.setPen(mmPen(Qt::black, 12.0));
        painter.setBrush(Qt::white);
        painter.drawEllipse(centre, kBubbleRadius, kBubbleRadius);
        centredText(painter, centre, QString::fromStdString(name));
    };
    painter.setFont(fonts.grid.font);
    for (const GridLine& line : house.gridX) {
        const qreal x = line.positionMm;
        painter.setPen(gridPen());
        dashedLine(painter, QPointF(x, e.top - kBubbleOffset + kBubbleRadius),
                   QPointF(x, e.bottom + kBubbleOffset - kBubbleRadius), area, kChainPattern);
        bubble(QPointF(x, e.top - kBubbleOffset), line.name);
        bubble(QPointF(x, e.bottom + kBubbleOffset), line.name);
    }
    for (const GridLine& line : house.gridY) {
        const qreal y = -static_cast<qreal>(line.positionMm);
        painter.setPen(gridPen());
        dashedLine(painter, QPointF(e.left - kBubbleOffset + kBubbleRadius, y),
                   QPointF(e.right + kBubbleOffset - kBubbleRadius, y), area, kChainPattern);
        bubble(QPointF(e.left - kBubbleOffset, y), line.name);
        bubble(QPointF(e.right + kBubbleOffset, y), line.name);
    }

    // Dimensions below and left of the grid: each span, then the whole.
    painter.setFont(fonts.dimension.font);
    painter.setPen(mmPen(Qt::black, 8.0));
    const QFontMetricsF& metrics = fonts.dimension.metrics;
    auto horizontal = [&](qreal y, qreal from, qreal to) {
        painter.drawLine(QPointF(from, y), QPointF(to, y));
        for (const qreal x : {from, to}) {
            painter.drawLine(QPointF(x, y - 60), QPointF(x, y + 60));
        }
        centredText(painter, QPointF((from + to) / 2.0, y - metrics.height() / 2.0 - 10.0),
                    QString::number(std::lround(to - from)));
    };
    auto vertical = [&](qreal x, qreal from, qreal to) {
        painter.drawLine(QPointF(x, from), QPointF(x, to));
        for (const qreal y : {from, to}) {
            painter.drawLine(QPointF(x - 60, y), QPointF(x + 60, y));
        }
        const QString text = QString::number(std::lround(std::abs(to - from)));
        painter.save();
        painter.translate(x - metrics.height() / 2.0 - 10.0, (from + to) / 2.0);
        painter.rotate(-90.0);
        centredText(painter, QPointF(0, 0), text);
        painter.restore();
    };
    for (std::size_t i = 1; i < house.gridX.size(); ++i) {
        horizontal(e.bottom + kDimensionOffset, house.gridX[i - 1].positionMm,
                   house.gridX[i].positionMm);
    }
    if (house.gridX.size() > 2) {
        horizontal(e.bottom + kTotalOffset, e.left, e.right);
    }
    for (std::size_t i = 1; i < house.gridY.size(); ++i) {
        vertical(e.left - kDimensionOffset, -static_cast<qreal>(house.gridY[i - 1].positionMm),
                 -static_cast<qreal>(house.gridY[i].positionMm));
    }
    if (house.gridY.size() > 2) {
        vertical(e.left - kTotalOffset, e.bottom, e.top);
    }
}

QPolygonF outlinePolygon(const House& house, const Storey& storey) {
    QPolygonF polygon;
    for (const GridPoint& p : storey.outline) {
        if (validPoint(house, p)) {
            polygon << planPoint(house, p);
        }
    }
    return polygon;
}

// The wall band with its braces. A single brace runs across the band from
// its low end to its high end and ends in an arrowhead where it rises, so
// that R and L read apart at any size.
void paintWall(QPainter& painter, const House& house, const HouseWall& wall, bool faint,
               const PlanFonts& fonts) {
    if (!validPoint(house, wall.from) || !validPoint(house, wall.to)) {
        return;
    }
    QPointF a = planPoint(house, wall.from);
    QPointF b = planPoint(house, wall.to);
    const bool alongX = wall.from.y == wall.to.y;
    // Low end first: lower x, or lower plan y (larger painter y).
    if (alongX ? a.x() > b.x() : a.y() < b.y()) {
        std::swap(a, b);
    }
    // Across the band: half its width toward one side (up the page for an
    // X wall, left for a Y wall: the X wall turned a quarter anticlockwise,
    // so that the same brace reads the same way along both).
    const QPointF side = alongX ? QPointF(0, -1) : QPointF(-1, 0);
    const QPointF along = alongX ? QPointF(1, 0) : QPointF(0, -1);
    const QPointF h = side * kWallHalf;
    const QPolygonF band({a - h, b - h, b + h, a + h});
    const BayCell& cell = wall.bay;
    if (faint) {
        painter.setPen(mmPen(kFaint, 8.0));
        painter.setBrush(kFaint);
        painter.drawPolygon(band);
        return;
    }
    painter.setPen(mmPen(Qt::black, 10.0));
    painter.setBrush(cell.PanelOn == 1 ? ToQColor(clSkyBlue) : QColor(Qt::white));
    painter.drawPolygon(band);

    const QColor braceColour = ToQColor(clMemberOrange).darker(115);
    painter.setPen(mmPen(braceColour, 22.0));
    const qreal inset = std::min(kColumnHalf + 10.0, std::hypot(b.x() - a.x(), b.y() - a.y()) / 4);
    const QPointF a1 = a + along * inset;
    const QPointF b1 = b - along * inset;
    auto arrowAt = [&painter, &braceColour](QPointF tip, QPointF from) {
        const QPointF d = tip - from;
        const qreal length = std::hypot(d.x(), d.y());
        if (length <= 0.0) {
            return;
        }
        const QPointF u = d / length;
        const QPointF n(-u.y(), u.x());
        const qreal size = 110.0;
        painter.setBrush(braceColour);
        painter.setPen(Qt::NoPen);
        painter.drawPolygon(
            QPolygonF({tip, tip - u * size + n * size * 0.45, tip - u * size - n * size * 0.45}));
        painter.setPen(mmPen(braceColour, 22.0));
    };
    switch (cell.BraceKind) {
    case BraceRisingRight:
        painter.drawLine(a1 - h, b1 + h);
        arrowAt(b1 + h, a1 - h);
        break;
    case BraceRisingLeft:
        painter.drawLine(a1 + h, b1 - h);
        arrowAt(a1 + h, b1 - h);
        break;
    case CrossBrace:
        painter.drawLine(a1 - h, b1 + h);
        painter.drawLine(a1 + h, b1 - h);
        break;
    default:
        break;
    }

    // The bay token beside the band, halfway between the columns whose
    // symbols stand up and right of them: below an X wall, right of a Y
    // wall (the left of the plan holds the dimensions).
    const QString token = QString::fromStdString(columns::bayTokenOf(cell));
    if (token.isEmpty()) {
        return;
    }
    painter.setFont(fonts.token.font);
    painter.setPen(Qt::black);
    const QFontMetricsF& metrics = fonts.token.metrics;
    const QPointF middle = (a + b) / 2.0;
    if (alongX) {
        centredText(painter, middle + QPointF(0, kWallHalf + 20 + metrics.height() / 2), token);
    } else {
        centredText(painter,
                    middle + QPointF(kWallHalf + 20 + metrics.horizontalAdvance(token) / 2, 0),
                    token);
    }
}

// Whether something that draws within bounds is to be drawn for area.
bool meets(const QRectF& area, const QRectF& bounds) {
    return area.isEmpty() || area.intersects(bounds);
}

void paintStorey(QPainter& painter, const House& house, const Storey& storey, bool faint,
                 const PlanFonts& fonts, const QRectF& area) {
    const QPolygonF outline = outlinePolygon(house, storey);
    painter.setBrush(Qt::NoBrush);
    if (faint) {
        painter.setPen(mmPen(kFaint, 25.0));
        for (qsizetype i = 0; i < outline.size(); ++i) {
            dashedLine(painter, outline[i], outline[(i + 1) % outline.size()], area, kDashPattern);
        }
    } else if (outline.size() >= 2) {
        painter.setPen(mmPen(Qt::black, 40.0));
        painter.drawPolygon(outline);
    }
    for (const HouseWall& wall : storey.walls) {
        if (validPoint(house, wall.from) && validPoint(house, wall.to) &&
            meets(area, planWallArea(house, wall))) {
            paintWall(painter, house, wall, faint, fonts);
        }
    }
    if (faint) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(kFaint);
        for (const HouseColumn& column : storey.columns) {
            if (validPoint(house, column.at) && meets(area, planColumnArea(house, column.at))) {
                const QPointF p = planPoint(house, column.at);
                painter.drawRect(QRectF(p.x() - kColumnHalf, p.y() - kColumnHalf, 2 * kColumnHalf,
                                        2 * kColumnHalf));
            }
        }
    }
}

void paintColumn(QPainter& painter, const House& house, const ColumnResult& column,
                 const PlanFonts& fonts) {
    const QPointF p = planPoint(house, column.at);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    painter.drawRect(
        QRectF(p.x() - kColumnHalf, p.y() - kColumnHalf, 2 * kColumnHalf, 2 * kColumnHalf));
    if (column.through) {
        painter.setBrush(Qt::NoBrush);
        painter.setPen(mmPen(Qt::black, 14.0));
        painter.drawEllipse(p, kThroughRadius, kThroughRadius);
    }

    // The symbol up and right of the column, in a box of its class colour;
    // beyond every class, white on red in bold with a heavy frame.
    const bool beyond = beyondHardwareClasses(column);
    const QString text = planSymbolText(column);
    const PlanFont& symbolFont = beyond ? fonts.beyond : fonts.symbol;
    painter.setFont(symbolFont.font);
    const QFontMetricsF& metrics = symbolFont.metrics;
    const qreal width = metrics.horizontalAdvance(text) + 80.0;
    const qreal height = metrics.height() + 10.0;
    const QRectF box(p.x() + kLabelGap, p.y() - kLabelGap - height, width, height);
    painter.setBrush(hardwareClassColor(column.result().JointClass));
    painter.setPen(mmPen(beyond ? Qt::black : QColor(90, 90, 90), beyond ? 30.0 : 8.0));
    painter.drawRoundedRect(box, 30.0, 30.0);
    painter.setPen(beyond ? Qt::white : Qt::black);
    painter.drawText(box, Qt::AlignCenter, text);

    if (!column.warnings.empty()) {
        // A red triangle with "!" down and left of the column.
        const QPointF c = p + QPointF(-kLabelGap - 110.0, kLabelGap + 110.0);
        const QPolygonF triangle(
            {c + QPointF(0, -120), c + QPointF(110, 80), c + QPointF(-110, 80)});
        painter.setPen(mmPen(Qt::white, 10.0));
        painter.setBrush(kWarningColour);
        painter.drawPolygon(triangle);
        painter.setPen(Qt::white);
        painter.setFont(fonts.warning.font);
        centredText(painter, c + QPointF(0, 20), QStringLiteral("!"));
    }
}

const Storey* storeyOf(const House& house, std::int32_t number) {
    for (const Storey& s : house.storeys) {
        if (s.number == number) {
            return &s;
        }
    }
    return nullptr;
}

} // namespace

QPointF planPoint(const House& house, GridPoint p) {
    return {static_cast<qreal>(house.gridX[static_cast<std::size_t>(p.x)].positionMm),
            -static_cast<qreal>(house.gridY[static_cast<std::size_t>(p.y)].positionMm)};
}

QRectF planWallArea(const House& house, const HouseWall& wall) {
    // The band, and its bay token below or right of it: a few characters
    // of the token font.
    constexpr qreal kReach = kWallHalf + 20.0 + 12 * kTokenPixels;
    return QRectF(planPoint(house, wall.from), planPoint(house, wall.to))
        .normalized()
        .adjusted(-kReach, -kReach, kReach, kReach);
}

QRectF planColumnArea(const House& house, GridPoint at) {
    // The symbol box up and right (a few characters of the symbol font),
    // the warning mark down and left, the ring around.
    const QPointF p = planPoint(house, at);
    constexpr qreal kSymbolReach = kLabelGap + 10 * kSymbolPixels;
    constexpr qreal kMarkReach = kLabelGap + 300.0;
    return QRectF(QPointF(p.x() - kMarkReach, p.y() - kLabelGap - 3 * kSymbolPixels),
                  QPointF(p.x() + kSymbolReach, p.y() + kMarkReach));
}

QRectF planBounds(const House& house) {
    const GridExtent e = extentOf(house);
    return QRectF(QPointF(e.left - kMargin, e.top - kMargin),
                  QPointF(e.right + kMargin, e.bottom + kMargin));
}

QTransform fitPlanTransform(const QRectF& planArea, const QRectF& target) {
    if (planArea.isEmpty() || target.isEmpty()) {
        return {};
    }
    const qreal scale =
        std::min(target.width() / planArea.width(), target.height() / planArea.height());
    QTransform t;
    t.translate(target.center().x(), target.center().y());
    t.scale(scale, scale);
    t.translate(-planArea.center().x(), -planArea.center().y());
    return t;
}

QColor hardwareClassColor(std::int32_t jointClass) {
    if (jointClass >= 1 && jointClass <= static_cast<std::int32_t>(kClassColours.size())) {
        return QColor::fromRgb(kClassColours[static_cast<std::size_t>(jointClass - 1)]);
    }
    return kBeyondColour;
}

bool beyondHardwareClasses(const ColumnResult& column) {
    return column.result().JointClass == 0;
}

QString planSymbolText(const ColumnResult& column) {
    const QString symbol =
        beyondHardwareClasses(column)
            ? QStringLiteral("N>7.5")
            : QString::fromUtf8(column.result().JointSymbol.data(),
                                static_cast<qsizetype>(column.result().JointSymbol.size()));
    return symbol +
           (column.governing == HouseDirection::X ? QStringLiteral("→") : QStringLiteral("↑"));
}

void paintHousePlan(QPainter& painter, const House& house, const std::vector<ColumnResult>& results,
                    const PlanOptions& options) {
    EnsureJapaneseFontSubstitutions();
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    const PlanFonts fonts;
    paintGrid(painter, house, fonts, options.area);
    if (options.showOtherStorey) {
        if (const Storey* other = storeyOf(house, options.storey == 1 ? 2 : 1)) {
            paintStorey(painter, house, *other, true, fonts, options.area);
        }
    }
    if (const Storey* storey = storeyOf(house, options.storey)) {
        paintStorey(painter, house, *storey, false, fonts, options.area);
        for (const ColumnResult& column : results) {
            if (column.storey == options.storey && validPoint(house, column.at) &&
                meets(options.area, planColumnArea(house, column.at))) {
                paintColumn(painter, house, column, fonts);
            }
        }
    }
    painter.restore();
}

} // namespace koruba
