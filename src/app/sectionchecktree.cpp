#include "sectionchecktree.h"

#include "sectiontree.h"
#include "core/foldedkey.h"
#include "settings/csettings.h"

#include <QMouseEvent>

namespace calvenor {

SectionCheckTree::SectionCheckTree(QWidget *parent)
    : QTreeWidget(parent)
{
    setObjectName(QStringLiteral("TreeView1"));
    setHeaderHidden(true);
    connect(this, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem *item, int) {
        if (!m_applying)
            itemTicked(item);
    });
    // The sections stay in reach: the root reopens whenever it is closed.
    connect(this, &QTreeWidget::itemCollapsed, this, [](QTreeWidgetItem *item) {
        if (!item->parent())
            item->setExpanded(true);
    });
}

void SectionCheckTree::Build(const LanguageSource &language, const cSettings &settings, const QString &selectedKey)
{
    m_applying = true;
    clear();
    BuildSectionTree(*this, language, true);
    m_applying = false;
    QTreeWidgetItem *selected = FindSectionNode(*this, selectedKey);
    setCurrentItem(selected ? selected : topLevelItem(0));
    setFrameShape(settings.FixedBorders ? QFrame::StyledPanel : QFrame::NoFrame);
    setFrameShadow(settings.FlatUserInterface ? QFrame::Plain : QFrame::Sunken);
}

QList<QTreeWidgetItem *> SectionCheckTree::nodes() const
{
    QList<QTreeWidgetItem *> result;
    QTreeWidgetItem *root = topLevelItem(0);
    if (!root)
        return result;
    result.append(root);
    for (int i = 0; i < root->childCount(); ++i)
        result.append(root->child(i));
    return result;
}

int SectionCheckTree::NodeCount() const
{
    return int(nodes().size());
}

QList<bool> SectionCheckTree::CheckedPositions() const
{
    QList<bool> checked;
    for (const QTreeWidgetItem *node : nodes())
        checked.append(node->checkState(0) == Qt::Checked);
    return checked;
}

void SectionCheckTree::SetCheckedPositions(const QList<bool> &checked)
{
    // Restoring sets each mark as stored: the root's mark does not spread.
    m_applying = true;
    const QList<QTreeWidgetItem *> all = nodes();
    for (int i = 0; i < all.size(); ++i)
        all[i]->setCheckState(0, i < checked.size() && checked[i] ? Qt::Checked : Qt::Unchecked);
    m_applying = false;
    if (!all.isEmpty())
        setCurrentItem(all.first());
}

QStringList SectionCheckTree::CheckedSections() const
{
    QStringList keys;
    const QList<QTreeWidgetItem *> all = nodes();
    for (int i = 1; i < all.size(); ++i) {
        if (all[i]->checkState(0) == Qt::Checked)
            keys.append(all[i]->data(0, kSectionKeyRole).toString());
    }
    return keys;
}

bool SectionCheckTree::IsChecked(const QString &key) const
{
    const QTreeWidgetItem *node = FindSectionNode(*this, key);
    return node && node->checkState(0) == Qt::Checked;
}

void SectionCheckTree::SetChecked(const QString &key, bool checked)
{
    if (QTreeWidgetItem *node = FindSectionNode(*this, key))
        node->setCheckState(0, checked ? Qt::Checked : Qt::Unchecked);   // itemTicked follows
}

void SectionCheckTree::SetGreyed(const QString &key, bool greyed)
{
    if (QTreeWidgetItem *node = FindSectionNode(*this, key)) {
        const QBrush brush = greyed ? palette().brush(QPalette::Disabled, QPalette::Text) : QBrush();
        m_applying = true;
        node->setForeground(0, brush);
        m_applying = false;
    }
}

void SectionCheckTree::itemTicked(QTreeWidgetItem *item)
{
    m_applying = true;
    if (!item->parent()) {
        for (int i = 0; i < item->childCount(); ++i)
            item->child(i)->setCheckState(0, item->checkState(0));
    } else {
        item->parent()->setCheckState(0, Qt::Unchecked);
    }
    m_applying = false;
    emit ChecksChanged();
}

void SectionCheckTree::mouseReleaseEvent(QMouseEvent *event)
{
    QTreeWidget::mouseReleaseEvent(event);
    if (event->button() == Qt::MiddleButton)
        emit MiddleButtonReleased();
}

} // namespace calvenor
