#pragma once

#include "ccommondialog.h"
#include "core/cprofile.h"
#include "core/languagesource.h"
#include "core/pathmacros.h"
#include "core/personinterface.h"
#include "platform/cregistry.h"

#include <QString>

namespace calvenor {

class cSettings;

// Teaches the path macros the folders Wine records for the prefix (APPDATA,
// LOCALAPPDATA, USERPROFILE, windir, ...) for references the environment lacks.
void LearnWineFolders(PathMacros &paths);

// Finds the file manager's installation folder, wincmd.ini and wcx_ftp.ini without
// asking: its environment variables, its registry values (ours, then the Wine prefix's,
// including a 32-bit installation's Wow6432Node), then the user's own choice in the
// settings. Only when all of them fail does it ask the person for the file, and a
// cancelled question leaves the editor on a placeholder file in the temporary folder.
class FileManagerLocator
{
public:
    FileManagerLocator(PathMacros &paths, cRegistry &registry, cSettings &settings, cProfile &profile,
                       PersonInterface &person, const LanguageSource &language, cCommonDialog &dialog);

    // The free LearnWineFolders for this locator's path macros.
    void LearnWineFolders();

    QString GetFileManagerFolder();   // becomes gstrTCInstallDir
    QString FindWincmdIni();          // becomes gstrWincmdPath
    QString FindWcxftpIni();          // becomes gstrWcxftpPath
    // Resolves an IniFileName or FtpIniName value; true and target set when the file exists.
    bool ResolveRegistryPath(const QString &value, QString &target) const;

private:
    QString readTotalCommander(const QString &valueName, bool currentUser) const;
    QString windowsFolder() const;
    // The registry value, then the user's setting; empty when neither names a file.
    QString findWithoutAsking(const QString &registryValue, const QString &settingKey) const;
    QString askForFile(int messageId, const QString &proposedName, const QString &settingKey);

    PathMacros &m_paths;
    cRegistry &m_registry;
    cSettings &m_settings;
    cProfile &m_profile;
    PersonInterface &m_person;
    const LanguageSource &m_language;
    cCommonDialog &m_dialog;
};

} // namespace calvenor
