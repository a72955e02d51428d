#include "sectiontree.h"

#include "core/csectionsdata.h"
#include "core/foldedkey.h"
#include "core/languagesource.h"

#include <QApplication>
#include <QHash>
#include <QStyle>
#include <QTreeWidget>

namespace calvenor {

QIcon SectionIcon(const QString &imageKey)
{
    // Theme names that say what each list holds; our own pictures where no theme name
    // says it (the tabs of a panel) or the theme lacks one, the style's own as the last
    // stand-in. Every list's picture differs from the others and from the toolbar's.
    struct Picture
    {
        QString theme;
        QString own;
        QStyle::StandardPixmap style;
    };
    static const QHash<QString, Picture> icons = {
        {QStringLiteral("root"), {QStringLiteral("document-open-recent"), QString(), QStyle::SP_DriveHDIcon}},
        {QStringLiteral("cmdline"), {QStringLiteral("utilities-terminal"), QString(), QStyle::SP_ComputerIcon}},
        {QStringLiteral("selection"), {QStringLiteral("edit-select-all"), QString(), QStyle::SP_FileDialogListView}},
        {QStringLiteral("search"), {QStringLiteral("edit-find"), QString(), QStyle::SP_FileDialogContentsView}},
        {QStringLiteral("rename"), {QStringLiteral("edit-rename"), QString(), QStyle::SP_FileDialogDetailedView}},
        {QStringLiteral("left"), {QString(), QStringLiteral(":/pictures/lefttabs.svg"), QStyle::SP_ArrowLeft}},
        {QStringLiteral("right"), {QString(), QStringLiteral(":/pictures/righttabs.svg"), QStyle::SP_ArrowRight}},
        {QStringLiteral("righthistory"), {QStringLiteral("folder"), QString(), QStyle::SP_DirIcon}},
        {QStringLiteral("mkdirhistory"), {QStringLiteral("folder-new"), QString(), QStyle::SP_FileDialogNewFolder}},
        {QStringLiteral("syncoptions"), {QStringLiteral("view-refresh"), QString(), QStyle::SP_BrowserReload}},
        {QStringLiteral("attrplugin"), {QStringLiteral("document-properties"), QString(), QStyle::SP_FileDialogInfoView}},
        {QStringLiteral("splitperfile"), {QStringLiteral("edit-cut"), QStringLiteral(":/pictures/splitsizes.svg"), QStyle::SP_FileIcon}},
        {QStringLiteral("oldconnections"), {QStringLiteral("network-server"), QString(), QStyle::SP_DriveNetIcon}},
    };
    // Looking an icon up in the theme costs far more than drawing it; rows ask on every paint.
    static QHash<QString, QIcon> made;
    const auto known = made.constFind(imageKey);
    if (known != made.cend())
        return *known;
    const auto it = icons.constFind(imageKey);
    QIcon icon;
    if (it != icons.cend()) {
        const QIcon fallback = it->own.isEmpty() ? QApplication::style()->standardIcon(it->style) : QIcon(it->own);
        icon = it->theme.isEmpty() ? fallback : QIcon::fromTheme(it->theme, fallback);
    }
    made.insert(imageKey, icon);
    return icon;
}

QTreeWidgetItem *BuildSectionTree(QTreeWidget &tree, const LanguageSource &language, bool checkable)
{
    auto makeNode = [&](QTreeWidgetItem *item, const cSectionsData::TreeNode &node) {
        const QString key = QString::fromUtf16(node.key);
        item->setData(0, kSectionKeyRole, key);
        item->setData(0, kSectionImageRole, QString::fromUtf16(node.imageKey));
        item->setText(0, language.GetLanguageString(node.textId));
        item->setIcon(0, SectionIcon(QString::fromUtf16(node.imageKey)));
        if (checkable) {
            item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
            item->setCheckState(0, Qt::Unchecked);
        }
    };
    auto *root = new QTreeWidgetItem(&tree);
    makeNode(root, cSectionsData::RootTreeNode());
    for (const cSectionsData::TreeNode &node : cSectionsData::TreeOrder())
        makeNode(new QTreeWidgetItem(root), node);
    root->setExpanded(true);
    return root;
}

QTreeWidgetItem *FindSectionNode(const QTreeWidget &tree, const QString &key)
{
    for (int i = 0; i < tree.topLevelItemCount(); ++i) {
        QTreeWidgetItem *root = tree.topLevelItem(i);
        if (FoldedKey::equalIgnoringCase(root->data(0, kSectionKeyRole).toString(), key))
            return root;
        for (int j = 0; j < root->childCount(); ++j) {
            if (FoldedKey::equalIgnoringCase(root->child(j)->data(0, kSectionKeyRole).toString(), key))
                return root->child(j);
        }
    }
    return nullptr;
}

} // namespace calvenor
