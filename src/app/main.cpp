#include "placeholderwindow.h"
#include "programcontext.h"
#include "qtperson.h"
#include "titlebar.h"

#include "platform/filemanagerprocess.h"
#include "transfer/batchjob.h"
#include "transfer/filemanagerrestarter.h"
#include "transfer/standarderrorperson.h"

#include <QApplication>
#include <QCoreApplication>

#include <memory>

using namespace calvenor;

namespace {

void nameApplication()
{
    QCoreApplication::setApplicationName(QStringLiteral("Calvenor"));
    QCoreApplication::setApplicationVersion(QStringLiteral(CALVENOR_VERSION));
}

// Any argument runs the batch job: no window, no display needed.
int runBatch(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    nameApplication();
    StandardErrorPerson person;
    ProgramContext context(person, QCoreApplication::applicationDirPath());
    FileManagerProcess process;
    FileManagerRestarter restarter(context.paths, context.settings, process);
    restarter.setReporter([&person](const QString &text) { person.ShowMessage(text, MessageIcon::Warning); });
    BatchJob job(context.profile, context.paths, context.settings, context.locator, restarter, person, context.language);
    return job.RunCommandLineBatch(QCoreApplication::arguments().mid(1));
}

int runWindow(int argc, char *argv[])
{
    QApplication app(argc, argv);
    nameApplication();
    QtPerson person;
    ProgramContext context(person, QCoreApplication::applicationDirPath());
    const QString wincmd = context.locator.FindWincmdIni();
    const QString wcxftp = context.locator.FindWcxftpIni();
    const QStringList version = QStringLiteral(CALVENOR_VERSION).split(u'.');
    const QString separator = context.settings.RecentFilesSeparator;
    const QString caption = TitleBarCaption(wincmd + separator + wcxftp, QString(), QApplication::applicationName(),
                                            VersionText(version.value(0).toInt(), version.value(1).toInt(),
                                                        version.value(2).toInt()),
                                            context.settings.FullPathInTitleBar, separator);
    PlaceholderWindow window(context.profile, wincmd, wcxftp, caption);
    person.setOwner(&window);
    window.show();
    const int status = app.exec();
    context.settings.SaveWindowSettings();
    context.settings.SaveLayoutSettings();
    return status;
}

} // namespace

int main(int argc, char *argv[])
{
    return argc > 1 ? runBatch(argc, argv) : runWindow(argc, argv);
}
