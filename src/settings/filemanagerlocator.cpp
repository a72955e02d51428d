#include "filemanagerlocator.h"

#include "csettings.h"
#include "platform/atomicfile.h"
#include "platform/wineregistryfile.h"

namespace calvenor {
namespace {

const QString kUserKey = QStringLiteral("HKEY_CURRENT_USER\\Software\\Ghisler\\Total Commander");
const QString kMachineKey = QStringLiteral("HKEY_LOCAL_MACHINE\\Software\\Ghisler\\Total Commander");
const QString kMachineKey32 = QStringLiteral("HKEY_LOCAL_MACHINE\\Software\\Wow6432Node\\Ghisler\\Total Commander");

// A file that exists and can be opened as one. A folder, pipe or device is refused at
// once, with a message, and counts as absent: reading a pipe would block for ever.
bool isUsableFile(const PathMacros &paths, PersonInterface &person, const QString &path)
{
    if (!paths.FileExists(path))
        return false;
    if (!isNonRegularFile(paths.nativePath(path)))
        return true;
    person.ShowMessage(QStringLiteral("Not a regular file: ") + path, MessageIcon::Error);
    return false;
}

} // namespace

FileManagerLocator::FileManagerLocator(PathMacros &paths, cRegistry &registry, cSettings &settings, cProfile &profile,
                                       PersonInterface &person, const LanguageSource &language, cCommonDialog &dialog)
    : m_paths(paths)
    , m_registry(registry)
    , m_settings(settings)
    , m_profile(profile)
    , m_person(person)
    , m_language(language)
    , m_dialog(dialog)
{
}

void FileManagerLocator::LearnWineFolders()
{
    calvenor::LearnWineFolders(m_paths);
}

void LearnWineFolders(PathMacros &paths)
{
    const QString prefix = paths.winePrefix().folder();
    // The names Windows programs expect, and where Wine keeps their values.
    const struct {
        const char16_t *variable;
        const char16_t *root;
        const char16_t *key;
        const char16_t *value;
    } sources[] = {
        {u"APPDATA", u"HKEY_CURRENT_USER", u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", u"AppData"},
        {u"LOCALAPPDATA", u"HKEY_CURRENT_USER", u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", u"Local AppData"},
        {u"APPDATA", u"HKEY_CURRENT_USER", u"Volatile Environment", u"APPDATA"},
        {u"LOCALAPPDATA", u"HKEY_CURRENT_USER", u"Volatile Environment", u"LOCALAPPDATA"},
        {u"USERPROFILE", u"HKEY_CURRENT_USER", u"Volatile Environment", u"USERPROFILE"},
        {u"HOMEDRIVE", u"HKEY_CURRENT_USER", u"Volatile Environment", u"HOMEDRIVE"},
        {u"HOMEPATH", u"HKEY_CURRENT_USER", u"Volatile Environment", u"HOMEPATH"},
        {u"TEMP", u"HKEY_CURRENT_USER", u"Environment", u"TEMP"},
        {u"TMP", u"HKEY_CURRENT_USER", u"Environment", u"TMP"},
        {u"windir", u"HKEY_LOCAL_MACHINE", u"System\\CurrentControlSet\\Control\\Session Manager\\Environment", u"windir"},
        {u"ProgramData", u"HKEY_LOCAL_MACHINE", u"System\\CurrentControlSet\\Control\\Session Manager\\Environment", u"ProgramData"},
        {u"ProgramFiles", u"HKEY_LOCAL_MACHINE", u"Software\\Microsoft\\Windows\\CurrentVersion", u"ProgramFilesDir"},
        {u"SystemRoot", u"HKEY_LOCAL_MACHINE", u"Software\\Microsoft\\Windows NT\\CurrentVersion", u"SystemRoot"},
    };
    const cRegistry wine(paths.MissingValueMarker(), QString(), prefix);
    for (const auto &source : sources) {
        const QString value = wine.ReadValue(QString::fromUtf16(source.root) + u'\\' + QString::fromUtf16(source.key),
                                             QString::fromUtf16(source.value));
        if (value != paths.MissingValueMarker() && !value.isEmpty())
            paths.setFallbackVariable(QString::fromUtf16(source.variable), paths.ExpandPath(value));
    }
}

QString FileManagerLocator::readTotalCommander(const QString &valueName, bool currentUser) const
{
    if (currentUser)
        return m_registry.ReadValue(kUserKey, valueName);
    const QString value = m_registry.ReadValue(kMachineKey, valueName);
    // A 32-bit file manager in a 64-bit prefix keeps its machine values here.
    return value != m_paths.MissingValueMarker() ? value : m_registry.ReadValue(kMachineKey32, valueName);
}

QString FileManagerLocator::GetFileManagerFolder()
{
    const QString &marker = m_paths.MissingValueMarker();
    const QString environment = environmentValue(m_paths.environment(), QStringLiteral("COMMANDER_PATH"));
    const QString user = readTotalCommander(QStringLiteral("InstallDir"), true);
    const QString machine = readTotalCommander(QStringLiteral("InstallDir"), false);
    QString folder;
    if (!environment.isEmpty())
        folder = environment;
    else if (user != marker)
        folder = m_paths.ExpandPath(user);
    else if (machine != marker)
        folder = m_paths.ExpandPath(machine);
    if (!folder.isEmpty()) {
        m_settings.Write(QStringLiteral("Common"), QStringLiteral("TCInstallDir"), folder);
    } else {
        folder = m_paths.ExpandPath(m_settings.Read(QStringLiteral("Common"), QStringLiteral("TCInstallDir"), marker));
        if (folder == marker || folder.isEmpty())
            return marker;
    }
    folder = AddBackslash(folder);
    // %COMMANDER_PATH% in stored paths means this folder when the file manager did not
    // start us and so did not set it.
    QString bare = folder;
    bare.chop(1);
    m_paths.setFallbackVariable(QStringLiteral("COMMANDER_PATH"), bare);
    return folder;
}

QString FileManagerLocator::windowsFolder() const
{
    const QString windir = environmentValue(m_paths.environment(), QStringLiteral("windir"));
    if (!windir.isEmpty())
        return AddBackslash(windir);
    const QString learned = m_paths.ExpandPath(QStringLiteral("%windir%"));
    return learned != u"%windir%" ? AddBackslash(learned) : QStringLiteral("C:\\windows\\");
}

bool FileManagerLocator::ResolveRegistryPath(const QString &value, QString &target) const
{
    const QString v = m_paths.ExpandPath(value);
    QString candidate;
    if (v.startsWith(QStringLiteral(".\\")) || v.startsWith(QStringLiteral("./")))
        candidate = m_paths.ExpandPath(m_paths.TCInstallDir()) + v.mid(2);
    else if (v.size() >= 3 && v[1] == u':' && (v[2] == u'\\' || v[2] == u'/'))
        candidate = v;
    else if (v.startsWith(u'/'))
        candidate = v;   // already a native path
    else
        candidate = windowsFolder() + v;
    if (!isUsableFile(m_paths, m_person, candidate))
        return false;
    target = candidate;
    return true;
}

QString FileManagerLocator::askForFile(int messageId, const QString &proposedName, const QString &settingKey)
{
    m_person.ShowMessage(m_language.GetLanguageString(messageId), MessageIcon::Warning);
    const QString installDir = m_paths.TCInstallDir() == m_paths.MissingValueMarker() ? QString() : m_paths.TCInstallDir();
    m_dialog.ShowOpenDialog(m_paths.nativePath(installDir), proposedName, 1, m_language.GetLanguageString(1605), true);
    if (m_dialog.Success && isUsableFile(m_paths, m_person, m_dialog.FileName)) {
        m_settings.Write(QStringLiteral("Common"), settingKey, m_paths.UnexpandPath(m_dialog.FileName));
        return m_paths.ExpandPath(m_dialog.FileName);
    }
    return QString();
}

QString FileManagerLocator::findWithoutAsking(const QString &registryValue, const QString &settingKey) const
{
    const QString &marker = m_paths.MissingValueMarker();
    // The current user's value wins; a value that names a missing file counts as absent,
    // and the machine's value is not tried then.
    QString value = readTotalCommander(registryValue, true);
    if (value == marker)
        value = readTotalCommander(registryValue, false);
    QString found;
    if (value != marker && ResolveRegistryPath(value, found))
        return found;
    const QString user = m_paths.ExpandPath(m_settings.Read(QStringLiteral("Common"), settingKey, marker));
    if (user != marker && isUsableFile(m_paths, m_person, user))
        return user;
    return QString();
}

QString FileManagerLocator::FindWincmdIni()
{
    const QString environment = environmentValue(m_paths.environment(), QStringLiteral("COMMANDER_INI"));
    if (!environment.isEmpty() && isUsableFile(m_paths, m_person, environment))
        return environment;
    const QString found = findWithoutAsking(QStringLiteral("IniFileName"), QStringLiteral("UserDefinedWincmd"));
    if (!found.isEmpty())
        return found;
    const QString chosen = askForFile(3046, QStringLiteral("Wincmd.ini"), QStringLiteral("UserDefinedWincmd"));
    if (!chosen.isEmpty())
        return chosen;
    // Cancelled: the editor works on a file of its own that holds no history yet.
    const QString placeholder = GetTempFolder() + QStringLiteral("wincmd.ini");
    ProfileBatch batch(m_profile);
    m_profile.WriteValue(QStringLiteral("Configuration"), QStringLiteral("firstmnu"), QStringLiteral("512"), placeholder);
    m_profile.WriteValue(QStringLiteral("Configuration"), QStringLiteral("PanelsVertical"), QStringLiteral("0"), placeholder);
    batch.finish();
    m_settings.Write(QStringLiteral("Common"), QStringLiteral("UserDefinedWincmd"), m_paths.UnexpandPath(placeholder));
    return placeholder;
}

QString FileManagerLocator::FindWcxftpIni()
{
    const QString found = findWithoutAsking(QStringLiteral("FtpIniName"), QStringLiteral("UserDefinedWcxftp"));
    if (!found.isEmpty())
        return found;
    const QString chosen = askForFile(3045, QStringLiteral("Wcx_ftp.ini"), QStringLiteral("UserDefinedWcxftp"));
    if (!chosen.isEmpty())
        return chosen;
    const QString placeholder = GetTempFolder() + QStringLiteral("wcx_ftp.ini");
    m_settings.Write(QStringLiteral("Common"), QStringLiteral("UserDefinedWcxftp"), m_paths.UnexpandPath(placeholder));
    // Writing a key and deleting it again leaves the empty [General] section.
    ProfileBatch batch(m_profile);
    m_profile.WriteValue(QStringLiteral("General"), QStringLiteral("01"), QStringLiteral("02"), placeholder);
    m_profile.DeleteValue(QStringLiteral("General"), QStringLiteral("01"), placeholder);
    batch.finish();
    return placeholder;
}

} // namespace calvenor
