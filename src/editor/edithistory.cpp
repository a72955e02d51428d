#include "edithistory.h"

#include "historylist.h"
#include "core/csectionsdata.h"

#include <QUndoCommand>
#include <QUndoStack>

#include <algorithm>

namespace calvenor {
namespace {

constexpr int kSections = cSectionsData::SectionsCount;   // 19: every section, RootNode not

QString sectionName(int index)
{
    return cSectionsData::SectionsList(index);
}

// Rows the edit did not touch still share their texts with the snapshot: comparing
// the text pointers first keeps a pass over a long section cheap.
bool sameText(const QString &a, const QString &b)
{
    return (a.constData() == b.constData() && a.size() == b.size()) || a == b;
}

bool sameRow(const HistoryRow &a, const HistoryRow &b)
{
    if (!sameText(a.Key, b.Key) || !sameText(a.Text, b.Text) || !sameText(a.Tag, b.Tag) || a.Bold != b.Bold
        || a.Ghosted != b.Ghosted || a.ForeColor != b.ForeColor)
        return false;
    for (size_t i = 0; i < a.SubItems.size(); ++i) {
        if (!sameText(a.SubItems[i], b.SubItems[i]))
            return false;
    }
    return true;
}

// Puts rows in place of count rows from first on.
void splice(std::vector<HistoryRow> &target, int first, size_t count, const std::vector<HistoryRow> &rows)
{
    const auto begin = target.begin() + first;
    target.erase(begin, begin + qsizetype(count));
    target.insert(target.begin() + first, rows.begin(), rows.end());
}

} // namespace

// One recorded change on the stack; pushing it does not do it again.
class EditHistory::Command : public QUndoCommand
{
public:
    Command(EditHistory &owner, Change change, const QString &text)
        : QUndoCommand(text)
        , m_owner(owner)
        , m_change(std::move(change))
    {
    }
    const Change &change() const { return m_change; }
    // Only list edits continue one another; named changes (delete all, import) stand alone.
    int id() const override { return text().isEmpty() ? 1 : -1; }
    bool mergeWith(const QUndoCommand *other) override
    {
        const auto *next = static_cast<const Command *>(other);
        if (!next->m_continues)
            return false;
        m_change = next->m_change;   // already composed with this one
        return true;
    }
    void setContinues() { m_continues = true; }
    void undo() override { m_owner.apply(m_change, false); }
    void redo() override
    {
        if (m_done)
            m_owner.apply(m_change, true);
        m_done = true;
    }

private:
    EditHistory &m_owner;
    Change m_change;
    bool m_done = false;
    bool m_continues = false;
};

EditHistory::EditHistory(HistoryList &list, QObject *parent)
    : QObject(parent)
    , m_list(list)
    , m_stack(new QUndoStack(this))
{
    connect(&m_list, &HistoryList::EditStarting, this, [this] { m_keyBeforeEdit = m_list.currentKey(); });
    Reset();
}

EditHistory::~EditHistory() = default;

void EditHistory::snapshotSection(int section)
{
    m_rows[size_t(section)] = m_list.store().SectionRows(section);
    m_flags[size_t(section)] = m_list.store().SaveFlag(sectionName(section));
}

void EditHistory::Reset()
{
    m_stack->clear();
    for (int section = 0; section < kSections; ++section)
        snapshotSection(section);
    m_currentKey = m_list.currentKey();
    m_keyBeforeEdit.clear();
    m_stack->setClean();
}

void EditHistory::Record(const QString &text)
{
    if (m_applying)
        return;
    Change change;
    const HistoryRowStore &store = m_list.store();
    for (int section = 0; section < kSections; ++section) {
        const std::vector<HistoryRow> &before = m_rows[size_t(section)];
        const std::vector<HistoryRow> &after = store.SectionRows(section);
        const bool flag = store.SaveFlag(sectionName(section));
        // Only the run between the common head and the common tail is kept.
        const size_t shorter = std::min(before.size(), after.size());
        size_t head = 0;
        while (head < shorter && sameRow(before[head], after[head]))
            ++head;
        size_t tail = 0;
        while (tail < shorter - head && sameRow(before[before.size() - 1 - tail], after[after.size() - 1 - tail]))
            ++tail;
        const bool rowsSame = head == before.size() && head == after.size();
        if (rowsSame && flag == m_flags[size_t(section)])
            continue;
        SectionChange part;
        part.section = section;
        part.first = int(head);
        part.before.assign(before.begin() + qsizetype(head), before.end() - qsizetype(tail));
        part.after.assign(after.begin() + qsizetype(head), after.end() - qsizetype(tail));
        part.flagBefore = m_flags[size_t(section)];
        part.flagAfter = flag;
        splice(m_rows[size_t(section)], part.first, part.before.size(), part.after);
        m_flags[size_t(section)] = flag;
        change.sections.push_back(std::move(part));
    }
    const QString currentKey = m_list.currentKey();
    const QString keyBefore = m_keyBeforeEdit.isNull() ? currentKey : m_keyBeforeEdit;
    m_keyBeforeEdit = QString();
    m_currentKey = currentKey;
    if (change.sections.empty())
        return;
    change.shownSection = m_list.mstrCurrentSection;
    change.currentKeyBefore = keyBefore;
    change.currentKeyAfter = currentKey;
    change.savedGeneration = m_savedGeneration;
    const bool continues = text.isEmpty() && continuesTop(change);
    auto *command = new Command(*this, continues ? composedWithTop(std::move(change)) : std::move(change), text);
    if (continues)
        command->setContinues();
    m_stack->push(command);
}

bool EditHistory::continuesTop(const Change &change) const
{
    // The stack merges only into a top command that is not the saved state.
    if (m_stack->index() == 0 || m_stack->index() != m_stack->count() || m_stack->index() == m_stack->cleanIndex())
        return false;
    const auto *top = static_cast<const Command *>(m_stack->command(m_stack->index() - 1));
    if (top->id() != 1 || change.sections.size() != 1 || top->change().sections.size() != 1)
        return false;
    const SectionChange &part = change.sections.front();
    const SectionChange &topPart = top->change().sections.front();
    return part.section == topPart.section && part.before.size() == 1 && part.after.size() == 1
        && part.before.front().Key == part.after.front().Key && part.after.front().Key == top->change().currentKeyAfter
        && top->change().savedGeneration == change.savedGeneration;
}

EditHistory::Change EditHistory::composedWithTop(Change change) const
{
    const Change &top = static_cast<const Command *>(m_stack->command(m_stack->index() - 1))->change();
    const SectionChange &first = top.sections.front();
    SectionChange &second = change.sections.front();
    // The section as the top change found it, and as it is now, over the span either touched.
    std::vector<HistoryRow> middle = m_rows[size_t(second.section)];   // the state now
    const int start = std::min(first.first, second.first);
    const int endNow = std::max(first.first + int(first.after.size()), second.first + int(second.after.size()));
    SectionChange composed;
    composed.section = second.section;
    composed.first = start;
    composed.after.assign(middle.begin() + start, middle.begin() + endNow);
    // Back to before the second change, then before the first.
    std::copy(second.before.begin(), second.before.end(), middle.begin() + second.first);
    middle.erase(middle.begin() + first.first, middle.begin() + first.first + qsizetype(first.after.size()));
    middle.insert(middle.begin() + first.first, first.before.begin(), first.before.end());
    const int endBefore = endNow - int(first.after.size()) + int(first.before.size());
    composed.before.assign(middle.begin() + start, middle.begin() + endBefore);
    composed.flagBefore = first.flagBefore;
    composed.flagAfter = second.flagAfter;
    Change result = std::move(change);
    result.sections = {std::move(composed)};
    result.currentKeyBefore = top.currentKeyBefore;
    return result;
}

void EditHistory::MarkSaved()
{
    ++m_savedGeneration;
    for (int section = 0; section < kSections; ++section)
        m_flags[size_t(section)] = m_list.store().SaveFlag(sectionName(section));
    m_stack->setClean();
}

void EditHistory::apply(const Change &change, bool forward)
{
    HistoryRowStore &store = m_list.store();
    m_applying = true;
    for (const SectionChange &part : change.sections) {
        const std::vector<HistoryRow> &from = forward ? part.before : part.after;
        const std::vector<HistoryRow> &to = forward ? part.after : part.before;
        store.ReplaceRows(part.section, part.first, int(from.size()), to);
        // Saved since the change was made: the files hold the other state now.
        const bool flag = change.savedGeneration != m_savedGeneration || (forward ? part.flagAfter : part.flagBefore);
        const QString name = sectionName(part.section);
        if (flag)
            store.SetSaveFlag(name);
        else
            store.ClearSaveFlag(name);
        splice(m_rows[size_t(part.section)], part.first, from.size(), to);
        m_flags[size_t(part.section)] = flag;
    }
    m_currentKey = forward ? change.currentKeyAfter : change.currentKeyBefore;
    m_applying = false;
    emit Restored(change.shownSection, m_currentKey);
}

} // namespace calvenor
