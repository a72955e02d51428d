#pragma once

#include "cprofile.h"
#include "historyrowstore.h"
#include "languagesource.h"
#include "progresshost.h"

#include <QString>


namespace calvenor {

// Moves history between the two INI files and the row store: all sections at once
// when a pair of files is opened or saved, one section at a time for import and
// export. Each section goes to the reader or writer of its family and to the file it
// lives in (OldConnections in wcx_ftp.ini, every other section in wincmd.ini).
class HistorySections
{
public:
    HistorySections(cProfile &profile, HistoryRowStore &store);

    void setProgressHost(ProgressHost *host) { m_progress = host; }
    // Where the progress captions come from; without one they are the English texts.
    void setLanguage(const LanguageSource *language) { m_language = language; }
    void setLockedTabForeColor(qint32 colour) { m_lockedTabForeColor = colour; }
    // Whether saving a tab section also writes the active tab's folder and view into the
    // panel's section (Left, Right); a writer that never changed the active tab leaves it.
    void setWritesPanel(bool writes) { m_writesPanel = writes; }

    // Rebuilds the whole store from the two files.
    int ReadAllHistorySections(const QString &strWincmdFileName, const QString &strWcxftpFileName);
    // Writes every section whose save flag is set, each file once at the end. A
    // section's flag goes back to "0" only when every file it was written to was
    // saved; the first error is returned and later sections are not written.
    int SaveAllHistorySections(const QString &strWincmdFileName, const QString &strWcxftpFileName);
    // Appends one section's items from the files to the store.
    int ReadHistorySection(const QString &strSectionName, const QString &strWincmdFileName,
                           const QString &strWcxftpFileName);
    // Writes one section whatever its save flag, which stays as it is. Nothing of a
    // section that fails half-way is written.
    int SaveHistorySection(const QString &strSectionName, const QString &strWincmdFileName,
                           const QString &strWcxftpFileName);

    // The file of the pair a section lives in: wcx_ftp.ini for OldConnections, else
    // wincmd.ini (before the profile's redirection).
    static const QString &FileOf(const QString &strSectionName, const QString &strWincmdFileName,
                                 const QString &strWcxftpFileName);

private:
    QString text(int id, const QString &defaultText) const;

    cProfile &m_profile;
    HistoryRowStore &m_store;
    ProgressHost *m_progress = nullptr;
    const LanguageSource *m_language = nullptr;
    qint32 m_lockedTabForeColor = 255;
    bool m_writesPanel = true;
};

} // namespace calvenor
