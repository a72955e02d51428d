#include "csettings.h"

#include "datafolder.h"
#include "filemanagerlocator.h"
#include "platform/atomicfile.h"

#include <QDir>
#include <QFileInfo>
#include <QProcessEnvironment>
#include <QTemporaryFile>

#include <algorithm>

#include <sys/stat.h>
#include <unistd.h>


namespace calvenor {
namespace {

const QString kRegistryKey = QStringLiteral("HKEY_CURRENT_USER\\Software\\VantrelEditors\\Common");
const QString kKeepRuleKey = QStringLiteral("KeepRule");

// The number of a KeepRule key ("KeepRule" and digits, any case); -1 for other keys.
qint64 keepRuleNumber(const QString &key)
{
    if (key.size() <= kKeepRuleKey.size() || !key.startsWith(kKeepRuleKey, Qt::CaseInsensitive))
        return -1;
    qint64 number = 0;
    for (qsizetype i = kKeepRuleKey.size(); i < key.size(); ++i) {
        if (key[i] < u'0' || key[i] > u'9' || number > 1000000000)
            return -1;
        number = number * 10 + (key[i].unicode() - u'0');
    }
    return number;
}

// Tried, not inferred from permission bits: a read-only mount or an administrator's
// rights make the bits say little.
bool folderIsWritable(const QString &folder)
{
    if (folder.isEmpty())
        return false;
    QTemporaryFile probe(AddBackslash(folder) + QStringLiteral(".calvenor-write-test-XXXXXX"));
    return probe.open();
}

// Whether a save of the settings file can succeed: it is replaced through a temporary
// file beside it, so its folder must take new files, and a read-only file is refused.
bool settingsFileIsWritable(const QString &nativePath)
{
    if (nativePath.isEmpty())
        return false;
    const QFileInfo info(nativePath);
    if (info.exists()) {
        if (!info.isFile())
            return false;
        const QString file = info.canonicalFilePath();
        struct stat st {};
        // A file nobody may write is read-only, even for an administrator.
        if (::stat(QFile::encodeName(file).constData(), &st) != 0 || (st.st_mode & 0222) == 0
            || ::access(QFile::encodeName(file).constData(), W_OK) != 0)
            return false;
        return folderIsWritable(QFileInfo(file).absolutePath());
    }
    return folderIsWritable(info.absolutePath());
}

QString xdgConfigFolder()
{
    const QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    QString config = environment.value(QStringLiteral("XDG_CONFIG_HOME"));
    if (config.isEmpty())
        config = environment.value(QStringLiteral("HOME"), QDir::homePath()) + QStringLiteral("/.config");
    return config + QStringLiteral("/calvenor/");
}

// An installed program (its data in <prefix>/share/calvenor/) keeps its settings in the
// XDG config folder: bin/ is no place for them, even where it can be written
// (~/.local/bin). A build keeps them beside the program.
QString ownSettingsFolder(const QString &appFolder)
{
    return DataFolder(appFolder) == AddBackslash(appFolder) ? appFolder : xdgConfigFolder();
}

// A language file stored under the program's folder ("vanteditors:\Languages\x.lng", as
// a build or a sibling editor wrote it) is found in the data folder of an installed
// program. Anything else, or a file that is in neither place, expands as it stands.
QString expandLanguageFile(const PathMacros &paths, const QString &stored)
{
    const QString expanded = paths.ExpandPath(stored);
    const QString &appFolder = paths.AppFolder();
    if (appFolder.isEmpty() || !expanded.startsWith(appFolder) || paths.FileExists(expanded))
        return expanded;
    const QString dataFolder = DataFolder(appFolder);
    if (dataFolder == AddBackslash(appFolder))
        return expanded;
    QString inDataFolder = dataFolder + expanded.mid(appFolder.size());
    inDataFolder.replace(u'\\', u'/');
    return paths.FileExists(inDataFolder) ? inDataFolder : expanded;
}

// Numbers are written as decimal text; a stored text that is no number reads as the
// default.
std::optional<qint64> parseNumber(const QString &text)
{
    bool ok = false;
    const qint64 value = text.trimmed().toLongLong(&ok);
    return ok ? std::optional<qint64>(value) : std::nullopt;
}

QString flagText(bool flag)
{
    return flag ? QStringLiteral("1") : QStringLiteral("0");
}

} // namespace

cSettings::cSettings(cProfile &profile, PathMacros &paths, cRegistry &registry)
    : m_profile(profile)
    , m_paths(paths)
    , m_registry(registry)
{
    LanguageFile = UserDefinedWincmd = UserDefinedWcxftp = m_storedLanguageFile = paths.MissingValueMarker();
}

void cSettings::LocateSettingsFile()
{
    const QString folder = ownSettingsFolder(m_paths.AppFolder());
    const QString fileName = QString::fromUtf16(kFileName);
    const QString stored = m_registry.ReadValue(kRegistryKey, QStringLiteral("IniFileName"));
    const QString trimmed = stored.trimmed();
    const bool recorded = stored != m_paths.MissingValueMarker();
    if (!recorded) {
        m_settingsFile = folder + fileName;
    } else if (trimmed.startsWith(QStringLiteral(".\\")) || trimmed.startsWith(QStringLiteral("./"))) {
        m_settingsFile = folder + trimmed.mid(2).trimmed();
    } else {
        // A reference the environment lacks (%APPDATA%, as a sibling editor under Wine
        // records it) names a folder of the prefix.
        if (m_paths.nativePath(stored).isEmpty())
            LearnWineFolders(m_paths);
        m_settingsFile = m_paths.ExpandPath(stored);
    }
    if (m_settingsFile.isEmpty() || m_settingsFile == m_paths.MissingValueMarker())
        m_settingsFile = folder + fileName;

    // A settings file that cannot be written would silently lose every setting (an
    // installed program's folder is not ours to write): the XDG config folder serves
    // instead. A recorded path stays recorded, for the day it can be written again.
    m_unwritableSettingsFile.clear();
    const QString native = m_paths.nativePath(m_settingsFile);
    const QString fallback = xdgConfigFolder() + fileName;
    if (native == fallback) {
        QDir().mkpath(xdgConfigFolder());
    } else if (!settingsFileIsWritable(native)) {
        QDir().mkpath(xdgConfigFolder());
        // The settings read so far go along the first time.
        QByteArray existing;
        if (!FileExists(fallback) && readWholeFile(native, 1 << 24, existing) == errNone)
            writeFileAtomically(fallback, existing);
        if (recorded)
            m_unwritableSettingsFile = m_settingsFile;
        m_settingsFile = fallback;
    }
    if (!recorded) {
        const QString value = m_settingsFile == fallback ? fallback : QString(QStringLiteral(".\\") + fileName);
        m_registry.WriteValue(kRegistryKey, QStringLiteral("IniFileName"), value, cRegistry::TextValue);
    }

    const QString scroll = m_registry.ReadValue(QStringLiteral("HKEY_CURRENT_USER\\Control Panel\\Desktop\\WindowMetrics"),
                                                QStringLiteral("ScrollWidth"));
    const qint64 width = qAbs(parseNumber(scroll).value_or(0));
    ScrollWidthTwips = width == 0 ? 240 : int(qMin<qint64>(width, 100000));
}

QString cSettings::Read(const QString &section, const QString &key, const QString &fallback) const
{
    return m_profile.ReadValue(section, key, fallback, m_settingsFile);
}

int cSettings::Write(const QString &section, const QString &key, const QString &value)
{
    return m_profile.WriteValue(section, key, value, m_settingsFile);
}

int cSettings::Delete(const QString &section, const QString &key)
{
    return m_profile.DeleteValue(section, key, m_settingsFile);
}

int cSettings::readInt(const QString &section, const QString &key, int fallback) const
{
    const qint64 value = parseNumber(Read(section, key, m_paths.MissingValueMarker())).value_or(fallback);
    return int(qBound(qint64(std::numeric_limits<qint32>::min()), value, qint64(std::numeric_limits<qint32>::max())));
}

bool cSettings::readFlag(const QString &section, const QString &key, bool fallback) const
{
    return readInt(section, key, fallback ? 1 : 0) != 0;
}

void cSettings::LoadSettings(FileManagerLocator *locator, int twipsPerPixel)
{
    const QString own = this->own();
    const QString common = this->common();
    const QString &marker = m_paths.MissingValueMarker();

    // The settings-file check: a missing file is created holding an empty [Common].
    if (!m_paths.FileExists(m_settingsFile)) {
        Write(common, QStringLiteral("test"), QStringLiteral("1"));
        m_profile.DeleteValue(common, QStringLiteral("test"), m_settingsFile);
    }
    ProfileBatch batch(m_profile);   // one look at the file for all the reads
    CommandListShowLines = readFlag(own, QStringLiteral("CommandListShowLines"), false);
    FixedBorders = readFlag(own, QStringLiteral("FixedBorders"), true);
    FlatUserInterface = readFlag(own, QStringLiteral("FlatUserInterface"), true);
    ForegroundColor = readInt(own, QStringLiteral("ForegroundColor"), qint32(0x80000008));
    BackgroundColor = readInt(own, QStringLiteral("BackgroundColor"), qint32(0x80000005));
    FontName = Read(own, QStringLiteral("FontName"), QStringLiteral("MS Sans Serif"));
    FontScript = readInt(own, QStringLiteral("FontScript"), 1);
    FontSize = readInt(own, QStringLiteral("FontSize"), 10);
    FontStyle = readInt(own, QStringLiteral("FontStyle"), 0);
    UseDefaultLanguage = readFlag(own, QStringLiteral("UseDefaultLanguage"), true);
    m_storedLanguageFile = Read(common, QStringLiteral("LanguageFile"), marker);
    LanguageFile = expandLanguageFile(m_paths, m_storedLanguageFile);
    MainWindowMaxmized = readFlag(own, QStringLiteral("MainWindowMaxmized"), false);
    MainWindowPosition = WindowPlacement();
    const QStringList position = Read(own, QStringLiteral("MainWindowPosition"), marker).split(u',');
    if (position.size() == 4) {
        int values[4] = {};
        bool valid = true;
        for (int i = 0; i < 4 && valid; ++i) {
            const std::optional<qint64> number = parseNumber(position[i]);
            valid = number.has_value();
            // Each number is the value times ten with one more digit, which is dropped.
            values[i] = valid ? int(qBound(qint64(-10000000), *number / 10, qint64(10000000))) : 0;
        }
        if (valid)
            MainWindowPosition = {values[0], values[1], values[2], values[3]};
    }
    ToolbarVisible = readFlag(own, QStringLiteral("ToolbarVisible"), true);
    AlwaysRestartTC = readFlag(own, QStringLiteral("AlwaysRestartTC"), false);
    ReviewBeforeSave = readFlag(own, QStringLiteral("ReviewBeforeSave"), false);
    if (locator)
        m_paths.setTCInstallDir(locator->GetFileManagerFolder());
    UserDefinedWincmd = Read(common, QStringLiteral("UserDefinedWincmd"), marker);
    RecentFilesSeparator = Read(common, QStringLiteral("RecentFilesSeparator"), marker);
    if (RecentFilesSeparator == marker)
        RecentFilesSeparator = QStringLiteral(" <> ");
    NumberOfRecentFiles = qBound(2, readInt(common, QStringLiteral("NumberOfRecentFiles"), 9), 16);
    ShowBkColor = readFlag(common, QStringLiteral("ShowBkColor"), false);
    UnExpandPaths = qBound(0, readInt(common, QStringLiteral("UnExpandPaths"), 3), 3);
    m_paths.setUnExpandPaths(UnExpandPaths);
    FullPathInTitleBar = readInt(common, QStringLiteral("FullPathInTitleBar"), 2);
    TCRestartDelay = Read(common, QStringLiteral("TCRestartDelay"), QStringLiteral("1"));
    UserDefinedWcxftp = Read(common, QStringLiteral("UserDefinedWcxftp"), marker);
    LockedTabForeColor = readInt(own, QStringLiteral("LockedTabForeColor"), 255);
    SplitPosition = qMax(readInt(own, QStringLiteral("SplitPosition"), 4000), twipsPerPixel);
    VerticalPanels = readInt(own, QStringLiteral("VerticalPanels"), 1) == 1 ? 1 : 2;
    const int maxItems = readInt(own, QStringLiteral("MaxItems"), 20);
    MaxItems = maxItems < 20 ? 20 : (maxItems >= 100 ? 99 : maxItems);
    UseSectionIcon = readFlag(own, QStringLiteral("UseSectionIcon"), true);
    CommandListFullRowSelect = readFlag(own, QStringLiteral("CommandListFullRowSelect"), false);
    readKeepPatterns();
    batch.finish();
}

std::vector<cProfile::SectionEntry> cSettings::keepRuleEntries() const
{
    std::vector<cProfile::SectionEntry> entries;
    for (cProfile::SectionEntry &entry : m_profile.ReadSectionEntries(own(), m_settingsFile)) {
        if (entry.hasEquals && keepRuleNumber(entry.key) >= 0)
            entries.push_back(std::move(entry));
    }
    std::stable_sort(entries.begin(), entries.end(), [](const cProfile::SectionEntry &a, const cProfile::SectionEntry &b) {
        return keepRuleNumber(a.key) < keepRuleNumber(b.key);
    });
    return entries;
}

void cSettings::readKeepPatterns()
{
    // A name written twice reads as its first line, as a single value read does.
    QStringList names;
    QStringList patterns;
    for (const cProfile::SectionEntry &entry : keepRuleEntries()) {
        if (names.contains(entry.key, Qt::CaseInsensitive))
            continue;
        names.append(entry.key);
        patterns.append(entry.value);
    }
    KeepPatterns = KeepRules(patterns).Patterns();
}

void cSettings::writeKeepPatterns()
{
    // Keys that exist are written over where they stand, so a file kept under version
    // control shows only what changed; keys beyond the new count go.
    QStringList stored;
    for (const cProfile::SectionEntry &entry : keepRuleEntries())
        stored.append(entry.key);
    const QStringList patterns = KeepRules(KeepPatterns).Patterns();
    QStringList written;
    for (int i = 0; i < patterns.size(); ++i) {
        written.append(kKeepRuleKey + QString::number(i + 1));
        const QString &key = written.last();
        auto sameName = [&](const QString &name) { return name.compare(key, Qt::CaseInsensitive) == 0; };
        if (std::count_if(stored.cbegin(), stored.cend(), sameName) > 1)
            Delete(own(), key);   // one line of it, not a stale second one
        Write(own(), key, patterns[i]);
    }
    for (const QString &key : std::as_const(stored)) {
        if (!written.contains(key, Qt::CaseInsensitive))
            Delete(own(), key);
    }
}

int cSettings::SaveWindowSettings()
{
    const QString own = this->own();
    int error = 0;
    auto write = [&](const QString &key, const QString &value) {
        const int result = Write(own, key, value);
        if (error == 0)
            error = result;
    };
    if (!MainWindowMaxmized) {
        const WindowPlacement &p = MainWindowPosition;
        // Each number is stored times ten with one more digit, which carries no meaning.
        write(QStringLiteral("MainWindowPosition"), QStringLiteral("%1,%2,%3,%4")
                  .arg(qint64(p.top) * 10).arg(qint64(p.left) * 10).arg(qint64(p.height) * 10).arg(qint64(p.width) * 10));
        write(QStringLiteral("MainWindowMaxmized"), QStringLiteral("0"));
    } else {
        write(QStringLiteral("MainWindowMaxmized"), QStringLiteral("1"));
    }
    write(QStringLiteral("ToolbarVisible"), flagText(ToolbarVisible));
    return error;
}

int cSettings::SaveSettings()
{
    const QString own = this->own();
    const QString common = this->common();
    ProfileBatch batch(m_profile);
    Write(own, QStringLiteral("FixedBorders"), flagText(FixedBorders));
    Write(own, QStringLiteral("FlatUserInterface"), flagText(FlatUserInterface));
    Write(own, QStringLiteral("ForegroundColor"), QString::number(ForegroundColor));
    Write(own, QStringLiteral("BackgroundColor"), QString::number(BackgroundColor));
    Write(own, QStringLiteral("FontName"), FontName);
    Write(own, QStringLiteral("FontScript"), QString::number(FontScript));
    Write(own, QStringLiteral("FontSize"), QString::number(FontSize));
    Write(own, QStringLiteral("FontStyle"), QString::number(FontStyle));
    Write(own, QStringLiteral("UseDefaultLanguage"), flagText(UseDefaultLanguage));
    // The stored form stays while it still names the file in use.
    if (expandLanguageFile(m_paths, m_storedLanguageFile).compare(LanguageFile, Qt::CaseInsensitive) != 0)
        m_storedLanguageFile = LanguageFile;
    Write(common, QStringLiteral("LanguageFile"), m_paths.UnexpandPath(m_storedLanguageFile));
    SaveWindowSettings();
    Write(common, QStringLiteral("NumberOfRecentFiles"), QString::number(NumberOfRecentFiles));
    Write(own, QStringLiteral("AlwaysRestartTC"), flagText(AlwaysRestartTC));
    Write(own, QStringLiteral("ReviewBeforeSave"), flagText(ReviewBeforeSave));
    Write(common, QStringLiteral("UnExpandPaths"), QString::number(UnExpandPaths));
    Write(own, QStringLiteral("CommandListShowLines"), flagText(CommandListShowLines));
    Write(own, QStringLiteral("CommandListFullRowSelect"), flagText(CommandListFullRowSelect));
    Write(own, QStringLiteral("LockedTabForeColor"), QString::number(LockedTabForeColor));
    Write(own, QStringLiteral("MaxItems"), QString::number(MaxItems));
    Write(own, QStringLiteral("UseSectionIcon"), flagText(UseSectionIcon));
    writeKeepPatterns();
    return batch.finish();
}

int cSettings::SaveLayoutSettings()
{
    ProfileBatch batch(m_profile);
    Write(own(), QStringLiteral("SplitPosition"), QString::number(SplitPosition));
    Write(own(), QStringLiteral("VerticalPanels"), QString::number(VerticalPanels));
    return batch.finish();
}

void cSettings::ReadFindOptions()
{
    const QStringList parts = Read(own(), QStringLiteral("FindOptions"), QStringLiteral("0,0,0")).split(u',');
    auto field = [&](int i) { return i < parts.size() ? int(parseNumber(parts[i]).value_or(0)) : 0; };
    FindOptionsEntry = field(0);
    FindOptionsColumn = field(1);
    FindOptionsWholeWord = field(2) != 0;
}

int cSettings::SaveFindOptions()
{
    // The middle number is always written as 0.
    return Write(own(), QStringLiteral("FindOptions"),
                 QStringLiteral("%1,0,%2").arg(FindOptionsEntry).arg(FindOptionsWholeWord ? 1 : 0));
}

} // namespace calvenor
