#include "inidocument.h"

#include <algorithm>

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

char16_t asciiLower(char16_t c)
{
    return c >= u'A' && c <= u'Z' ? char16_t(c + 0x20) : c;
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

IniDocument::Section &IniDocument::appendNewSection(QStringView name)
{
    const Line header = appendExtra(QString(u'[' + name + u']'), m_defaultEnd);
    m_modified = true;
    // A section that stood elsewhere earlier goes back there, its closing blank lines too.
    const auto former = m_formerPlaces.constFind(FoldedKey::view(name));
    if (former != m_formerPlaces.cend()) {
        const qsizetype index = *former;
        m_formerPlaces.erase(former);
        Section &section = m_sections[size_t(index)];
        section.name = name.toString();
        section.hasHeader = true;
        section.lines.assign(1, header);
        section.lines.insert(section.lines.end(), section.formerTail.begin(), section.formerTail.end());
        section.formerName.reset();
        section.formerTail.clear();
        section.forgetIndex();
        m_sectionsByName[FoldedKey{section.name}].append(index);
        return section;
    }
    Section section;
    section.name = name.toString();
    section.hasHeader = true;
    section.lines.push_back(header);
    addSection(std::move(section));
    return m_sections.back();
}

bool IniDocument::isNamed(const Line &line)
{
    return line.kind == LineKind::Key || line.kind == LineKind::Text || line.kind == LineKind::Comment;
}

QStringView IniDocument::lineText(const Line &line) const
{
    return QStringView(line.inExtra ? m_extra : m_text).mid(line.start, line.length);
}

IniDocument::Line IniDocument::appendExtra(QStringView text, LineEnd end)
{
    Line line;
    line.start = qint32(m_extra.size());
    line.length = qint32(text.size());
    line.inExtra = true;
    line.end = end;
    m_extra.append(text);
    line.kind = IniSyntax::classify(lineText(line));
    return line;
}

IniDocument::Line IniDocument::appendKeyLine(QStringView key, QStringView stored, LineEnd end)
{
    Line line;
    line.start = qint32(m_extra.size());
    m_extra.append(key);
    m_extra.append(u'=');
    m_extra.append(stored);
    line.length = qint32(m_extra.size() - line.start);
    line.inExtra = true;
    line.end = end;
    line.kind = IniSyntax::classify(lineText(line));
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
    section.keyIndex.reserve(qsizetype(section.lines.size()));
    for (qsizetype i = 0; i < qsizetype(section.lines.size()); ++i) {
        const Line &line = section.lines[size_t(i)];
        if (!isNamed(line))
            continue;
        FoldedKey key {IniSyntax::keyName(lineText(line)).toString()};
        if (!section.keyIndex.contains(key))
            section.keyIndex.insert(std::move(key), i);   // the first of duplicate names is the one read
    }
    section.indexed = true;
}

qsizetype IniDocument::findKeyLine(const Section &section, QStringView key) const
{
    // A section looked into a few times (for its RedirectSection, say) is walked; one
    // looked into again and again gets an index.
    if (!section.indexed && section.scans < 8) {
        ++section.scans;
        // Most lines differ from the name in their first mark; only the others are
        // parsed (an empty name has no first mark to compare).
        const char16_t first = key.isEmpty() ? 0 : asciiLower(key.front().unicode());
        for (qsizetype i = 0; i < qsizetype(section.lines.size()); ++i) {
            const Line &line = section.lines[size_t(i)];
            if (!isNamed(line))
                continue;
            const QStringView text = lineText(line);
            if (first != 0) {
                qsizetype mark = 0;
                while (mark < text.size() && IniSyntax::isBlank(text[mark]))
                    ++mark;
                if (mark == text.size() || asciiLower(text[mark].unicode()) != first)
                    continue;
            }
            if (FoldedKey::equalIgnoringCase(IniSyntax::keyName(text), key))
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
    // The first line of the name decides, even when it has no value to give.
    const QStringView text = lineText(found->lines[size_t(index)]);
    if (!IniSyntax::hasEquals(text))
        return std::nullopt;
    return IniSyntax::storedValue(text).toString();
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
        if (section.hasHeader && !section.name.isEmpty())   // "[]" is never listed
            names.append(section.name);
    }
    return names;
}

QString IniDocument::outline() const
{
    static const char16_t kinds[] = {u'_', u'[', u';', u'=', u'?'};
    QString text;
    for (const Section &section : m_sections) {
        for (const Line &line : section.lines) {
            if (line.kind != LineKind::Blank)   // blank lines mean nothing to a reader
                text += section.name + u'|' + QChar(kinds[int(line.kind)]) + u'|' + lineText(line) + u'\n';
        }
    }
    return text;
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

bool IniDocument::readsAs(QStringView stored, QStringView other) const
{
    // Quoted or not, marked or not: a line whose value reads the same is not rewritten.
    if (stored == other)
        return true;
    const QStringView a = IniSyntax::unquoted(stored);
    const QStringView b = IniSyntax::unquoted(other);
    if (a == b)
        return true;
    // Only the marked UTF-8 form spells one value two ways; anything else differs.
    if (!m_codec.mayBeMarked(a) && !m_codec.mayBeMarked(b))
        return false;
    return valueFromStored(stored) == valueFromStored(other);
}

bool IniDocument::holdsKey(QStringView key, QStringView stored)
{
    // The line key=stored reads back as this key when the name has no '=', NUL or line
    // break, no blanks at its ends, and does not turn the line into a header: a line that
    // starts with '[' is one as soon as a ']' follows anywhere on it.
    const char16_t *data = key.utf16();
    for (qsizetype i = 0; i < key.size(); ++i) {
        if (data[i] == u'=' || data[i] == u'\0' || data[i] == u'\r' || data[i] == u'\n')
            return false;
    }
    if (key.isEmpty())
        return true;
    if (IniSyntax::isBlank(key.front()) || IniSyntax::isBlank(key.back()))
        return false;
    if (key.front() == u'[')
        return !key.contains(u']') && !stored.contains(u']');
    return true;
}

bool IniDocument::holdsSection(QStringView name)
{
    const QString line = u'[' + name + u']';
    return IniSyntax::classify(line) == LineKind::Header && IniSyntax::headerName(line) == name;
}

bool IniDocument::setStoredValue(QStringView sectionName, QStringView key, QStringView stored)
{
    if (!holdsKey(key, stored))
        return false;
    Section *section = findSection(sectionName);
    if (!section) {
        if (!holdsSection(sectionName))
            return false;
        section = &appendNewSection(sectionName);
    }
    const qsizetype existing = findKeyLine(*section, key);
    if (existing >= 0) {
        Line &line = section->lines[size_t(existing)];
        const QStringView text = lineText(line);
        // The same value again leaves the line, its blanks and its spelling alone.
        if (IniSyntax::hasEquals(text) && readsAs(IniSyntax::storedValue(text), stored))
            return false;
        // The name keeps the spelling the file has.
        const QString keyAsWritten = IniSyntax::keyName(text).toString();
        line = appendKeyLine(keyAsWritten, stored, line.end);
        m_modified = true;
        return true;
    }
    // A new key follows the section's last key, ahead of trailing blank and comment lines.
    qsizetype position = qsizetype(section->lines.size());
    while (position > 1) {
        const LineKind kind = section->lines[size_t(position - 1)].kind;
        if (kind != LineKind::Blank && kind != LineKind::Comment)
            break;
        --position;
    }
    const Line line = appendKeyLine(key, stored, m_defaultEnd);
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
    m_modified = true;
    return true;
}

bool IniDocument::deleteKey(QStringView sectionName, QStringView key)
{
    Section *section = findSection(sectionName);
    if (!section || findKeyLine(*section, key) < 0)
        return false;
    std::erase_if(section->lines, [&](const Line &line) {
        return isNamed(line) && FoldedKey::equalIgnoringCase(IniSyntax::keyName(lineText(line)), key);
    });
    section->forgetIndex();
    m_modified = true;
    return true;
}

void IniDocument::retireSection(qsizetype index, bool keepPlace)
{
    Section &section = m_sections[size_t(index)];
    if (keepPlace && !m_formerPlaces.contains(FoldedKey::view(section.name))) {
        m_formerPlaces.insert(FoldedKey{section.name}, index);
        section.formerName = section.name;
        size_t tail = section.lines.size();
        while (tail > 1 && section.lines[tail - 1].kind == LineKind::Blank)
            --tail;
        section.formerTail.assign(section.lines.begin() + qsizetype(tail), section.lines.end());
    }
    qsizetype previous = index - 1;
    while (previous > 0 && !m_sections[size_t(previous)].hasHeader)
        --previous;
    Section &before = m_sections[size_t(previous)];
    for (const Line &line : section.lines) {
        if (line.kind == LineKind::Comment)
            before.lines.push_back(line);
    }
    before.forgetIndex();
    const auto it = m_sectionsByName.find(FoldedKey::view(section.name));
    if (it != m_sectionsByName.end()) {
        it->removeOne(index);
        if (it->isEmpty())
            m_sectionsByName.erase(it);
    }
    section.lines.clear();
    section.hasHeader = false;
    section.name.clear();
    section.forgetIndex();
}

bool IniDocument::replaceSection(QStringView sectionName, const std::vector<StoredEntry> &entries, QStringView keptKey)
{
    // A key that comes again replaces the value of its first occurrence.
    std::vector<StoredEntry> unique;
    unique.reserve(entries.size());
    {
        QHash<FoldedKey, size_t> seen;
        seen.reserve(qsizetype(entries.size()));
        for (const StoredEntry &entry : entries) {
            if (!holdsKey(entry.key, entry.stored))
                return false;
            FoldedKey key {entry.key};
            const auto it = seen.constFind(key);
            if (it != seen.cend()) {
                unique[*it].stored = entry.stored;
                continue;
            }
            seen.insert(std::move(key), unique.size());
            unique.push_back(entry);
        }
    }

    // The new lines' text in one allocation, not one growth per line.
    qsizetype newText = 0;
    for (const StoredEntry &entry : unique)
        newText += entry.key.size() + 1 + entry.stored.size();
    const qsizetype needed = m_extra.size() + newText + sectionName.size() + 2;
    if (newText > 0 && m_extra.capacity() < needed)
        m_extra.reserve(qMax(needed, m_extra.capacity() + m_extra.capacity() / 2));

    const auto found = m_sectionsByName.constFind(FoldedKey::view(sectionName));
    if (found == m_sectionsByName.cend() || found->isEmpty()) {
        if (unique.empty())
            return false;
        if (!holdsSection(sectionName))
            return false;
        Section &section = appendNewSection(sectionName);
        std::vector<Line> lines;
        lines.reserve(unique.size());
        for (const StoredEntry &entry : unique)
            lines.push_back(appendKeyLine(entry.key, entry.stored, m_defaultEnd));
        section.lines.insert(section.lines.begin() + 1, lines.begin(), lines.end());   // after the header
        return true;
    }
    const QList<qsizetype> copies = *found;
    const qsizetype first = copies.front();
    bool changed = false;
    {
        Section &section = m_sections[size_t(first)];
        // An entry whose key's line already reads as its value keeps that line, its
        // spelling and its place, wherever the entries put it; the other entries take
        // the other lines in order.
        std::vector<bool> pinnedEntry(unique.size());
        std::vector<bool> pinnedLine(section.lines.size());
        if (!unique.empty()) {
            if (!section.indexed)
                buildKeyIndex(section);
            for (size_t e = 0; e < unique.size(); ++e) {
                const qsizetype at = section.keyIndex.value(FoldedKey::view(unique[e].key), -1);
                if (at < 0 || section.lines[size_t(at)].kind != LineKind::Key
                    || (!keptKey.isEmpty() && FoldedKey::equalIgnoringCase(unique[e].key, keptKey)))
                    continue;
                if (readsAs(IniSyntax::storedValue(lineText(section.lines[size_t(at)])), unique[e].stored))
                    pinnedEntry[e] = pinnedLine[size_t(at)] = true;
            }
        }
        auto skipPinned = [&](size_t &index) {
            while (index < unique.size() && pinnedEntry[index])
                ++index;
        };
        std::vector<Line> lines;
        lines.reserve(section.lines.size() + unique.size());
        lines.push_back(section.lines.front());   // the header
        size_t next = 0;
        bool kept = false;
        size_t lastEntry = 0;   // where entries beyond the old ones go: after this line
        for (size_t i = 1; i < section.lines.size(); ++i) {
            const Line &line = section.lines[i];
            if (line.kind != LineKind::Key && line.kind != LineKind::Text) {
                lines.push_back(line);   // blank and comment lines stay where they are
                continue;
            }
            const QStringView text = lineText(line);
            const QStringView name = IniSyntax::keyName(text);
            skipPinned(next);
            if (pinnedLine[i]) {
                // kept as it is
            } else if (!kept && !keptKey.isEmpty() && line.kind == LineKind::Key
                       && FoldedKey::equalIgnoringCase(name, keptKey)) {
                kept = true;
            } else if (next < unique.size()) {
                const StoredEntry &entry = unique[next++];
                const bool sameKey = line.kind == LineKind::Key && FoldedKey::equalIgnoringCase(name, entry.key);
                if (!sameKey || !readsAs(IniSyntax::storedValue(text), entry.stored)) {
                    // The same key keeps the spelling the file has.
                    const QString key = sameKey ? name.toString() : entry.key;
                    lines.push_back(appendKeyLine(key, entry.stored, line.end));
                    lastEntry = lines.size() - 1;
                    continue;
                }
            } else {
                continue;   // an old line no entry takes any more
            }
            lines.push_back(line);
            lastEntry = lines.size() - 1;
        }
        skipPinned(next);
        if (next < unique.size()) {
            std::vector<Line> rest;
            rest.reserve(unique.size() - next);
            for (; next < unique.size(); ++next) {
                if (!pinnedEntry[next])
                    rest.push_back(appendKeyLine(unique[next].key, unique[next].stored, m_defaultEnd));
            }
            lines.insert(lines.begin() + qsizetype(lastEntry) + 1, rest.begin(), rest.end());
        }
        auto sameLine = [](const Line &a, const Line &b) {
            return a.start == b.start && a.length == b.length && a.inExtra == b.inExtra && a.end == b.end;
        };
        changed = lines.size() != section.lines.size()
            || !std::equal(lines.begin(), lines.end(), section.lines.begin(), sameLine);
        section.lines = std::move(lines);
        section.forgetIndex();
        if (!kept && unique.empty()) {
            retireSection(first, true);
            changed = true;
        }
    }
    // Later copies are never read; they would only come back to life.
    for (qsizetype i = 1; i < copies.size(); ++i) {
        retireSection(copies[i], false);
        changed = true;
    }
    m_modified = m_modified || changed;
    return changed;
}

std::vector<IniDocument::FormerPlace> IniDocument::formerPlaces() const
{
    std::vector<FormerPlace> places;
    if (m_formerPlaces.isEmpty())
        return places;
    const QString *following = nullptr;
    for (size_t i = m_sections.size(); i-- > 1;) {
        const Section &section = m_sections[i];
        if (section.formerName) {
            places.push_back({*section.formerName, following ? *following : QString(), following == nullptr,
                              int(section.formerTail.size())});
            following = &*section.formerName;
        } else if (section.hasHeader) {
            following = &section.name;
        }
    }
    std::reverse(places.begin(), places.end());
    return places;
}

void IniDocument::restoreFormerPlaces(const std::vector<FormerPlace> &places)
{
    QHash<FoldedKey, const FormerPlace *> byName;
    for (const FormerPlace &place : places) {
        const FoldedKey name {place.section};
        if (!findSection(place.section) && !m_formerPlaces.contains(name) && !byName.contains(name)
            && holdsSection(place.section))
            byName.insert(name, &place);
    }
    if (byName.isEmpty())
        return;
    // Each place lies before the first section its chain of followers reaches, the
    // farther along the chain the earlier; a chain that reaches none ends at the file's end.
    struct Slot
    {
        qsizetype before;
        qsizetype depth;
        const FormerPlace *place;
    };
    std::vector<Slot> gaps;
    const qsizetype end = qsizetype(m_sections.size());
    for (const FormerPlace &place : places) {
        const auto own = byName.constFind(FoldedKey::view(place.section));
        if (own == byName.cend() || *own != &place)
            continue;
        Slot slot {end, 0, &place};
        for (const FormerPlace *step = &place; !step->last && slot.depth <= byName.size();) {
            const auto live = m_sectionsByName.constFind(FoldedKey::view(step->before));
            if (live != m_sectionsByName.cend() && !live->isEmpty()) {
                slot.before = live->front();
                break;
            }
            const auto next = byName.constFind(FoldedKey::view(step->before));
            if (next == byName.cend())
                break;
            step = *next;
            ++slot.depth;
        }
        gaps.push_back(slot);
    }
    std::stable_sort(gaps.begin(), gaps.end(), [](const Slot &a, const Slot &b) {
        return a.before != b.before ? a.before < b.before : a.depth > b.depth;
    });
    std::vector<Section> sections;
    sections.reserve(m_sections.size() + gaps.size());
    size_t next = 0;
    for (qsizetype i = 0; i <= end; ++i) {
        for (; next < gaps.size() && gaps[next].before == i; ++next) {
            Section slot;
            slot.formerName = gaps[next].place->section;
            for (int blank = 0; blank < gaps[next].place->blankLines; ++blank)
                slot.formerTail.push_back(appendExtra(QStringView(), m_defaultEnd));
            sections.push_back(std::move(slot));
        }
        if (i < end)
            sections.push_back(std::move(m_sections[size_t(i)]));
    }
    m_sections = std::move(sections);
    indexSections();
}

void IniDocument::indexSections()
{
    m_sectionsByName.clear();
    m_formerPlaces.clear();
    for (qsizetype i = 1; i < qsizetype(m_sections.size()); ++i) {
        const Section &section = m_sections[size_t(i)];
        if (section.hasHeader)
            m_sectionsByName[FoldedKey{section.name}].append(i);
        else if (section.formerName)
            m_formerPlaces.insert(FoldedKey{*section.formerName}, i);
    }
}

} // namespace calvenor
