#pragma once

#include "editor/findhistory.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QPushButton;

namespace calvenor {

class HistoryList;
class PersonInterface;
class ProgramContext;

// The modeless find dialog over the rows shown in the list: the text with its history
// of the last 20 (newest first), whole-word matching, and the row where the next search
// starts. It is made once and only hidden afterwards, so all of that survives between
// uses.
class frmSearchFor : public QDialog
{
    Q_OBJECT
public:
    frmSearchFor(ProgramContext &context, PersonInterface &person, HistoryList &list, QWidget *parent = nullptr);

    FindHistory &find() { return m_find; }
    // One search step with the current text and options (the main window's Find Next).
    void FindNextString();
    void PreSelectText();
    void setSearchStartPosition(long position) { m_find.mlngSearchStartPosition = position; }
    // Texts anew after a language change.
    void ApplyLanguage();
    // The program ends: the options are stored.
    void Unload() { m_find.Unload(); }

signals:
    // Find Next is available exactly when there is a text to find.
    void FindNextEnabledChanged(bool enabled);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void showHistory();
    void textChanged(const QString &text);

    ProgramContext &m_context;
    PersonInterface &m_person;
    FindHistory m_find;
    QComboBox *m_text;
    QCheckBox *m_wholeWord;
    QPushButton *m_findNext;
    QPushButton *m_clearList;
    bool m_showing = false;
};

} // namespace calvenor
