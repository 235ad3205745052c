#pragma once

// A file system of its own, a few pages large, that a test fills to the
// last byte: saves then fail the way they do on a full disk, at the
// flush, after every write() has been taken. Mounting needs root on Linux
// (CI runs as root); elsewhere skipReason() says why the test cannot run.

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cerrno>
#include <cstring>
#ifdef Q_OS_LINUX
#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>
#endif

namespace koruba::test {

class FullDisk {
public:
#ifdef Q_OS_LINUX
    FullDisk() {
        if (::mount("tmpfs", QFile::encodeName(dir_.path()).constData(), "tmpfs",
                    MS_NOSUID | MS_NODEV, "size=256k") == 0) {
            skipReason_.clear();
        } else {
            skipReason_ = QStringLiteral("cannot mount a small tmpfs (root only): ") +
                          QString::fromLocal8Bit(std::strerror(errno));
        }
    }
    ~FullDisk() {
        ::umount2(QFile::encodeName(dir_.path()).constData(), MNT_DETACH);
    }

    // Takes every free byte; true once a write has been refused for space.
    bool fill() {
        QFile filler(filePath(QStringLiteral("filler")));
        if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
            return false;
        }
        const QByteArray block(512, 'x');
        bool refused = false;
        qsizetype size = block.size(); // smaller at the end, for the last page
        while (size > 0) {
            if (filler.write(block.constData(), size) < 0) {
                refused = true;
                size /= 2;
            }
        }
        return refused;
    }
#else
    FullDisk() = default;
    bool fill() {
        return false;
    }
#endif
    FullDisk(const FullDisk&) = delete;
    FullDisk& operator=(const FullDisk&) = delete;

    // Empty when the file system is there.
    QString skipReason() const {
        return skipReason_;
    }
    QString filePath(const QString& name) const {
        return QDir(dir_.path()).filePath(name);
    }

private:
    QTemporaryDir dir_;
    QString skipReason_ = QStringLiteral("the small file system is mounted on Linux only");
};

} // namespace koruba::test
