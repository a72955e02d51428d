#include "historybackup.h"

#include "core/csectionsdata.h"
#include "core/initextcodec.h"
#include "platform/atomicfile.h"

#include <QFile>
#include <QLocale>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace calvenor {
namespace {

const QString kLineEnd = QStringLiteral("\r\n");

// Appends bytes to a file and syncs it; on any failure the file is cut back to its size
// before, so it never ends in half a block.
int appendBytes(const QString &nativePath, const QByteArray &bytes)
{
    const int fd = ::open(QFile::encodeName(nativePath).constData(), O_WRONLY | O_APPEND | O_CLOEXEC);
    if (fd < 0)
        return errno == ENOENT ? errPathNotFound : errPermissionDenied;
    struct stat before {};
    // A file nobody may write is read-only, even for an administrator.
    if (::fstat(fd, &before) != 0 || !S_ISREG(before.st_mode) || (before.st_mode & 0222) == 0) {
        ::close(fd);
        return errPermissionDenied;
    }
    const char *data = bytes.constData();
    qint64 left = bytes.size();
    int error = errNone;
    while (left > 0) {
        const ssize_t written = ::write(fd, data, size_t(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            error = errno == ENOSPC ? errDiskFull : errPathFileAccess;
            break;
        }
        data += written;
        left -= written;
    }
    if (error == errNone && ::fsync(fd) != 0)
        error = errno == ENOSPC ? errDiskFull : errPathFileAccess;
    if (error != errNone)
        [[maybe_unused]] const int ignored = ::ftruncate(fd, before.st_size);
    ::close(fd);
    return error;
}

} // namespace

QString BuildSectionBackupText(cProfile &profile, const QString &strSectionName, const QString &strWincmdFileName,
                               const QString &strWcxftpFileName)
{
    const bool ftp = strSectionName.compare(cSectionsData::OldConnections(), Qt::CaseInsensitive) == 0;
    // The whole section: a copy cut at a buffer size would lose what the clear removes.
    const QString lines = profile.ReadSectionText(strSectionName, ftp ? strWcxftpFileName : strWincmdFileName, kLineEnd);
    if (lines.isEmpty())
        return QString();
    return u'[' + strSectionName + u']' + kLineEnd + lines + kLineEnd;
}

QString HistoryBackupBlock(const QString &gatheredText, const QDateTime &when)
{
    const QLocale locale;
    const QString stamp = locale.toString(when.date(), QLocale::ShortFormat) + u' '
        + locale.toString(when.time(), QStringLiteral("HH:mm:ss"));
    return QStringLiteral("; ===") + kLineEnd + QStringLiteral("; === Total Commander history [") + stamp + u']' + kLineEnd
        + QStringLiteral("; ===") + kLineEnd + gatheredText + kLineEnd + QStringLiteral("; ") + QString(90, u'|')
        + kLineEnd + kLineEnd;
}

int WriteHistoryBackup(const QString &nativePath, const QString &gatheredText, bool startAfresh,
                       const QDateTime &when, const AnsiCodePage &codePage)
{
    const QString block = HistoryBackupBlock(gatheredText, when);
    const bool ansiHoldsIt = codePage.canEncode(block);
    const IniTextCodec ansi(IniEncoding::Ansi, codePage);
    const IniTextCodec utf8(IniEncoding::Utf8Bom, codePage);

    QFile file(nativePath);
    if (!startAfresh && !file.exists())
        startAfresh = true;
    if (startAfresh)
        return writeFileAtomically(nativePath, (ansiHoldsIt ? ansi : utf8).encodeFile(block));

    // The byte-order mark, if any, tells the file's encoding.
    if (!file.open(QIODevice::ReadOnly))
        return errPermissionDenied;
    const IniTextCodec found = IniTextCodec::detect(file.read(3), codePage);
    file.close();
    if (found.encoding() != IniEncoding::Ansi || ansiHoldsIt) {
        QByteArray bytes;
        found.appendEncoded(bytes, block);
        return appendBytes(nativePath, bytes);
    }
    // An ANSI file that must now hold more than its code page: the whole file becomes
    // UTF-8, so that it never mixes two encodings.
    QByteArray existing;
    if (const ErrorNumber read = readWholeFile(nativePath, 1LL << 31, existing))
        return read;
    return writeFileAtomically(nativePath, utf8.encodeFile(QString(found.decodeFile(existing) + block)));
}

} // namespace calvenor
