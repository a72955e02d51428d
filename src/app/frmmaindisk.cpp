// The main window and the files on disk: another program writing them, and the
// file manager running.
#include "frmmain.h"

#include "diskwatch.h"
#include "programcontext.h"
#include "platform/filemanagerprocess.h"

#include <QApplication>
#include <QFrame>
#include <QPointer>
#include <QStatusBar>
#include <QThreadPool>

namespace calvenor {

void frmMain::pollFileManager()
{
    QPointer<frmMain> window(this);
    QThreadPool::globalInstance()->start([window] {
        const bool running = !FileManagerProcess::findRunning().isEmpty();
        QMetaObject::invokeMethod(
            qApp, [window, running] {
                if (window)
                    window->ShowFileManagerRunning(running);
            },
            Qt::QueuedConnection);
    });
}

void frmMain::ShowFileManagerRunning(bool running)
{
    m_runningBar->setVisible(running);
}

bool frmMain::FilesChangedOnDisk(bool beforeSave)
{
    const QStringList changed = m_disk->ChangedFiles();
    if (changed.isEmpty())
        return true;
    const cLanguage &language = m_context.language;
    // Nothing of the person's would be lost: the files are simply read again.
    if (!mblnSavePending && !beforeSave) {
        reloadFiles();
        statusBar()->showMessage(language.GetLanguageString(3312) + u' ' + changed.join(QStringLiteral(", ")));
        return false;
    }
    const QString question = language.GetLanguageString(3311) + u'\n' + changed.join(u'\n') + QStringLiteral("\n\n")
        + language.GetLanguageString(3314) + u'\n' + language.GetLanguageString(3315) + u'\n'
        + language.GetLanguageString(3316);
    const MessageAnswer answer =
        m_person.ShowMessage(question, MessageIcon::Warning, MessageButtons::YesNoCancel, MessageAnswer::Cancel);
    if (answer == MessageAnswer::Yes) {
        // Loading again drops the edits: asked once more.
        if (m_person.ShowMessage(language.GetLanguageString(3009), MessageIcon::Question, MessageButtons::YesNo,
                                 MessageAnswer::No) == MessageAnswer::Yes)
            reloadFiles();
        return false;
    }
    if (answer == MessageAnswer::No) {
        m_disk->Accept();   // the edits go over the file when saved
        return true;
    }
    return false;
}

void frmMain::reloadFiles()
{
    const QString shown = selectedSection();
    OpenIniFiles(m_wincmd, m_wcxftp, false);
    SelectTreeNode(shown);
    refreshSelectedSection();
}

} // namespace calvenor
