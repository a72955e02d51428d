#include "historyrowstore.h"

#include "csectionsdata.h"
#include "foldedkey.h"
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
    m_sectionOfKey.clear();
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

int HistoryRowStore::FindKey(const QString &key) const
{
    const auto it = m_sectionOfKey.constFind(key);
    if (it == m_sectionOfKey.cend()) {
        const int section = cSectionsData::GetSectionIndex(key);
        return m_framed && section >= 0 ? StartRowPosition(section) : 0;
    }
    const std::vector<HistoryRow> &items = m_blocks[size_t(*it)].items;
    for (size_t i = 0; i < items.size(); ++i) {
        if (items[i].Key == key)
            return StartRowPosition(*it) + 1 + int(i);
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

int HistoryRowStore::SetSaveFlag(const QString &section)
{
    const int index = cSectionsData::GetSectionIndex(section);
    if (!m_framed || index < 0)
        return errSubscriptOutOfRange;
    m_blocks[size_t(index)].start.col(2) = QStringLiteral("1");
    return errNone;
}

int HistoryRowStore::ClearSaveFlag(const QString &section)
{
    const int index = cSectionsData::GetSectionIndex(section);
    if (!m_framed || index < 0)
        return errSubscriptOutOfRange;
    m_blocks[size_t(index)].start.col(2) = QStringLiteral("0");
    return errNone;
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
    m_sectionOfKey.insert(row.Key, section);
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
    m_sectionOfKey.remove(items[size_t(index)].Key);
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

int HistoryRowStore::ClearSection(const QString &section)
{
    const int index = cSectionsData::GetSectionIndex(section);
    if (!m_framed || index < 0 || index >= cSectionsData::SectionsCount)
        return errSubscriptOutOfRange;
    std::vector<HistoryRow> &items = m_blocks[size_t(index)].items;
    for (const HistoryRow &row : items)
        m_sectionOfKey.remove(row.Key);
    m_count -= int(items.size());
    items.clear();
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
