#include "report/SheetPdf.h"

#include "report/SheetPainter.h"
#include "report/WholeFileSave.h"

#include <QPdfWriter>

namespace koruba {

bool writeSheetPdf(const QString& path, const SheetDescription& sheet, QString& error) {
    bool drawn = true;
    QString reason;
    std::string sourceProblem;
    const bool saved = saveWholeFile(
        path,
        [&sheet, &drawn, &sourceProblem](QIODevice& device, QString&) {
            {
                // The writer finishes the document when it is destroyed, so
                // it must be gone before the file is committed.
                QPdfWriter writer(&device);
                writer.setTitle(QStringLiteral("N値計算書 ") +
                                QString::fromStdString(sheet.project));
                writer.setCreator(QStringLiteral("KORUBA-X"));
                writer.setResolution(600);
                drawn = paintSheet(writer, sheet) > 0;
            }
            if (drawn && sheet.rowSource) {
                sourceProblem = sheet.rowSource->problem();
            }
            return drawn && sourceProblem.empty();
        },
        reason);
    if (!sourceProblem.empty()) {
        error = QString::fromStdString(sourceProblem);
    } else if (!saved) {
        error = drawn ? QStringLiteral("%1: 書き込めません（%2）").arg(path, reason)
                      : QStringLiteral("%1: 計算書を描けませんでした").arg(path);
    }
    return saved;
}

} // namespace koruba
