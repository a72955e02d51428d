#include "inidocument.h"

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace calvenor {

using IniSyntax::LineKind;

namespace {

// The position of the next CR or LF at or after from, or size.
qsizetype findLineEnd(const char16_t *data, qsizetype from, qsizetype size)
{
    qsizetype i = from;
#ifdef __SSE2__
    const __m128i cr = _mm_set1_epi16(u'\r');
    const __m128i lf = _mm_set1_epi16(u'\n');
    for (; i + 8 <= size; i += 8) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i *>(data + i));
        const int mask = _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi16(chunk, cr), _mm_cmpeq_epi16(chunk, lf)));
        if (mask != 0)
            return i + qCountTrailingZeroBits(uint(mask)) / 2;
    }
#endif
    while (i < size && data[i] != u'\n' && data[i] != u'\r')
        ++i;
    return i;
}

} // namespace

IniDocument::IniDocument()
{
    m_sections.push_back(Section());
}

IniDocument IniDocument::parse(const QByteArray &bytes, const AnsiCodePage &codePage)
{
    IniDocument doc;
    doc.m_codec = IniTextCodec::detect(bytes, codePage);
    doc.m_text = doc.m_codec.decodeFile(bytes, &doc.m_oddTail);

    const QString &text = doc.m_text;
    const char16_t *data = reinterpret_cast<const char16_t *>(text.constData());
    const qsizetype size = text.size();
    bool sawLineEnd = false;
    Section *current = &doc.m_sections.front();
    qsizetype start = 0;
    while (start < size) {
        const qsizetype stop = findLineEnd(data, start, size);
        Line line;
        line.start = qint32(start);
        line.length = qint32(stop - start);
        qsizetype next = stop;
        if (stop < size) {
            if (data[stop] == u'\r' && stop + 1 < size && data[stop + 1] == u'\n') {
                line.end = LineEnd::CrLf;
                next += 2;
            } else {
                line.end = data[stop] == u'\r' ? LineEnd::Cr : LineEnd::Lf;
                next += 1;
            }
            if (!sawLineEnd) {
                doc.m_defaultEnd = line.end;
                sawLineEnd = true;
            }
        }
        const QStringView view(data + start, line.length);
        line.kind = IniSyntax::classify(view);
        if (line.kind == LineKind::Header) {
            Section section;
            section.name = IniSyntax::headerName(view).toString();
            section.hasHeader = true;
            section.lines.push_back(line);
            doc.addSection(std::move(section));
            current = &doc.m_sections.back();
        } else {
            current->lines.push_back(line);
        }
        start = next;
    }
    doc.m_finalNewline = size == 0 || data[size - 1] == u'\n' || data[size - 1] == u'\r';
    return doc;
}

void IniDocument::addSection(Section section)
{
    m_sectionsByName[FoldedKey{section.name}].append(qsizetype(m_sections.size()));
    m_sections.push_back(std::move(section));
}

QStringView IniDocument::lineText(const Line &line) const
{
    return QStringView(line.inExtra ? m_extra : m_text).mid(line.start, line.length);
}

IniDocument::Line IniDocument::appendExtra(QStringView text, LineKind kind)
{
    Line line;
    line.start = qint32(m_extra.size());
    line.length = qint32(text.size());
    line.inExtra = true;
    line.end = m_defaultEnd;
    line.kind = kind;
    m_extra.append(text);
    return line;
}

QStringView IniDocument::lineEndText(LineEnd end)
{
    switch (end) {
    case LineEnd::CrLf: return u"\r\n";
    case LineEnd::Lf: return u"\n";
    case LineEnd::Cr: return u"\r";
    case LineEnd::None: break;
    }
    return {};
}

QByteArray IniDocument::serialize() const
{
    QByteArray out;
    out.reserve(m_text.size() + m_extra.size() + 16);
    m_codec.appendBom(out);
    // Untouched runs of the original text are encoded in one piece; a line that ended
    // the file before lines were added after it needs a line end now.
    const Line *previous = nullptr;
    qsizetype runStart = 0;
    qsizetype runEnd = -1;   // [runStart, runEnd) of m_text not yet encoded
    auto flushRun = [&] {
        if (runEnd > runStart)
            m_codec.appendEncoded(out, QStringView(m_text).mid(runStart, runEnd - runStart));
        runEnd = -1;
    };
    auto endPreviousLine = [&] {
        if (previous->end != LineEnd::None && !previous->inExtra && runEnd == previous->start + previous->length) {
            runEnd += lineEndText(previous->end).size();
            return;
        }
        flushRun();
        m_codec.appendEncoded(out, lineEndText(previous->end == LineEnd::None ? m_defaultEnd : previous->end));
    };
    for (const Section &section : m_sections) {
        for (const Line &line : section.lines) {
            if (previous)
                endPreviousLine();
            if (!line.inExtra && runEnd == line.start) {
                runEnd += line.length;
            } else {
                flushRun();
                if (line.inExtra) {
                    m_codec.appendEncoded(out, lineText(line));
                } else {
                    runStart = line.start;
                    runEnd = line.start + line.length;
                }
            }
            previous = &line;
        }
    }
    if (previous && m_finalNewline)
        endPreviousLine();
    flushRun();
    out.append(m_oddTail);
    return out;
}

const IniDocument::Section *IniDocument::findSection(QStringView name) const
{
    const auto it = m_sectionsByName.constFind(FoldedKey::view(name));
    if (it == m_sectionsByName.cend() || it->isEmpty())
        return nullptr;
    return &m_sections[size_t(it->front())];
}

IniDocument::Section *IniDocument::findSection(QStringView name)
{
    return const_cast<Section *>(std::as_const(*this).findSection(name));
}

void IniDocument::buildKeyIndex(const Section &section) const
{
    section.keyIndex.clear();
    for (qsizetype i = 0; i < qsizetype(section.lines.size()); ++i) {
        const Line &line = section.lines[size_t(i)];
        if (line.kind != LineKind::Key)
            continue;
        FoldedKey key {IniSyntax::keyName(lineText(line)).toString()};
        if (!section.keyIndex.contains(key))
            section.keyIndex.insert(std::move(key), i);   // the first of duplicate keys is the one read
    }
    section.indexed = true;
}

qsizetype IniDocument::findKeyLine(const Section &section, QStringView key) const
{
    // A section looked into a few times (for its RedirectSection, say) is walked; one
    // looked into again and again gets an index.
    if (!section.indexed && section.scans < 8) {
        ++section.scans;
        for (qsizetype i = 0; i < qsizetype(section.lines.size()); ++i) {
            const Line &line = section.lines[size_t(i)];
            if (line.kind == LineKind::Key && FoldedKey::equalIgnoringCase(IniSyntax::keyName(lineText(line)), key))
                return i;
        }
        return -1;
    }
    if (!section.indexed)
        buildKeyIndex(section);
    return section.keyIndex.value(FoldedKey::view(key), -1);
}

bool IniDocument::hasSection(QStringView section) const
{
    return findSection(section) != nullptr;
}

std::optional<QString> IniDocument::storedValue(QStringView section, QStringView key) const
{
    const Section *found = findSection(section);
    if (!found)
        return std::nullopt;
    const qsizetype index = findKeyLine(*found, key);
    if (index < 0)
        return std::nullopt;
    return IniSyntax::storedValue(lineText(found->lines[size_t(index)])).toString();
}

QString IniDocument::valueFromStored(QStringView stored) const
{
    const QStringView bare = IniSyntax::unquoted(stored);
    bool marked = false;
    QString value = m_codec.valueFromStored(bare, &marked);
    if (marked && m_codec.storedFromValue(value) != bare)
        m_markedForms.insert(value, bare.toString());
    return value;
}

std::optional<QString> IniDocument::value(QStringView section, QStringView key) const
{
    const std::optional<QString> stored = storedValue(section, key);
    if (!stored)
        return std::nullopt;
    return valueFromStored(*stored);
}

QStringList IniDocument::sectionNames() const
{
    QStringList names;
    for (const Section &section : m_sections) {
        if (section.hasHeader)
            names.append(section.name);
    }
    return names;
}

std::vector<IniEntry> IniDocument::entries(QStringView section) const
{
    std::vector<IniEntry> result;
    forEachEntry(section, [&result](QStringView key, QStringView stored, bool hasEquals) {
        result.push_back({key.toString(), stored.toString(), hasEquals});
    });
    return result;
}

QString IniDocument::storedFormOf(const QString &value) const
{
    const auto it = m_markedForms.constFind(value);
    return it != m_markedForms.cend() ? *it : m_codec.storedFromValue(value);
}

void IniDocument::setStoredValue(QStringView sectionName, QStringView key, QStringView stored)
{
    Section *section = findSection(sectionName);
    if (!section) {
        Section created;
        created.name = sectionName.toString();
        created.hasHeader = true;
        created.lines.push_back(appendExtra(QString(u'[' + sectionName + u']'), LineKind::Header));
        addSection(std::move(created));
        section = &m_sections.back();
    }
    const qsizetype existing = findKeyLine(*section, key);
    if (existing >= 0) {
        Line &line = section->lines[size_t(existing)];
        // The name keeps the spelling the file has.
        const QString keyAsWritten = IniSyntax::keyName(lineText(line)).toString();
        const LineEnd end = line.end;
        line = appendExtra(QString(keyAsWritten + u'=' + stored), LineKind::Key);
        line.end = end;
        return;
    }
    // A new key follows the section's last key, ahead of trailing blank and comment lines.
    qsizetype position = qsizetype(section->lines.size());
    while (position > 1) {
        const LineKind kind = section->lines[size_t(position - 1)].kind;
        if (kind != LineKind::Blank && kind != LineKind::Comment)
            break;
        --position;
    }
    const Line line = appendExtra(QString(key + u'=' + stored), LineKind::Key);
    section->lines.insert(section->lines.begin() + position, line);
    if (section->indexed) {
        if (position != qsizetype(section->lines.size()) - 1) {
            for (auto it = section->keyIndex.begin(); it != section->keyIndex.end(); ++it) {
                if (*it >= position)
                    ++*it;
            }
        }
        section->keyIndex.insert(FoldedKey{key.toString()}, position);
    }
}

void IniDocument::appendSection(QStringView sectionName, const std::vector<StoredEntry> &entries)
{
    if (entries.empty())
        return;
    if (findSection(sectionName)) {
        for (const StoredEntry &entry : entries)
            setStoredValue(sectionName, entry.key, entry.stored);
        return;
    }
    Section section;
    section.name = sectionName.toString();
    section.hasHeader = true;
    section.lines.reserve(entries.size() + 1);
    section.lines.push_back(appendExtra(QString(u'[' + sectionName + u']'), LineKind::Header));
    section.keyIndex.reserve(qsizetype(entries.size()));
    for (const StoredEntry &entry : entries) {
        FoldedKey key {entry.key};
        const auto known = section.keyIndex.constFind(key);
        if (known != section.keyIndex.cend()) {
            Line &line = section.lines[size_t(*known)];
            const LineEnd end = line.end;
            const QString keyAsWritten = IniSyntax::keyName(lineText(line)).toString();
            line = appendExtra(QString(keyAsWritten + u'=' + entry.stored), LineKind::Key);
            line.end = end;
            continue;
        }
        section.keyIndex.insert(std::move(key), qsizetype(section.lines.size()));
        Line line;
        line.start = qint32(m_extra.size());
        m_extra.append(entry.key);
        m_extra.append(u'=');
        m_extra.append(entry.stored);
        line.length = qint32(m_extra.size() - line.start);
        line.inExtra = true;
        line.end = m_defaultEnd;
        line.kind = LineKind::Key;
        section.lines.push_back(line);
    }
    section.indexed = true;
    addSection(std::move(section));
}

void IniDocument::deleteKey(QStringView sectionName, QStringView key)
{
    Section *section = findSection(sectionName);
    if (!section || findKeyLine(*section, key) < 0)
        return;
    std::erase_if(section->lines, [&](const Line &line) {
        return line.kind == LineKind::Key && FoldedKey::equalIgnoringCase(IniSyntax::keyName(lineText(line)), key);
    });
    section->indexed = false;
    section->keyIndex.clear();
}

void IniDocument::deleteSection(QStringView sectionName)
{
    const auto it = m_sectionsByName.find(FoldedKey::view(sectionName));
    if (it == m_sectionsByName.end())
        return;
    for (const qsizetype index : std::as_const(*it)) {
        Section &section = m_sections[size_t(index)];
        std::erase_if(section.lines, [](const Line &line) { return line.kind != LineKind::Comment; });
        section.hasHeader = false;
        section.name.clear();
        section.keyIndex.clear();
        section.indexed = false;
    }
    m_sectionsByName.erase(it);
}

} // namespace calvenor
