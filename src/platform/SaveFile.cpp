#include "SaveFile.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Writes all of data to fd; 0 or the errno value.
int WriteAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return n < 0 ? errno : EIO;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return 0;
}

} // namespace

bool IsSameFile(const QString& a, const QString& b) {
    struct stat sa {};
    struct stat sb {};
    const bool hasA = ::stat(QFile::encodeName(a).constData(), &sa) == 0;
    const bool hasB = ::stat(QFile::encodeName(b).constData(), &sb) == 0;
    if (hasA && hasB) {
        return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
    }
    return !hasA && !hasB && QFileInfo(a).absoluteFilePath() == QFileInfo(b).absoluteFilePath();
}

QString WriteTarget(const QString& path) {
    const QFileInfo given(path);
    return given.exists() ? given.canonicalFilePath() : given.absoluteFilePath();
}

int CommitPartialFile(const QByteArray& partial, const QByteArray& target) {
    struct stat old {};
    const bool existed = ::stat(target.constData(), &old) == 0;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::chmod(partial.constData(), existed ? (old.st_mode & 07777) : (0666 & ~mask));
    return std::rename(partial.constData(), target.constData()) == 0 ? 0 : errno;
}

bool SaveWholeFile(const QString& path, const QByteArray& data, QString* error) {
    const QByteArray target = QFile::encodeName(WriteTarget(path));
    QByteArray partial =
        QFile::encodeName(QFileInfo(QFile::decodeName(target)).absolutePath()) + "/.tavik-XXXXXX";
    const int fd = ::mkstemp(partial.data());
    int reason = fd < 0 ? errno : WriteAll(fd, data.constData(), std::size_t(data.size()));
    // Some file systems report a full disk only when the data reaches it.
    if (fd >= 0 && reason == 0 && ::fsync(fd) != 0) {
        reason = errno;
    }
    if (fd >= 0 && ::close(fd) != 0 && reason == 0) {
        reason = errno;
    }
    if (reason == 0) {
        reason = CommitPartialFile(partial, target);
    }
    if (reason == 0) {
        return true;
    }
    if (fd >= 0) {
        ::unlink(partial.constData());
    }
    if (error != nullptr) {
        *error = QStringLiteral("cannot write %1: %2")
                     .arg(path, QString::fromLocal8Bit(std::strerror(reason)));
    }
    return false;
}

int ProbeWriteError(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_WRONLY | O_APPEND | O_CLOEXEC);
    if (fd < 0) {
        return errno;
    }
    struct stat st {};
    ::fstat(fd, &st);
    static const char block[1 << 16] = {};
    int reason = WriteAll(fd, block, sizeof block);
    if (reason == 0 && ::fsync(fd) != 0) {
        reason = errno;
    }
    if (::ftruncate(fd, st.st_size) != 0 && reason == 0) {
        reason = errno;
    }
    ::close(fd);
    return reason;
}
