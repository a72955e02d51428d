#pragma once

#include "core/cprofile.h"
#include "core/keeprules.h"
#include "core/pathmacros.h"
#include "platform/cregistry.h"

#include <QString>

namespace calvenor {

class FileManagerLocator;

// The main window's placement in twips.
struct WindowPlacement
{
    int top = 500;
    int left = 500;
    int height = 8000;
    int width = 11000;
    friend bool operator==(const WindowPlacement &, const WindowPlacement &) = default;
};

// The editor's settings: the file "vantrel editors.ini" it shares with sibling editors,
// its own keys in [Calvenor] and the family's in [Common]. One object holds every key
// with its default and clamp; later parts read the members. All reads and writes go
// through the INI engine.
class cSettings
{
public:
    static constexpr const char16_t *kOwnSection = u"Calvenor";
    static constexpr const char16_t *kCommonSection = u"Common";
    static constexpr const char16_t *kFileName = u"vantrel editors.ini";

    cSettings(cProfile &profile, PathMacros &paths, cRegistry &registry);

    // Decides where the settings file is (once, at start-up) and reads the scroll-bar
    // width. The registry value IniFileName under the key
    // HKEY_CURRENT_USER\Software\VantrelEditors\Common points to it. A file that
    // cannot be written there (a read-only installation folder, a read-only file) is
    // replaced by $XDG_CONFIG_HOME/calvenor/vantrel editors.ini, which starts as a copy.
    void LocateSettingsFile();
    const QString &SettingsFile() const { return m_settingsFile; }   // gstrSettingsFile
    // The recorded settings file that could not be written, when the XDG file took its
    // place at start-up; else empty.
    const QString &UnwritableSettingsFile() const { return m_unwritableSettingsFile; }
    void setSettingsFile(const QString &file) { m_settingsFile = file; }

    // Reads every key in the documented order; the installation folder comes from the
    // locator when one is given.
    void LoadSettings(FileManagerLocator *locator = nullptr, int twipsPerPixel = 15);
    int SaveSettings();
    int SaveWindowSettings();
    // SplitPosition and VerticalPanels, written when the main window closes.
    int SaveLayoutSettings();
    void ReadFindOptions();
    int SaveFindOptions();
    // The keep rules as KeepPatterns holds them.
    KeepRules keepRules() const { return KeepRules(KeepPatterns); }

    // One value of the settings file; absent keys read as the given default.
    QString Read(const QString &section, const QString &key, const QString &fallback) const;
    int Write(const QString &section, const QString &key, const QString &value);
    int Delete(const QString &section, const QString &key);
    const QString &MissingValueMarker() const { return m_paths.MissingValueMarker(); }

    // [Calvenor]
    bool CommandListShowLines = false;
    bool FixedBorders = true;
    bool FlatUserInterface = true;
    qint32 ForegroundColor = qint32(0x80000008);
    qint32 BackgroundColor = qint32(0x80000005);
    QString FontName = QStringLiteral("MS Sans Serif");
    int FontScript = 1;
    int FontSize = 10;
    int FontStyle = 0;
    bool UseDefaultLanguage = true;
    bool MainWindowMaxmized = false;
    WindowPlacement MainWindowPosition;
    bool ToolbarVisible = true;
    bool AlwaysRestartTC = false;
    bool ReviewBeforeSave = false;   // every save shows what it changes first
    qint32 LockedTabForeColor = 255;
    int SplitPosition = 4000;
    int VerticalPanels = 1;   // 1 side by side, 2 stacked
    int MaxItems = 20;
    bool UseSectionIcon = true;
    bool CommandListFullRowSelect = false;
    int FindOptionsEntry = 0;       // FindOptions a: the selected find-history entry
    int FindOptionsColumn = 0;      // FindOptions b: the column option read
    bool FindOptionsWholeWord = false;   // FindOptions c
    // The keep rules' patterns, one a key: KeepRule1, KeepRule2, ... (a pattern may hold
    // ";", so they do not share one value). Read in the keys' number order, gaps
    // skipped; written by the options dialog.
    QStringList KeepPatterns;

    // [Common]
    QString LanguageFile;          // expanded; the marker when none
    QString UserDefinedWincmd;     // as stored (macro form); the marker when none
    QString UserDefinedWcxftp;
    QString RecentFilesSeparator = QStringLiteral(" <> ");
    int NumberOfRecentFiles = 9;
    bool ShowBkColor = false;
    int UnExpandPaths = 3;
    int FullPathInTitleBar = 2;
    QString TCRestartDelay = QStringLiteral("1");

    int ScrollWidthTwips = 240;

private:
    int readInt(const QString &section, const QString &key, int fallback) const;
    bool readFlag(const QString &section, const QString &key, bool fallback) const;
    // The KeepRule lines of the file, by number.
    std::vector<cProfile::SectionEntry> keepRuleEntries() const;
    void readKeepPatterns();
    void writeKeepPatterns();
    QString own() const { return QString::fromUtf16(kOwnSection); }
    QString common() const { return QString::fromUtf16(kCommonSection); }

    cProfile &m_profile;
    PathMacros &m_paths;
    cRegistry &m_registry;
    QString m_settingsFile;
    QString m_unwritableSettingsFile;
    QString m_storedLanguageFile;   // LanguageFile as the file holds it
};

} // namespace calvenor
