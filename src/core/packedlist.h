#pragma once

#include <QString>
#include <QStringView>

#include <algorithm>
#include <vector>

namespace calvenor {

// A list read as the profile functions hand it over: the entries one after another in
// one text, each found by its offset. A read of thousands of entries appends to one
// buffer instead of making a string of each; an entry becomes a string when asked for.
class PackedList
{
public:
    void clear();
    void reserve(qsizetype characters, qsizetype entries);
    // Appends one entry made of the pieces in order (a key, '=', a value, say).
    void append(QStringView first, QStringView second = {}, QStringView third = {});

    qsizetype size() const { return qsizetype(m_starts.size()); }
    QStringView view(qsizetype index) const;
    QString at(qsizetype index) const { return view(index).toString(); }

    // Cuts the list as a buffer of bufferSize characters holds it (each entry ends with
    // a NUL, the list with one more; an entry that does not fit is cut and is the
    // last), then adds the empty entry the split at the final NUL gives. Returns the
    // number of non-empty entries minus one: -1 when nothing was found. A bufferSize of
    // 0 or less keeps everything.
    int finish(int bufferSize);

    // Sorts entries 0 to end - 1 with the comparison, keeping the order of equals.
    template<typename Less>
    void stableSortPrefix(qsizetype end, Less less);

private:
    void rebuild(const std::vector<QStringView> &order, qsizetype end);

    std::vector<char16_t> m_text;
    std::vector<qsizetype> m_starts;
    std::vector<qsizetype> m_lengths;
};

template<typename Less>
void PackedList::stableSortPrefix(qsizetype end, Less less)
{
    std::vector<QStringView> order;
    order.reserve(size_t(end));
    for (qsizetype i = 0; i < end; ++i)
        order.push_back(view(i));
    std::stable_sort(order.begin(), order.end(), less);
    rebuild(order, end);
}

} // namespace calvenor
