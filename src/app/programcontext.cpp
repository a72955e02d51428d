#include "programcontext.h"

#include "core/missingvaluemarker.h"

namespace calvenor {

ProgramContext::ProgramContext(PersonInterface &person, const QString &appFolder,
                               const QProcessEnvironment &environment)
    : paths(makeMissingValueMarker(), AddBackslash(appFolder), environment)
    , registry(paths.MissingValueMarker(), cRegistry::defaultStoreFile(), paths.winePrefix().folder())
    , profile(paths, QString())
    , settings(profile, paths, registry)
    , language(profile, settings)
    , dialog(person, language, &registry)
    , locator(paths, registry, settings, profile, person, language, dialog)
{
    settings.LocateSettingsFile();
    // The INI engine exists before the settings file is known; it learns the list now.
    profile.ReadNotRedirectedSections(settings.SettingsFile());
    locator.LearnWineFolders();
    settings.LoadSettings(&locator);
    const QString installDir = paths.TCInstallDir() == paths.MissingValueMarker() ? QString() : paths.TCInstallDir();
    dialog.Setup(paths.nativePath(installDir));
}

} // namespace calvenor
