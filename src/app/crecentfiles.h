#pragma once

#include "core/cprofile.h"
#include "core/pathmacros.h"
#include "core/personinterface.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace calvenor {

// One item of the recent-files menu; the Open button's drop-down shows the same items
// at the same indexes.
struct RecentFilesItem
{
    QString caption;
    QString tag;          // the whole entry
    bool visible = false;
    bool enabled = false;
};

// The pairs of INI files opened last, most recent first. An entry is one text: the
// wincmd.ini path, the recent-files separator and the wcx_ftp.ini path; the list treats
// it as opaque. Besides the list it keeps the menu layout the window shows: items
// 1 .. Max() for the entries (or a disabled placeholder at 1 when the list is empty),
// Max() + 1 a separator, Max() + 2 the clearing item.
class cRecentFiles
{
public:
    cRecentFiles(PathMacros &paths, cProfile &profile, PersonInterface &person);

    void Setup(int lngMaxFiles, const QString &strNoFilesText, const QString &strClearText,
               const QString &strWarningMsg, const QString &separator);
    void ReadList(const QString &strFileName, const QString &strSection, const QString &KeyPrefix);
    int SaveList(const QString &strFileName, const QString &strSection, const QString &strKeyPrefix);
    void AddFile(const QString &strFileName);
    void RemoveFile(int lngIndex, bool blnAutoRefresh);
    void PutAsFirstItem(int lngIndex);
    // Asks first (default No); true when the list was cleared.
    bool Clear();
    void ChangeLanguage(const QString &strNoFilesText, const QString &strClearText, const QString &strWarningMsg);

    QString ListItems(int lngIndex) const;   // the entry at a position; the marker when empty
    int Max() const { return m_maxFiles; }

    // Items 0 .. Max() + 2; item 0 is not used.
    const QList<RecentFilesItem> &MenuItems() const { return m_items; }
    // Called after every change of the items, for the window to show them again.
    void setItemsChanged(std::function<void()> callback) { m_itemsChanged = std::move(callback); }

private:
    void refresh();
    bool isEmpty(int position) const { return m_list[position] == m_paths.MissingValueMarker(); }

    PathMacros &m_paths;
    cProfile &m_profile;
    PersonInterface &m_person;
    int m_maxFiles = 0;
    QStringList m_list;          // positions 0 .. max; 0 unused
    QList<RecentFilesItem> m_items;
    QString m_noFilesText;
    QString m_clearText;
    QString m_warningMsg;
    QString m_separator = QStringLiteral(" <> ");
    std::function<void()> m_itemsChanged;
};

} // namespace calvenor
