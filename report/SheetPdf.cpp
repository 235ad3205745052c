#include "report/SheetPdf.h"

#include "report/SheetPainter.h"

#include <QPdfWriter>
#include <QSaveFile>

namespace koruba {

bool writeSheetPdf(const QString& path, const SheetDescription& sheet, QString& error) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        error = QStringLiteral("%1: 書き込めません（%2）").arg(path, file.errorString());
        return false;
    }
    int pages = 0;
    {
        // The writer finishes the document when it is destroyed, so it must
        // be gone before the file is committed.
        QPdfWriter writer(&file);
        writer.setTitle(QStringLiteral("N値計算書 ") + QString::fromStdString(sheet.project));
        writer.setCreator(QStringLiteral("KORUBA-X"));
        writer.setResolution(600);
        pages = paintSheet(writer, sheet);
    }
    if (pages == 0) {
        file.cancelWriting();
        error = QStringLiteral("%1: 計算書を描けませんでした").arg(path);
        return false;
    }
    if (!file.commit()) {
        error = QStringLiteral("%1: 書き込めません（%2）").arg(path, file.errorString());
        return false;
    }
    return true;
}

} // namespace koruba
