// Renders the main window on a pair of INI files to a PNG without a screen (run it with
// QT_QPA_PLATFORM=offscreen):
//   calvenor_screenshot wincmd.ini wcx_ftp.ini out.png [section [language file [rtl]]]

#include "app/frmmain.h"
#include "app/programcontext.h"
#include "app/qtperson.h"
#include "editor/historylist.h"
#include "platform/filemanagerprocess.h"
#include "transfer/filemanagerrestarter.h"

#include <QApplication>
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
    QtPerson person;
    ProgramContext context(person, QCoreApplication::applicationDirPath());
    FileManagerProcess process;
    FileManagerRestarter restarter(context.paths, context.settings, process);
    frmMain window(context, person, restarter);
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
    QCoreApplication::processEvents();
    if (!window.grab().save(arguments[3])) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(arguments[3]));
        return 1;
    }
    return 0;
}
