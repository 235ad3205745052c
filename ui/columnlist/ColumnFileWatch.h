#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <string_view>

class QFileSystemWatcher;

namespace koruba {

// Knows the content of the list's file as the list last read or wrote it,
// and tells when another program has changed the file since: at once,
// through the file system's notices, and for certain when asked (a notice
// may still be on its way when the user saves). The list's own saves are
// no change.
class ColumnFileWatch : public QObject {
    Q_OBJECT

public:
    explicit ColumnFileWatch(QObject* parent = nullptr);

    // The file at path now holds bytes (just read or written).
    void watch(const QString& path, std::string_view bytes);
    // No file (a new list).
    void stop();

    // Whether the file's content differs from what the list last read or
    // wrote. A file that is gone holds nothing to lose and has not changed.
    bool changedOnDisk() const;

signals:
    // Another program changed the file (or removed it).
    void changed(const QString& path);

private:
    void onFileChanged(const QString& path);

    QFileSystemWatcher* watcher_;
    QString path_;
    QByteArray digest_;
};

} // namespace koruba
