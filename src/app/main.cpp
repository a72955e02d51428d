#include "placeholderwindow.h"

#include <QApplication>
#include <QFileInfo>
#include <QProcessEnvironment>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Calvenor"));
    QApplication::setApplicationVersion(QStringLiteral(CALVENOR_VERSION));

    // Until the file locating exists, the editor opens the wincmd.ini named by
    // Commander_INI and the wcx_ftp.ini beside it.
    const QString wincmd = QProcessEnvironment::systemEnvironment().value(QStringLiteral("Commander_INI"));
    const QString wcxftp = QFileInfo(wincmd).absolutePath() + QStringLiteral("/wcx_ftp.ini");
    calvenor::PlaceholderWindow window(wincmd, wcxftp);
    window.show();
    return app.exec();
}
