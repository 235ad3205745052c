#pragma once

#include <QString>
#include <QStringList>

class QCoreApplication;

namespace koruba {

// Where Qt's own Japanese texts (qtbase_ja.qm) are looked for, first to
// last: the folder "translations" beside the program or beside its bin
// folder (where a Windows installation ships the file), then the folder of
// the Qt installation.
QStringList qtTranslationFolders();

// Installs Qt's Japanese texts for its own dialogs and buttons (file and
// print dialogs, Save/Discard/Cancel), whatever the system's language:
// every text of the program is Japanese. Returns the file loaded, empty
// when none was found (Qt's texts then stay English).
QString installQtTranslations(QCoreApplication& app, const QStringList& folders);

} // namespace koruba
