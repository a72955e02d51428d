#include "atomicfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
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

// mkstemp's name: the template's prefix, then six letters or digits.
bool isTemporaryOf(const char *entry, const QByteArray &prefix)
{
    if (std::strncmp(entry, prefix.constData(), size_t(prefix.size())) != 0)
        return false;
    const char *suffix = entry + prefix.size();
    for (int i = 0; i < 6; ++i) {
        const char c = suffix[i];
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')))
            return false;
    }
    return suffix[6] == '\0';
}

// What the names of a target's temporary files begin with.
QByteArray temporaryPrefix(const QString &target)
{
    return '.' + QFile::encodeName(QFileInfo(target).fileName()) + '.';
}

// Removes the temporary files of this target that a killed writer left behind. A writer
// locks its temporary file before it relies on it and holds the lock until the file has
// its final name, so a file nobody holds locked belongs to nobody. The lock is taken
// before the name is checked and held through the removal: a writer that finds its
// file gone or locked starts another.
void removeStaleTemporaries(const QByteArray &folder, const QByteArray &prefix)
{
    DIR *listing = ::opendir(folder.constData());
    if (!listing)
        return;
    const int folderFd = ::dirfd(listing);
    while (const dirent *entry = ::readdir(listing)) {
        if (!isTemporaryOf(entry->d_name, prefix))
            continue;
        const int fd = ::openat(folderFd, entry->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            continue;
        struct stat held {};
        struct stat named {};
        if (::fstat(fd, &held) == 0 && S_ISREG(held.st_mode) && held.st_uid == ::geteuid()
            && ::flock(fd, LOCK_EX | LOCK_NB) == 0
            && ::fstatat(folderFd, entry->d_name, &named, AT_SYMLINK_NOFOLLOW) == 0
            && named.st_ino == held.st_ino && named.st_dev == held.st_dev)
            ::unlinkat(folderFd, entry->d_name, 0);
        ::close(fd);
    }
    ::closedir(listing);
}

// Whether the file open on fd still has this name (a cleaner may have taken it before
// the lock was ours).
bool stillNamed(int fd, const QByteArray &name)
{
    struct stat held {};
    struct stat named {};
    return ::fstat(fd, &held) == 0 && ::stat(name.constData(), &named) == 0 && named.st_ino == held.st_ino
        && named.st_dev == held.st_dev;
}

// Why a write of the target (links resolved) would be refused before anything is
// written; errNone when it would be tried.
ErrorNumber refusal(const QByteArray &encodedTarget, const QByteArray &folder)
{
    struct stat existing {};
    if (::stat(encodedTarget.constData(), &existing) == 0) {
        if (!S_ISREG(existing.st_mode))
            return errPathFileAccess;
        if (::access(encodedTarget.constData(), W_OK) != 0)
            return errorFromErrno(errno);
        // A file nobody may write is read-only, even for an administrator.
        if ((existing.st_mode & 0222) == 0)
            return errPermissionDenied;
        return errNone;
    }
    struct stat folderStat {};
    if (::stat(folder.constData(), &folderStat) != 0 || !S_ISDIR(folderStat.st_mode))
        return errPathNotFound;
    return errNone;
}

mode_t defaultFileMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

} // namespace

ErrorNumber writeRefusal(const QString &nativePath)
{
    if (nativePath.isEmpty())
        return errPathNotFound;
    const QString target = resolveLinks(QFileInfo(nativePath).absoluteFilePath());
    return refusal(QFile::encodeName(target), QFile::encodeName(QFileInfo(target).absolutePath()));
}

ErrorNumber writeFileAtomically(const QString &nativePath, const QByteArray &bytes)
{
    if (nativePath.isEmpty())
        return errPathNotFound;
    const QString target = resolveLinks(QFileInfo(nativePath).absoluteFilePath());
    const QByteArray encodedTarget = QFile::encodeName(target);
    const QByteArray folder = QFile::encodeName(QFileInfo(target).absolutePath());

    if (const ErrorNumber refused = refusal(encodedTarget, folder))
        return refused;
    struct stat existing {};
    const bool exists = ::stat(encodedTarget.constData(), &existing) == 0;

    const QByteArray prefix = temporaryPrefix(target);
    removeStaleTemporaries(folder, prefix);
    QByteArray temporary;
    int fd = -1;
    // Held until the file has its final name: the lock tells a live writer's file from
    // litter. Another writer cleaning up may take a file in the moment before its lock.
    for (int attempt = 0; attempt < 8 && fd < 0; ++attempt) {
        temporary = folder + '/' + prefix + "XXXXXX";
        fd = ::mkstemp(temporary.data());
        if (fd < 0)
            return errorFromErrno(errno);
        // Where the file system has no locks, no cleaner can take the file either.
        const bool taken = ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
        if (taken || !stillNamed(fd, temporary)) {
            ::close(fd);
            fd = -1;
        }
    }
    if (fd < 0)
        return errPathFileAccess;

    auto fail = [&](int error) {
        ::unlink(temporary.constData());
        ::close(fd);
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
    if (::rename(temporary.constData(), encodedTarget.constData()) != 0)
        return fail(errno);
    ::close(fd);
    syncFolder(folder);
    return errNone;
}

void removeStaleTemporaryFiles(const QString &nativePath)
{
    if (nativePath.isEmpty())
        return;
    const QString target = resolveLinks(QFileInfo(nativePath).absoluteFilePath());
    removeStaleTemporaries(QFile::encodeName(QFileInfo(target).absolutePath()), temporaryPrefix(target));
}

bool isNonRegularFile(const QString &nativePath)
{
    struct stat st {};
    return !nativePath.isEmpty() && ::stat(QFile::encodeName(nativePath).constData(), &st) == 0 && !S_ISREG(st.st_mode);
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
