#pragma once

#include <QDate>

#include <string>

namespace koruba {

// A sheet's date as Japanese documents write it: "2026年12月8日".
std::string sheetDateText(const QDate& date);

} // namespace koruba
