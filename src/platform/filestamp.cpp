#include "filestamp.h"

#include <QFile>
#include <sys/stat.h>

namespace calvenor {

FileStamp FileStamp::of(const QString &nativePath)
{
    FileStamp stamp;
    if (nativePath.isEmpty())
        return stamp;
    struct stat st {};
    if (::stat(QFile::encodeName(nativePath).constData(), &st) != 0)
        return stamp;
    stamp.exists = true;
    stamp.isRegular = S_ISREG(st.st_mode);
    stamp.size = st.st_size;
    stamp.modifiedNs = qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    stamp.changedNs = qint64(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec;
    stamp.inode = st.st_ino;
    stamp.device = st.st_dev;
    return stamp;
}

} // namespace calvenor
