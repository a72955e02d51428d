#include "placeholderwindow.h"
#include "qtperson.h"
#include "titlebar.h"

#include "core/missingvaluemarker.h"
#include "settings/ccommondialog.h"
#include "settings/clanguage.h"
#include "settings/csettings.h"
#include "settings/filemanagerlocator.h"

#include <QApplication>
#include <QProcessEnvironment>

#include <cstdio>

using namespace calvenor;

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Calvenor"));
    QApplication::setApplicationVersion(QStringLiteral(CALVENOR_VERSION));
    if (argc > 1) {
        std::fputs("The command-line batch job is not part of this version yet.\n", stderr);
        return 2;
    }

    const QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    PathMacros paths(makeMissingValueMarker(), AddBackslash(QCoreApplication::applicationDirPath()), environment);
    cRegistry registry(paths.MissingValueMarker(), cRegistry::defaultStoreFile(), paths.winePrefix().folder());
    cProfile profile(paths, QString());
    cSettings settings(profile, paths, registry);
    settings.LocateSettingsFile();
    profile.ReadNotRedirectedSections(settings.SettingsFile());

    QtPerson person;
    cLanguage language(profile, settings);
    cCommonDialog dialog(person, language, &registry);
    FileManagerLocator locator(paths, registry, settings, profile, person, language, dialog);
    locator.LearnWineFolders();
    settings.LoadSettings(&locator);
    dialog.Setup(paths.nativePath(paths.TCInstallDir()));

    const QString wincmd = locator.FindWincmdIni();
    const QString wcxftp = locator.FindWcxftpIni();
    const QStringList version = QStringLiteral(CALVENOR_VERSION).split(u'.');
    const QString caption = TitleBarCaption(wincmd + settings.RecentFilesSeparator + wcxftp, QString(),
                                            QApplication::applicationName(),
                                            VersionText(version.value(0).toInt(), version.value(1).toInt(),
                                                        version.value(2).toInt()),
                                            settings.FullPathInTitleBar, settings.RecentFilesSeparator);
    PlaceholderWindow window(profile, wincmd, wcxftp, caption);
    person.setOwner(&window);
    window.show();
    return app.exec();
}
