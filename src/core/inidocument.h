#pragma once

#include "foldedkey.h"
#include "initextcodec.h"
#include "inisyntax.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace calvenor {

// One entry of a section as the section-text read lists it.
struct IniEntry
{
    QString key;      // without blanks around it
    QString stored;   // the value as stored: blanks around it removed, quotes kept
    bool hasEquals = false;   // false for a line without '=' (its text is in key)
};

// The parsed text of one INI file with the edits made to it since. Lines nobody
// edited keep their exact text, line ends included, so the file serialises back to
// the same bytes. Reading follows Wine's profile functions: the first section and the
// first line of a name are the ones read, names match ignoring the case of ASCII
// letters, ';' lines are found by name but never listed. Edits keep the file's shape:
// a changed key stays in place, a new key follows the last key of its section, a
// rewritten section stays where it stood, a new section goes to the end.
//
// After every edit the document equals a fresh parse of what it serialises to; the
// edit operations refuse (change nothing) where a line could not keep that promise
// (see holdsKey and holdsSection).
class IniDocument
{
public:
    IniDocument();   // an empty new file (ANSI, CR LF)
    static IniDocument parse(const QByteArray &bytes, const AnsiCodePage &codePage = AnsiCodePage::system());

    QByteArray serialize() const;
    // Text written since the parse, kept beside the original; it grows with every edit.
    qsizetype editedTextSize() const { return m_extra.size(); }
    qsizetype originalTextSize() const { return m_text.size(); }
    const IniTextCodec &codec() const { return m_codec; }
    // True once an edit changed the text since the parse or the last clearModified.
    bool isModified() const { return m_modified; }
    void clearModified() { m_modified = false; }

    bool hasSection(QStringView section) const;
    // The stored form of a key's value (blanks around it removed, quotes kept), if the
    // key exists and has a value.
    std::optional<QString> storedValue(QStringView section, QStringView key) const;
    // The text a value read gives: unquoted and with the UTF-8 marker decoded.
    std::optional<QString> value(QStringView section, QStringView key) const;
    QString valueFromStored(QStringView stored) const;

    QStringList sectionNames() const;
    // Every line that means something to a reader, one per output line: the section
    // it belongs to, its kind and its text. Two documents with the same outline read
    // the same.
    QString outline() const;
    // Key lines and lines without '=' of the section, in file order; comment and
    // blank lines are not entries.
    std::vector<IniEntry> entries(QStringView section) const;
    // The same entries handed to visit(key, stored, hasEquals) as views into the text,
    // valid during the call only; nothing is copied.
    template<typename Visitor>
    void forEachEntry(QStringView section, Visitor &&visit) const;

    // The text to store for a value: the value itself where the file's encoding holds
    // it, else the file manager's UTF-8 marked form; a value that came from the file
    // keeps the form it came in.
    QString storedFormOf(const QString &value) const;

    // Whether a line key=stored reads back as that key (a name holding '=', or one
    // that turns the line into a header, cannot), and whether a header for the name
    // reads back as that section.
    static bool holdsKey(QStringView key, QStringView stored);
    static bool holdsSection(QStringView name);

    // The edits; each returns whether it changed the text. A key written with a value
    // its line already reads as (in whatever quoting or marked form) keeps the line.
    bool setStoredValue(QStringView section, QStringView key, QStringView stored);
    // Removes every line of the key from the section.
    bool deleteKey(QStringView section, QStringView key);
    struct StoredEntry
    {
        QString key;
        QString stored;
    };
    // Rewrites the first section of the name in place with these entries: an entry
    // whose key's line already reads as its value keeps that line as it is, the others
    // take the places of the remaining key lines in order (a line of the same key keeps
    // its spelling), extra entries follow the last key, comments and blank lines stay. A
    // key that comes again (ignoring case) replaces the value of its first line, as a
    // write would. The first line of keptKey (if given) is kept as it is. Later copies
    // of the section go. A section left without lines loses its header; its comments
    // stay where they were. An absent section is appended at the end.
    bool replaceSection(QStringView section, const std::vector<StoredEntry> &entries, QStringView keptKey = {});
    bool deleteSection(QStringView section, QStringView keptKey = {}) { return replaceSection(section, {}, keptKey); }

    // A section that loses its header keeps its place: written again, it goes back
    // where it stood, not to the end. Places outlive a parse when handed on: each names
    // the section (or former section) that followed it.
    struct FormerPlace
    {
        QString section;
        QString before;       // the name of what followed it, unless last
        bool last = false;    // nothing followed it
        int blankLines = 0;   // the blank lines that closed it
    };
    std::vector<FormerPlace> formerPlaces() const;
    // Takes on the places of sections this document lacks (one it holds has its place).
    void restoreFormerPlaces(const std::vector<FormerPlace> &places);

private:
    enum class LineEnd : quint8 { None, CrLf, Lf, Cr };
    struct Line
    {
        qint32 start = 0;    // files are far below 2^31 characters (the reader's limit)
        qint32 length = 0;
        bool inExtra = false;
        LineEnd end = LineEnd::None;
        IniSyntax::LineKind kind = IniSyntax::LineKind::Blank;
    };
    struct Section
    {
        QString name;                 // as written in the header
        bool hasHeader = false;       // false for the lines before the first header
        std::vector<Line> lines;      // header line first when hasHeader
        mutable QHash<FoldedKey, qsizetype> keyIndex;   // name -> its first named line
        mutable bool indexed = false;
        mutable int scans = 0;   // lookups answered by walking the lines
        std::optional<QString> formerName;   // a section that lost its header and keeps its place
        std::vector<Line> formerTail;        // the blank lines that closed it
        void forgetIndex()
        {
            keyIndex.clear();
            indexed = false;
            scans = 0;
        }
    };

    static bool isNamed(const Line &line);
    // Whether two stored forms give the same value read.
    bool readsAs(QStringView stored, QStringView other) const;   // a line found by name: key, text or comment
    QStringView lineText(const Line &line) const;
    Line appendExtra(QStringView text, LineEnd end);
    Line appendKeyLine(QStringView key, QStringView stored, LineEnd end);
    const Section *findSection(QStringView name) const;
    Section *findSection(QStringView name);
    qsizetype findKeyLine(const Section &section, QStringView key) const;
    void buildKeyIndex(const Section &section) const;
    void addSection(Section section);
    Section &appendNewSection(QStringView name);
    // Takes the header and every entry of a section away; its comments join the
    // section before it, where a fresh parse finds them too. keepPlace leaves the
    // section's place for it to come back to.
    void retireSection(qsizetype index, bool keepPlace);
    void indexSections();
    static QStringView lineEndText(LineEnd end);

    IniTextCodec m_codec;
    QString m_text;                   // the file as read
    QString m_extra;                  // text of lines written since
    QByteArray m_oddTail;
    LineEnd m_defaultEnd = LineEnd::CrLf;
    bool m_finalNewline = true;
    bool m_modified = false;
    std::vector<Section> m_sections;  // [0] holds the lines before the first header
    QHash<FoldedKey, QList<qsizetype>> m_sectionsByName;   // name -> its live sections
    QHash<FoldedKey, qsizetype> m_formerPlaces;            // name -> the place it left
    mutable QHash<QString, QString> m_markedForms;   // value -> its marked stored form from the file
};

template<typename Visitor>
void IniDocument::forEachEntry(QStringView sectionName, Visitor &&visit) const
{
    const Section *section = findSection(sectionName);
    if (!section)
        return;
    QStringView name;
    QStringView stored;
    for (const Line &line : section->lines) {
        if (line.kind == IniSyntax::LineKind::Key || line.kind == IniSyntax::LineKind::Text) {
            const bool hasEquals = IniSyntax::splitEntry(lineText(line), name, stored);
            visit(name, stored, hasEquals);
        }
    }
}

} // namespace calvenor
