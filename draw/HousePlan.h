#pragma once

#include "calc/House.h"
#include "calc/HouseDerivation.h"

#include <QColor>
#include <QPainter>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QTransform>

#include <cstdint>
#include <vector>

namespace koruba {

// The plan of one storey (平面図 / 金物配置図) as vectors, for the plan
// window and the printed sheet alike. Everything is drawn in plan
// coordinates: one unit is one millimetre, x to the right and y upward
// (the plan's y axis points up the page, so plan y is drawn at -y). A
// caller scales the painter to its view or page; planBounds says what
// area to fit.
struct PlanOptions {
    std::int32_t storey = 1; // the storey's number
    // The other storey's outline and walls, faintly beneath.
    bool showOtherStorey = true;
    // Only what may reach into this area (plan coordinates) is drawn, for
    // a caller that repaints part of the plan; empty: everything.
    QRectF area;
};

// The painter point of a grid point.
QPointF planPoint(const House& house, GridPoint p);
// The area the plan of the house covers, grid names and dimensions
// included; the same for both storeys so that switching does not move.
QRectF planBounds(const House& house);

// Where a wall, and where a column with its symbol and marks, may draw:
// somewhat more than they do, never less. A caller repainting what an
// edit changed repaints these areas.
QRectF planWallArea(const House& house, const HouseWall& wall);
QRectF planColumnArea(const House& house, GridPoint at);

// The transform that puts the plan's area into a target rectangle (a page,
// a picture), as large as it fits, centred, without distortion.
QTransform fitPlanTransform(const QRectF& planArea, const QRectF& target);

// The fill of a column's hardware symbol by class 1..11; anything else is
// the colour of a column beyond every class (N above 7.5).
QColor hardwareClassColor(std::int32_t jointClass);
// What a column shows: its hardware symbol, or "N>7.5" beyond every
// class, followed by an arrow for the governing direction (→ X, ↑ Y).
QString planSymbolText(const ColumnResult& column);
// Whether the column is beyond the last hardware class.
bool beyondHardwareClasses(const ColumnResult& column);

// Draws the storey's plan: the grid with its names at both ends of each
// line and the dimensions between lines, the outline, the walls with
// their brace symbols and bay tokens, the columns, and at each column its
// hardware symbol coloured by class, a ring for a 通し柱 and a red mark
// for a column with a warning. results is deriveHouse's answer for the
// house; a storey the house lacks draws the grid alone.
void paintHousePlan(QPainter& painter, const House& house, const std::vector<ColumnResult>& results,
                    const PlanOptions& options);

} // namespace koruba
