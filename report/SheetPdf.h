#pragma once

#include "report/SheetDescription.h"

#include <QString>

namespace koruba {

// Writes the calculation sheet as a PDF file with its fonts embedded. The
// file appears complete or not at all: it is written beside the target and
// renamed over it at the end. On failure returns false, leaves no file and
// puts a message naming the path and the reason into error.
bool writeSheetPdf(const QString& path, const SheetDescription& sheet, QString& error);

} // namespace koruba
