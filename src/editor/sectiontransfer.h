#pragma once

#include "core/keeprules.h"
#include "core/languagesource.h"
#include "core/personinterface.h"

#include <QString>
#include <QStringList>

namespace calvenor {

class HistoryList;
class cProfile;

// Whole sections between the editor and another pair of INI files, and clearing them:
// what the import/export and delete-all dialogs and the tree's menu do once the person
// has chosen. Every failure is told to the person; the caller marks the document
// modified when a call reports a change.
class SectionTransfer
{
public:
    SectionTransfer(HistoryList &list, cProfile &profile, PersonInterface &person, const LanguageSource &language);

    // Writes each section from the editor into the file of its family (wcx_ftp.ini for
    // the old FTP connections, wincmd.ini for the rest); the editor's rows and save
    // flags stay as they are. Stops at the first file that cannot be written and says
    // which one and why. True when every section was written.
    bool Export(const QStringList &sections, const QString &wincmd, const QString &wcxftp);
    // Replaces each section's rows (locked tabs too) by the same section read from the
    // pair and flags it for saving. Every file needed is checked first: one that does
    // not exist or cannot be read is reported and nothing changes. True when sections
    // were replaced.
    bool Import(const QStringList &sections, const QString &wincmd, const QString &wcxftp);
    // Empties each section and flags it for saving; locked tabs of the tab sections
    // stay unless deleteLockedTabs, and so do the entries the keep rules match.
    void Clear(const QStringList &sections, bool deleteLockedTabs, const KeepRules &keep = {});

private:
    void tellCannotRead(const QString &file, int error);
    void tellCannotWrite(const QString &file, int error);
    void tellNoFileNamed(const QString &section);   // the pair's file for it was left empty

    HistoryList &m_list;
    cProfile &m_profile;
    PersonInterface &m_person;
    const LanguageSource &m_language;
};

} // namespace calvenor
