#include "report/SheetDate.h"

#include <QString>

namespace koruba {

std::string sheetDateText(const QDate& date) {
    return QStringLiteral("%1年%2月%3日")
        .arg(date.year())
        .arg(date.month())
        .arg(date.day())
        .toStdString();
}

std::string todaysSheetDate() {
    return sheetDateText(QDate::currentDate());
}

} // namespace koruba
