#pragma once

#include "calc/House.h"
#include "calc/HouseDerivation.h"
#include "report/SheetDescription.h"

#include <QPageSize>
#include <QRectF>

#include <cstdint>
#include <memory>
#include <vector>

namespace koruba {

// The paper and scale of a house's plan pages (算定平面図): the plan is
// printed at a standard scale so that a reviewer can measure it with a
// scale rule, 1/denominator on the named paper, landscape.
struct PlanPaper {
    QPageSize::PageSizeId paper = QPageSize::A4;
    std::int32_t denominator = 100;
};

// The largest standard scale (1/50, 1/100, 1/150, 1/200, ...) at which a
// plan of the given area (millimetres of the house) fits into a room of
// the given size (tenths of a millimetre of paper).
std::int32_t planScaleDenominator(const QSizeF& planArea, const QSizeF& room);

// The paper of a house's plan pages. A4 landscape while the plan fits on it
// at 1/100 or larger: the column symbols are then at least 1.9 mm high,
// the smallest that stays readable. A larger plan goes on A3 landscape at
// the largest standard scale that fits there.
PlanPaper planPaper(const House& house);

// The plan pages of a house's sheet, one per storey, upper first: the
// storey's plan drawn by the same routine as the plan window, the scale
// and paper noted, and a legend of the symbols and their colours. results
// is deriveHouse's answer for the house.
std::shared_ptr<const SheetLeadingPages> housePlanPages(const House& house,
                                                        std::vector<ColumnResult> results);

} // namespace koruba
