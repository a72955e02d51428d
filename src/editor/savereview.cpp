#include "savereview.h"

#include "entrydiff.h"

#include "core/cprofile.h"
#include "core/csectionsdata.h"
#include "core/foldedkey.h"
#include "core/historyrowstore.h"
#include "core/historysections.h"
#include "core/taboptions.h"
#include "core/tabssection.h"
#include "platform/errornumbers.h"

#include <algorithm>

namespace calvenor {
namespace {

using Kind = ReviewChange::Kind;
using EntryDiff::Step;

class Comparison
{
public:
    Comparison(const QString &section, const QString &marker, std::vector<ReviewChange> &out)
        : m_section(section)
        , m_marker(marker)
        , m_out(out)
    {
    }

    // Numbered lists and tabs: the entry is the value (a tab's folder), in list order.
    void ordered(const std::vector<HistoryRow> &disk, const std::vector<HistoryRow> &editor, bool tabs) const
    {
        const QStringList before = column(disk, 2);
        const QStringList after = column(editor, 2);
        for (const EntryDiff::Pairing &pair : EntryDiff::Compare(before, after)) {
            const QString &entry = pair.editor >= 0 ? after[pair.editor] : before[pair.disk];
            switch (pair.step) {
            case Step::Kept:
                break;
            case Step::Removed:
                add(Kind::Removed, entry);
                break;
            case Step::Added:
                add(Kind::Added, entry);
                break;
            case Step::Renamed:
                add(Kind::Renamed, entry, before[pair.disk], entry);
                break;
            case Step::Moved:
                m_out.push_back({Kind::Moved, entry, QString(), QString(), pair.disk + 1, pair.editor + 1});
                break;
            }
            if (tabs && pair.disk >= 0 && pair.editor >= 0)
                tab(disk[size_t(pair.disk)], editor[size_t(pair.editor)], entry);
        }
        if (tabs)
            activeTab(disk, editor);
    }

    // Templates, found by name; one that kept its values under a new name is renamed.
    void keyed(const std::vector<HistoryRow> &disk, const std::vector<HistoryRow> &editor) const
    {
        const std::vector<int> sameName = EntryDiff::PairEqual(names(disk), names(editor));
        std::vector<char> diskPaired(disk.size(), 0);
        std::vector<int> onlyDisk, onlyEditor;
        for (size_t j = 0; j < editor.size(); ++j) {
            if (sameName[j] < 0) {
                onlyEditor.push_back(int(j));
                continue;
            }
            diskPaired[size_t(sameName[j])] = 1;
            values(disk[size_t(sameName[j])], editor[j]);
        }
        for (size_t i = 0; i < disk.size(); ++i) {
            if (!diskPaired[i])
                onlyDisk.push_back(int(i));
        }
        const std::vector<int> sameValues = EntryDiff::PairEqual(signatures(disk, onlyDisk), signatures(editor, onlyEditor));
        std::vector<char> renamed(onlyDisk.size(), 0);
        for (size_t k = 0; k < onlyEditor.size(); ++k) {
            const QString &name = editor[size_t(onlyEditor[k])].Text;
            if (sameValues[k] < 0) {
                add(Kind::Added, name);
                continue;
            }
            renamed[size_t(sameValues[k])] = 1;
            add(Kind::Renamed, name, disk[size_t(onlyDisk[size_t(sameValues[k])])].Text, name);
        }
        for (size_t k = 0; k < onlyDisk.size(); ++k) {
            if (!renamed[k])
                add(Kind::Removed, disk[size_t(onlyDisk[k])].Text);
        }
        // In the list's order: by name.
        std::stable_sort(m_out.begin(), m_out.end(), [](const ReviewChange &a, const ReviewChange &b) {
            return FoldedKey::compareIgnoringCase(a.entry, b.entry) < 0;
        });
    }

private:
    QString shown(const QString &value) const { return value == m_marker ? QString() : value; }

    void add(Kind kind, const QString &entry, const QString &before = QString(), const QString &after = QString()) const
    {
        m_out.push_back({kind, entry, before, after});
    }

    QStringList column(const std::vector<HistoryRow> &rows, int n) const
    {
        QStringList result;
        result.reserve(qsizetype(rows.size()));
        for (const HistoryRow &row : rows)
            result.append(shown(row.col(n)));
        return result;
    }

    static QStringList names(const std::vector<HistoryRow> &rows)
    {
        QStringList result;
        result.reserve(qsizetype(rows.size()));
        for (const HistoryRow &row : rows)
            result.append(row.Text);
        return result;
    }

    // All of a template's values in one text, to find the same values under another name.
    QStringList signatures(const std::vector<HistoryRow> &rows, const std::vector<int> &which) const
    {
        QStringList result;
        for (int i : which) {
            QString signature;
            for (const QString &value : rows[size_t(i)].SubItems)
                signature += shown(value) + QChar(0x1f);
            result.append(signature);
        }
        return result;
    }

    void values(const HistoryRow &disk, const HistoryRow &editor) const
    {
        QStringList before, after;
        for (size_t c = 0; c < disk.SubItems.size(); ++c) {
            const QString was = shown(disk.SubItems[c]);
            const QString now = shown(editor.SubItems[c]);
            if (was != now) {
                before << was;
                after << now;
            }
        }
        if (!before.isEmpty())
            add(Kind::Changed, editor.Text, before.join(QStringLiteral("; ")), after.join(QStringLiteral("; ")));
    }

    void tab(const HistoryRow &disk, const HistoryRow &editor, const QString &entry) const
    {
        if (shown(disk.col(4)) != shown(editor.col(4)))
            add(Kind::Caption, entry, shown(disk.col(4)), shown(editor.col(4)));
        const qint32 lockBefore = GetOptionField(disk.col(3), 5);
        const qint32 lockAfter = GetOptionField(editor.col(3), 5);
        if (lockBefore != lockAfter)
            add(Kind::Lock, entry, QString::number(lockBefore), QString::number(lockAfter));
        // The lock is told above; the rest of the options are the tab's view.
        const QString viewBefore = SetOptionField(shown(disk.col(3)), QStringLiteral("0"));
        const QString viewAfter = SetOptionField(shown(editor.col(3)), QStringLiteral("0"));
        if (viewBefore != viewAfter)
            add(Kind::TabSettings, entry, shown(disk.col(3)), shown(editor.col(3)));
    }

    void activeTab(const std::vector<HistoryRow> &disk, const std::vector<HistoryRow> &editor) const
    {
        auto activeOf = [&](const std::vector<HistoryRow> &rows) -> const HistoryRow * {
            const auto it = std::find_if(rows.cbegin(), rows.cend(),
                                         [&](const HistoryRow &row) { return IsActiveTabRow(m_section, row); });
            return it == rows.cend() ? nullptr : &*it;
        };
        const HistoryRow *before = activeOf(disk);
        const HistoryRow *after = activeOf(editor);
        if (!before && !after)
            return;
        const QString was = before ? shown(before->col(2)) : QString();
        const QString now = after ? shown(after->col(2)) : QString();
        if (!before || !after || was != now)
            add(Kind::ActiveTab, now, was, now);
    }

    const QString &m_section;
    const QString &m_marker;
    std::vector<ReviewChange> &m_out;
};

} // namespace

std::vector<ReviewChange> SaveReview::Compare(const QString &section, const std::vector<HistoryRow> &disk,
                                              const std::vector<HistoryRow> &editor, const QString &marker)
{
    std::vector<ReviewChange> changes;
    const Comparison comparison(section, marker, changes);
    switch (cSectionsData::familyOf(section)) {
    case SectionFamily::Numbered:
        comparison.ordered(disk, editor, false);
        break;
    case SectionFamily::Tabs:
        comparison.ordered(disk, editor, true);
        break;
    case SectionFamily::Keyed:
        comparison.keyed(disk, editor);
        break;
    case SectionFamily::None:
        break;
    }
    return changes;
}

std::vector<SectionReview> SaveReview::Review(const HistoryRowStore &editor, const QString &strWincmdFileName,
                                              const QString &strWcxftpFileName)
{
    const QString &marker = m_profile.paths().MissingValueMarker();
    // A scratch store of the sections as the files hold them now: the profile checks
    // each file against the disk, so another program's writes are seen.
    HistoryRowStore disk;
    disk.BuildFrame();
    HistorySections reader(m_profile, disk);
    std::vector<SectionReview> result;
    ProfileBatch batch(m_profile);
    for (int i = 0; i < cSectionsData::SectionsCount; ++i) {
        const QString section = cSectionsData::SectionsList(i);
        if (!editor.SaveFlag(section))
            continue;
        const int readError = reader.ReadHistorySection(section, strWincmdFileName, strWcxftpFileName);
        const QString &file = HistorySections::FileOf(section, strWincmdFileName, strWcxftpFileName);
        SectionReview review {section, m_profile.ResolveTargetFile(section, QString(), file), readError, {}};
        if (review.readError == 0) {
            // A file that does not exist yet is simply empty; one that cannot be read is told.
            const int fileError = m_profile.FileReadError(review.file);
            review.readError = fileError == errFileNotFound ? 0 : fileError;
        }
        review.changes = Compare(section, disk.SectionRows(i), editor.SectionRows(i), marker);
        if (!review.changes.empty() || review.readError != 0)
            result.push_back(std::move(review));
    }
    batch.finish();
    return result;
}

} // namespace calvenor
