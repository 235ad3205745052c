#include "app/QtTranslations.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>

namespace koruba {

QStringList qtTranslationFolders() {
    const QDir program(QCoreApplication::applicationDirPath());
    return {program.filePath(QStringLiteral("translations")),
            program.filePath(QStringLiteral("../translations")),
            QLibraryInfo::path(QLibraryInfo::TranslationsPath)};
}

QString installQtTranslations(QCoreApplication& app, const QStringList& folders) {
    for (const QString& folder : folders) {
        auto* translator = new QTranslator(&app);
        if (translator->load(QStringLiteral("qtbase_ja"), folder) &&
            QCoreApplication::installTranslator(translator)) {
            return translator->filePath();
        }
        delete translator;
    }
    return {};
}

} // namespace koruba
