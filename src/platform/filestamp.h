#pragma once

#include <QString>
#include <QtGlobal>

namespace calvenor {

// What a stat of a path tells about the file behind it: enough to notice that another
// program replaced or changed the file since we last parsed it.
struct FileStamp
{
    bool exists = false;
    bool isRegular = false;
    qint64 size = 0;
    qint64 modifiedNs = 0;
    qint64 changedNs = 0;
    quint64 inode = 0;
    quint64 device = 0;

    static FileStamp of(const QString &nativePath);

    friend bool operator==(const FileStamp &, const FileStamp &) = default;
};

} // namespace calvenor
