#pragma once

#include <QMenu>

#include <functional>

namespace koruba {

// "最近使ったファイル": the files opened or saved last, newest first, kept
// in the settings store under a key of the column list's own. Choosing one
// calls the open function with its path.
class RecentFilesMenu : public QMenu {
    Q_OBJECT

public:
    using OpenFunction = std::function<void(const QString& path)>;
    RecentFilesMenu(OpenFunction open, QWidget* parent);

    void remember(const QString& path);

private:
    void rebuild();

    OpenFunction open_;
};

} // namespace koruba
