#include "foldedkey.h"

namespace calvenor {

bool FoldedKey::equalIgnoringCase(QStringView a, QStringView b)
{
    // Case folding keeps a name's length, so names of different lengths differ.
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        char16_t x = a[i].unicode();
        char16_t y = b[i].unicode();
        if (x == y)
            continue;
        if (x >= 0x80 || y >= 0x80)
            return a.mid(i).compare(b.mid(i), Qt::CaseInsensitive) == 0;
        if (x >= u'A' && x <= u'Z')
            x += 0x20;
        if (y >= u'A' && y <= u'Z')
            y += 0x20;
        if (x != y)
            return false;
    }
    return true;
}

int FoldedKey::compareIgnoringCase(QStringView a, QStringView b)
{
    const qsizetype common = qMin(a.size(), b.size());
    for (qsizetype i = 0; i < common; ++i) {
        char16_t x = a[i].unicode();
        char16_t y = b[i].unicode();
        if (x == y)
            continue;
        if (x >= 0x80 || y >= 0x80)
            return a.mid(i).compare(b.mid(i), Qt::CaseInsensitive);
        if (x >= u'A' && x <= u'Z')
            x += 0x20;
        if (y >= u'A' && y <= u'Z')
            y += 0x20;
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

size_t qHash(const FoldedKey &key, size_t seed) noexcept
{
    // FNV-1a over the case-folded code points, so that names equal without regard to
    // case share a hash.
    size_t hash = 1469598103934665603ULL ^ seed;
    const QString &text = key.text;
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t c = text[i].unicode();
        if (c < 0x80) {
            if (c >= u'A' && c <= u'Z')
                c += 0x20;
        } else {
            if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate())
                c = QChar::surrogateToUcs4(char16_t(c), text[++i].unicode());
            c = QChar::toCaseFolded(c);
        }
        hash = (hash ^ c) * 1099511628211ULL;
    }
    return hash;
}

} // namespace calvenor
