#pragma once

#include "languagesource.h"

#include <QString>

#include <array>

namespace calvenor {

// How a history section is stored and which of the two files holds it.
enum class SectionFamily { Numbered, Keyed, Tabs, None };
enum class SectionFile { Wincmd, Wcxftp, None };

// The fixed catalogue of the file manager's history sections. Its order is the order
// of the row store, of loading and saving, and of every loop over all sections; the
// last entry, RootNode, is no INI section but the tree root's key and the store's end.
class cSectionsData
{
public:
    static constexpr int SectionsCount = 19;   // the highest index, not the number of entries

    static QString CommandLineHistory() { return QStringLiteral("Command line history"); }
    static QString Selection() { return QStringLiteral("Selection"); }
    static QString SearchName() { return QStringLiteral("SearchName"); }
    static QString SearchIn() { return QStringLiteral("SearchIn"); }
    static QString SearchText() { return QStringLiteral("SearchText"); }
    static QString Searches() { return QStringLiteral("Searches"); }
    static QString RenameTemplates() { return QStringLiteral("RenameTemplates"); }
    static QString RenameSearchFind() { return QStringLiteral("RenameSearchFind"); }
    static QString RenameSearchReplace() { return QStringLiteral("RenameSearchReplace"); }
    static QString Rename() { return QStringLiteral("Rename"); }
    static QString LeftTabs() { return QStringLiteral("LeftTabs"); }
    static QString RightTabs() { return QStringLiteral("RightTabs"); }
    static QString LeftHistory() { return QStringLiteral("LeftHistory"); }
    static QString RightHistory() { return QStringLiteral("RightHistory"); }
    static QString MkDirHistory() { return QStringLiteral("MkDirHistory"); }
    static QString SyncOptions() { return QStringLiteral("SyncOptions"); }
    static QString AttrPlugin() { return QStringLiteral("AttrPlugin"); }
    static QString SplitPerFile() { return QStringLiteral("SplitPerFile"); }
    static QString OldConnections() { return QStringLiteral("OldConnections"); }
    static QString RootNode() { return QStringLiteral("RootNode"); }

    // The name at an index 0..19; outside that range an empty string, and errorNumber
    // (when given) becomes errSubscriptOutOfRange.
    static QString SectionsList(int lngIndex, int *errorNumber = nullptr);
    // The index of the first entry equal to the name without regard to case; -1 and
    // errSubscriptOutOfRange for a name not in the catalogue.
    static int GetSectionIndex(const QString &strSectionName, int *errorNumber = nullptr);

    static SectionFamily familyOf(const QString &strSectionName);
    static SectionFile fileOf(const QString &strSectionName);

    // One node of the section tree, in the tree's display order (which differs from the
    // catalogue order).
    struct TreeNode
    {
        const char16_t *key;
        int textId;
        const char16_t *defaultText;
        const char16_t *imageKey;
    };
    static const TreeNode &RootTreeNode();
    static const std::array<TreeNode, 19> &TreeOrder();
    // A section's name as the tree shows it, in a sentence: without the ':' some end
    // in ("Search for"); the name itself for one the tree lacks.
    static QString Title(const QString &strSectionName, const LanguageSource &language);
};

} // namespace calvenor
