#pragma once

#include "ansicodepage.h"

#include <QByteArray>
#include <QString>

namespace calvenor {

// How one INI file is encoded. The file keeps this form for as long as it exists: the
// editor never changes a file's encoding.
enum class IniEncoding {
    Ansi,        // no BOM: the single-byte ANSI code page
    Utf8Bom,     // UTF-8 with BOM (Wine reads it; the editor never creates one)
    Utf16LeBom,  // UTF-16 little-endian with BOM
    Utf16BeBom,  // UTF-16 big-endian with BOM (Wine reads and writes it so)
};

// Lossless conversion between the bytes of an INI file and the text the parser works
// on, plus the file manager's per-value UTF-8 convention: a value whose bytes begin
// with EF BB BF holds UTF-8 text after those three bytes.
class IniTextCodec
{
public:
    explicit IniTextCodec(IniEncoding encoding = IniEncoding::Ansi,
                          const AnsiCodePage &codePage = AnsiCodePage::system());

    static IniTextCodec detect(QByteArrayView bytes, const AnsiCodePage &codePage = AnsiCodePage::system());

    IniEncoding encoding() const { return m_encoding; }

    // The file body without its BOM. Every byte sequence decodes to text that encodes
    // back to the same bytes: invalid UTF-8 bytes become U+DC80..U+DCFF, an odd last
    // byte of a UTF-16 file is handed back in oddTail.
    QString decodeFile(QByteArrayView bytes, QByteArray *oddTail = nullptr) const;
    QByteArray encodeFile(QStringView text, const QByteArray &oddTail = {}) const;
    // The pieces of encodeFile, for writing a file piece by piece: the BOM, then text.
    void appendBom(QByteArray &out) const;
    void appendEncoded(QByteArray &out, QStringView text) const;

    // Whether text written into the file reads back as the same text: the code page
    // holds every character, or the file is Unicode and the text well-formed.
    bool canEncode(QStringView text) const;

    // Whether a stored value begins with the UTF-8 marker (and so may hold other text
    // than it shows).
    bool mayBeMarked(QStringView stored) const;

    // The text a stored value holds: the marked UTF-8 form decoded, anything else as is.
    // isMarked tells whether the marker was there.
    QString valueFromStored(QStringView stored, bool *isMarked = nullptr) const;
    // The stored form of a value: the value itself when the file's encoding can hold
    // it and it reads back as itself, else the marker followed by the value's UTF-8 bytes.
    QString storedFromValue(QStringView value) const;

private:
    IniEncoding m_encoding;
    const AnsiCodePage *m_codePage;
};

// UTF-8 with invalid bytes kept as lone surrogates U+DC80..U+DCFF (and back).
QString decodeUtf8Lossless(QByteArrayView bytes);
QByteArray encodeUtf8Lossless(QStringView text);

} // namespace calvenor
