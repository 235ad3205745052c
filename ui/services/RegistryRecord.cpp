#include "ui/services/RegistryRecord.h"

#include <QSettings>
#include <QStringList>

#include <optional>

namespace koruba {

namespace {

struct StoreName {
    QString Organisation;
    QString Application;
    QString Group;
};

std::optional<StoreName> StoreOfKeyPath(const QString& keyPath) {
    QStringList parts = keyPath.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    // QSettings adds the "Software" level itself on Windows and has no use
    // for it elsewhere.
    if (!parts.isEmpty() && parts.front().compare(u"Software", Qt::CaseInsensitive) == 0)
        parts.removeFirst();
    if (parts.size() < 2)
        return std::nullopt;
    StoreName name{parts.takeFirst(), parts.takeFirst(), {}};
    name.Group = parts.join(QLatin1Char('/'));
    return name;
}

} // namespace

ERegistryException::ERegistryException(const QString& valueName)
    : std::runtime_error(QStringLiteral("'%1' の設定に失敗しました").arg(valueName).toStdString()) {
}

void RegStrIO(RegMode mode, const QString& keyPath, const QString& valueName, QString& value) {
    const std::optional<StoreName> name = StoreOfKeyPath(keyPath);
    if (!name)
        return;
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, name->Organisation,
                       name->Application);
    // No fall-back to the organisation's common values: the record is one
    // key, and a value read must come from it.
    settings.setFallbacksEnabled(false);
    if (!name->Group.isEmpty())
        settings.beginGroup(name->Group);
    // A read only looks: asking whether the store is writable would create
    // its folder, and the window reads at every start.
    if (mode == RegMode::Read) {
        value = settings.value(valueName).toString();
        return;
    }
    if (!settings.isWritable())
        return;
    settings.setValue(valueName, value);
    settings.sync();
    if (settings.status() == QSettings::AccessError)
        throw ERegistryException(valueName);
}

void SaveRegInfo(const QString& verNo) {
    QString title = RegTitleText;
    RegStrIO(RegMode::Write, RegKeyPath, RegTitleName, title);
    QString ver = verNo;
    RegStrIO(RegMode::Write, RegKeyPath, RegVerName, ver);
}

} // namespace koruba
