#pragma once

#include <QDialog>

class QCheckBox;
class QPushButton;

namespace calvenor {

class HistoryList;
class PersonInterface;
class ProgramContext;
class SectionCheckTree;

// Empties whole sections of the editor at once: the person ticks sections (the shown
// one, every one from the overview, or last time's choice) and whether locked tabs go
// too. Nothing is written to disk: the sections are flagged for the next save.
class frmDeleteAll : public QDialog
{
    Q_OBJECT
public:
    frmDeleteAll(ProgramContext &context, PersonInterface &person, HistoryList &list, QWidget *parent = nullptr);

    // Prepares the dialog before it is shown: with blnRestore last time's ticks come
    // back, else the node of selectedKey is ticked (every section for the overview).
    void RestoreSelection(bool blnRestore, const QString &selectedKey);
    // True after OK cleared sections.
    bool Cleared() const { return m_cleared; }
    SectionCheckTree *tree() const { return m_tree; }

private:
    void UpdateDeleteAllControls();
    void restoreSaved();
    void okClicked();

    ProgramContext &m_context;
    PersonInterface &m_person;
    HistoryList &m_list;
    SectionCheckTree *m_tree;
    QCheckBox *m_lockedToo;
    QPushButton *m_ok;
    bool m_cleared = false;
};

} // namespace calvenor
