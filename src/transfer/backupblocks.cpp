#include "backupblocks.h"

#include "core/cprofile.h"
#include "core/csectionsdata.h"
#include "core/foldedkey.h"
#include "core/historysections.h"
#include "platform/atomicfile.h"

#include <QByteArrayView>
#include <QTemporaryDir>

#include <algorithm>

namespace calvenor {
namespace {

// A backup may be given any size limit; beyond this it is no file a run of ours wrote.
constexpr qint64 kLargestBackup = qint64(1) << 30;

constexpr QByteArrayView kBlockHeader = "; === Total Commander history [";
constexpr QByteArrayView kSeparatorStart = "; ||||||||||";

bool isDigits(QByteArrayView text)
{
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Counts the entries of one section as its reader takes them, closely enough to list:
// numbered keys, a tab's "<n>_path" key, or each name of a keyed template once.
class EntryCounter
{
public:
    explicit EntryCounter(const QString &section)
        : m_family(cSectionsData::familyOf(section))
        , m_wholeKey(FoldedKey::equalIgnoringCase(section, cSectionsData::AttrPlugin()))
    {
    }

    void line(QByteArrayView line)
    {
        const qsizetype equals = line.indexOf('=');
        if (equals <= 0)
            return;
        const QByteArrayView key = line.first(equals).trimmed();
        switch (m_family) {
        case SectionFamily::Numbered:
            m_count += isDigits(key) ? 1 : 0;
            break;
        case SectionFamily::Tabs:
            m_count += key.endsWith("_path") && isDigits(key.chopped(5)) ? 1 : 0;
            break;
        case SectionFamily::Keyed: {
            // A template's name is its key up to the last "_" (the plug-in attributes:
            // the whole key). Its keys stand together, as every writer puts them.
            const qsizetype underscore = m_wholeKey ? key.size() : key.lastIndexOf('_');
            if (underscore < 0)
                break;
            const QByteArrayView name = key.first(underscore);
            if (m_count == 0 || name.compare(m_previous, Qt::CaseInsensitive) != 0)
                ++m_count;
            m_previous = name;
            break;
        }
        case SectionFamily::None:
            break;
        }
    }

    int count() const { return m_count; }

private:
    SectionFamily m_family;
    bool m_wholeKey;
    int m_count = 0;
    QByteArrayView m_previous;   // the last template's name
};

} // namespace

int BackupBlocks::Block::totalEntries() const
{
    int total = 0;
    for (const Section &section : sections)
        total += section.entries;
    return total;
}

QString BackupBlocks::decode(QByteArrayView piece) const
{
    return m_codec.encoding() == IniEncoding::Utf8Bom ? decodeUtf8Lossless(piece) : AnsiCodePage::system().decode(piece);
}

int BackupBlocks::Read(const QString &nativePath)
{
    m_blocks.clear();
    m_unknown.clear();
    m_torn = false;
    m_bytes.clear();
    QByteArray bytes;
    if (const ErrorNumber error = readWholeFile(nativePath, kLargestBackup, bytes))
        return error;
    m_codec = IniTextCodec::detect(bytes);
    QByteArray bom;
    m_codec.appendBom(bom);
    switch (m_codec.encoding()) {
    case IniEncoding::Ansi:
    case IniEncoding::Utf8Bom:
        // Every character the layout is made of is ASCII, the same in both; the bytes
        // are read in place, past the mark.
        m_bytes = std::move(bytes);
        break;
    case IniEncoding::Utf16LeBom:
    case IniEncoding::Utf16BeBom: {
        // Read as UTF-8 from here on, where the layout's ASCII is one byte a character.
        const QString text = m_codec.decodeFile(bytes);
        m_codec = IniTextCodec(IniEncoding::Utf8Bom);
        bom.clear();
        m_codec.appendBom(bom);
        m_bytes = bom + encodeUtf8Lossless(text);
        break;
    }
    }
    scan(bom.size());
    return errNone;
}

void BackupBlocks::scan(qsizetype from)
{
    const QByteArrayView file(m_bytes);
    QList<Block> found;
    bool inBlock = false;
    Section *section = nullptr;      // the section lines are going to; null when skipped
    std::optional<EntryCounter> counter;
    auto closeSection = [&] {
        if (section && counter)
            section->entries += counter->count();
        section = nullptr;
        counter.reset();
    };

    // What a power cut left: zeros where a block should be. Nothing after them is text.
    const qsizetype zero = file.indexOf('\0', from);
    const QByteArrayView text = zero < 0 ? file : file.first(zero);
    qsizetype at = from;
    while (at < text.size()) {
        qsizetype end = text.indexOf('\n', at);
        const bool whole = end >= 0;
        if (!whole)
            end = text.size();
        QByteArrayView line = text.sliced(at, end - at);
        at = whole ? end + 1 : end;
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.startsWith(kBlockHeader)) {
            closeSection();
            if (inBlock)
                found.last().torn = true;
            Block block;
            const QByteArrayView stamp = line.sliced(kBlockHeader.size());
            const qsizetype close = stamp.lastIndexOf(']');
            block.stamp = decode(close >= 0 ? stamp.first(close) : stamp).trimmed();
            found.append(block);
            inBlock = true;
            continue;
        }
        if (!inBlock)
            continue;   // someone's own text between the blocks
        if (line.startsWith(kSeparatorStart)) {
            closeSection();
            inBlock = false;
            continue;
        }
        if (!whole) {
            // The last line of a file that ends inside a block was cut.
            found.last().torn = true;
            break;
        }
        const QByteArrayView trimmed = line.trimmed();
        if (trimmed.startsWith('[') && trimmed.contains(']')) {
            closeSection();
            const QString name = decode(trimmed.sliced(1, trimmed.indexOf(']') - 1)).trimmed();
            const int index = cSectionsData::GetSectionIndex(name);
            if (index < 0 || FoldedKey::equalIgnoringCase(name, cSectionsData::RootNode())) {
                if (!m_unknown.contains(name, Qt::CaseInsensitive))
                    m_unknown.append(name);
                continue;
            }
            const QString catalogueName = cSectionsData::SectionsList(index);
            QList<Section> &sections = found.last().sections;
            auto same = std::find_if(sections.begin(), sections.end(),
                                     [&](const Section &s) { return s.name == catalogueName; });
            if (same == sections.end()) {
                sections.append(Section {catalogueName, 0, {}});
                same = sections.end() - 1;
            }
            section = &*same;
            section->spans.append({at, at});
            counter.emplace(catalogueName);
            continue;
        }
        if (!section || trimmed.isEmpty() || trimmed.startsWith(';'))
            continue;
        section->spans.last().to = at;
        counter->line(line);
    }
    closeSection();
    if (inBlock && !found.isEmpty())
        found.last().torn = true;
    m_torn = !found.isEmpty() && found.last().torn;
    // Sections whose lines were all cut or commented out hold nothing to bring back.
    for (Block &block : found) {
        block.sections.removeIf([](const Section &s) { return s.entries == 0; });
    }
    std::reverse(found.begin(), found.end());
    m_blocks = std::move(found);
}

int BackupBlocks::ReadRows(const Block &block, const QString &section, const cProfile &likeProfile,
                           std::vector<HistoryRow> &rows, qint32 lockedTabForeColor) const
{
    rows.clear();
    const auto found = std::find_if(block.sections.cbegin(), block.sections.cend(),
                                    [&](const Section &s) { return FoldedKey::equalIgnoringCase(s.name, section); });
    if (found == block.sections.cend())
        return errNone;
    // The lines are read as the file manager's INI file would hold them, so each
    // family's own reader decides what they mean.
    QByteArray file;
    m_codec.appendBom(file);
    m_codec.appendEncoded(file, QString(u'[' + found->name + QStringLiteral("]\r\n")));
    for (const Section::Span &span : found->spans)
        file += QByteArrayView(m_bytes).sliced(span.from, span.to - span.from);
    QTemporaryDir folder;
    if (!folder.isValid())
        return errPathNotFound;
    const QString path = folder.filePath(QStringLiteral("restore.ini"));
    if (const ErrorNumber error = writeFileAtomically(path, file))
        return error;
    cProfile profile(likeProfile.paths(), QString());
    HistoryRowStore store;
    store.BuildFrame();
    HistorySections sections(profile, store);
    sections.setLockedTabForeColor(lockedTabForeColor);
    if (const int error = sections.ReadHistorySection(found->name, path, path))
        return error;
    const int index = cSectionsData::GetSectionIndex(found->name);
    rows = store.SectionRows(index);
    return errNone;
}

} // namespace calvenor
