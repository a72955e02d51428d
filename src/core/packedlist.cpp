#include "packedlist.h"

#include <limits>

namespace calvenor {

void PackedList::clear()
{
    m_text.clear();
    m_starts.clear();
    m_lengths.clear();
}

void PackedList::reserve(qsizetype characters, qsizetype entries)
{
    m_text.reserve(size_t(characters));
    m_starts.reserve(size_t(entries));
    m_lengths.reserve(size_t(entries));
}

void PackedList::append(QStringView first, QStringView second, QStringView third)
{
    const qsizetype start = qsizetype(m_text.size());
    m_starts.push_back(start);
    m_lengths.push_back(first.size() + second.size() + third.size());
    for (const QStringView piece : {first, second, third})
        m_text.insert(m_text.end(), piece.utf16(), piece.utf16() + piece.size());
}

QStringView PackedList::view(qsizetype index) const
{
    return QStringView(m_text.data() + m_starts[size_t(index)], m_lengths[size_t(index)]);
}

int PackedList::finish(int bufferSize)
{
    qsizetype room = bufferSize > 0 ? qsizetype(bufferSize) - 2 : std::numeric_limits<qsizetype>::max();
    size_t kept = 0;
    for (; kept < m_starts.size() && room > 0; ++kept) {
        if (m_lengths[kept] + 1 <= room) {
            room -= m_lengths[kept] + 1;
        } else {
            m_lengths[kept] = room;
            ++kept;
            break;
        }
    }
    m_starts.resize(kept);
    m_lengths.resize(kept);
    int count = -1;
    for (const qsizetype length : m_lengths) {
        if (length > 0)
            ++count;
    }
    if (kept > 0) {
        m_starts.push_back(qsizetype(m_text.size()));
        m_lengths.push_back(0);
    }
    return count;
}

void PackedList::rebuild(const std::vector<QStringView> &order, qsizetype end)
{
    std::vector<char16_t> text;
    text.reserve(m_text.size());
    std::vector<qsizetype> starts;
    std::vector<qsizetype> lengths;
    starts.reserve(m_starts.size());
    lengths.reserve(m_starts.size());
    auto add = [&](QStringView entry) {
        starts.push_back(qsizetype(text.size()));
        text.insert(text.end(), entry.utf16(), entry.utf16() + entry.size());
        lengths.push_back(entry.size());
    };
    for (const QStringView entry : order)
        add(entry);
    for (qsizetype i = end; i < size(); ++i)
        add(view(i));
    m_text = std::move(text);
    m_starts = std::move(starts);
    m_lengths = std::move(lengths);
}

} // namespace calvenor
