#pragma once

#include "core/historyrow.h"
#include "core/initextcodec.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <vector>

namespace calvenor {

class cProfile;

// The key in the program's own section of the settings file that names the backup file
// last written or restored from, where restoring starts.
inline constexpr char16_t kLastBackupFileKey[] = u"LastBackupFile";

// The blocks of a history backup file, read back: which runs it holds, which sections
// each run copied and how many entries each held. The file is read once, as bytes; a
// section's rows are read from those bytes only when it is restored.
class BackupBlocks
{
public:
    struct Section
    {
        QString name;                 // as the catalogue spells it
        int entries = 0;              // the entries the section's lines hold
        // Where its lines stand in the file's bytes (more than one piece when the block
        // names the section twice).
        struct Span
        {
            qsizetype from = 0;
            qsizetype to = 0;
        };
        QList<Span> spans;
    };
    struct Block
    {
        QString stamp;                // the date and time of the header, as written
        QList<Section> sections;      // in the order the run copied them
        bool torn = false;            // the file ends inside the block
        int totalEntries() const;
    };

    // Reads the file; errNone, or the error reading it gave (nothing is then listed).
    int Read(const QString &nativePath);

    // Newest first: the file holds them oldest first.
    const QList<Block> &blocks() const { return m_blocks; }
    // Section names of blocks that are no section of the catalogue, each once: their
    // lines are not listed.
    const QStringList &unknownSections() const { return m_unknown; }
    // Whether the last block was cut off (a run stopped while writing it): what it holds
    // up to its last whole line is listed.
    bool hasTornBlock() const { return m_torn; }
    IniEncoding encoding() const { return m_codec.encoding(); }

    // The rows of one section of a block, read by the section's own reader as if the
    // block's lines stood in the file manager's INI file. Fails with the error of the
    // scratch file the lines are read through.
    int ReadRows(const Block &block, const QString &section, const cProfile &likeProfile,
                 std::vector<HistoryRow> &rows, qint32 lockedTabForeColor) const;

private:
    void scan(qsizetype from);   // from: where the text starts, past its mark
    QString decode(QByteArrayView piece) const;   // a piece of m_bytes as text

    QByteArray m_bytes;   // the file as read (UTF-16 turned into UTF-8)
    QList<Block> m_blocks;
    QStringList m_unknown;
    bool m_torn = false;
    IniTextCodec m_codec;
};

} // namespace calvenor
