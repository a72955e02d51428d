#include "inidocumentcheck.h"

#include "core/inidocument.h"
#include "core/leadingnumber.h"
#include "core/taboptions.h"

namespace calvenor::fuzz {
namespace {

// A name or value made from input bytes: anything but the characters that end a line
// (the writers turn those into blanks before a document ever sees them).
QString lineText(const QByteArray &bytes)
{
    QString text;
    for (const char b : bytes) {
        const auto c = static_cast<unsigned char>(b);
        if (c == '\r' || c == '\n')
            continue;
        text.append(QChar(char16_t(c)));
    }
    return text;
}

// The promise every edit keeps: the document in memory reads as a fresh parse of the
// bytes it writes.
QString mismatch(const IniDocument &document, const AnsiCodePage &codePage, const QString &what)
{
    const IniDocument reread = IniDocument::parse(document.serialize(), codePage);
    if (reread.outline() != document.outline())
        return QStringLiteral("after %1 the document differs from its bytes read again").arg(what);
    return QString();
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

    // Names and a value derived from the input's tail, with every character the line
    // grammar gives a meaning to.
    const QByteArray tail = input.right(24);
    QString section = IniSyntax::trimmed(IniSyntax::cutAtNul(lineText(tail.left(8)))).toString();
    QString key = IniSyntax::trimmed(IniSyntax::cutAtNul(lineText(tail.mid(8, 8)))).toString();
    const QString value = document.storedFormOf(lineText(tail.mid(16)));
    if (section.isEmpty())
        section = QStringLiteral("S");
    if (key.isEmpty())
        key = QStringLiteral("k");
    // Names the file's encoding lacks are refused by the profile before they get here.
    if (!document.codec().canEncode(section) || !document.codec().canEncode(key))
        return QString();
    const bool holds = IniDocument::holdsSection(section) && IniDocument::holdsKey(key, value);

    const bool wrote = document.setStoredValue(section, key, value);
    if (wrote && !holds)
        return QStringLiteral("a key the file cannot hold was written: [%1] %2=%3").arg(section, key, value);
    QString failure = mismatch(document, codePage, QStringLiteral("a write"));
    if (!failure.isEmpty())
        return failure;
    if (holds) {
        const QString stored = IniSyntax::cutAtNul(IniSyntax::trimmed(value)).toString();
        if (document.storedValue(section, key).value_or(QStringLiteral("<absent>")) != stored)
            return QStringLiteral("a written key does not read back: [%1] %2=%3").arg(section, key, value);
        if (document.setStoredValue(section, key, stored))
            return QStringLiteral("writing the stored value again changed the text");
    }

    // Writing is the inverse of reading: a value stored in its quoted form reads back as
    // itself, whatever blanks and quotes it holds (the writers turn NULs into blanks).
    QString shown = lineText(tail.mid(16));
    shown.replace(QChar(u'\0'), QChar(u' '));
    const QString quotedKey = key + QStringLiteral("_q");
    const QString quoted = IniSyntax::quoted(document.storedFormOf(shown));
    if (IniDocument::holdsSection(section) && IniDocument::holdsKey(quotedKey, quoted)) {
        document.setStoredValue(section, quotedKey, quoted);
        if (document.value(section, quotedKey) != shown)
            return QStringLiteral("a written value reads back otherwise: [%1] %2=%3").arg(section, quotedKey, shown);
    }

    IniDocument reread = IniDocument::parse(document.serialize(), codePage);
    reread.deleteKey(section, key);
    if ((failure = mismatch(reread, codePage, QStringLiteral("a key delete"))).isEmpty() && reread.storedValue(section, key))
        return QStringLiteral("a deleted key is still there");
    if (!failure.isEmpty())
        return failure;

    // The section rewritten in place with the input's own entries in reverse order.
    std::vector<IniDocument::StoredEntry> entries;
    for (const IniEntry &entry : document.entries(section)) {
        if (entry.hasEquals)
            entries.insert(entries.begin(), {entry.key, entry.stored});
    }
    entries.push_back({key + QStringLiteral("_new"), value});
    IniDocument rewritten = IniDocument::parse(document.serialize(), codePage);
    rewritten.replaceSection(section, entries, u"RedirectSection");
    if (!(failure = mismatch(rewritten, codePage, QStringLiteral("a section rewrite"))).isEmpty())
        return failure;

    document.deleteSection(section);
    if (!(failure = mismatch(document, codePage, QStringLiteral("a section delete"))).isEmpty())
        return failure;
    if (IniDocument::parse(document.serialize(), codePage).hasSection(section))
        return QStringLiteral("a deleted section is still there: [%1]").arg(section);

    // Written again, it goes back to its place, in this document and in a fresh parse
    // that was handed the places.
    IniDocument fresh = IniDocument::parse(document.serialize(), codePage);
    fresh.restoreFormerPlaces(document.formerPlaces());
    for (IniDocument *refilled : {&document, &fresh}) {
        refilled->setStoredValue(section, key, value);
        if (!(failure = mismatch(*refilled, codePage, QStringLiteral("a deleted section written again"))).isEmpty())
            return failure;
    }
    if (holds && fresh.sectionNames() != document.sectionNames())
        return QStringLiteral("a section written again after a parse goes elsewhere: [%1]").arg(section);
    return QString();
}

} // namespace calvenor::fuzz
