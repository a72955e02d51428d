#pragma once

#include "app/frmmain.h"
#include "app/programcontext.h"
#include "platform/filemanagerprocess.h"
#include "support/scriptedperson.h"
#include "support/testenvironment.h"
#include "transfer/filemanagerrestarter.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <QtTest>
#include <QTreeWidget>

#include <functional>

namespace calvenor::test {

inline const QByteArray kWincmd =
    "[Command line history]\r\n0=cmd\r\n1=git status\r\n"
    "[LeftHistory]\r\n0=c:\\a\\\r\n1=c:\\b\\\r\n"
    "[MkDirHistory]\r\n"
    "[Searches]\r\nImages_SearchFor=*.png\r\n"
    "[LeftTabs]\r\n0_path=C:\\\r\n1_path=D:\\\r\nActiveTab=0\r\n[Left]\r\npath=E:\\\r\n";

// The window on a pair of files in a private folder, driven by object names.
struct Fixture
{
    explicit Fixture(const QByteArray &settings = QByteArray())
        : appFolder(makeAppFolder(env, settings))
        , context(person, appFolder)
        , restarter(context.paths, context.settings, process)
        , window(context, person, restarter)
    {
        wincmd = env.writeFile("tc/wincmd.ini", kWincmd);
        wcxftp = env.writeFile("tc/wcx_ftp.ini", "[OldConnections]\r\n0=ftp\r\n");
        window.OpenIniFiles(wincmd, wcxftp);
    }
    static QString makeAppFolder(const TestEnvironment &env, const QByteArray &settings)
    {
        env.writeFile("app/vantrel editors.ini", "[Calvenor]\r\n" + settings);
        return env.path("app") + u'/';
    }
    QAction *item(const char *name) const { return window.findChild<QAction *>(QString::fromLatin1(name)); }
    void select(const QString &section)
    {
        auto *tree = window.findChild<QTreeWidget *>(QStringLiteral("TreeView1"));
        const QList<QTreeWidgetItem *> found = tree->findItems(QStringLiteral("*"), Qt::MatchWildcard | Qt::MatchRecursive);
        for (QTreeWidgetItem *node : found) {
            if (node->data(0, Qt::UserRole).toString() == section)
                tree->setCurrentItem(node);
        }
    }

    TestEnvironment env;
    ScriptedPerson person;
    QString appFolder;
    ProgramContext context;
    FileManagerProcess process;
    FileManagerRestarter restarter;
    frmMain window;
    QString wincmd;
    QString wcxftp;
};


// Acts on the modal dialog of that object name as soon as it shows (checked from its
// own event loop); warns and gives up when none shows within two seconds.
template<typename Dialog>
void WhenDialogOpens(const char *name, std::function<void(Dialog *)> act, int triesLeft = 200)
{
    QTimer::singleShot(10, [name, act, triesLeft] {
        auto *dialog = qobject_cast<Dialog *>(QApplication::activeModalWidget());
        if (dialog && dialog->objectName() == QLatin1String(name) && dialog->isVisible()) {
            act(dialog);
            // A check that failed inside returned early: the dialog must not wait for
            // a click that never comes.
            if (QTest::currentTestFailed() && dialog->isVisible())
                dialog->reject();
            return;
        }
        if (triesLeft > 0)
            WhenDialogOpens<Dialog>(name, act, triesLeft - 1);
        else
            qWarning("expected dialog %s did not open", name);
    });
}

} // namespace calvenor::test
