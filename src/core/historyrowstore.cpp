#include "historyrowstore.h"

#include "csectionsdata.h"
#include "foldedkey.h"

#include <algorithm>
#include "platform/errornumbers.h"

namespace calvenor {
namespace {

const QString kStartSuffix = QStringLiteral("_Section_Start");
const QString kActiveSuffix = QStringLiteral("_ActiveTabMark");

} // namespace

void HistoryRowStore::Clear()
{
    for (Block &block : m_blocks) {
        block.start = HistoryRow();
        block.items.clear();
        block.items.shrink_to_fit();
    }
    m_sectionOfNumber.clear();
    m_sectionOfOtherKey.clear();
    m_count = 0;
    m_framed = false;
}

void HistoryRowStore::BuildFrame()
{
    Clear();
    mlngKeyCounter = 0;
    for (int i = 0; i < kSections; ++i) {
        HistoryRow &start = m_blocks[size_t(i)].start;
        start.Key = cSectionsData::SectionsList(i);
        start.Text = start.Key + kStartSuffix;
        start.Tag = start.Text;
        start.col(2) = QStringLiteral("0");
        start.Bold = true;
    }
    m_count = kSections;
    m_framed = true;
}

int HistoryRowStore::StartRowPosition(int sectionIndex) const
{
    int position = 1;
    for (int i = 0; i < sectionIndex; ++i)
        position += 1 + int(m_blocks[size_t(i)].items.size());
    return position;
}

bool HistoryRowStore::locate(int position, int &section, int &index) const
{
    int start = 1;
    for (int i = 0; i < kSections; ++i) {
        const int size = int(m_blocks[size_t(i)].items.size());
        if (position == start) {
            section = i;
            index = -1;
            return true;
        }
        if (position <= start + size) {
            section = i;
            index = position - start - 1;
            return true;
        }
        start += 1 + size;
    }
    return false;
}

const HistoryRow &HistoryRowStore::Row(int position) const
{
    int section = 0;
    int index = 0;
    if (!m_framed || !locate(position, section, index))
        qFatal("HistoryRowStore::Row: position %d outside the store", position);
    const Block &block = m_blocks[size_t(section)];
    return index < 0 ? block.start : block.items[size_t(index)];
}

HistoryRow &HistoryRowStore::Row(int position)
{
    return const_cast<HistoryRow &>(std::as_const(*this).Row(position));
}

namespace {

// The counter value of a key "Key_<n>", or -1 for any other key.
qint64 keyNumber(const QString &key)
{
    if (!key.startsWith(QLatin1StringView("Key_")) || key.size() > 4 + 9 || key.size() == 4)
        return -1;
    qint64 number = 0;
    for (qsizetype i = 4; i < key.size(); ++i) {
        const char16_t c = key[i].unicode();
        if (c < u'0' || c > u'9')
            return -1;
        number = number * 10 + (c - u'0');
    }
    return number;
}

} // namespace

int HistoryRowStore::sectionOfKey(const QString &key) const
{
    const qint64 number = keyNumber(key);
    if (number < 0)
        return m_sectionOfOtherKey.value(key, -1);
    return size_t(number) < m_sectionOfNumber.size() ? m_sectionOfNumber[size_t(number)] : -1;
}

void HistoryRowStore::setSectionOfKey(const QString &key, int section)
{
    const qint64 number = keyNumber(key);
    if (number < 0) {
        if (section < 0)
            m_sectionOfOtherKey.remove(key);
        else
            m_sectionOfOtherKey.insert(key, section);
        return;
    }
    if (size_t(number) >= m_sectionOfNumber.size())
        m_sectionOfNumber.resize(size_t(number) + 1, qint8(-1));
    m_sectionOfNumber[size_t(number)] = qint8(section);
}

int HistoryRowStore::FindKey(const QString &key) const
{
    const int section = sectionOfKey(key);
    if (section < 0) {
        const int startRow = cSectionsData::GetSectionIndex(key);
        return m_framed && startRow >= 0 ? StartRowPosition(startRow) : 0;
    }
    const std::vector<HistoryRow> &items = m_blocks[size_t(section)].items;
    for (size_t i = 0; i < items.size(); ++i) {
        if (items[i].Key == key)
            return StartRowPosition(section) + 1 + int(i);
    }
    return 0;
}

int HistoryRowStore::GetStartEnd(const QString &section, StartEnd &result) const
{
    const int index = cSectionsData::GetSectionIndex(section);
    if (!m_framed || index < 0 || index >= cSectionsData::SectionsCount)
        return errSubscriptOutOfRange;
    const int startRow = StartRowPosition(index);
    const int size = int(m_blocks[size_t(index)].items.size());
    result.end = startRow + size;
    result.start = size > 0 ? startRow + 1 : -1;
    return errNone;
}

HistoryRowStore::StartEnd HistoryRowStore::GetStartEnd(const QString &section) const
{
    StartEnd result;
    GetStartEnd(section, result);
    return result;
}

int HistoryRowStore::setSaveFlagText(const QString &section, const QString &flag)
{
    const int index = cSectionsData::GetSectionIndex(section);
    if (!m_framed || index < 0)
        return errSubscriptOutOfRange;
    m_blocks[size_t(index)].start.col(2) = flag;
    return errNone;
}

int HistoryRowStore::SetSaveFlag(const QString &section)
{
    return setSaveFlagText(section, QStringLiteral("1"));
}

int HistoryRowStore::ClearSaveFlag(const QString &section)
{
    return setSaveFlagText(section, QStringLiteral("0"));
}

bool HistoryRowStore::SaveFlag(const QString &section) const
{
    const int index = cSectionsData::GetSectionIndex(section);
    return m_framed && index >= 0 && m_blocks[size_t(index)].start.col(2) == u'1';
}

QString HistoryRowStore::SectionFromTag(const QString &tag)
{
    if (tag.endsWith(kStartSuffix) || tag.endsWith(kActiveSuffix))
        return tag.left(tag.indexOf(u'_'));
    return tag;
}

int HistoryRowStore::InsertRow(int position, HistoryRow row)
{
    if (!m_framed || position < 2 || position > m_count)
        return errSubscriptOutOfRange;
    // The row goes to the end of the section before the start row at this position,
    // or among the items of the section it falls into.
    int section = 0;
    int index = 0;
    locate(position, section, index);
    if (index < 0) {
        --section;
        index = int(m_blocks[size_t(section)].items.size());
    }
    if (section >= cSectionsData::SectionsCount)
        return errSubscriptOutOfRange;   // RootNode never has items
    const QString name = cSectionsData::SectionsList(section);
    if (row.Tag != name && !FoldedKey::equalIgnoringCase(SectionFromTag(row.Tag), name))
        return errInvalidCall;
    setSectionOfKey(row.Key, section);
    std::vector<HistoryRow> &items = m_blocks[size_t(section)].items;
    items.insert(items.begin() + index, std::move(row));
    ++m_count;
    return errNone;
}

int HistoryRowStore::RemoveRow(int position)
{
    int section = 0;
    int index = 0;
    if (!m_framed || !locate(position, section, index) || index < 0)
        return errSubscriptOutOfRange;
    std::vector<HistoryRow> &items = m_blocks[size_t(section)].items;
    setSectionOfKey(items[size_t(index)].Key, -1);
    items.erase(items.begin() + index);
    --m_count;
    return errNone;
}

void HistoryRowStore::ReserveRows(const QString &section, int count)
{
    const int index = cSectionsData::GetSectionIndex(section);
    if (m_framed && index >= 0 && count > 0) {
        std::vector<HistoryRow> &items = m_blocks[size_t(index)].items;
        items.reserve(items.size() + size_t(count));
    }
}

int HistoryRowStore::MoveRow(int from, int destination)
{
    int section = 0;
    int index = 0;
    if (!m_framed || !locate(from, section, index) || index < 0)
        return errSubscriptOutOfRange;
    const int first = StartRowPosition(section) + 1;
    std::vector<HistoryRow> &items = m_blocks[size_t(section)].items;
    const int to = destination - first;   // index before the move
    if (to < 0 || to > int(items.size()))
        return errSubscriptOutOfRange;
    if (to > index)
        std::rotate(items.begin() + index, items.begin() + index + 1, items.begin() + to);
    else if (to < index)
        std::rotate(items.begin() + to, items.begin() + index, items.begin() + index + 1);
    return errNone;
}

int HistoryRowStore::ClearSection(const QString &section)
{
    const int index = cSectionsData::GetSectionIndex(section);
    if (!m_framed || index < 0 || index >= cSectionsData::SectionsCount)
        return errSubscriptOutOfRange;
    std::vector<HistoryRow> &items = m_blocks[size_t(index)].items;
    for (const HistoryRow &row : items)
        setSectionOfKey(row.Key, -1);
    m_count -= int(items.size());
    items.clear();
    return errNone;
}

int HistoryRowStore::ReplaceRows(int sectionIndex, int first, int count, const std::vector<HistoryRow> &rows)
{
    if (!m_framed || sectionIndex < 0 || sectionIndex >= cSectionsData::SectionsCount)
        return errSubscriptOutOfRange;
    std::vector<HistoryRow> &items = m_blocks[size_t(sectionIndex)].items;
    if (first < 0 || count < 0 || size_t(first) + size_t(count) > items.size())
        return errSubscriptOutOfRange;
    const auto begin = items.begin() + first;
    for (auto it = begin; it != begin + count; ++it)
        setSectionOfKey(it->Key, -1);
    for (const HistoryRow &row : rows)
        setSectionOfKey(row.Key, sectionIndex);
    const size_t common = std::min(size_t(count), rows.size());
    std::copy(rows.begin(), rows.begin() + qsizetype(common), begin);
    if (size_t(count) > rows.size())
        items.erase(begin + qsizetype(common), begin + count);
    else
        items.insert(begin + qsizetype(common), rows.begin() + qsizetype(common), rows.end());
    m_count += int(rows.size()) - count;
    return errNone;
}

const std::vector<HistoryRow> &HistoryRowStore::SectionRows(int sectionIndex) const
{
    return m_blocks[size_t(qBound(0, sectionIndex, kSections - 1))].items;
}

QString HistoryRowStore::NextKey()
{
    return QStringLiteral("Key_") + QString::number(++mlngKeyCounter);
}

} // namespace calvenor
