#pragma once

#include <QList>
#include <QString>

namespace calvenor {

// One child node of the section tree's root, as the history list's overview lists them.
struct SectionTreeNode
{
    QString key;        // the section name
    QString text;       // its display name
    QString imageKey;
};

// What the history list asks of the window that holds it: the state of its buttons and
// its section tree. Tests implement it with a recording fake.
class HistoryListHost
{
public:
    virtual ~HistoryListHost() = default;
    virtual void SetUpDownButtonsState(bool enabled) = 0;
    virtual void SetButtonsState(const QString &section) = 0;
    virtual void SelectTreeNode(const QString &key) = 0;
    // The root node's children in tree order.
    virtual QList<SectionTreeNode> RootChildren() const = 0;
};

} // namespace calvenor
