#include "ui/columnlist/TabSeparatedText.h"

#include <QAbstractItemModel>
#include <QStringList>

namespace koruba {

namespace {

QString cellText(QString text) {
    if (!text.contains(QLatin1Char('\t')) && !text.contains(QLatin1Char('\n')) &&
        !text.contains(QLatin1Char('\r')) && !text.contains(QLatin1Char('"'))) {
        return text;
    }
    text.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + text + QLatin1Char('"');
}

} // namespace

QString tabSeparatedText(const QAbstractItemModel& model, const std::vector<int>& rows) {
    QStringList lines;
    QStringList cells;
    for (int c = 0; c < model.columnCount(); ++c) {
        cells << cellText(model.headerData(c, Qt::Horizontal, Qt::DisplayRole).toString());
    }
    lines << cells.join(QLatin1Char('\t'));
    for (const int row : rows) {
        cells.clear();
        for (int c = 0; c < model.columnCount(); ++c) {
            cells << cellText(model.index(row, c).data(Qt::DisplayRole).toString());
        }
        lines << cells.join(QLatin1Char('\t'));
    }
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

} // namespace koruba
