#pragma once

#include <QList>
#include <QStringList>
#include <QTreeWidget>

namespace calvenor {

class LanguageSource;
class cSettings;

// The section tree with a check box on every node, as the import/export and delete-all
// dialogs show it: ticking the root ticks every section, ticking a section unticks the
// root, and the root never collapses. Node positions count the root as 0.
class SectionCheckTree : public QTreeWidget
{
    Q_OBJECT
public:
    explicit SectionCheckTree(QWidget *parent = nullptr);

    // Builds the nodes afresh and selects the node of the key (the root when unknown);
    // borders and look from the settings.
    void Build(const LanguageSource &language, const cSettings &settings, const QString &selectedKey);

    QList<bool> CheckedPositions() const;
    void SetCheckedPositions(const QList<bool> &checked);   // then selects the root
    int NodeCount() const;
    // The keys of the ticked section nodes, in tree order (the root never counts).
    QStringList CheckedSections() const;
    bool IsChecked(const QString &key) const;
    // Ticks a node as a person would, with the root rule.
    void SetChecked(const QString &key, bool checked);
    // Draws a section node's text in the disabled text colour.
    void SetGreyed(const QString &key, bool greyed);

signals:
    // A tick changed, by the person or by SetChecked (not by SetCheckedPositions).
    void ChecksChanged();
    void MiddleButtonReleased();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void itemTicked(QTreeWidgetItem *item);
    QList<QTreeWidgetItem *> nodes() const;   // the root, then its sections

    bool m_applying = false;
};

} // namespace calvenor
