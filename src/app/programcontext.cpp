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
    TellOfSettingsFallback(person);
    // The INI engine exists before the settings file is known; it learns the list now.
    profile.ReadNotRedirectedSections(settings.SettingsFile());
    locator.LearnWineFolders();
    settings.LoadSettings(&locator);
    const QString installDir = paths.TCInstallDir() == paths.MissingValueMarker() ? QString() : paths.TCInstallDir();
    dialog.Setup(paths.nativePath(installDir));
}

void ProgramContext::TellOfSettingsFallback(PersonInterface &person)
{
    const QString &unwritable = settings.UnwritableSettingsFile();
    if (unwritable.isEmpty())
        return;
    // Once: the registry remembers the file the person was told about.
    const QString key = QStringLiteral("HKEY_CURRENT_USER\\Software\\VantrelEditors\\Calvenor");
    const QString value = QStringLiteral("SettingsFallbackToldFor");
    if (registry.ReadValue(key, value) == unwritable)
        return;
    person.ShowMessage(QStringLiteral("The settings file cannot be written: %1\nThe settings are kept in %2 instead.")
                           .arg(unwritable, settings.SettingsFile()),
                       MessageIcon::Warning);
    registry.WriteValue(key, value, unwritable, cRegistry::TextValue);
}

} // namespace calvenor
