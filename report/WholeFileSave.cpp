#include "report/WholeFileSave.h"

#include <QSaveFile>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstring>
#include <unistd.h>
#endif

namespace koruba {

namespace {

// Data the system has taken may still fail to reach a disk that is full
// or gone (a network share); asking for it to be written now makes that
// failure this save's, while the old file is still there.
bool syncToDisk(QSaveFile& file, QString& reason) {
#ifdef Q_OS_UNIX
    if (::fsync(file.handle()) != 0 && errno != EINVAL && errno != EROFS) {
        reason = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
#else
    Q_UNUSED(file);
    Q_UNUSED(reason);
#endif
    return true;
}

} // namespace

bool saveWholeFile(const QString& path, const ContentWriter& writeContent, QString& reason) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        reason = file.errorString();
        return false;
    }
    reason.clear();
    if (!writeContent(file, reason)) {
        if (reason.isEmpty()) {
            reason = file.errorString();
        }
        file.cancelWriting();
        return false;
    }
    // commit() flushes too, but reports success when only that flush
    // failed, after renaming the short file over the old one.
    if (file.error() != QFileDevice::NoError || !file.flush()) {
        reason = file.errorString();
        file.cancelWriting();
        return false;
    }
    if (!syncToDisk(file, reason)) {
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        reason = file.errorString();
        return false;
    }
    return true;
}

bool saveWholeFile(const QString& path, std::string_view bytes, QString& reason) {
    return saveWholeFile(
        path,
        [bytes](QIODevice& device, QString&) {
            return device.write(bytes.data(), static_cast<qint64>(bytes.size())) ==
                   static_cast<qint64>(bytes.size());
        },
        reason);
}

} // namespace koruba
