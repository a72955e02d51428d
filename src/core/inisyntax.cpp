#include "inisyntax.h"

#include <QtAlgorithms>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace calvenor::IniSyntax {
namespace {

// The first NUL of a long value, eight characters at a time.
qsizetype findNul(const char16_t *data, qsizetype size)
{
    qsizetype i = 0;
#ifdef __SSE2__
    const __m128i zero = _mm_setzero_si128();
    for (; i + 8 <= size; i += 8) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i *>(data + i));
        const int mask = _mm_movemask_epi8(_mm_cmpeq_epi16(chunk, zero));
        if (mask != 0)
            return i + qCountTrailingZeroBits(uint(mask)) / 2;
    }
#endif
    for (; i < size; ++i) {
        if (data[i] == 0)
            return i;
    }
    return -1;
}

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

qsizetype lastIndexOf(QStringView text, char16_t wanted)
{
    const char16_t *data = text.utf16();
    for (qsizetype i = text.size() - 1; i >= 0; --i) {
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

QStringView cutAtNul(QStringView text)
{
    const qsizetype nul = findNul(text.utf16(), text.size());
    return nul < 0 ? text : text.left(nul);
}

LineKind classify(QStringView line)
{
    const QStringView text = trimmed(line);
    if (text.isEmpty())
        return LineKind::Blank;
    const char16_t first = text.front().unicode();
    if (first == u'[' && lastIndexOf(text, u']') > 0)
        return LineKind::Header;
    if (first == u';')
        return LineKind::Comment;
    if (indexOf(text, u'=') >= 0)
        return LineKind::Key;
    // A line whose name is cut to nothing by a NUL is skipped like an empty one.
    return first == u'\0' ? LineKind::Blank : LineKind::Text;
}

QStringView headerName(QStringView line)
{
    const QStringView text = trimmed(line);
    const qsizetype close = lastIndexOf(text, u']');
    if (text.isEmpty() || text.front() != u'[' || close <= 0)
        return {};
    return cutAtNul(trimmed(text.mid(1, close - 1)));
}

QStringView keyName(QStringView line)
{
    const qsizetype equals = indexOf(line, u'=');
    return cutAtNul(trimmed(equals < 0 ? line : line.left(equals)));
}

QStringView storedValue(QStringView line)
{
    const qsizetype equals = indexOf(line, u'=');
    return equals < 0 ? QStringView() : cutAtNul(trimmed(line.mid(equals + 1)));
}

bool splitEntry(QStringView line, QStringView &name, QStringView &stored)
{
    const qsizetype equals = indexOf(line, u'=');
    if (equals < 0) {
        name = cutAtNul(trimmed(line));
        stored = QStringView();
        return false;
    }
    name = cutAtNul(trimmed(line.left(equals)));
    stored = cutAtNul(trimmed(line.mid(equals + 1)));
    return true;
}

bool hasEquals(QStringView line)
{
    return indexOf(line, u'=') >= 0;
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

QString quoted(QStringView text)
{
    if (text.isEmpty())
        return QString();
    const QChar first = text.front();
    const QChar last = text.back();
    if (isBlank(first) || isBlank(last) || first == u'"' || last == u'"' || unquoted(text).size() != text.size())
        return u'"' + text + u'"';
    return text.toString();
}

} // namespace calvenor::IniSyntax
