#pragma once

#include <QString>
#include <QStringView>

// The line grammar of INI files as the Windows private-profile functions read them.
namespace calvenor::IniSyntax {

// Space, tab and vertical tab: the blanks the profile functions ignore around names,
// values and before a line's first mark.
inline bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\v';
}

QStringView trimmed(QStringView text);

enum class LineKind : quint8 {
    Blank,    // nothing but blanks
    Comment,  // first mark is ';'
    Header,   // first mark is '['
    Key,      // holds '='
    Text,     // anything else: a line without '='
};

LineKind classify(QStringView line);

// The name of a header line: after '[' up to the first ']' (or the line's end),
// without blanks around it. Whatever follows the ']' is ignored.
QStringView headerName(QStringView line);

// The key of a key line (before the first '='), without blanks around it.
QStringView keyName(QStringView line);

// The stored value of a key line: after the first '=', without blanks around it, with
// any quotation marks still there.
QStringView storedValue(QStringView line);

// What a value read gives for a stored value: one pair of matching enclosing quotation
// marks (double or single) removed.
QStringView unquoted(QStringView stored);

} // namespace calvenor::IniSyntax
