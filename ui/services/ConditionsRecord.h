#pragma once

#include "calc/CalcConditions.h"
#include "ui/services/RegistryRecord.h"

#include <QString>

namespace koruba {

// The calculation conditions the window remembers across runs. They live
// in a group of their own below the program's record (RegKeyPath), as the
// texts a user types: "Rules" ("2000" or "2025"), "H1" and "H2" (metres,
// such as "3.30"). The Title and Ver values beside them are never touched.
inline const QString kConditionsKeyPath = RegKeyPath + QStringLiteral("\\CalcConditions");

// The stored conditions. What does not parse is not used: a height that
// is not a valid storey height counts as not given, and 2025 rules without
// both heights give the 2000 rules, so that nothing is ever computed from
// a missing height. Without a record: the 2000 rules.
CalcConditions loadConditions(const QString& keyPath = kConditionsKeyPath);

// Writes all three values; throws ERegistryException as RegStrIO does.
void saveConditions(const CalcConditions& conditions, const QString& keyPath = kConditionsKeyPath);

} // namespace koruba
