#pragma once

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

    // The text to store for a value: the value itself where the file's encoding holds
    // it, else the file manager's UTF-8 marked form; a value that came from the file
    // keeps the form it came in.
    QString storedFormOf(const QString &value) const;
    void setStoredValue(QStringView section, QStringView key, QStringView stored);
    void deleteKey(QStringView section, QStringView key);
    // Removes the header and every line of all sections of that name, except comment
    // lines, which stay where they were.
    void deleteSection(QStringView section);

private:
    enum class LineEnd : quint8 { None, CrLf, Lf, Cr };
    struct Line
    {
        qsizetype start = 0;
        qsizetype length = 0;
        bool inExtra = false;
        LineEnd end = LineEnd::None;
        IniSyntax::LineKind kind = IniSyntax::LineKind::Blank;
    };
    struct Section
    {
        QString name;                 // as written in the header
        bool hasHeader = false;       // false for the lines before the first header
        std::vector<Line> lines;      // header line first when hasHeader
        mutable QHash<QString, qsizetype> keyIndex;   // folded key -> first line
        mutable bool indexed = false;
    };

    QStringView lineText(const Line &line) const;
    Line appendExtra(QStringView text, IniSyntax::LineKind kind);
    static QString fold(QStringView name);
    const Section *findSection(QStringView name) const;
    Section *findSection(QStringView name);
    qsizetype findKeyLine(const Section &section, QStringView key) const;
    void buildKeyIndex(const Section &section) const;
    void addSection(Section section);
    static void appendLineEnd(QString &out, LineEnd end);

    IniTextCodec m_codec;
    QString m_text;                   // the file as read
    QString m_extra;                  // text of lines written since
    QByteArray m_oddTail;
    LineEnd m_defaultEnd = LineEnd::CrLf;
    bool m_finalNewline = true;
    std::vector<Section> m_sections;  // [0] holds the lines before the first header
    QHash<QString, QList<qsizetype>> m_sectionsByName;   // folded name -> live sections
    mutable QHash<QString, QString> m_markedForms;   // value -> its marked stored form from the file
};

} // namespace calvenor
