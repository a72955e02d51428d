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
    // The buttons say what they do: load again, keep my changes, decide later.
    const QString question = language.GetLanguageString(3311) + u'\n' + changed.join(u'\n');
    const ButtonTexts buttons {language.GetLanguageString(3332), language.GetLanguageString(3333),
                               language.GetLanguageString(3334)};
    const MessageAnswer answer = m_person.ShowChoice(question, MessageIcon::Warning, buttons, MessageAnswer::Cancel);
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
