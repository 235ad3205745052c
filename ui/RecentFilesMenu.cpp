#include "ui/RecentFilesMenu.h"

#include <QFileInfo>
#include <QSettings>

#include <utility>

namespace koruba {

namespace {

const QString kRecentKey = QStringLiteral("ColumnList/RecentFiles");
constexpr int kRecentCount = 8;

} // namespace

RecentFilesMenu::RecentFilesMenu(OpenFunction open, QWidget* parent)
    : QMenu(QStringLiteral("最近使ったファイル(&R)"), parent), open_(std::move(open)) {
    setObjectName(QStringLiteral("recentMenu"));
    rebuild();
}

void RecentFilesMenu::remember(const QString& path) {
    QSettings settings;
    QStringList recent = settings.value(kRecentKey).toStringList();
    const QString absolute = QFileInfo(path).absoluteFilePath();
    recent.removeAll(absolute);
    recent.prepend(absolute);
    settings.setValue(kRecentKey, recent.mid(0, kRecentCount));
    rebuild();
}

void RecentFilesMenu::rebuild() {
    clear();
    const QStringList recent = QSettings().value(kRecentKey).toStringList();
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
