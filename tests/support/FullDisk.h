#pragma once

// A file system of its own, a few pages large, that a test fills to the
// last byte: saves then fail the way they do on a full disk, at the
// flush, after every write() has been taken. Mounting needs root (CI runs
// as root); elsewhere skipReason() says why the test cannot run.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
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
    FullDisk() {
#ifdef Q_OS_LINUX
        if (::geteuid() != 0) {
            skipReason_ = QStringLiteral("mounting a small file system needs root");
            return;
        }
        if (::mount("tmpfs", QFile::encodeName(dir_.path()).constData(), "tmpfs",
                    MS_NOSUID | MS_NODEV, "size=256k,mode=0755") != 0) {
            skipReason_ = QStringLiteral("cannot mount a tmpfs: ") + std::strerror(errno);
            return;
        }
        mounted_ = true;
#else
        skipReason_ = QStringLiteral("the small file system is mounted on Linux only");
#endif
    }
    ~FullDisk() {
#ifdef Q_OS_LINUX
        if (mounted_) {
            ::umount2(QFile::encodeName(dir_.path()).constData(), MNT_DETACH);
        }
#endif
    }
    FullDisk(const FullDisk&) = delete;
    FullDisk& operator=(const FullDisk&) = delete;

    // Empty when the file system is there.
    QString skipReason() const {
        return skipReason_;
    }
    QString filePath(const QString& name) const {
        return QDir(dir_.path()).filePath(name);
    }

    // Takes every free byte; true once a write has been refused for space.
    bool fill() {
#ifdef Q_OS_LINUX
        const int fd = ::open(QFile::encodeName(filePath(QStringLiteral("filler"))).constData(),
                              O_WRONLY | O_CREAT | O_APPEND, 0644);
        if (fd < 0) {
            return false;
        }
        const QByteArray block(512, 'x');
        bool full = false;
        // Smaller writes at the end take the last partial page too.
        for (qsizetype size = block.size(); size > 0;) {
            const ssize_t wrote = ::write(fd, block.constData(), static_cast<size_t>(size));
            if (wrote < 0) {
                full = full || errno == ENOSPC;
                size /= 2;
            }
        }
        ::close(fd);
        return full;
#else
        return false;
#endif
    }

private:
    QTemporaryDir dir_;
    QString skipReason_;
    bool mounted_ = false;
};

} // namespace koruba::test
