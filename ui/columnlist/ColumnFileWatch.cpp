#include "ui/columnlist/ColumnFileWatch.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileSystemWatcher>

#include <optional>

namespace koruba {

namespace {

QByteArray digestOf(QByteArrayView bytes) {
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
}

// Nothing when the file cannot be read (gone, or not ours to read).
std::optional<QByteArray> digestOfFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!hash.addData(&file)) {
        return std::nullopt;
    }
    return hash.result();
}

} // namespace

ColumnFileWatch::ColumnFileWatch(QObject* parent)
    : QObject(parent), watcher_(new QFileSystemWatcher(this)) {
    watcher_->setObjectName(QStringLiteral("listFileWatcher"));
    connect(watcher_, &QFileSystemWatcher::fileChanged, this, &ColumnFileWatch::onFileChanged);
}

void ColumnFileWatch::watch(const QString& path, std::string_view bytes) {
    stop();
    path_ = path;
    digest_ = digestOf(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    watcher_->addPath(path);
}

void ColumnFileWatch::stop() {
    if (!watcher_->files().isEmpty()) {
        watcher_->removePaths(watcher_->files());
    }
    path_.clear();
    digest_.clear();
}

bool ColumnFileWatch::changedOnDisk() const {
    if (path_.isEmpty()) {
        return false;
    }
    const std::optional<QByteArray> now = digestOfFile(path_);
    return now && *now != digest_;
}

void ColumnFileWatch::onFileChanged(const QString& path) {
    if (path != path_) {
        return;
    }
    // A file replaced by renaming another over it (as every save does) is
    // no longer watched under its name.
    if (!watcher_->files().contains(path) && QFile::exists(path)) {
        watcher_->addPath(path);
    }
    if (changedOnDisk() || !QFile::exists(path)) {
        emit changed(path);
    }
}

} // namespace koruba
