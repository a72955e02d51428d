#include "findhistory.h"

#include "historylist.h"

#include "core/cprofile.h"
#include "settings/csettings.h"

namespace calvenor {
namespace {

const QString kSection = QStringLiteral("Calvenor");

QString findKey(int number)
{
    return QStringLiteral("Find") + QString::number(number);
}

} // namespace

FindHistory::FindHistory(HistoryList &list, cSettings &settings, PersonInterface &person,
                         const LanguageSource &language)
    : m_list(list)
    , m_settings(settings)
    , m_person(person)
    , m_language(language)
{
}

void FindHistory::Load()
{
    m_entries.clear();
    const QString &marker = m_settings.MissingValueMarker();
    for (int i = 1; i <= kMaxEntries; ++i) {
        const QString value = m_settings.Read(kSection, findKey(i), marker);
        if (value != marker)
            m_entries.append(value);
    }
    m_text.clear();
    m_selected = -1;
    m_settings.ReadFindOptions();
    if (m_settings.FindOptionsEntry >= 0 && m_settings.FindOptionsEntry < m_entries.size())
        selectEntry(m_settings.FindOptionsEntry);
    m_wholeWord = m_settings.FindOptionsWholeWord;
}

void FindHistory::Unload()
{
    m_settings.FindOptionsEntry = m_selected;
    m_settings.FindOptionsWholeWord = m_wholeWord;
    m_settings.SaveFindOptions();
}

void FindHistory::setText(const QString &text)
{
    m_text = text;
    m_selected = m_entries.indexOf(text);
    mlngSearchStartPosition = 1;
}

void FindHistory::setWholeWord(bool wholeWord)
{
    m_wholeWord = wholeWord;
    mlngSearchStartPosition = 1;
}

void FindHistory::selectEntry(int index)
{
    if (index < 0 || index >= m_entries.size())
        return;
    setText(m_entries[index]);
    m_selected = index;
}

void FindHistory::FindNextString()
{
    if (!findNextEnabled()) {
        m_person.Beep();
        return;
    }
    mlngSearchStartPosition = m_list.FindString(m_text, mlngSearchStartPosition, m_wholeWord ? 1 : 0);
    if (mlngSearchStartPosition > long(m_list.mlngListCount) + 1) {
        m_person.ShowMessage(m_language.GetLanguageString(259) + QStringLiteral(" \"") + m_text + u'"',
                             MessageIcon::Information);
        mlngSearchStartPosition = 1;
    }
}

void FindHistory::FindNextClicked()
{
    FindNextString();
    if (m_text.isEmpty())
        return;
    const bool known = std::any_of(m_entries.cbegin(), m_entries.cend(), [this](const QString &entry) {
        return entry.compare(m_text, Qt::CaseInsensitive) == 0;
    });
    if (!known) {
        if (m_entries.size() >= kMaxEntries)
            m_entries.removeLast();
        m_entries.prepend(m_text);
        m_selected = 0;
        saveEntries();
    }
}

void FindHistory::saveEntries()
{
    for (int i = 0; i < m_entries.size(); ++i)
        m_settings.Write(kSection, findKey(i + 1), m_entries[i]);
}

void FindHistory::ClearList()
{
    if (m_person.ShowMessage(m_language.GetLanguageString(3009), MessageIcon::Question, MessageButtons::YesNo,
                             MessageAnswer::No) != MessageAnswer::Yes)
        return;
    for (int i = 1; i <= kMaxEntries; ++i)
        m_settings.Delete(kSection, findKey(i));
    m_entries.clear();
    m_text.clear();
    m_selected = -1;
}

} // namespace calvenor
