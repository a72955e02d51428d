#pragma once

#include "historylisthost.h"
#include "visiblerow.h"

#include "core/cprofile.h"
#include "core/historyrowstore.h"
#include "core/historysections.h"
#include "core/keeprules.h"
#include "core/languagesource.h"
#include "core/personinterface.h"

#include <QObject>
#include <QStringList>

#include <vector>

namespace calvenor {

class cSettings;
class HistoryListModel;
class RowFilter;

// What the tab panel below the list shows; the widget only mirrors it.
struct TabPanelState
{
    bool visible = false;          // a folder-tab section is shown
    bool enabled = false;          // the section has rows
    bool emptyBoxVisible = false;  // the "Empty" box over the list
    QString caption;
    bool lockChecked = false;      // chkLockTab
    bool lockButChecked = false;   // chkLockButTab
};

// The history list: it owns the row store of every loaded section, shows one section
// (or the overview of all) as its visible list, and carries out every edit of the
// store. Widgets forward gestures to it and show its model; nothing here needs a window.
class HistoryList : public QObject
{
    Q_OBJECT
public:
    enum class Family { Overview, Keyed, Tabs, Numbered };

    HistoryList(cProfile &profile, cSettings &settings, const LanguageSource &language, PersonInterface &person,
                HistoryListHost &host, QObject *parent = nullptr);
    ~HistoryList() override;

    HistoryRowStore &store() { return m_store; }
    const HistoryRowStore &store() const { return m_store; }
    HistoryListModel *model() const { return m_model; }
    // What the list view shows of the rows: the model through the filter. Commands act
    // only on a current row that is shown.
    RowFilter *shownModel() const { return m_filter; }
    // Shows only the rows containing text (ignoring case); empty shows them all. The
    // current row stays current (and is acted on again once it is shown).
    void SetFilter(const QString &text);
    bool IsRowShown(int row) const;
    static Family familyOf(const QString &section);
    QString IconKeyOf(const QString &sectionOrTag) const;

    // Loading and saving (the store's sections); every read makes the next show refill.
    int ReadAllHistorySections(const QString &strWincmdFileName, const QString &strWcxftpFileName);
    int SaveAllHistorySections(const QString &strWincmdFileName, const QString &strWcxftpFileName);
    int ReadHistorySection(const QString &strSectionName, const QString &strWincmdFileName,
                           const QString &strWcxftpFileName);
    int SaveHistorySection(const QString &strSectionName, const QString &strWincmdFileName,
                           const QString &strWcxftpFileName);
    int SetSaveFlag(const QString &section) { return m_store.SetSaveFlag(section); }
    void setProgressHost(ProgressHost *host) { m_sections.setProgressHost(host); }

    // Display
    int ShowSelectedSection(const QString &strSection, bool blnRefresh);
    int SwitchToSectionWindow();
    void SetNewSettings();

    // The texts of the tab panel's labels and of the empty box, in the current language.
    struct PanelTexts
    {
        QString caption;        // lblTabCaption
        QString lockTab;        // chkLockTab
        QString lockButTab;     // chkLockButTab
        QString empty;          // lblEmpty
        QString filter;         // the filter box's hint and name
        QString entriesOf;      // the list's name: "Entries of %1", %1 the section
    };
    PanelTexts ChangeLanguage() const;

    // Editing commands
    int AddNewItem(const QString &strCurrentSection);
    int RenameSelectedItem();                 // asks the list to edit the current row
    int FinishEdit(const QString &newText);   // the list reports the text of an in-place edit
    int DeleteSelectedItem();
    int MoveSelectedItemUp();
    int MoveSelectedItemDown();
    // Empties a section but for its locked tabs (unless lngDeleteLockTabs) and the
    // entries the keep rules match.
    int DeleteSelectedSection(const QString &strSection, long lngDeleteLockTabs = 0, const KeepRules &keep = {});
    // Removes the rows of those keys from a section (a clean-up); the active tab keeps
    // its number right. Returns how many went. The caller shows the section anew.
    int RemoveRows(const QString &strSection, const QStringList &keys);

    // Mouse and keys
    void ClickRow(int row);                    // makes a row current as a click does
    bool ClickKey(const QString &key);         // the same for the shown row of that key, if any
    void DoubleClick();
    // A mouse button released over the list: the drop highlight goes, the host hears of it.
    void MouseButtonReleased(int button, int shift, int x, int y);
    void KeyReleased(int keyCode, int shift);
    bool StartDrag();                          // false: no drag offered
    bool DragOver(int row);                    // false: no drop offered there
    int Drop();
    // Ctrl+Up/Down where moves are offered; true when the key was consumed.
    bool HandleKeyDown(int keyCode, int shift);
    bool movesOffered() const;

    // Tab panel
    const TabPanelState &tabPanel() const { return m_panel; }
    void CaptionEdited(const QString &text);
    void CaptionEnter();
    void LockTabClicked(bool checked);
    void LockButTabClicked(bool checked);

    // Find: the position where the next search starts
    long FindString(const QString &strString, long lngStartItem, long lngWholeWord);

    // State
    int mlngListCount = 0;
    QString mstrCurrentSection;
    bool mblnDragAllowed = false;
    bool mblnSuppressEvents = false;
    bool renameAllowed() const { return m_renameOn; }
    int currentRow() const { return m_current; }          // -1 when none
    bool hasShownCurrent() const { return m_current >= 0 && IsRowShown(m_current); }
    QString currentKey() const;
    int currentStorePosition() const;                      // 0 when none
    const std::vector<VisibleRow> &visibleRows() const { return m_rows; }
    int dropTargetRow() const { return m_dropTarget; }

signals:
    // An edit of the rows begins (the current row is still the one it acts on).
    void EditStarting();
    void ListChange();
    void MouseUp(int button, int shift, int x, int y);
    void KeyUp(int keyCode, int shift);
    void KeyDown(int keyCode, int shift);
    // The list should start in-place editing of this row.
    void EditRequested(int row);
    void CurrentRowChanged(int row);
    void TabPanelChanged();

private:
    friend class HistoryListModel;

    QString displayText(const HistoryRow &row, Family family) const;
    void fillSection(const QString &section, Family family);
    void buildOverview();
    void makeCurrent(int row);
    int firstShownFrom(int row) const;    // -1 when no row at or after it is shown
    int lastShownBefore(int row) const;   // -1 when none
    void clearCurrent();
    void setPanelEnabled(bool enabled);        // the "Empty" box shows when disabled
    void setPanel(bool enabled, bool emptyBox);
    void setLock(int value);
    void lockBoxClicked(bool checked, bool &box, bool &otherBox, int value);
    // Moves a row before the target (after it with after, or when it is the next row).
    int moveRow(int from, int target, bool after = false);
    bool isTabSection() const;
    void replaceRows(std::vector<VisibleRow> rows);
    void insertVisible(int position, VisibleRow row);
    void removeVisible(int position);

    cProfile &m_profile;
    cSettings &m_settings;
    const LanguageSource &m_language;
    PersonInterface &m_person;
    HistoryListHost &m_host;
    HistoryRowStore m_store;
    HistorySections m_sections;
    HistoryListModel *m_model;
    RowFilter *m_filter;
    std::vector<VisibleRow> m_rows;
    Family m_family = Family::Numbered;
    bool m_renameOn = true;
    int m_current = -1;
    QString m_currentKey;
    int m_dragged = -1;
    int m_dropTarget = -1;
    TabPanelState m_panel;
};

} // namespace calvenor
