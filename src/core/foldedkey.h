#pragma once

#include <QHashFunctions>
#include <QString>
#include <QStringView>

namespace calvenor {

// A hash key that compares names as the profile functions do: the case of the ASCII
// letters is ignored, every other character must match exactly ("Äpfel" and "äpfel"
// are two names). Lookups can wrap a view of existing text without copying it.
struct FoldedKey
{
    QString text;

    static FoldedKey view(QStringView name) { return {QString::fromRawData(name.data(), name.size())}; }

    friend bool operator==(const FoldedKey &a, const FoldedKey &b) { return equalIgnoringCase(a.text, b.text); }

    static bool equalIgnoringCase(QStringView a, QStringView b);
    // <0, 0 or >0 as a sorts before, with or after b without regard to case.
    static int compareIgnoringCase(QStringView a, QStringView b);
};

size_t qHash(const FoldedKey &key, size_t seed = 0) noexcept;

} // namespace calvenor
