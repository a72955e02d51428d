#include "atomicfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace calvenor {
namespace {

ErrorNumber errorFromErrno(int error)
{
    switch (error) {
    case ENOSPC:
    case EDQUOT:
        return errDiskFull;
    case EACCES:
    case EPERM:
    case EROFS:
        return errPermissionDenied;
    case ENOENT:
    case ENOTDIR:
        return errPathNotFound;
    default:
        return errPathFileAccess;
    }
}

// Follows a chain of symbolic links to the file that really holds the bytes.
QString resolveLinks(const QString &path)
{
    QString current = path;
    for (int hops = 0; hops < 32; ++hops) {
        const QFileInfo info(current);
        if (!info.isSymLink())
            return current;
        current = info.symLinkTarget();
    }
    return current;
}

bool writeAll(int fd, const QByteArray &bytes)
{
    const char *data = bytes.constData();
    qint64 left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, size_t(left));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += written;
        left -= written;
    }
    return true;
}

void syncFolder(const QByteArray &folder)
{
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

mode_t defaultFileMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

} // namespace

ErrorNumber writeFileAtomically(const QString &nativePath, const QByteArray &bytes)
{
    if (nativePath.isEmpty())
        return errPathNotFound;
    const QString target = resolveLinks(QFileInfo(nativePath).absoluteFilePath());
    const QByteArray encodedTarget = QFile::encodeName(target);
    const QByteArray folder = QFile::encodeName(QFileInfo(target).absolutePath());

    struct stat existing {};
    const bool exists = ::stat(encodedTarget.constData(), &existing) == 0;
    if (exists) {
        if (!S_ISREG(existing.st_mode))
            return errPathFileAccess;
        if (::access(encodedTarget.constData(), W_OK) != 0)
            return errorFromErrno(errno);
        // A file nobody may write is read-only, even for an administrator.
        if ((existing.st_mode & 0222) == 0)
            return errPermissionDenied;
    } else {
        struct stat folderStat {};
        if (::stat(folder.constData(), &folderStat) != 0 || !S_ISDIR(folderStat.st_mode))
            return errPathNotFound;
    }

    QByteArray temporary = folder + '/' + '.' + QFile::encodeName(QFileInfo(target).fileName()) + ".XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0)
        return errorFromErrno(errno);

    auto fail = [&](int error) {
        ::close(fd);
        ::unlink(temporary.constData());
        return errorFromErrno(error);
    };
    if (exists) {
        if (::fchmod(fd, existing.st_mode & 07777) != 0)
            return fail(errno);
        // Only root may hand a file to another owner; for everyone else it is ours.
        [[maybe_unused]] const int ignored = ::fchown(fd, existing.st_uid, existing.st_gid);
    } else if (::fchmod(fd, defaultFileMode()) != 0) {
        return fail(errno);
    }
    if (!writeAll(fd, bytes))
        return fail(errno);
    if (::fsync(fd) != 0)
        return fail(errno);
    if (::close(fd) != 0) {
        const int error = errno;
        ::unlink(temporary.constData());
        return errorFromErrno(error);
    }
    if (::rename(temporary.constData(), encodedTarget.constData()) != 0) {
        const int error = errno;
        ::unlink(temporary.constData());
        return errorFromErrno(error);
    }
    syncFolder(folder);
    return errNone;
}

ErrorNumber readWholeFile(const QString &nativePath, qint64 maxBytes, QByteArray &bytes)
{
    bytes.clear();
    const QByteArray encoded = QFile::encodeName(nativePath);
    const int fd = ::open(encoded.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return errno == ENOENT || errno == ENOTDIR ? errFileNotFound : errorFromErrno(errno);
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > maxBytes) {
        ::close(fd);
        return errPathFileAccess;
    }
    bytes.resize(qsizetype(st.st_size));
    qint64 got = 0;
    while (got < st.st_size) {
        const ssize_t n = ::read(fd, bytes.data() + got, size_t(st.st_size - got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;   // the file shrank while we read: keep what is there
        got += n;
    }
    ::close(fd);
    bytes.truncate(qsizetype(got));
    return errNone;
}

} // namespace calvenor
