#include "crecentfiles.h"

#include "titlebar.h"

namespace calvenor {

cRecentFiles::cRecentFiles(PathMacros &paths, cProfile &profile, PersonInterface &person)
    : m_paths(paths)
    , m_profile(profile)
    , m_person(person)
{
}

void cRecentFiles::Setup(int lngMaxFiles, const QString &strNoFilesText, const QString &strClearText,
                         const QString &strWarningMsg, const QString &separator)
{
    m_maxFiles = qMax(1, lngMaxFiles);
    m_noFilesText = strNoFilesText;
    m_clearText = strClearText;
    m_warningMsg = strWarningMsg;
    m_separator = separator;
    m_list.fill(m_paths.MissingValueMarker(), m_maxFiles + 1);
    m_items = QList<RecentFilesItem>(m_maxFiles + 3);
    refresh();
}

void cRecentFiles::ReadList(const QString &strFileName, const QString &strSection, const QString &KeyPrefix)
{
    ProfileBatch batch(m_profile);
    for (int i = 1; i <= m_maxFiles; ++i) {
        const QString value = m_profile.ReadValue(strSection, KeyPrefix + QString::number(i),
                                                  m_paths.MissingValueMarker(), strFileName);
        m_list[i] = m_paths.ExpandPath(value);
    }
    batch.finish();
    refresh();
}

int cRecentFiles::SaveList(const QString &strFileName, const QString &strSection, const QString &strKeyPrefix)
{
    ProfileBatch batch(m_profile);
    for (int i = 1; i <= m_maxFiles; ++i) {
        const QString key = strKeyPrefix + QString::number(i);
        m_profile.DeleteValue(strSection, key, strFileName);
        // An empty position is the marker, which writes nothing: it ends up without a key.
        m_profile.WriteValue(strSection, key, m_paths.UnexpandPath(m_list[i]), strFileName);
    }
    return batch.finish();
}

void cRecentFiles::AddFile(const QString &strFileName)
{
    for (int i = 1; i <= m_maxFiles; ++i) {
        if (!isEmpty(i) && m_list[i].compare(strFileName, Qt::CaseInsensitive) == 0) {
            RemoveFile(i, false);
            break;
        }
    }
    for (int i = m_maxFiles; i > 1; --i)
        m_list[i] = m_list[i - 1];
    m_list[1] = strFileName;
    refresh();
}

void cRecentFiles::RemoveFile(int lngIndex, bool blnAutoRefresh)
{
    if (lngIndex < 1 || lngIndex > m_maxFiles)
        return;
    for (int i = lngIndex; i < m_maxFiles; ++i)
        m_list[i] = m_list[i + 1];
    m_list[m_maxFiles] = m_paths.MissingValueMarker();
    if (blnAutoRefresh)
        refresh();
}

void cRecentFiles::PutAsFirstItem(int lngIndex)
{
    if (lngIndex < 1 || lngIndex > m_maxFiles || isEmpty(lngIndex))
        return;
    const QString entry = m_list[lngIndex];
    RemoveFile(lngIndex, false);
    AddFile(entry);
}

bool cRecentFiles::Clear()
{
    if (m_person.ShowMessage(m_warningMsg, MessageIcon::Question, MessageButtons::YesNo, MessageAnswer::No)
        == MessageAnswer::No)
        return false;
    for (int i = 1; i <= m_maxFiles; ++i)
        m_list[i] = m_paths.MissingValueMarker();
    refresh();
    return true;
}

void cRecentFiles::ChangeLanguage(const QString &strNoFilesText, const QString &strClearText,
                                  const QString &strWarningMsg)
{
    m_noFilesText = strNoFilesText;
    m_clearText = strClearText;
    m_warningMsg = strWarningMsg;
    refresh();
}

QString cRecentFiles::ListItems(int lngIndex) const
{
    return lngIndex >= 1 && lngIndex <= m_maxFiles ? m_list[lngIndex] : m_paths.MissingValueMarker();
}

void cRecentFiles::refresh()
{
    for (int i = 1; i <= m_maxFiles; ++i) {
        RecentFilesItem &item = m_items[i];
        if (isEmpty(i)) {
            item.visible = false;
            item.enabled = false;
            continue;
        }
        item.caption = u'&' + QString::number(i) + u' ' + ShortenTitleText(m_list[i], 2, m_separator);
        item.tag = m_list[i];
        item.visible = true;
        item.enabled = true;
    }
    m_items[m_maxFiles + 1] = {QStringLiteral("-"), QString(), true, true};
    RecentFilesItem &clear = m_items[m_maxFiles + 2];
    clear = {m_clearText, QString(), true, true};
    if (isEmpty(1)) {
        m_items[1] = {m_noFilesText, QString(), true, false};
        clear.enabled = false;
    }
    if (m_itemsChanged)
        m_itemsChanged();
}

} // namespace calvenor
