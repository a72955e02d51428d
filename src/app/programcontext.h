#pragma once

#include "core/cprofile.h"
#include "core/pathmacros.h"
#include "core/personinterface.h"
#include "platform/cregistry.h"
#include "settings/ccommondialog.h"
#include "settings/clanguage.h"
#include "settings/csettings.h"
#include "settings/filemanagerlocator.h"
#include "settings/qttranslations.h"

namespace calvenor {

// The services every run of the program sets up first, in the order start-up needs
// them: the path rules and the marker, the registry, the INI engine, the settings file
// and its keys, the language, the common dialogs and the file manager's locations;
// and Qt's own texts, which the window puts in the language in use.
class ProgramContext
{
public:
    ProgramContext(PersonInterface &person, const QString &appFolder,
                   const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment());

    PathMacros paths;
    cRegistry registry;
    cProfile profile;
    cSettings settings;
    cLanguage language;
    cCommonDialog dialog;
    FileManagerLocator locator;
    QtTranslations qtTranslations;

private:
    // A recorded settings file that cannot be written is replaced by one in the XDG
    // config folder (cSettings); the person hears of it the first time.
    void TellOfSettingsFallback(PersonInterface &person);
};

} // namespace calvenor
