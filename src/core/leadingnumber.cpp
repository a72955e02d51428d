#include "leadingnumber.h"

#include <QByteArray>

#include <cmath>
#include <cstdlib>
#include <limits>

namespace calvenor {

double leadingNumber(QStringView text)
{
    qsizetype i = 0;
    while (i < text.size() && (text[i] == u' ' || text[i] == u'\t' || text[i] == u'\n' || text[i] == u'\r'))
        ++i;
    QByteArray number;
    auto isDigit = [&](qsizetype at) { return at < text.size() && text[at] >= u'0' && text[at] <= u'9'; };
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
        number.append(char(text[i++].unicode()));
    bool digits = false;
    while (isDigit(i)) {
        number.append(char(text[i++].unicode()));
        digits = true;
    }
    if (i < text.size() && text[i] == u'.') {
        number.append('.');
        ++i;
        while (isDigit(i)) {
            number.append(char(text[i++].unicode()));
            digits = true;
        }
    }
    if (!digits)
        return 0.0;
    if (i < text.size() && (text[i] == u'e' || text[i] == u'E')) {
        qsizetype j = i + 1;
        QByteArray exponent("e");
        if (j < text.size() && (text[j] == u'+' || text[j] == u'-'))
            exponent.append(char(text[j++].unicode()));
        if (isDigit(j)) {
            while (isDigit(j) && exponent.size() < 8)
                exponent.append(char(text[j++].unicode()));
            number.append(exponent);
        }
    }
    const double value = std::strtod(number.constData(), nullptr);
    return std::isfinite(value) ? value : 0.0;
}

qint32 leadingInteger(QStringView text)
{
    // Item numbers are plain digits nearly always; they need no floating-point parse.
    if (!text.isEmpty() && text.size() <= 9) {
        qint32 value = 0;
        bool digitsOnly = true;
        for (const QChar c : text) {
            if (c < u'0' || c > u'9') {
                digitsOnly = false;
                break;
            }
            value = value * 10 + (c.unicode() - u'0');
        }
        if (digitsOnly)
            return value;
    }
    const double rounded = std::nearbyint(leadingNumber(text));   // default mode: halves to even
    if (rounded >= double(std::numeric_limits<qint32>::max()))
        return std::numeric_limits<qint32>::max();
    if (rounded <= double(std::numeric_limits<qint32>::min()))
        return std::numeric_limits<qint32>::min();
    return qint32(rounded);
}

} // namespace calvenor
