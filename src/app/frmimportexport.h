#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QPushButton;

namespace calvenor {

class PersonInterface;
class ProgramContext;
class ProgressHost;
class SectionCheckTree;
class SectionTransfer;
class HistoryList;
class cRecentFiles;

// Import or export of whole sections: the person ticks sections in the tree (last
// time's ticks come back, kept apart for import and export), names the other pair of
// INI files, and the transfer runs with the progress window. Export changes nothing in
// the editor; import replaces the ticked sections and flags them for saving.
class frmImportExport : public QDialog
{
    Q_OBJECT
public:
    frmImportExport(bool isExport, ProgramContext &context, PersonInterface &person, HistoryList &list,
                    const cRecentFiles &recent, ProgressHost &progress, const QString &selectedKey,
                    QWidget *parent = nullptr);
    ~frmImportExport() override;

    // True after an import replaced sections (the document is then modified).
    bool Imported() const { return m_imported; }
    SectionCheckTree *tree() const { return m_tree; }

    // The pair last confirmed from this dialog, kept while the program runs.
    static QString &RememberedWincmd();
    static QString &RememberedWcxftp();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void UpdateImportExportButtons();
    void greyEmptySections();
    void okClicked();
    QString selectionKey() const;

    const bool mblnFormIsExport;
    ProgramContext &m_context;
    PersonInterface &m_person;
    HistoryList &m_list;
    const cRecentFiles &m_recent;
    ProgressHost &m_progress;
    SectionCheckTree *m_tree;
    QPushButton *m_ok;
    bool m_imported = false;
};

} // namespace calvenor
