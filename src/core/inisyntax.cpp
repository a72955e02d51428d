#include "inisyntax.h"

namespace calvenor::IniSyntax {
namespace {

// Qt's general search costs more than these lines are long; a plain loop is quicker.
qsizetype indexOf(QStringView text, char16_t wanted, qsizetype from = 0)
{
    const char16_t *data = text.utf16();
    for (qsizetype i = from; i < text.size(); ++i) {
        if (data[i] == wanted)
            return i;
    }
    return -1;
}

} // namespace

QStringView trimmed(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    return text.mid(begin, end - begin);
}

LineKind classify(QStringView line)
{
    qsizetype i = 0;
    while (i < line.size() && isBlank(line[i]))
        ++i;
    if (i == line.size())
        return LineKind::Blank;
    if (line[i] == u';')
        return LineKind::Comment;
    if (line[i] == u'[')
        return LineKind::Header;
    return indexOf(line, u'=', i) >= 0 ? LineKind::Key : LineKind::Text;
}

QStringView headerName(QStringView line)
{
    const qsizetype open = indexOf(line, u'[');
    QStringView rest = line.mid(open + 1);
    const qsizetype close = indexOf(rest, u']');
    if (close >= 0)
        rest = rest.left(close);
    return trimmed(rest);
}

QStringView keyName(QStringView line)
{
    const qsizetype equals = indexOf(line, u'=');
    return trimmed(equals < 0 ? line : line.left(equals));
}

QStringView storedValue(QStringView line)
{
    const qsizetype equals = indexOf(line, u'=');
    return equals < 0 ? QStringView() : trimmed(line.mid(equals + 1));
}

QStringView unquoted(QStringView stored)
{
    if (stored.size() >= 2) {
        const QChar first = stored.front();
        if ((first == u'"' || first == u'\'') && stored.back() == first)
            return stored.mid(1, stored.size() - 2);
    }
    return stored;
}

} // namespace calvenor::IniSyntax
