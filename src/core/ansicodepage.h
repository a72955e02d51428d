#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <array>
#include <vector>

namespace calvenor {

// A single-byte Windows code page, decoded so that every byte value survives a
// read-write round trip: bytes the code page leaves undefined map to the C1 controls
// U+0080..U+009F as Windows maps them, so decode and encode are exact inverses.
class AnsiCodePage
{
public:
    // The code page the file manager's ANSI files use here: the number in the
    // environment variable CALVENOR_ANSI_CODEPAGE, else the one Wine picks for the
    // locale's language (1252 for Western languages, 1251 for Cyrillic, ...).
    static const AnsiCodePage &system();
    // Tables are built once per code page; an unknown number gives Windows-1252.
    static const AnsiCodePage &get(int codePage);
    static int codePageForLanguage(const QString &localeName);

    int number() const { return m_number; }
    QString decode(QByteArrayView bytes) const;
    QChar decodeByte(unsigned char byte) const { return QChar(m_toUnicode[byte]); }
    bool canEncode(QStringView text) const;
    // Characters the code page lacks become '?'; callers check canEncode first.
    QByteArray encode(QStringView text) const;
    void appendEncoded(QByteArray &out, QStringView text) const;

private:
    explicit AnsiCodePage(int codePage);

    int m_number;
    std::array<char16_t, 256> m_toUnicode {};
    std::vector<qint16> m_fromUnicode;   // indexed by UTF-16 unit; -1 = not encodable
};

} // namespace calvenor
