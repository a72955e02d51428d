#include "ansicodepage.h"

#include <QHash>
#include <QMutex>
#include <QProcessEnvironment>

#include <cstring>
#ifdef __SSE2__
#include <emmintrin.h>
#endif
#include <iconv.h>
#include <memory>

namespace calvenor {
namespace {

// Asks iconv for the character of one byte; 0 when the code page leaves it undefined.
char16_t convertByte(iconv_t converter, unsigned char byte)
{
    char in[1] = {char(byte)};
    char16_t out[4] = {};
    char *inPtr = in;
    size_t inLeft = 1;
    char *outPtr = reinterpret_cast<char *>(out);
    size_t outLeft = sizeof(out);
    iconv(converter, nullptr, nullptr, nullptr, nullptr);
    if (iconv(converter, &inPtr, &inLeft, &outPtr, &outLeft) == size_t(-1))
        return 0;
    // Code pages with combining marks hold a base letter back until they see what
    // follows; flushing releases it.
    iconv(converter, nullptr, nullptr, &outPtr, &outLeft);
    const size_t produced = (sizeof(out) - outLeft) / sizeof(char16_t);
    return produced == 1 ? out[0] : 0;
}

} // namespace

AnsiCodePage::AnsiCodePage(int codePage)
    : m_number(codePage)
    , m_fromUnicode(0x10000, qint16(-1))
{
    const QByteArray name = "CP" + QByteArray::number(codePage);
    const iconv_t converter = iconv_open("UTF-16LE", name.constData());
    for (int byte = 0; byte < 256; ++byte) {
        char16_t unit = 0;
        if (byte < 0x80)
            unit = char16_t(byte);
        else if (converter != iconv_t(-1))
            unit = convertByte(converter, static_cast<unsigned char>(byte));
        if (unit == 0 && byte != 0)
            unit = char16_t(byte);   // undefined: Windows' C1 control of the same value
        m_toUnicode[size_t(byte)] = unit;
    }
    if (converter != iconv_t(-1))
        iconv_close(converter);
    for (int byte = 255; byte >= 0; --byte)
        m_fromUnicode[m_toUnicode[size_t(byte)]] = qint16(byte);
}

const AnsiCodePage &AnsiCodePage::get(int codePage)
{
    static QMutex mutex;
    static QHash<int, std::shared_ptr<AnsiCodePage>> pages;
    switch (codePage) {
    case 874: case 1250: case 1251: case 1252: case 1253: case 1254:
    case 1255: case 1256: case 1257: case 1258:
        break;
    default:
        codePage = 1252;
    }
    const QMutexLocker lock(&mutex);
    auto &page = pages[codePage];
    if (!page)
        page.reset(new AnsiCodePage(codePage));
    return *page;
}

int AnsiCodePage::codePageForLanguage(const QString &localeName)
{
    const QString language = localeName.section(u'_', 0, 0).section(u'.', 0, 0).section(u'@', 0, 0).toLower();
    static const QHash<QString, int> table = {
        {QStringLiteral("ru"), 1251}, {QStringLiteral("uk"), 1251}, {QStringLiteral("be"), 1251},
        {QStringLiteral("bg"), 1251}, {QStringLiteral("sr"), 1251}, {QStringLiteral("mk"), 1251},
        {QStringLiteral("kk"), 1251}, {QStringLiteral("ky"), 1251}, {QStringLiteral("mn"), 1251},
        {QStringLiteral("tt"), 1251},
        {QStringLiteral("pl"), 1250}, {QStringLiteral("cs"), 1250}, {QStringLiteral("sk"), 1250},
        {QStringLiteral("hu"), 1250}, {QStringLiteral("sl"), 1250}, {QStringLiteral("hr"), 1250},
        {QStringLiteral("ro"), 1250}, {QStringLiteral("sq"), 1250}, {QStringLiteral("bs"), 1250},
        {QStringLiteral("el"), 1253}, {QStringLiteral("tr"), 1254}, {QStringLiteral("az"), 1254},
        {QStringLiteral("he"), 1255}, {QStringLiteral("ar"), 1256}, {QStringLiteral("fa"), 1256},
        {QStringLiteral("ur"), 1256}, {QStringLiteral("et"), 1257}, {QStringLiteral("lv"), 1257},
        {QStringLiteral("lt"), 1257}, {QStringLiteral("vi"), 1258}, {QStringLiteral("th"), 874},
    };
    return table.value(language, 1252);
}

const AnsiCodePage &AnsiCodePage::system()
{
    static const AnsiCodePage &page = [] () -> const AnsiCodePage & {
        const QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        bool ok = false;
        const int forced = environment.value(QStringLiteral("CALVENOR_ANSI_CODEPAGE")).toInt(&ok);
        if (ok)
            return get(forced);
        for (const char *variable : {"LC_ALL", "LC_CTYPE", "LANG"}) {
            const QString value = environment.value(QLatin1StringView(variable));
            if (!value.isEmpty())
                return get(codePageForLanguage(value));
        }
        return get(1252);
    }();
    return page;
}

QString AnsiCodePage::decode(QByteArrayView bytes) const
{
    QString text(bytes.size(), Qt::Uninitialized);
    char16_t *out = reinterpret_cast<char16_t *>(text.data());
    const auto *in = reinterpret_cast<const unsigned char *>(bytes.data());
    const qsizetype size = bytes.size();
    qsizetype i = 0;
    // INI text is mostly ASCII, which every code page maps to itself: many at a time.
#ifdef __SSE2__
    const __m128i zero = _mm_setzero_si128();
    for (; i + 16 <= size; i += 16) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i *>(in + i));
        if (_mm_movemask_epi8(chunk) != 0) {
            for (int k = 0; k < 16; ++k)
                out[i + k] = m_toUnicode[in[i + k]];
            continue;
        }
        _mm_storeu_si128(reinterpret_cast<__m128i *>(out + i), _mm_unpacklo_epi8(chunk, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(out + i + 8), _mm_unpackhi_epi8(chunk, zero));
    }
#endif
    for (; i + 8 <= size; i += 8) {
        quint64 chunk;
        std::memcpy(&chunk, in + i, 8);
        if ((chunk & 0x8080808080808080ULL) == 0) {
            for (int k = 0; k < 8; ++k)
                out[i + k] = in[i + k];
        } else {
            for (int k = 0; k < 8; ++k)
                out[i + k] = m_toUnicode[in[i + k]];
        }
    }
    for (; i < size; ++i)
        out[i] = m_toUnicode[in[i]];
    return text;
}

bool AnsiCodePage::canEncode(QStringView text) const
{
    for (const QChar c : text) {
        if (c.unicode() >= 0x80 && m_fromUnicode[c.unicode()] < 0)
            return false;
    }
    return true;
}

QByteArray AnsiCodePage::encode(QStringView text) const
{
    QByteArray bytes;
    appendEncoded(bytes, text);
    return bytes;
}

void AnsiCodePage::appendEncoded(QByteArray &out, QStringView text) const
{
    const qsizetype start = out.size();
    const qsizetype size = text.size();
    out.resize(start + size);
    char *data = out.data() + start;
    const char16_t *in = text.utf16();
    auto encodeOne = [this](char16_t unit) {
        const qint16 byte = m_fromUnicode[unit];
        return byte < 0 ? '?' : char(byte);
    };
    qsizetype i = 0;
#ifdef __SSE2__
    const __m128i highBits = _mm_set1_epi16(qint16(0xFF80));
    const __m128i zero = _mm_setzero_si128();
    while (i + 16 <= size) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i *>(in + i));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i *>(in + i + 8));
        const __m128i high = _mm_and_si128(_mm_or_si128(a, b), highBits);
        if (_mm_movemask_epi8(_mm_cmpeq_epi16(high, zero)) != 0xFFFF) {
            for (int k = 0; k < 16; ++k)
                data[i + k] = encodeOne(in[i + k]);
        } else {
            _mm_storeu_si128(reinterpret_cast<__m128i *>(data + i), _mm_packus_epi16(a, b));
        }
        i += 16;
    }
#endif
    for (; i + 4 <= size; i += 4) {
        quint64 chunk;
        std::memcpy(&chunk, in + i, 8);
        if ((chunk & 0xFF80FF80FF80FF80ULL) == 0) {
            for (int k = 0; k < 4; ++k)
                data[i + k] = char(in[i + k]);
        } else {
            for (int k = 0; k < 4; ++k)
                data[i + k] = encodeOne(in[i + k]);
        }
    }
    for (; i < size; ++i)
        data[i] = encodeOne(in[i]);
}

} // namespace calvenor
