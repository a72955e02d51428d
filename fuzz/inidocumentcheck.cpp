#include "inidocumentcheck.h"

#include "core/inidocument.h"
#include "core/leadingnumber.h"
#include "core/taboptions.h"

#include <cstring>

namespace calvenor::fuzz {
namespace {

// A name or value made from input bytes that the line grammar can hold: printable,
// without the characters that end or split a line, name or value.
QString cleanText(const QByteArray &bytes, const char *forbidden)
{
    QString text;
    for (const char b : bytes) {
        const auto c = static_cast<unsigned char>(b);
        if (c < 0x21 || c >= 0x7f || std::strchr(forbidden, char(c)))
            continue;
        text.append(QChar(char16_t(c)));
    }
    return text;
}

} // namespace

QString checkIniDocument(const QByteArray &input)
{
    const AnsiCodePage &codePage = AnsiCodePage::get(1252);
    IniDocument document = IniDocument::parse(input, codePage);
    if (document.serialize() != input)
        return QStringLiteral("an unchanged document does not serialise to its bytes");

    // Read everything once: nothing may crash on any input.
    const QStringList sections = document.sectionNames();
    for (const QString &section : sections) {
        for (const IniEntry &entry : document.entries(section)) {
            document.value(section, entry.key);
            leadingInteger(entry.key);
            GetOptionField(entry.stored, 5);
            SetOptionField(entry.stored, QStringLiteral("1"));
        }
    }

    // Names and a value derived from the input's tail.
    const QByteArray tail = input.right(24);
    QString section = cleanText(tail.left(8), "[];=\"'");
    QString key = cleanText(tail.mid(8, 8), "[];=\"'");
    const QString value = cleanText(tail.mid(16), "\"'");
    if (section.isEmpty())
        section = QStringLiteral("S");
    if (key.isEmpty())
        key = QStringLiteral("k");

    document.setStoredValue(section, key, value);
    IniDocument reread = IniDocument::parse(document.serialize(), codePage);
    if (reread.storedValue(section, key).value_or(QStringLiteral("<absent>")) != value)
        return QStringLiteral("a written key does not read back: [%1] %2=%3").arg(section, key, value);

    reread.deleteKey(section, key);
    if (IniDocument::parse(reread.serialize(), codePage).storedValue(section, key))
        return QStringLiteral("a deleted key is still there");

    document.deleteSection(section);
    const IniDocument gone = IniDocument::parse(document.serialize(), codePage);
    if (gone.hasSection(section))
        return QStringLiteral("a deleted section is still there: [%1]").arg(section);
    return QString();
}

} // namespace calvenor::fuzz
