#pragma once

#include <QDate>

#include <string>

namespace koruba {

// A sheet's date as Japanese documents write it: "2026年12月8日".
std::string sheetDateText(const QDate& date);
// Today's date in that form: the date every sheet is made on, whichever
// window or tool makes it.
std::string todaysSheetDate();

} // namespace koruba
