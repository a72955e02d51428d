// Renders the main window on a pair of INI files to a PNG without a screen (run it with
// QT_QPA_PLATFORM=offscreen):
//   calvenor_screenshot wincmd.ini wcx_ftp.ini out.png [section [language file [rtl]]]
// With CALVENOR_SHOT_MENU naming a menu item (mnuViewOptions, say) the picture is of
// the dialog that item opens (on the page CALVENOR_SHOT_PAGE names, picOptions_3 say,
// when it has pages); with CALVENOR_SHOT_DEFAULT_SIZE the window keeps its first size;
// with CALVENOR_SHOT_DELETE=n the shown section's first n entries are deleted first, so
// a command that needs pending changes has some.

#include "app/frmmain.h"
#include "app/programcontext.h"
#include "app/qtperson.h"
#include "editor/historylist.h"
#include "platform/filemanagerprocess.h"
#include "transfer/filemanagerrestarter.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QTabWidget>
#include <QTimer>
#include <QTreeWidget>

#include <cstdio>

using namespace calvenor;

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() < 4) {
        std::fputs("usage: calvenor_screenshot wincmd.ini wcx_ftp.ini out.png [section]\n", stderr);
        return 2;
    }
    QCoreApplication::setApplicationName(QStringLiteral("Calvenor"));
    QCoreApplication::setApplicationVersion(QStringLiteral(CALVENOR_VERSION));
    QtPerson person;
    ProgramContext context(person, QCoreApplication::applicationDirPath());
    FileManagerProcess process;
    FileManagerRestarter restarter(context.paths, context.settings, process);
    frmMain window(context, person, restarter);
    // The README's picture is a little larger than the window's first size; with
    // CALVENOR_SHOT_DEFAULT_SIZE set the window keeps the size it opens with.
    if (qEnvironmentVariableIsEmpty("CALVENOR_SHOT_DEFAULT_SIZE"))
        window.resize(900, 560);
    window.show();
    window.OpenIniFiles(arguments[1], arguments[2]);
    if (arguments.size() > 5) {
        context.settings.UseDefaultLanguage = false;
        context.settings.LanguageFile = arguments[5];
        window.ApplyLanguage();
    }
    if (arguments.size() > 6 && arguments[6] == u"rtl")
        window.setLayoutDirection(Qt::RightToLeft);
    if (arguments.size() > 4) {
        window.SelectTreeNode(arguments[4]);
        window.historyList().ShowSelectedSection(arguments[4], true);
        window.SetButtonsState(arguments[4]);
    }
    for (int n = qEnvironmentVariableIntValue("CALVENOR_SHOT_DELETE"); n > 0; --n) {
        window.historyList().ClickRow(0);
        window.run(Command::Delete);
    }
    QCoreApplication::processEvents();
    const QString menuItem = qEnvironmentVariable("CALVENOR_SHOT_MENU");
    if (!menuItem.isEmpty()) {
        auto *item = window.findChild<QAction *>(menuItem);
        if (!item) {
            std::fprintf(stderr, "no menu item %s\n", qPrintable(menuItem));
            return 2;
        }
        bool saved = false;
        auto grabDialog = [&] {
            QWidget *dialog = QApplication::activeModalWidget();
            if (!dialog)
                dialog = QApplication::activeWindow() != &window ? QApplication::activeWindow() : nullptr;
            if (!dialog)
                dialog = window.findChild<QDialog *>(QStringLiteral("frmSearchFor"));
            if (dialog) {
                if (auto *page = dialog->findChild<QWidget *>(qEnvironmentVariable("CALVENOR_SHOT_PAGE"))) {
                    if (auto *tabs = dialog->findChild<QTabWidget *>())
                        tabs->setCurrentWidget(page);
                }
                QCoreApplication::processEvents();
                saved = dialog->grab().save(arguments[3]);
                dialog->close();
            }
        };
        QTimer::singleShot(200, grabDialog);
        item->trigger();
        window.SetSaveButtonState(false);   // the deleted entries are not asked about
        if (!QApplication::activeModalWidget())   // a modeless dialog: grab it now
            QTimer::singleShot(300, &app, &QCoreApplication::quit), app.exec();
        return saved ? 0 : 1;
    }
    if (!window.grab().save(arguments[3])) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(arguments[3]));
        return 1;
    }
    return 0;
}
