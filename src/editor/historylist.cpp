#include "historylist.h"

#include "historylistmodel.h"
#include "rowfilter.h"

#include "core/csectionsdata.h"
#include "core/foldedkey.h"
#include "core/inidocument.h"
#include "core/keyedsection.h"
#include "core/sectionclear.h"
#include "core/tabssection.h"
#include "core/taboptions.h"

#include "platform/errornumbers.h"
#include "settings/csettings.h"

#include <QRegularExpression>
#include <QSet>

namespace calvenor {
namespace {

const QString kEightSpaces = QStringLiteral("        ");

// Prefix of a new row's default text, by catalogue index.
const QStringList &defaultPrefixes()
{
    static const QStringList prefixes = QStringLiteral(
        "Line |*.|*.|Path |Text |^|[N]|?|?|^|^|^|Path |Path |Directory |^|^|1048576|http://www.").split(u'|');
    return prefixes;
}

bool isName(const QString &a, const QString &b)
{
    return FoldedKey::equalIgnoringCase(a, b);
}

} // namespace

HistoryList::HistoryList(cProfile &profile, cSettings &settings, const LanguageSource &language,
                         PersonInterface &person, HistoryListHost &host, QObject *parent)
    : QObject(parent)
    , m_profile(profile)
    , m_settings(settings)
    , m_language(language)
    , m_person(person)
    , m_host(host)
    , m_sections(profile, m_store)
    , m_model(new HistoryListModel(*this))
    , m_filter(new RowFilter(*this, m_model, this))
{
    mstrCurrentSection = profile.paths().MissingValueMarker();
    m_sections.setLanguage(&language);
}

HistoryList::~HistoryList() = default;

HistoryList::Family HistoryList::familyOf(const QString &section)
{
    if (isName(section, cSectionsData::RootNode()))
        return Family::Overview;
    switch (cSectionsData::familyOf(section)) {
    case SectionFamily::Keyed: return Family::Keyed;
    case SectionFamily::Tabs: return Family::Tabs;
    default: return Family::Numbered;
    }
}

QString HistoryList::IconKeyOf(const QString &sectionOrTag) const
{
    if (!m_settings.UseSectionIcon)
        return QStringLiteral("item");
    const QString section = HistoryRowStore::SectionFromTag(sectionOrTag);
    for (const auto &node : cSectionsData::TreeOrder()) {
        if (isName(section, QString::fromUtf16(node.key)))
            return QString::fromUtf16(node.imageKey);
    }
    return QString();
}

bool HistoryList::isTabSection() const
{
    return familyOf(mstrCurrentSection) == Family::Tabs;
}

// --- loading and saving ---------------------------------------------------------------

int HistoryList::ReadAllHistorySections(const QString &strWincmdFileName, const QString &strWcxftpFileName)
{
    m_sections.setLockedTabForeColor(m_settings.LockedTabForeColor);
    const int error = m_sections.ReadAllHistorySections(strWincmdFileName, strWcxftpFileName);
    mstrCurrentSection = m_profile.paths().MissingValueMarker();
    return error;
}

int HistoryList::SaveAllHistorySections(const QString &strWincmdFileName, const QString &strWcxftpFileName)
{
    return m_sections.SaveAllHistorySections(strWincmdFileName, strWcxftpFileName);
}

int HistoryList::ReadHistorySection(const QString &strSectionName, const QString &strWincmdFileName,
                                    const QString &strWcxftpFileName)
{
    m_sections.setLockedTabForeColor(m_settings.LockedTabForeColor);
    const int error = m_sections.ReadHistorySection(strSectionName, strWincmdFileName, strWcxftpFileName);
    mstrCurrentSection = m_profile.paths().MissingValueMarker();
    return error;
}

int HistoryList::SaveHistorySection(const QString &strSectionName, const QString &strWincmdFileName,
                                    const QString &strWcxftpFileName)
{
    return m_sections.SaveHistorySection(strSectionName, strWincmdFileName, strWcxftpFileName);
}

// --- display --------------------------------------------------------------------------

QString HistoryList::displayText(const HistoryRow &row, Family family) const
{
    return family == Family::Keyed ? row.Text : row.col(2);
}


void HistoryList::replaceRows(std::vector<VisibleRow> rows)
{
    m_model->beginResetModel();
    m_rows = std::move(rows);
    // No row is current until the show makes one so; the key stays for the overview to
    // find it again.
    m_current = -1;
    m_dragged = m_dropTarget = -1;
    m_model->endResetModel();
}

void HistoryList::insertVisible(int position, VisibleRow row)
{
    m_model->beginInsertRows(QModelIndex(), position, position);
    m_rows.insert(m_rows.begin() + position, std::move(row));
    m_model->endInsertRows();
}

void HistoryList::removeVisible(int position)
{
    m_model->beginRemoveRows(QModelIndex(), position, position);
    m_rows.erase(m_rows.begin() + position);
    m_model->endRemoveRows();
}

void HistoryList::setPanelEnabled(bool enabled)
{
    setPanel(enabled, !enabled);
}

void HistoryList::setPanel(bool enabled, bool emptyBox)
{
    m_panel.enabled = enabled;
    m_panel.emptyBoxVisible = emptyBox;
    if (!enabled) {
        mblnSuppressEvents = true;
        m_panel.caption.clear();
        m_panel.lockChecked = m_panel.lockButChecked = false;
        mblnSuppressEvents = false;
    }
    emit TabPanelChanged();
}

void HistoryList::fillSection(const QString &section, Family family)
{
    const int index = cSectionsData::GetSectionIndex(section);
    std::vector<VisibleRow> rows;
    if (index >= 0 && index < cSectionsData::SectionsCount) {
        const std::vector<HistoryRow> &items = m_store.SectionRows(index);
        const QString icon = IconKeyOf(section);   // every row of a section has its icon
        rows.reserve(items.size());
        for (const HistoryRow &row : items)
            rows.push_back({row.Key, displayText(row, family), icon, row.Tag, row.ForeColor, row.Ghosted, false});
    }
    if (family == Family::Keyed) {
        std::stable_sort(rows.begin(), rows.end(), [](const VisibleRow &a, const VisibleRow &b) {
            return FoldedKey::compareIgnoringCase(a.text, b.text) < 0;
        });
    }
    setPanelEnabled(!rows.empty());
    replaceRows(std::move(rows));
}

void HistoryList::buildOverview()
{
    const QString remembered = m_currentKey;
    m_panel.emptyBoxVisible = false;
    std::vector<VisibleRow> rows;
    for (const SectionTreeNode &node : m_host.RootChildren()) {
        const int index = cSectionsData::GetSectionIndex(node.key);
        const bool known = index >= 0 && index < cSectionsData::SectionsCount;
        const bool empty = !known || m_store.SectionRows(index).empty();
        rows.push_back({node.key, node.text, node.imageKey, node.key + QStringLiteral("_Section_Start"), std::nullopt,
                        empty, true});
        if (empty)
            continue;
        const Family family = familyOf(node.key);
        for (const HistoryRow &row : m_store.SectionRows(index))
            rows.push_back({row.Key, kEightSpaces + displayText(row, family), QString(), row.Tag, row.ForeColor, false, false});
    }
    replaceRows(std::move(rows));
    for (int i = 0; i < int(m_rows.size()); ++i) {
        if (m_rows[size_t(i)].key == remembered) {
            if (IsRowShown(i))
                makeCurrent(i);
            break;
        }
    }
    // With no remembered row the first shown is current, as a click on it makes it, so
    // that Enter and a double click act at once.
    if (m_current < 0)
        makeCurrent(firstShownFrom(0));
}

int HistoryList::ShowSelectedSection(const QString &strSection, bool blnRefresh)
{
    if (!blnRefresh && isName(strSection, mstrCurrentSection))
        return errNone;
    m_renameOn = true;
    m_panel.visible = false;
    m_family = familyOf(strSection);
    mblnDragAllowed = m_family == Family::Numbered || m_family == Family::Tabs;
    switch (m_family) {
    case Family::Overview:
        m_renameOn = false;
        mstrCurrentSection = strSection;
        buildOverview();
        break;
    case Family::Tabs:
        m_panel.visible = true;
        [[fallthrough]];
    case Family::Keyed:
    case Family::Numbered:
        mstrCurrentSection = strSection;
        fillSection(strSection, m_family);
        break;
    }
    mlngListCount = int(m_rows.size());
    if (m_family != Family::Overview) {
        const int first = firstShownFrom(0);
        if (first >= 0)
            makeCurrent(first);
        else if (!m_rows.empty())
            clearCurrent();   // the filter hides every row
    }
    emit TabPanelChanged();
    return errNone;
}

int HistoryList::SwitchToSectionWindow()
{
    if (!hasShownCurrent())
        return errNone;
    const QString key = m_currentKey;
    const QString section = HistoryRowStore::SectionFromTag(m_rows[size_t(m_current)].tag);
    ShowSelectedSection(section, false);
    m_host.SelectTreeNode(section);
    m_host.SetButtonsState(section);
    ClickKey(key);
    return errNone;
}

bool HistoryList::ClickKey(const QString &key)
{
    for (int i = 0; i < int(m_rows.size()); ++i) {
        if (m_rows[size_t(i)].key == key) {
            makeCurrent(i);
            return true;
        }
    }
    return false;
}

void HistoryList::SetNewSettings()
{
    if (m_store.Count() == 0)
        return;
    ColourLockedTabs(m_store, cSectionsData::LeftTabs(), m_settings.LockedTabForeColor);
    ColourLockedTabs(m_store, cSectionsData::RightTabs(), m_settings.LockedTabForeColor);
}

QString HistoryList::currentKey() const
{
    return m_currentKey;
}

int HistoryList::currentStorePosition() const
{
    return m_currentKey.isEmpty() ? 0 : m_store.FindKey(m_currentKey);
}

void HistoryList::SetFilter(const QString &text)
{
    m_filter->setNeedle(text);
    // The tab panel edits the current row: not one the person cannot see.
    if (isTabSection() && !m_rows.empty()) {
        m_panel.enabled = hasShownCurrent();
        emit TabPanelChanged();
    }
}

bool HistoryList::IsRowShown(int row) const
{
    return m_filter->IsShown(row);
}

int HistoryList::firstShownFrom(int row) const
{
    for (int i = qMax(0, row); i < int(m_rows.size()); ++i) {
        if (IsRowShown(i))
            return i;
    }
    return -1;
}

int HistoryList::lastShownBefore(int row) const
{
    for (int i = qMin(row, int(m_rows.size())) - 1; i >= 0; --i) {
        if (IsRowShown(i))
            return i;
    }
    return -1;
}

void HistoryList::clearCurrent()
{
    m_current = -1;
    m_currentKey.clear();
    if (isTabSection())
        setPanel(false, false);   // rows remain, none of them shown
    emit CurrentRowChanged(-1);
}

void HistoryList::makeCurrent(int row)
{
    if (row < 0 || row >= int(m_rows.size()))
        return;
    m_current = row;
    m_currentKey = m_rows[size_t(row)].key;
    if (isTabSection()) {
        m_panel.enabled = IsRowShown(row);
        mblnSuppressEvents = true;
        const int position = currentStorePosition();
        if (position > 0) {
            const HistoryRow &storeRow = m_store.Row(position);
            m_panel.caption = storeRow.col(4) == m_profile.paths().MissingValueMarker()
                ? LastFolderName(m_rows[size_t(row)].text) : storeRow.col(4);
            const int lock = GetOptionField(storeRow.col(3), 5);
            m_panel.lockChecked = lock == 1;
            m_panel.lockButChecked = lock == 2;
        }
        mblnSuppressEvents = false;
        emit TabPanelChanged();
    }
    emit CurrentRowChanged(row);
}

void HistoryList::ClickRow(int row)
{
    makeCurrent(row);
}

HistoryList::PanelTexts HistoryList::ChangeLanguage() const
{
    return {m_language.GetLanguageString(3094), m_language.GetLanguageString(3095), m_language.GetLanguageString(3099),
            m_language.GetLanguageString(3096), m_language.GetLanguageString(3317), m_language.GetLanguageString(3323)};
}

// --- editing --------------------------------------------------------------------------

int HistoryList::RenameSelectedItem()
{
    if (m_renameOn && hasShownCurrent())
        emit EditRequested(m_current);
    return errNone;
}

int HistoryList::AddNewItem(const QString &strCurrentSection)
{
    emit EditStarting();
    const int index = cSectionsData::GetSectionIndex(strCurrentSection);
    if (index < 0 || index >= cSectionsData::SectionsCount)
        return errSubscriptOutOfRange;
    const QString prefix = defaultPrefixes().value(index);
    const int n = int(m_rows.size());
    if (n >= m_settings.MaxItems) {
        QString text = m_language.GetLanguageString(3093);
        text.replace(QStringLiteral("20"), QString::number(m_settings.MaxItems), Qt::CaseInsensitive);
        m_person.ShowMessage(text, MessageIcon::Information);
        return errNone;
    }
    HistoryRowStore::StartEnd range;
    if (const int error = m_store.GetStartEnd(strCurrentSection, range))
        return error;
    HistoryRow row;
    row.Key = m_store.NextKey();
    row.Text = QString::number(n + 1);
    row.col(2) = prefix + QString::number(n + 1);
    row.col(3) = row.col(4) = row.col(5) = row.col(6) = QStringLiteral("-");
    row.Tag = strCurrentSection;
    const QString key = row.Key;
    if (const int error = m_store.InsertRow(range.end + 1, std::move(row)))
        return error;
    insertVisible(n, {key, prefix + QString::number(n + 1), IconKeyOf(strCurrentSection), strCurrentSection,
                      std::nullopt, false, false});
    mlngListCount = int(m_rows.size());
    m_host.SetUpDownButtonsState(true);
    makeCurrent(n);
    emit EditRequested(n);
    emit ListChange();
    m_panel.emptyBoxVisible = false;
    emit TabPanelChanged();
    return errNone;
}

int HistoryList::FinishEdit(const QString &newText)
{
    emit EditStarting();
    const int position = currentStorePosition();
    if (m_current < 0 || position <= 0)
        return errInvalidCall;
    QString text = newText;
    if (isTabSection() && !text.endsWith(u'\\'))
        text += u'\\';
    HistoryRow &row = m_store.Row(position);
    if (familyOf(mstrCurrentSection) == Family::Keyed) {
        // A template name becomes the start of its keys: one the file cannot hold as a
        // key name (holding '=', or reading as a section header) is refused here rather
        // than when the section is saved.
        const QString firstKey = text.trimmed() + KeyedSuffixes(mstrCurrentSection).value(0);
        if (!IniDocument::holdsKey(firstKey, row.col(2))) {
            m_person.Beep();
            return errInvalidCall;
        }
        row.Text = text;
    } else
        row.col(2) = text;
    m_rows[size_t(m_current)].text = text;
    const QModelIndex index = m_model->index(m_current);
    emit m_model->dataChanged(index, index);
    emit ListChange();
    return errNone;
}

int HistoryList::DeleteSelectedItem()
{
    emit EditStarting();
    mlngListCount = int(m_rows.size());
    if (mlngListCount == 0 || !hasShownCurrent()) {
        m_person.Beep();
        return errNone;
    }
    const QString tag = m_rows[size_t(m_current)].tag;
    const int p = m_current;
    if (const int error = m_store.RemoveRow(currentStorePosition()))
        return error;
    removeVisible(p);
    mlngListCount = int(m_rows.size());
    if (mlngListCount > 0) {
        // The row now shown at that place, else the last shown one.
        int next = firstShownFrom(p);
        if (next < 0)
            next = lastShownBefore(p);
        const QString activeTag = ActiveTabTag(mstrCurrentSection);
        if (isTabSection() && isName(tag, activeTag)) {
            // The first tab becomes the active one.
            VisibleRow &first = m_rows.front();
            first.tag = activeTag;
            first.ghosted = true;
            HistoryRow &storeRow = m_store.Row(m_store.FindKey(first.key));
            storeRow.Tag = activeTag;
            storeRow.col(5) = QStringLiteral("0");
            storeRow.Ghosted = true;
            emit m_model->dataChanged(m_model->index(0), m_model->index(0));
        }
        if (isTabSection())
            RenumberActiveTab(m_store, mstrCurrentSection);
        if (next >= 0)
            makeCurrent(next);
        else
            clearCurrent();
    } else {
        m_current = -1;
        m_currentKey.clear();
        m_person.Beep();
        m_host.SetUpDownButtonsState(false);
        setPanelEnabled(false);
    }
    // Heard once the edit is whole, active tab included.
    emit ListChange();
    return errNone;
}

int HistoryList::moveRow(int from, int target, bool after)
{
    emit EditStarting();
    if (from < 0 || target < 0 || from >= int(m_rows.size()) || target >= int(m_rows.size()))
        return errInvalidCall;
    const int offset = after || target == from + 1 ? 1 : 0;
    // The store: the same move among the section's rows.
    const int storeFrom = m_store.FindKey(m_rows[size_t(from)].key);
    const int storeTarget = m_store.FindKey(m_rows[size_t(target)].key);
    if (storeFrom <= 0 || storeTarget <= 0)
        return errInvalidCall;
    if (const int error = m_store.MoveRow(storeFrom, storeTarget + offset))
        return error;

    // The visible list.
    const int destination = target + offset;   // before removal
    if (destination != from && destination != from + 1) {
        m_model->beginMoveRows(QModelIndex(), from, from, QModelIndex(), destination);
        VisibleRow row = std::move(m_rows[size_t(from)]);
        m_rows.erase(m_rows.begin() + from);
        const int finalPosition = destination > from ? destination - 1 : destination;
        m_rows.insert(m_rows.begin() + finalPosition, std::move(row));
        m_model->endMoveRows();
    }
    const int newPosition = destination > from ? destination - 1 : destination;
    m_current = newPosition;
    m_currentKey = m_rows[size_t(newPosition)].key;
    m_dropTarget = -1;
    if (isTabSection())
        RenumberActiveTab(m_store, mstrCurrentSection);
    // Heard once the edit is whole, active tab included.
    emit ListChange();
    return errNone;
}

// While the list is filtered, a move passes the rows it hides: the entry goes before the
// shown row above it, or after the shown row below it, as the person sees the list.
int HistoryList::MoveSelectedItemUp()
{
    const int target = hasShownCurrent() ? lastShownBefore(m_current) : -1;
    if (target < 0) {
        m_person.Beep();
        return errNone;
    }
    if (const int error = moveRow(m_current, target))
        return error;
    makeCurrent(target);
    return errNone;
}

int HistoryList::MoveSelectedItemDown()
{
    const int target = hasShownCurrent() ? firstShownFrom(m_current + 1) : -1;
    if (target < 0) {
        m_person.Beep();
        return errNone;
    }
    // Placed after the target, also when it is the last row: the result the
    // placeholder row gave, with no placeholder needed.
    if (const int error = moveRow(m_current, target, true))
        return error;
    makeCurrent(target);
    return errNone;
}

int HistoryList::DeleteSelectedSection(const QString &strSection, long lngDeleteLockTabs, const KeepRules &keep)
{
    emit EditStarting();
    HistoryRowStore::StartEnd range;
    if (const int error = m_store.GetStartEnd(strSection, range))
        return error;
    const bool keepLocked = lngDeleteLockTabs == 0 && familyOf(strSection) == Family::Tabs;
    const QString &marker = m_profile.paths().MissingValueMarker();
    ClearSectionExcept(m_store, strSection, [&](const HistoryRow &row) {
        return (keepLocked && GetOptionField(row.col(3), 5) != 0) || keep.Keeps(strSection, row, marker);
    });
    return errNone;
}

int HistoryList::RemoveRows(const QString &strSection, const QStringList &keys)
{
    if (keys.isEmpty())
        return 0;
    emit EditStarting();
    const QSet<QString> gone(keys.cbegin(), keys.cend());
    HistoryRowStore::StartEnd range;
    if (m_store.GetStartEnd(strSection, range) != errNone || range.start < 0)
        return 0;
    int removed = 0;
    for (int position = range.end; position >= range.start; --position) {
        if (gone.contains(m_store.Row(position).Key)) {
            m_store.RemoveRow(position);
            ++removed;
        }
    }
    if (familyOf(strSection) == Family::Tabs)
        RenumberActiveTab(m_store, strSection);
    return removed;
}

// --- mouse and keys -------------------------------------------------------------------

void HistoryList::DoubleClick()
{
    if (!m_rows.empty())
        SwitchToSectionWindow();
}

void HistoryList::MouseButtonReleased(int button, int shift, int x, int y)
{
    m_dropTarget = -1;
    emit MouseUp(button, shift, x, y);
}

void HistoryList::KeyReleased(int keyCode, int shift)
{
    emit KeyUp(keyCode, shift);
}

bool HistoryList::StartDrag()
{
    if (!mblnDragAllowed || !hasShownCurrent())
        return false;
    m_dragged = m_current;
    return true;
}

bool HistoryList::DragOver(int row)
{
    if (m_dragged < 0 || m_current < 0 || row < 0 || row >= int(m_rows.size())) {
        m_dropTarget = -1;
        return false;
    }
    m_dropTarget = row;
    return true;
}

int HistoryList::Drop()
{
    if (!mblnDragAllowed || m_dragged < 0 || m_dropTarget < 0) {
        m_dragged = m_dropTarget = -1;
        return errNone;
    }
    const int dragged = m_dragged;
    const int target = m_dropTarget;
    m_dragged = m_dropTarget = -1;
    if (dragged == target) {
        emit ListChange();   // a drop on itself still counts as a change
        return errNone;
    }
    if (const int error = moveRow(dragged, target))
        return error;
    makeCurrent(m_current);
    return errNone;
}

bool HistoryList::movesOffered() const
{
    const Family family = familyOf(mstrCurrentSection);
    return family == Family::Numbered || family == Family::Tabs;
}

bool HistoryList::HandleKeyDown(int keyCode, int shift)
{
    emit KeyDown(keyCode, shift);
    if (!(shift & 2) || !movesOffered())
        return false;
    if (keyCode == 38) {
        MoveSelectedItemUp();
        return true;
    }
    if (keyCode == 40) {
        MoveSelectedItemDown();
        return true;
    }
    return false;
}

// --- tab panel ------------------------------------------------------------------------

void HistoryList::CaptionEdited(const QString &text)
{
    m_panel.caption = text;
    if (mblnSuppressEvents || !isTabSection() || !hasShownCurrent())
        return;
    emit EditStarting();
    const int position = currentStorePosition();
    if (position <= 0)
        return;
    m_store.Row(position).col(4) = text;
    emit ListChange();
}

void HistoryList::CaptionEnter()
{
    // The next shown tab, from the top after the last.
    int next = firstShownFrom(m_current + 1);
    if (next < 0)
        next = firstShownFrom(0);
    makeCurrent(next);
}

void HistoryList::setLock(int value)
{
    emit EditStarting();
    const int position = currentStorePosition();
    if (!hasShownCurrent() || position <= 0)
        return;
    HistoryRow &row = m_store.Row(position);
    const qint32 colour = value != 0 ? m_settings.LockedTabForeColor : m_settings.ForegroundColor;
    row.ForeColor = colour;
    row.col(3) = SetOptionField(row.col(3), QString::number(value));
    m_rows[size_t(m_current)].foreColor = colour;
    emit m_model->dataChanged(m_model->index(m_current), m_model->index(m_current));
    emit ListChange();
}

void HistoryList::lockBoxClicked(bool checked, bool &box, bool &otherBox, int value)
{
    if (mblnSuppressEvents)
        return;
    box = checked;
    // The two locks exclude each other; clearing the other box is no click of its own.
    if (otherBox) {
        mblnSuppressEvents = true;
        otherBox = false;
        mblnSuppressEvents = false;
    }
    setLock(checked ? value : 0);
    emit TabPanelChanged();
}

void HistoryList::LockTabClicked(bool checked)
{
    lockBoxClicked(checked, m_panel.lockChecked, m_panel.lockButChecked, 1);
}

void HistoryList::LockButTabClicked(bool checked)
{
    lockBoxClicked(checked, m_panel.lockButChecked, m_panel.lockChecked, 2);
}

// --- find -----------------------------------------------------------------------------

long HistoryList::FindString(const QString &strString, long lngStartItem, long lngWholeWord)
{
    const QString search = lngWholeWord == 1 ? u' ' + strString + u' ' : strString;
    const long count = long(m_rows.size());
    for (long i = qMax(1L, lngStartItem); i <= count; ++i) {
        if (!IsRowShown(int(i - 1)))
            continue;
        const QString &text = m_rows[size_t(i - 1)].text;
        const bool found = lngWholeWord == 1 ? QString(u' ' + text + u' ').contains(search, Qt::CaseInsensitive)
                                             : text.contains(search, Qt::CaseInsensitive);
        if (found) {
            makeCurrent(int(i - 1));
            return i + 1;
        }
    }
    return count + 2;
}

} // namespace calvenor
