#pragma once

#include <QIcon>
#include <QString>

class QTreeWidget;
class QTreeWidgetItem;

namespace calvenor {

class LanguageSource;

// The roles of a tree item's data: its key (the section name, or RootNode) and the key
// of its picture.
constexpr int kSectionKeyRole = Qt::UserRole;
constexpr int kSectionImageRole = Qt::UserRole + 1;

// The icon of an image key of the section tree ("root", "cmdline", "search", ...): the
// desktop theme's where it has one, else a plain one of the style.
QIcon SectionIcon(const QString &imageKey);

// Adds the root node (RootNode, expanded) and its nineteen section nodes in display
// order, with their language texts and icons. Neither clears the tree nor selects a
// node; checkable trees get check boxes on every node. Returns the root.
QTreeWidgetItem *BuildSectionTree(QTreeWidget &tree, const LanguageSource &language, bool checkable = false);

// The item of a key, or nullptr.
QTreeWidgetItem *FindSectionNode(const QTreeWidget &tree, const QString &key);

} // namespace calvenor
