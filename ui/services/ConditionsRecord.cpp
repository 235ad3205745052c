#include "ui/services/ConditionsRecord.h"

#include "ui/services/RegistryRecord.h"

#include <string>

namespace koruba {

namespace {

QString read(const QString& keyPath, const QString& name) {
    QString value;
    RegStrIO(RegMode::Read, keyPath, name, value);
    return value;
}

std::int32_t heightOf(const QString& text) {
    std::int32_t cm = 0;
    std::string error;
    return parseStoreyHeight(text.toStdString(), cm, error) ? cm : 0;
}

void write(const QString& keyPath, const QString& name, const std::string& text) {
    QString value = QString::fromStdString(text);
    RegStrIO(RegMode::Write, keyPath, name, value);
}

} // namespace

CalcConditions loadConditions(const QString& keyPath) {
    CalcConditions c;
    std::string error;
    if (!parseRuleSet(read(keyPath, QStringLiteral("Rules")).toStdString(), c.rules, error)) {
        c.rules = RuleSet::Notice2000;
    }
    c.h1Cm = heightOf(read(keyPath, QStringLiteral("H1")));
    c.h2Cm = heightOf(read(keyPath, QStringLiteral("H2")));
    if (conditionsError(c, 2)) {
        c.rules = RuleSet::Notice2000;
    }
    return c;
}

void saveConditions(const CalcConditions& c, const QString& keyPath) {
    write(keyPath, QStringLiteral("Rules"), std::to_string(static_cast<std::int32_t>(c.rules)));
    write(keyPath, QStringLiteral("H1"), c.h1Cm != 0 ? storeyHeightText(c.h1Cm) : std::string());
    write(keyPath, QStringLiteral("H2"), c.h2Cm != 0 ? storeyHeightText(c.h2Cm) : std::string());
}

} // namespace koruba
