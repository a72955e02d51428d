#pragma once

#include "transfer/backupblocks.h"

#include <QDialog>
#include <QStringList>

class QLineEdit;
class QPushButton;
class QRadioButton;
class QTreeWidget;

namespace calvenor {

class HistoryList;
class PersonInterface;
class ProgramContext;

// Brings back what the batch job cleared: the runs a backup file holds, newest first,
// and the chosen run's sections, all or the ticked ones, put back into the editor by
// replacing the sections or adding after what they hold. Nothing is written to disk:
// the sections are flagged for the next save.
class frmRestoreBackup : public QDialog
{
    Q_OBJECT
public:
    frmRestoreBackup(ProgramContext &context, PersonInterface &person, HistoryList &list, QWidget *parent = nullptr);

    // The backup last used (stored in the settings file), else one the person chooses.
    // False when there is none to show.
    bool OpenStartingBackup();
    // Reads a backup file and lists it; a file that cannot be read, or holds no run, is
    // told to the person and false is returned. What the file holds that cannot be
    // listed (sections of no history, a run cut off) is told too.
    bool OpenBackup(const QString &nativePath);
    // The sections restored by the last Restore; empty when nothing was.
    const QStringList &RestoredSections() const { return m_restored; }

private:
    bool chooseBackup();
    void showBlocks();
    void showSections();
    void updateRestoreButton();
    void restoreClicked();
    QString text(int id) const;

    ProgramContext &m_context;
    PersonInterface &m_person;
    HistoryList &m_list;
    BackupBlocks m_backup;
    QString m_path;
    QLineEdit *m_file;
    QTreeWidget *m_blocks;
    QTreeWidget *m_sections;
    QRadioButton *m_add;
    QRadioButton *m_replace;
    QPushButton *m_restore;
    QStringList m_restored;
};

} // namespace calvenor
