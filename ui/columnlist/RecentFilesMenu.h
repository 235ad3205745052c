#pragma once

#include <QMenu>

#include <functional>

namespace koruba {

// "最近使ったファイル": the files opened or saved last, newest first, kept
// in the settings store under a key of the window's own (the column
// list's unless another is given). Choosing one calls the open function
// with its path.
class RecentFilesMenu : public QMenu {
    Q_OBJECT

public:
    using OpenFunction = std::function<void(const QString& path)>;
    RecentFilesMenu(OpenFunction open, QWidget* parent,
                    const QString& settingsKey = QStringLiteral("ColumnList/RecentFiles"));

    void remember(const QString& path);

private:
    void rebuild();

    OpenFunction open_;
    QString key_;
};

} // namespace koruba
