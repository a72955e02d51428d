#include "frmmain.h"
#include "programcontext.h"
#include "qtperson.h"

#include "platform/filemanagerprocess.h"
#include "transfer/batchjob.h"
#include "transfer/filemanagerrestarter.h"
#include "transfer/standarderrorperson.h"

#include <QApplication>
#include <QCoreApplication>
#include <QEventLoop>
#include <QIcon>
#include <QTimer>

#include <cstdio>

#include <memory>

using namespace calvenor;

namespace {

void nameApplication()
{
    QCoreApplication::setApplicationName(QStringLiteral("Calvenor"));
    QCoreApplication::setApplicationVersion(QStringLiteral(CALVENOR_VERSION));
}

// The desktop matches the window to its desktop entry by this name (on Wayland it has no
// other way); the icon is the entry's own, from the theme once installed.
void joinTheDesktop()
{
    QGuiApplication::setDesktopFileName(QStringLiteral(CALVENOR_APP_ID));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral(CALVENOR_APP_ID),
                                                 QIcon(QStringLiteral(":/icons/" CALVENOR_APP_ID ".svg"))));
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

// A window needs a display; without one, say so and point to the batch job instead of
// letting the toolkit abort.
bool hasDisplay()
{
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
        || !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

int runWindow(int argc, char *argv[])
{
    if (!hasDisplay()) {
        std::fputs("calvenor: the editor needs a display (none is set: DISPLAY, WAYLAND_DISPLAY); "
                   "to clear history without one, run the batch job, e.g. calvenor /s=all /b=backup.txt "
                   "(calvenor --help lists the options)\n",
                   stderr);
        return 1;
    }
    QApplication app(argc, argv);
    nameApplication();
    joinTheDesktop();
    QtPerson person;
    ProgramContext context(person, QCoreApplication::applicationDirPath());
    FileManagerProcess process;
    FileManagerRestarter restarter(context.paths, context.settings, process);
    restarter.setReporter([&person](const QString &text) { person.ShowMessage(text, MessageIcon::Warning); });
    // The waits around a restart keep the window painting.
    restarter.setSleeper([](std::chrono::milliseconds wait) {
        QEventLoop loop;
        QTimer::singleShot(wait, &loop, &QEventLoop::quit);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    });
    frmMain window(context, person, restarter);
    person.setOwner(&window);
    window.show();
    window.OpenLocatedFiles();
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
