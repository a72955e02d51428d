#pragma once

#include <QString>
#include <QStringView>

// The line grammar of INI files as the private-profile functions of Wine read them
// (the file manager runs under Wine, so this is what it sees).
namespace calvenor::IniSyntax {

// The characters trimmed around lines, names and values: tab, line feed, vertical
// tab, form feed, carriage return, Ctrl+Z (old files end in it) and space.
inline bool isBlank(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 0x09 && u <= 0x0D) || u == 0x1A || u == 0x20;
}

QStringView trimmed(QStringView text);

// Names and values are C strings to the profile functions: a NUL ends them.
QStringView cutAtNul(QStringView text);

enum class LineKind : quint8 {
    Blank,    // nothing but blanks, or nothing the reader keeps
    Header,   // first mark is '[' and a ']' follows somewhere on the line
    Comment,  // first mark is ';': found by name, but never listed
    Key,      // holds '='
    Text,     // anything else: an entry without '=', which has no value
};

LineKind classify(QStringView line);

// The name of a header line: after the '[' up to the line's last ']', without blanks
// around it. Whatever follows that ']' is ignored.
QStringView headerName(QStringView line);

// The name of an entry line (before the first '=', or the whole line), without blanks
// around it.
QStringView keyName(QStringView line);

// The stored value of a key line: after the first '=', without blanks around it, with
// any quotation marks still there. Empty for a line without '='.
QStringView storedValue(QStringView line);
bool hasEquals(QStringView line);
// The name and the stored value of an entry line in one pass over it; false (and an
// empty value) for a line without '='.
bool splitEntry(QStringView line, QStringView &name, QStringView &stored);

// What a value read gives for a stored value: one pair of matching enclosing quotation
// marks (double or single) removed.
QStringView unquoted(QStringView stored);

// The inverse of a read: the text to store so that a read, which trims blanks and strips
// one pair of enclosing quotes, gives text back. Text the read would change is wrapped
// in double quotes, and so is text that begins or ends with a double quote, as the file
// manager writes it.
QString quoted(QStringView text);

} // namespace calvenor::IniSyntax
