#include "ui/columnlist/RecentFilesMenu.h"

#include <QFileInfo>
#include <QSettings>

#include <utility>

namespace koruba {

namespace {

constexpr int kRecentCount = 8;

} // namespace

RecentFilesMenu::RecentFilesMenu(OpenFunction open, QWidget* parent, const QString& settingsKey)
    : QMenu(QStringLiteral("最近使ったファイル(&R)"), parent), open_(std::move(open)),
      key_(settingsKey) {
    setObjectName(QStringLiteral("recentMenu"));
    rebuild();
}

void RecentFilesMenu::remember(const QString& path) {
    QSettings settings;
    QStringList recent = settings.value(key_).toStringList();
    const QString absolute = QFileInfo(path).absoluteFilePath();
    recent.removeAll(absolute);
    recent.prepend(absolute);
    settings.setValue(key_, recent.mid(0, kRecentCount));
    rebuild();
}

void RecentFilesMenu::rebuild() {
    clear();
    const QStringList recent = QSettings().value(key_).toStringList();
    int n = 0;
    for (const QString& path : recent) {
        QAction* action =
            addAction(QStringLiteral("&%1 %2").arg(++n).arg(QFileInfo(path).fileName()));
        action->setToolTip(path);
        connect(action, &QAction::triggered, this, [this, path] { open_(path); });
    }
    setEnabled(!recent.isEmpty());
}

} // namespace koruba
