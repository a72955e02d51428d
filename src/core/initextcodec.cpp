#include "initextcodec.h"

#include <QStringDecoder>

namespace calvenor {
namespace {

constexpr unsigned char kUtf8Bom[] = {0xEF, 0xBB, 0xBF};

bool startsWithBytes(QByteArrayView bytes, std::initializer_list<unsigned char> prefix)
{
    if (bytes.size() < qsizetype(prefix.size()))
        return false;
    qsizetype i = 0;
    for (const unsigned char b : prefix) {
        if (static_cast<unsigned char>(bytes[i++]) != b)
            return false;
    }
    return true;
}

// Length of the valid UTF-8 sequence at p (1..4), or 0 when the bytes there are not a
// well-formed, shortest-form encoding of a scalar value.
int validSequenceLength(const unsigned char *p, qsizetype left, char32_t &codePoint)
{
    const unsigned char b0 = p[0];
    int length = 0;
    char32_t minimum = 0;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        length = 2; codePoint = b0 & 0x1F; minimum = 0x80;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        length = 3; codePoint = b0 & 0x0F; minimum = 0x800;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        length = 4; codePoint = b0 & 0x07; minimum = 0x10000;
    } else {
        return 0;
    }
    if (left < length)
        return 0;
    for (int i = 1; i < length; ++i) {
        if ((p[i] & 0xC0) != 0x80)
            return 0;
        codePoint = (codePoint << 6) | (p[i] & 0x3F);
    }
    if (codePoint < minimum || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF))
        return 0;
    return length;
}

} // namespace

QString decodeUtf8Lossless(QByteArrayView bytes)
{
    QString text;
    text.reserve(bytes.size());
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.data());
    const qsizetype size = bytes.size();
    qsizetype i = 0;
    while (i < size) {
        const unsigned char b = p[i];
        if (b < 0x80) {
            text.append(QChar(char16_t(b)));
            ++i;
            continue;
        }
        char32_t codePoint = 0;
        const int length = validSequenceLength(p + i, size - i, codePoint);
        if (length == 0) {
            text.append(QChar(char16_t(0xDC00 + b)));
            ++i;
            continue;
        }
        if (codePoint >= 0x10000) {
            text.append(QChar(QChar::highSurrogate(codePoint)));
            text.append(QChar(QChar::lowSurrogate(codePoint)));
        } else {
            text.append(QChar(char16_t(codePoint)));
        }
        i += length;
    }
    return text;
}

QByteArray encodeUtf8Lossless(QStringView text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = text[i].unicode();
        if (u >= 0xDC80 && u <= 0xDCFF) {
            bytes.append(char(u - 0xDC00));   // a byte that was not valid UTF-8
            continue;
        }
        char32_t codePoint = u;
        if (QChar::isHighSurrogate(u) && i + 1 < text.size() && QChar::isLowSurrogate(text[i + 1].unicode())) {
            codePoint = QChar::surrogateToUcs4(u, text[i + 1].unicode());
            ++i;
        }
        if (codePoint < 0x80) {
            bytes.append(char(codePoint));
        } else if (codePoint < 0x800) {
            bytes.append(char(0xC0 | (codePoint >> 6)));
            bytes.append(char(0x80 | (codePoint & 0x3F)));
        } else if (codePoint < 0x10000) {
            bytes.append(char(0xE0 | (codePoint >> 12)));
            bytes.append(char(0x80 | ((codePoint >> 6) & 0x3F)));
            bytes.append(char(0x80 | (codePoint & 0x3F)));
        } else {
            bytes.append(char(0xF0 | (codePoint >> 18)));
            bytes.append(char(0x80 | ((codePoint >> 12) & 0x3F)));
            bytes.append(char(0x80 | ((codePoint >> 6) & 0x3F)));
            bytes.append(char(0x80 | (codePoint & 0x3F)));
        }
    }
    return bytes;
}

IniTextCodec::IniTextCodec(IniEncoding encoding, const AnsiCodePage &codePage)
    : m_encoding(encoding)
    , m_codePage(&codePage)
{
}

IniTextCodec IniTextCodec::detect(QByteArrayView bytes, const AnsiCodePage &codePage)
{
    if (startsWithBytes(bytes, {0xFF, 0xFE}))
        return IniTextCodec(IniEncoding::Utf16LeBom, codePage);
    if (startsWithBytes(bytes, {0xFE, 0xFF}))
        return IniTextCodec(IniEncoding::Utf16BeBom, codePage);
    if (startsWithBytes(bytes, {0xEF, 0xBB, 0xBF}))
        return IniTextCodec(IniEncoding::Utf8Bom, codePage);
    return IniTextCodec(IniEncoding::Ansi, codePage);
}

QString IniTextCodec::decodeFile(QByteArrayView bytes, QByteArray *oddTail) const
{
    switch (m_encoding) {
    case IniEncoding::Utf16LeBom:
    case IniEncoding::Utf16BeBom: {
        const QByteArrayView body = (bytes.size() >= 2 ? bytes.sliced(2) : QByteArrayView());
        const qsizetype units = body.size() / 2;
        if (oddTail)
            *oddTail = (body.size() % 2) ? body.last(1).toByteArray() : QByteArray();
        QString text(units, Qt::Uninitialized);
        char16_t *out = reinterpret_cast<char16_t *>(text.data());
        const auto *in = reinterpret_cast<const unsigned char *>(body.data());
        const int low = m_encoding == IniEncoding::Utf16LeBom ? 0 : 1;
        for (qsizetype i = 0; i < units; ++i)
            out[i] = char16_t(in[2 * i + low] | (in[2 * i + 1 - low] << 8));
        return text;
    }
    case IniEncoding::Utf8Bom:
        return decodeUtf8Lossless((bytes.size() >= 3 ? bytes.sliced(3) : QByteArrayView()));
    case IniEncoding::Ansi:
        break;
    }
    return m_codePage->decode(bytes);
}

QByteArray IniTextCodec::encodeFile(QStringView text, const QByteArray &oddTail) const
{
    switch (m_encoding) {
    case IniEncoding::Utf16LeBom:
    case IniEncoding::Utf16BeBom: {
        QByteArray bytes;
        bytes.reserve(2 + 2 * text.size() + oddTail.size());
        appendBom(bytes);
        appendEncoded(bytes, text);
        return bytes + oddTail;
    }
    case IniEncoding::Utf8Bom:
        return QByteArray(reinterpret_cast<const char *>(kUtf8Bom), 3) + encodeUtf8Lossless(text);
    case IniEncoding::Ansi:
        break;
    }
    return m_codePage->encode(text);
}

void IniTextCodec::appendBom(QByteArray &out) const
{
    if (m_encoding == IniEncoding::Utf16LeBom)
        out.append("\xff\xfe", 2);
    else if (m_encoding == IniEncoding::Utf16BeBom)
        out.append("\xfe\xff", 2);
    else if (m_encoding == IniEncoding::Utf8Bom)
        out.append(reinterpret_cast<const char *>(kUtf8Bom), 3);
}

void IniTextCodec::appendEncoded(QByteArray &out, QStringView text) const
{
    switch (m_encoding) {
    case IniEncoding::Utf16LeBom:
    case IniEncoding::Utf16BeBom: {
        const qsizetype at = out.size();
        out.resize(at + 2 * text.size());
        auto *bytes = reinterpret_cast<unsigned char *>(out.data() + at);
        const int low = m_encoding == IniEncoding::Utf16LeBom ? 0 : 1;
        for (qsizetype i = 0; i < text.size(); ++i) {
            const char16_t u = text[i].unicode();
            bytes[2 * i + low] = static_cast<unsigned char>(u & 0xFF);
            bytes[2 * i + 1 - low] = static_cast<unsigned char>(u >> 8);
        }
        return;
    }
    case IniEncoding::Utf8Bom:
        out.append(encodeUtf8Lossless(text));
        return;
    case IniEncoding::Ansi:
        break;
    }
    m_codePage->appendEncoded(out, text);
}

bool IniTextCodec::canEncode(QStringView text) const
{
    switch (m_encoding) {
    case IniEncoding::Utf16LeBom:
    case IniEncoding::Utf16BeBom:
        return true;
    case IniEncoding::Utf8Bom:
        return decodeUtf8Lossless(encodeUtf8Lossless(text)) == text;
    case IniEncoding::Ansi:
        break;
    }
    return m_codePage->canEncode(text);
}

bool IniTextCodec::mayBeMarked(QStringView stored) const
{
    if (m_encoding == IniEncoding::Utf8Bom || stored.size() < 3)
        return false;
    for (int i = 0; i < 3; ++i) {
        if (stored[i] != m_codePage->decodeByte(kUtf8Bom[i]))
            return false;
    }
    return true;
}

QString IniTextCodec::valueFromStored(QStringView stored, bool *isMarked) const
{
    if (isMarked)
        *isMarked = false;
    // In UTF-8 files values are plain Unicode already.
    if (m_encoding == IniEncoding::Utf8Bom || stored.size() < 3)
        return stored.toString();
    for (int i = 0; i < 3; ++i) {
        if (stored[i] != m_codePage->decodeByte(kUtf8Bom[i]))
            return stored.toString();
    }
    const QStringView rest = stored.mid(3);
    if (!m_codePage->canEncode(rest))
        return stored.toString();
    const QByteArray bytes = m_codePage->encode(rest);
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return stored.toString();   // not UTF-8 after all: keep the bytes as they are
    if (isMarked)
        *isMarked = true;
    return text;
}

QString IniTextCodec::storedFromValue(QStringView value) const
{
    // A value that begins with the marker's own characters would read as the text after
    // them: it is marked as well.
    if (m_encoding == IniEncoding::Utf8Bom
        || ((m_encoding != IniEncoding::Ansi || m_codePage->canEncode(value)) && valueFromStored(value) == value))
        return value.toString();
    return m_codePage->decode(QByteArrayView(reinterpret_cast<const char *>(kUtf8Bom), 3))
        + m_codePage->decode(value.toUtf8());
}

} // namespace calvenor
