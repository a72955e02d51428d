#pragma once

#include "core/historyrow.h"

#include <QObject>
#include <QString>

#include <array>
#include <vector>

class QUndoStack;

namespace calvenor {

class HistoryList;

// Undo and redo of every change of the loaded history, whatever made it (the list's
// edits, the tab panel, delete all, import). After each change the window calls
// Record; the change is found by comparing every section with the state recorded
// last, and only the rows that differ (with the section's save flag, the current row
// and the shown section) are kept on the stack. Undo and redo put those rows back
// through the row store; the engine's own rules stay the only place an edit is made.
class EditHistory : public QObject
{
    Q_OBJECT
public:
    explicit EditHistory(HistoryList &list, QObject *parent = nullptr);
    ~EditHistory() override;

    QUndoStack *stack() const { return m_stack; }

    // The present state becomes the starting point; the stack empties (new files).
    void Reset();
    // Puts the change since the last Record (or Reset) on the stack, named text.
    // Nothing is pushed when nothing changed.
    void Record(const QString &text = QString());
    // The files were saved: this is the clean state. A later undo or redo flags the
    // sections it changes for saving, since they now differ from the files.
    void MarkSaved();

    // The changed rows of one section: from item index first, before and after.
    struct SectionChange
    {
        int section = 0;
        int first = 0;
        std::vector<HistoryRow> before;
        std::vector<HistoryRow> after;
        bool flagBefore = false;
        bool flagAfter = false;
    };
    // What one change did, and where the list stood before and after it.
    struct Change
    {
        std::vector<SectionChange> sections;
        QString shownSection;
        QString currentKeyBefore;
        QString currentKeyAfter;
        int savedGeneration = 0;
    };

signals:
    // Undo or redo changed the rows: the window shows section anew with the row of
    // currentKey current.
    void Restored(const QString &section, const QString &currentKey);

private:
    class Command;
    friend class Command;
    void apply(const Change &change, bool forward);
    void snapshotSection(int section);
    // Whether the change only rewrites one row in place, right after another change
    // that left that row current: typing a caption, naming a new entry. The two are
    // then one step.
    bool continuesTop(const Change &change) const;
    // The change composed with the one on top of the stack.
    Change composedWithTop(Change change) const;

    HistoryList &m_list;
    QUndoStack *m_stack;
    // The state after the last recorded change, section by section (rows share their
    // texts with the store, so this costs one row array per section, not the texts).
    std::array<std::vector<HistoryRow>, 19> m_rows;
    std::array<bool, 19> m_flags {};
    QString m_currentKey;
    QString m_keyBeforeEdit;   // the current row when the engine began its last edit
    int m_savedGeneration = 0;
    bool m_applying = false;
};

} // namespace calvenor
