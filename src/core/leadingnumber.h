#pragma once

#include <QStringView>

namespace calvenor {

// The number a text begins with, read the way a leading-number parse does: leading
// blanks skipped, an optional sign, digits with an optional fraction and exponent;
// reading stops at the first character that cannot belong to the number, and a text
// without digits gives 0.
double leadingNumber(QStringView text);

// leadingNumber rounded to a whole number, halves to the even neighbour, and kept
// within the range of a 32-bit integer.
qint32 leadingInteger(QStringView text);

} // namespace calvenor
