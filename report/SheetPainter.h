#pragma once

#include "report/SheetDescription.h"

#include <QPageLayout>
#include <QPagedPaintDevice>

namespace koruba {

// Paints the N-value calculation sheet onto a paged device (a PDF writer, a
// printer): A4 portrait, a header with title, project, designer, date and
// "n / m" on every page; on the first page the method with its citation,
// the rules and formulas and the hardware legend; then one table per
// storey kind, in input order, split between pages with caption and
// header row repeated; each column with its frame drawn as vectors. The
// device's page layout is set here. Returns the number of pages, 0 when
// the device could not be painted on.
int paintSheet(QPagedPaintDevice& device, const SheetDescription& sheet);

// The sheet's page: A4 portrait with 10 mm margins, for a print dialog to
// start from.
QPageLayout sheetPageLayout();

} // namespace koruba
