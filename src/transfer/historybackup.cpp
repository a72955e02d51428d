#include "historybackup.h"

#include "core/historysections.h"
#include "core/initextcodec.h"
#include "platform/atomicfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace calvenor {
namespace {

const QString kLineEnd = QStringLiteral("\r\n");
const QString kBlockStart = QStringLiteral("; ===\r\n; === Total Commander history [");

QString blockEnd()
{
    return QStringLiteral("; ") + QString(90, u'|') + kLineEnd + kLineEnd;
}

ErrorNumber errorFromErrno(int error)
{
    switch (error) {
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
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

// The backup file, open and locked against other runs for as long as this object lives.
class LockedBackup
{
public:
    LockedBackup() = default;
    LockedBackup(const LockedBackup &) = delete;
    LockedBackup &operator=(const LockedBackup &) = delete;
    ~LockedBackup()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }

    // Opens and locks the file the path names once the lock is ours: another run may
    // have replaced the file while this one waited.
    ErrorNumber open(const QString &nativePath, int flags)
    {
        const QByteArray path = QFile::encodeName(nativePath);
        for (int attempt = 0; attempt < 16; ++attempt) {
            // A pipe or a device is never opened: a pipe would block, a device may act.
            struct stat named {};
            if (::stat(path.constData(), &named) != 0)
                return errorFromErrno(errno);
            if (!S_ISREG(named.st_mode))
                return errPathFileAccess;
            m_fd = ::open(path.constData(), flags | O_NONBLOCK | O_CLOEXEC);
            if (m_fd < 0)
                return errorFromErrno(errno);
            int locked;
            do
                locked = ::flock(m_fd, LOCK_EX);
            while (locked != 0 && errno == EINTR);
            if (::fstat(m_fd, &m_stat) != 0 || !S_ISREG(m_stat.st_mode))
                return errPathFileAccess;
            if (::stat(path.constData(), &named) == 0 && named.st_ino == m_stat.st_ino && named.st_dev == m_stat.st_dev)
                return errNone;
            ::close(m_fd);
            m_fd = -1;
        }
        return errPathFileAccess;
    }

    int fd() const { return m_fd; }
    qint64 size() const { return qint64(m_stat.st_size); }
    bool readOnly() const { return (m_stat.st_mode & 0222) == 0; }

    QByteArray read(qint64 offset, qint64 length) const
    {
        QByteArray bytes(qsizetype(qMax<qint64>(0, length)), Qt::Uninitialized);
        qint64 got = 0;
        while (got < length) {
            const ssize_t n = ::pread(m_fd, bytes.data() + got, size_t(length - got), off_t(offset + got));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break;
            got += n;
        }
        bytes.truncate(qsizetype(got));
        return bytes;
    }

    // Where the last whole block ends (after its separator and empty line); -1 when the
    // file holds none. Read backwards, a piece at a time: the file may be large.
    qint64 lastBlockEnd(const QByteArray &end) const
    {
        const qint64 piece = 1 << 16;
        qint64 stop = size();
        while (stop > 0) {
            const qint64 from = qMax<qint64>(0, stop - piece);
            const qint64 to = qMin(size(), stop + end.size() - 1);
            const qsizetype found = read(from, to - from).lastIndexOf(end);
            if (found >= 0)
                return from + found + end.size();
            stop = from;
        }
        return -1;
    }

    ErrorNumber writeAt(qint64 offset, const QByteArray &bytes) const
    {
        qint64 done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::pwrite(m_fd, bytes.constData() + done, size_t(bytes.size() - done), off_t(offset + done));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                return n < 0 ? errorFromErrno(errno) : errDiskFull;
            done += n;
        }
        return ::fsync(m_fd) == 0 ? errNone : errorFromErrno(errno);
    }

private:
    int m_fd = -1;
    struct stat m_stat {};
};

// The end of the file's whole content. A tail after the last whole block that begins
// like a block (or with the zeros a write lost in a power cut leaves) is what a killed
// run left of its block: it is not content. Any other tail is someone's text and stays.
qint64 wholeContentEnd(const LockedBackup &file, const IniTextCodec &codec)
{
    QByteArray bom;
    codec.appendBom(bom);
    QByteArray start;
    QByteArray end;
    codec.appendEncoded(start, kBlockStart);
    codec.appendEncoded(end, blockEnd());
    const qint64 content = qMax<qint64>(file.lastBlockEnd(end), qMin<qint64>(bom.size(), file.size()));
    if (content == file.size())
        return content;
    const QByteArray tail = file.read(content, qMin<qint64>(file.size() - content, start.size()));
    return tail.count('\0') == tail.size() || start.startsWith(tail) ? content : file.size();
}

// Appends one block to an open file after cutting off what a killed run left; a
// failure cuts the file back, so it never ends in half a block.
ErrorNumber appendBlock(const LockedBackup &file, const IniTextCodec &codec, const QString &block)
{
    const qint64 content = wholeContentEnd(file, codec);
    if (content < file.size() && ::ftruncate(file.fd(), off_t(content)) != 0)
        return errorFromErrno(errno);
    QByteArray bytes;
    // Someone's own text without a final line end keeps its last line to itself.
    QByteArray bom;
    QByteArray lineFeed;
    codec.appendBom(bom);
    codec.appendEncoded(lineFeed, u"\n");
    if (content > bom.size() && file.read(content - lineFeed.size(), lineFeed.size()) != lineFeed)
        codec.appendEncoded(bytes, kLineEnd);
    codec.appendEncoded(bytes, block);
    const ErrorNumber error = file.writeAt(content, bytes);
    if (error != errNone)
        [[maybe_unused]] const int ignored = ::ftruncate(file.fd(), off_t(content));
    return error;
}

} // namespace

QString BuildSectionBackupText(cProfile &profile, const QString &strSectionName, const QString &strWincmdFileName,
                               const QString &strWcxftpFileName)
{
    // The whole section: a copy cut at a buffer size would lose what the clear removes.
    const QString lines = profile.ReadSectionText(
        strSectionName, HistorySections::FileOf(strSectionName, strWincmdFileName, strWcxftpFileName), kLineEnd);
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
    if (nativePath.isEmpty())
        return errPathNotFound;
    if (isNonRegularFile(nativePath))
        return errPathFileAccess;
    const QString block = HistoryBackupBlock(gatheredText, when);
    const bool ansiHoldsIt = codePage.canEncode(block);
    const IniTextCodec ansi(IniEncoding::Ansi, codePage);
    const IniTextCodec utf8(IniEncoding::Utf8Bom, codePage);

    LockedBackup file;
    const ErrorNumber opened = file.open(nativePath, O_RDWR);
    if (opened == errPathNotFound && QFileInfo(nativePath).absoluteDir().exists())
        startAfresh = true;   // no file yet
    else if (opened != errNone)
        return opened;
    else if (file.readOnly())
        return errPermissionDenied;   // a file nobody may write is read-only, even for an administrator
    // Another run that waits for the lock finds the new file once this one is done.
    if (startAfresh)
        return writeFileAtomically(nativePath, (ansiHoldsIt ? ansi : utf8).encodeFile(block));

    // The byte-order mark, if any, tells the file's encoding.
    const IniTextCodec found = IniTextCodec::detect(file.read(0, 4), codePage);
    if (found.encoding() != IniEncoding::Ansi || ansiHoldsIt) {
        // What killed rewrites of this file left goes with an append as well.
        removeStaleTemporaryFiles(nativePath);
        return appendBlock(file, found, block);
    }
    // An ANSI file that must now hold more than its code page: the whole file becomes
    // UTF-8, so that it never mixes two encodings.
    const QByteArray existing = file.read(0, wholeContentEnd(file, found));
    return writeFileAtomically(nativePath, utf8.encodeFile(QString(found.decodeFile(existing) + block)));
}

} // namespace calvenor
