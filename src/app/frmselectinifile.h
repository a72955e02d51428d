#pragma once

#include <QDialog>

class QComboBox;
class QPushButton;

namespace calvenor {

class PersonInterface;
class ProgramContext;
class cRecentFiles;

// The small dialog in which the person names a pair of INI files (a wincmd.ini and a
// wcx_ftp.ini), for Open and for import and export. It only collects two paths: the
// callers check and open them. The drop-down lists hold the recent pairs, equal
// positions belonging to one pair.
class frmSelectIniFile : public QDialog
{
    Q_OBJECT
public:
    frmSelectIniFile(ProgramContext &context, PersonInterface &person, const cRecentFiles &recent,
                     QWidget *parent = nullptr);

    void SetPaths(const QString &wincmd, const QString &wcxftp);
    // The texts as confirmed, without blanks at either end.
    QString Wincmd() const;
    QString Wcxftp() const;

    bool mblnOKPressed = false;
    // The pair is a target that need not exist yet: browsing accepts new names.
    bool mblnExport = false;

private:
    void browse(QComboBox *field, int filter);
    void updateOk();

    ProgramContext &m_context;
    QComboBox *m_wincmd;
    QComboBox *m_wcxftp;
    QPushButton *m_ok;
};

} // namespace calvenor
