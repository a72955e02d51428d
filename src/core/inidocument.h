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

// One key line of a section, as the profile functions see it.
struct IniEntry
{
    QString key;      // without blanks around it
    QString stored;   // the value as stored: blanks around it removed, quotes kept
    bool hasEquals = false;   // false for a line without '=' (its text is in key)
};

// The parsed text of one INI file with the edits made to it since. Lines nobody
// edited keep their exact text, line ends included, so the file serialises back to
// the same bytes; edits follow the Windows profile functions: a changed key stays in
// place, a new key follows the last key of its section, a new section goes to the end.
// Lookups take the first section and the first key of a name, as those functions do;
// names are compared without regard to case.
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

    bool hasSection(QStringView section) const;
    // The stored form of a key's value (blanks around it removed, quotes kept), if the
    // key exists.
    std::optional<QString> storedValue(QStringView section, QStringView key) const;
    // The text a value read gives: unquoted and with the UTF-8 marker decoded.
    std::optional<QString> value(QStringView section, QStringView key) const;
    QString valueFromStored(QStringView stored) const;

    QStringList sectionNames() const;
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
    void setStoredValue(QStringView section, QStringView key, QStringView stored);
    void deleteKey(QStringView section, QStringView key);
    // Appends a new section holding these keys in order; a key that comes again (without
    // regard to case) replaces the value of its first line, as a write would.
    struct StoredEntry
    {
        QString key;
        QString stored;
    };
    void appendSection(QStringView section, const std::vector<StoredEntry> &entries);
    // Removes the header and every line of all sections of that name, except comment
    // lines, which stay where they were.
    void deleteSection(QStringView section);

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
        mutable QHash<FoldedKey, qsizetype> keyIndex;   // key -> its first line
        mutable bool indexed = false;
        mutable int scans = 0;   // lookups answered by walking the lines
    };

    QStringView lineText(const Line &line) const;
    Line appendExtra(QStringView text, IniSyntax::LineKind kind);
    const Section *findSection(QStringView name) const;
    Section *findSection(QStringView name);
    qsizetype findKeyLine(const Section &section, QStringView key) const;
    void buildKeyIndex(const Section &section) const;
    void addSection(Section section);
    static QStringView lineEndText(LineEnd end);

    IniTextCodec m_codec;
    QString m_text;                   // the file as read
    QString m_extra;                  // text of lines written since
    QByteArray m_oddTail;
    LineEnd m_defaultEnd = LineEnd::CrLf;
    bool m_finalNewline = true;
    std::vector<Section> m_sections;  // [0] holds the lines before the first header
    QHash<FoldedKey, QList<qsizetype>> m_sectionsByName;   // name -> its live sections
    mutable QHash<QString, QString> m_markedForms;   // value -> its marked stored form from the file
};

template<typename Visitor>
void IniDocument::forEachEntry(QStringView sectionName, Visitor &&visit) const
{
    const Section *section = findSection(sectionName);
    if (!section)
        return;
    for (const Line &line : section->lines) {
        const QStringView text = lineText(line);
        if (line.kind == IniSyntax::LineKind::Key)
            visit(IniSyntax::keyName(text), IniSyntax::storedValue(text), true);
        else if (line.kind == IniSyntax::LineKind::Text)
            visit(IniSyntax::trimmed(text), QStringView(), false);
    }
}

} // namespace calvenor
