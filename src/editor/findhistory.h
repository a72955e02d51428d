#pragma once

#include "core/languagesource.h"
#include "core/personinterface.h"

#include <QString>
#include <QStringList>

namespace calvenor {

class cSettings;
class HistoryList;

// The find dialog without its widgets: the text to find, the whole-word option, the
// position where the next search starts and the history of the last 20 texts (settings
// keys Find1 .. Find20, newest first).
class FindHistory
{
public:
    static constexpr int kMaxEntries = 20;

    FindHistory(HistoryList &list, cSettings &settings, PersonInterface &person, const LanguageSource &language);

    // Loading the dialog: the history and FindOptions from the settings file.
    void Load();
    // The program unloading the dialog: FindOptions written.
    void Unload();

    void setText(const QString &text);          // typing or picking an entry: the next search starts at the top
    void setWholeWord(bool wholeWord);
    void selectEntry(int index);                // picks a history entry as the text
    const QString &text() const { return m_text; }
    bool wholeWord() const { return m_wholeWord; }
    bool findNextEnabled() const { return !m_text.isEmpty(); }
    bool clearListEnabled() const { return !m_entries.isEmpty(); }
    const QStringList &entries() const { return m_entries; }
    int selectedEntry() const { return m_selected; }

    // One search step; after the last match the next step says "Cannot find" and the one
    // after starts again at the top.
    void FindNextString();
    // The Find Next button: a step, then the text goes to the top of the history.
    void FindNextClicked();
    // Asks first; on Yes the history, its keys and the text are cleared.
    void ClearList();

    long mlngSearchStartPosition = 1;

private:
    void saveEntries();

    HistoryList &m_list;
    cSettings &m_settings;
    PersonInterface &m_person;
    const LanguageSource &m_language;
    QStringList m_entries;
    QString m_text;
    bool m_wholeWord = false;
    int m_selected = -1;
};

} // namespace calvenor
