#include "foldedkey.h"

namespace calvenor {
namespace {

inline char16_t asciiLower(char16_t c)
{
    return c >= u'A' && c <= u'Z' ? char16_t(c + 0x20) : c;
}

} // namespace

bool FoldedKey::equalIgnoringCase(QStringView a, QStringView b)
{
    if (a.size() != b.size())
        return false;
    const char16_t *x = a.utf16();
    const char16_t *y = b.utf16();
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (x[i] != y[i] && asciiLower(x[i]) != asciiLower(y[i]))
            return false;
    }
    return true;
}

int FoldedKey::compareIgnoringCase(QStringView a, QStringView b)
{
    const qsizetype common = qMin(a.size(), b.size());
    const char16_t *x = a.utf16();
    const char16_t *y = b.utf16();
    for (qsizetype i = 0; i < common; ++i) {
        const char16_t p = asciiLower(x[i]);
        const char16_t q = asciiLower(y[i]);
        if (p != q)
            return p < q ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

size_t qHash(const FoldedKey &key, size_t seed) noexcept
{
    // FNV-1a over the folded code units, so that names equal without regard to case
    // share a hash.
    size_t hash = 1469598103934665603ULL ^ seed;
    const auto *data = reinterpret_cast<const char16_t *>(key.text.utf16());
    for (qsizetype i = 0; i < key.text.size(); ++i)
        hash = (hash ^ asciiLower(data[i])) * 1099511628211ULL;
    return hash;
}

} // namespace calvenor
