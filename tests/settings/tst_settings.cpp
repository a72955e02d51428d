#include "settings/cdefaultstrings.h"
#include "settings/csettings.h"
#include "support/testenvironment.h"

#include <QDir>
#include <QFile>
#include <QtTest>

using namespace calvenor;
using calvenor::test::kMarker;
using calvenor::test::TestEnvironment;

namespace {

const QString kKey = "HKEY_CURRENT_USER\\Software\\VantrelEditors\\Common";

struct Fixture
{
    Fixture()
        : registry(kMarker, env.path("home/.config/calvenor/registry.reg"), env.path("prefix"))
        , settings(env.profile(), env.paths(), registry)
    {
        QDir().mkpath(env.paths().AppFolder());
    }
    QString load(const QByteArray &text)
    {
        const QString file = env.writeFile("app/vantrel editors.ini", text);
        settings.setSettingsFile(file);
        settings.LoadSettings();
        return file;
    }
    TestEnvironment env;
    cRegistry registry;
    cSettings settings;
};

} // namespace

class TestSettings : public QObject
{
    Q_OBJECT
private slots:
    void locatesTheSettingsFile_data();
    void locatesTheSettingsFile();
    void unwritableProgramFolderUsesTheConfigFolder();
    void unwritableRecordedFileUsesTheConfigFolder_data();
    void unwritableRecordedFileUsesTheConfigFolder();
    void settingsFileNamedAsWindowsPathIsFound_data();
    void settingsFileNamedAsWindowsPathIsFound();
    void documentedDefaults();
    void notRedirectedSectionsIgnoreBlanks();
    void defaultsAndClamps_data();
    void defaultsAndClamps();
    void windowPosition();
    void savesWhatItRead();
    void languageFileKeepsItsStoredForm();
    void installedProgramKeepsSettingsInTheConfigFolder_data();
    void installedProgramKeepsSettingsInTheConfigFolder();
    void installedProgramFindsItsLanguageFiles_data();
    void installedProgramFindsItsLanguageFiles();
    void missingFileIsCreatedWithAnEmptyCommonSection();
    void findOptions();
    void keepRules();
};

void TestSettings::locatesTheSettingsFile_data()
{
    QTest::addColumn<QString>("registryValue");   // "<none>": absent
    QTest::addColumn<QString>("expected");        // relative to the program folder unless absolute
    QTest::newRow("absent: created as .\\ + name") << "<none>" << "vantrel editors.ini";
    QTest::newRow(".\\ with a blank") << ".\\ other.ini" << "other.ini";
    QTest::newRow("blanks before .\\") << "  .\\x.ini" << "x.ini";
    QTest::newRow("program-folder prefix") << "vanteditors:\\sub.ini" << "sub.ini";
    QTest::newRow("absolute native path") << "<env>/cfg/calvenor.ini" << "<env>/cfg/calvenor.ini";
}

void TestSettings::locatesTheSettingsFile()
{
    QFETCH(QString, registryValue);
    QFETCH(QString, expected);
    Fixture f;
    QDir().mkpath(f.env.path("cfg"));
    registryValue.replace("<env>/", f.env.path(""));
    expected.replace("<env>/", f.env.path(""));
    if (registryValue != u"<none>")
        f.registry.WriteValue(kKey, "IniFileName", registryValue, cRegistry::TextValue);
    f.settings.LocateSettingsFile();
    QCOMPARE(f.settings.SettingsFile(), expected.startsWith(u'/') ? expected : f.env.paths().AppFolder() + expected);
    if (registryValue == u"<none>")
        QCOMPARE(f.registry.ReadValue(kKey, "IniFileName"), QStringLiteral(".\\vantrel editors.ini"));
    QCOMPARE(f.settings.ScrollWidthTwips, 240);
}

void TestSettings::unwritableProgramFolderUsesTheConfigFolder()
{
    Fixture f;
    // A program installed where nobody may write, not even an administrator.
    PathMacros installed(kMarker, "/proc/", QProcessEnvironment::systemEnvironment());
    cSettings settings(f.env.profile(), installed, f.registry);
    settings.LocateSettingsFile();
    const QString expected = f.env.path("home/.config/calvenor/vantrel editors.ini");
    QCOMPARE(settings.SettingsFile(), expected);
    QCOMPARE(f.registry.ReadValue(kKey, "IniFileName"), expected);
    // The next start finds it through the registry.
    cSettings again(f.env.profile(), installed, f.registry);
    again.LocateSettingsFile();
    QCOMPARE(again.SettingsFile(), expected);
}

void TestSettings::unwritableRecordedFileUsesTheConfigFolder_data()
{
    QTest::addColumn<QString>("recorded");   // <env> stands for the test's folder
    QTest::newRow("folder nobody may write") << "/proc/vantrel editors.ini";
    QTest::newRow("read-only file") << "<env>/ro/vantrel editors.ini";
    QTest::newRow("folder that does not exist") << "<env>/gone/vantrel editors.ini";
    QTest::newRow("unmapped drive") << "q:\\vantrel editors.ini";
}

void TestSettings::unwritableRecordedFileUsesTheConfigFolder()
{
    QFETCH(QString, recorded);
    Fixture f;
    recorded.replace("<env>/", f.env.path(""));
    const QString readOnly = f.env.writeFile("ro/vantrel editors.ini", "[Calvenor]\r\nMaxItems=42\r\n");
    QFile::setPermissions(readOnly, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    f.registry.WriteValue(kKey, "IniFileName", recorded, cRegistry::TextValue);
    f.settings.LocateSettingsFile();
    const QString fallback = f.env.path("home/.config/calvenor/vantrel editors.ini");
    QCOMPARE(f.settings.SettingsFile(), fallback);
    QCOMPARE(f.settings.UnwritableSettingsFile(), recorded);
    QCOMPARE(f.registry.ReadValue(kKey, "IniFileName"), recorded);   // the record stays
    // What the unwritable file held comes along, and saving works.
    f.settings.LoadSettings();
    QCOMPARE(f.settings.MaxItems, recorded == readOnly ? 42 : 20);
    QCOMPARE(f.settings.SaveSettings(), 0);
    QVERIFY(f.env.readFile(fallback).contains("UseSectionIcon=1"));
    if (recorded == readOnly)
        QCOMPARE(f.env.readFile(readOnly), QByteArray("[Calvenor]\r\nMaxItems=42\r\n"));
}

void TestSettings::settingsFileNamedAsWindowsPathIsFound_data()
{
    QTest::addColumn<QString>("recorded");
    QTest::addColumn<QString>("folder");   // of drive c:
    QTest::newRow("drive letter") << "C:\\cfg\\vantrel editors.ini" << "cfg";
    QTest::newRow("environment reference") << "%APPDATA%\\vantrel editors.ini" << "cfg";
    QTest::newRow("shell folder of the prefix") << "%APPDATA%\\VantrelEditors\\vantrel editors.ini"
                                                << "users/me/AppData/Roaming/VantrelEditors";
}

void TestSettings::settingsFileNamedAsWindowsPathIsFound()
{
    QFETCH(QString, recorded);
    QFETCH(QString, folder);
    Fixture f;
    // Taught by whoever learned it first, or found in the prefix's own record.
    if (folder == u"cfg")
        f.env.paths().setFallbackVariable("APPDATA", "C:\\cfg");
    f.env.writeFile("prefix/user.reg", "WINE REGISTRY Version 2\n"
                    "[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Explorer\\\\Shell Folders] 1\n"
                    "\"AppData\"=\"C:\\\\users\\\\me\\\\AppData\\\\Roaming\"\n");
    const QByteArray text = "[Calvenor]\r\nMaxItems=42\r\n";
    const QString file = f.env.writeFile("prefix/drive_c/" + folder + "/vantrel editors.ini", text);
    f.registry.WriteValue(kKey, "IniFileName", recorded, cRegistry::TextValue);
    f.settings.LocateSettingsFile();
    QVERIFY(f.settings.UnwritableSettingsFile().isEmpty());
    QCOMPARE(f.env.paths().nativePath(f.settings.SettingsFile()), QFileInfo(file).canonicalFilePath());
    f.settings.LoadSettings();
    QCOMPARE(f.settings.MaxItems, 42);
    // The file exists, so the check adds no [Common] section to it.
    QCOMPARE(f.env.readFile(file), text);
}

void TestSettings::documentedDefaults()
{
    Fixture f;
    f.load("");
    const cSettings &s = f.settings;
    const QStringList read = {
        QString::number(s.NumberOfRecentFiles), QString::number(s.MaxItems), QString::number(s.UnExpandPaths),
        QString::number(s.FullPathInTitleBar), s.TCRestartDelay, QString::number(s.LockedTabForeColor),
        QString::number(s.SplitPosition), QString::number(s.VerticalPanels), QString::number(s.FontSize),
        QString::number(s.FontScript), QString::number(s.FontStyle),
        QString::number(s.CommandListShowLines), QString::number(s.FixedBorders), QString::number(s.FlatUserInterface),
        QString::number(s.UseDefaultLanguage), QString::number(s.MainWindowMaxmized), QString::number(s.ToolbarVisible),
        QString::number(s.AlwaysRestartTC), QString::number(s.UseSectionIcon), QString::number(s.CommandListFullRowSelect),
        QString::number(s.ShowBkColor)};
    const QStringList documented = {"9", "20", "3", "2", "1", "255", "4000", "1", "10", "1", "0",
                                    "0", "1", "1", "1", "0", "1", "0", "1", "0", "0"};
    QCOMPARE(read, documented);
    QCOMPARE(s.MainWindowPosition, (WindowPlacement {500, 500, 8000, 11000}));
    QCOMPARE(s.UserDefinedWincmd, kMarker);
}

void TestSettings::notRedirectedSectionsIgnoreBlanks()
{
    Fixture f;
    const QString file = f.load("[Common]\nTCSectionsNotRedirectedByDefault= LeftHistory ;RightHistory\t;; Selection\n");
    f.env.profile().ReadNotRedirectedSections(file);
    QCOMPARE(f.env.profile().NotRedirectedSections(), QStringList({"LeftHistory", "RightHistory", "Selection"}));
}

void TestSettings::defaultsAndClamps_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("member");
    QTest::addColumn<QString>("expected");
    QTest::newRow("MaxItems below 20") << QByteArray("[Calvenor]\nMaxItems=5\n") << "MaxItems" << "20";
    QTest::newRow("MaxItems 150") << QByteArray("[Calvenor]\nMaxItems=150\n") << "MaxItems" << "99";
    QTest::newRow("MaxItems 100") << QByteArray("[Calvenor]\nMaxItems=100\n") << "MaxItems" << "99";
    QTest::newRow("MaxItems 42") << QByteArray("[Calvenor]\nMaxItems=42\n") << "MaxItems" << "42";
    QTest::newRow("MaxItems not a number") << QByteArray("[Calvenor]\nMaxItems=many\n") << "MaxItems" << "20";
    QTest::newRow("NumberOfRecentFiles 40") << QByteArray("[Common]\nNumberOfRecentFiles=40\n") << "NumberOfRecentFiles" << "16";
    QTest::newRow("NumberOfRecentFiles 1") << QByteArray("[Common]\nNumberOfRecentFiles=1\n") << "NumberOfRecentFiles" << "2";
    QTest::newRow("UnExpandPaths -2") << QByteArray("[Common]\nUnExpandPaths=-2\n") << "UnExpandPaths" << "0";
    QTest::newRow("VerticalPanels 7 acts as 2") << QByteArray("[Calvenor]\nVerticalPanels=7\n") << "VerticalPanels" << "2";
    QTest::newRow("SplitPosition at least a pixel") << QByteArray("[Calvenor]\nSplitPosition=3\n") << "SplitPosition" << "15";
    QTest::newRow("separator missing") << QByteArray("") << "RecentFilesSeparator" << " <> ";
    QTest::newRow("separator empty") << QByteArray("[Common]\nRecentFilesSeparator=\n") << "RecentFilesSeparator" << "";
    QTest::newRow("foreground default") << QByteArray("") << "ForegroundColor" << "-2147483640";
    QTest::newRow("background default") << QByteArray("") << "BackgroundColor" << "-2147483643";
    QTest::newRow("font default") << QByteArray("") << "FontName" << "MS Sans Serif";
    QTest::newRow("language file absent") << QByteArray("") << "LanguageFile" << kMarker;
    QTest::newRow("language file expanded") << QByteArray("[Common]\nLanguageFile=vanteditors:\\Languages\\Deutsch.lng\n")
                                            << "LanguageFile" << "<app>Languages\\Deutsch.lng";
}

void TestSettings::defaultsAndClamps()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, member);
    QFETCH(QString, expected);
    Fixture f;
    f.load(text);
    const cSettings &s = f.settings;
    const QHash<QString, QString> values = {
        {"MaxItems", QString::number(s.MaxItems)},
        {"NumberOfRecentFiles", QString::number(s.NumberOfRecentFiles)},
        {"UnExpandPaths", QString::number(s.UnExpandPaths)},
        {"VerticalPanels", QString::number(s.VerticalPanels)},
        {"SplitPosition", QString::number(s.SplitPosition)},
        {"RecentFilesSeparator", s.RecentFilesSeparator},
        {"ForegroundColor", QString::number(s.ForegroundColor)},
        {"BackgroundColor", QString::number(s.BackgroundColor)},
        {"FontName", s.FontName},
        {"LanguageFile", s.LanguageFile},
    };
    QCOMPARE(values.value(member), QString(expected).replace("<app>", f.env.paths().AppFolder()));
}

void TestSettings::windowPosition()
{
    Fixture f;
    f.load("[Calvenor]\nMainWindowPosition=12000,9003,70009,90000\n");
    QCOMPARE(f.settings.MainWindowPosition, (WindowPlacement {1200, 900, 7000, 9000}));
    f.load("[Calvenor]\nMainWindowPosition=broken\n");
    QCOMPARE(f.settings.MainWindowPosition, WindowPlacement());

    // Maximised at exit: the stored position stays, the flag becomes 1.
    const QString file = f.load("[Calvenor]\nMainWindowPosition=12000,9000,70000,90000\n");
    f.settings.MainWindowMaxmized = true;
    f.settings.MainWindowPosition = {1, 2, 3, 4};
    QCOMPARE(f.settings.SaveWindowSettings(), 0);
    QCOMPARE(f.env.readFile(file), QByteArray("[Calvenor]\nMainWindowPosition=12000,9000,70000,90000\n"
                                              "MainWindowMaxmized=1\nToolbarVisible=1\n"));
    f.settings.MainWindowMaxmized = false;
    QCOMPARE(f.settings.SaveWindowSettings(), 0);
    QVERIFY(f.env.readFile(file).startsWith("[Calvenor]\nMainWindowPosition=10,20,30,40\nMainWindowMaxmized=0\n"));
}

void TestSettings::savesWhatItRead()
{
    Fixture f;
    const QString file = f.load("[Calvenor]\nMaxItems=42\nFontName=\"  DejaVu Sans  \"\nForegroundColor=255\n");
    f.settings.UseDefaultLanguage = false;
    QCOMPARE(f.settings.SaveSettings(), 0);
    cSettings again(f.env.profile(), f.env.paths(), f.registry);
    again.setSettingsFile(file);
    again.LoadSettings();
    QCOMPARE(again.MaxItems, 42);
    QCOMPARE(again.FontName, QStringLiteral("  DejaVu Sans  "));
    QVERIFY(!again.UseDefaultLanguage);
    QCOMPARE(again.ForegroundColor, 255);
    QVERIFY(f.env.readFile(file).contains("FontName=\"  DejaVu Sans  \""));

    // A write that fails is reported.
    QFile::setPermissions(file, QFile::ReadOwner);
    f.settings.MaxItems = 43;
    QVERIFY(f.settings.SaveSettings() != 0);
}

void TestSettings::languageFileKeepsItsStoredForm()
{
    Fixture f;
    const QString file = f.load("[Common]\nLanguageFile=vanteditors:\\Languages\\Deutsch.lng\n");
    QCOMPARE(f.settings.SaveSettings(), 0);
    QVERIFY(f.env.readFile(file).contains("LanguageFile=vanteditors:\\Languages\\Deutsch.lng"));
    f.settings.LanguageFile = f.env.paths().AppFolder() + "Languages/Other.lng";
    QCOMPARE(f.settings.SaveSettings(), 0);
    QVERIFY(f.env.readFile(file).contains("LanguageFile=vanteditors:\\Languages/Other.lng"));
}

// An installed program: bin/ beside share/calvenor/, which holds the language files.
void TestSettings::installedProgramKeepsSettingsInTheConfigFolder_data()
{
    QTest::addColumn<QString>("registryValue");   // "<none>": absent; <env> stands for the test's folder
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("recordedAfter");
    const QString config = "<env>/home/.config/calvenor/";
    QTest::newRow("first start") << "<none>" << config + "vantrel editors.ini" << config + "vantrel editors.ini";
    QTest::newRow("recorded beside the program") << ".\\other.ini" << config + "other.ini" << ".\\other.ini";
    QTest::newRow("recorded elsewhere") << "<env>/cfg/mine.ini" << "<env>/cfg/mine.ini" << "<env>/cfg/mine.ini";
}

void TestSettings::installedProgramKeepsSettingsInTheConfigFolder()
{
    QFETCH(QString, registryValue);
    QFETCH(QString, expected);
    QFETCH(QString, recordedAfter);
    Fixture f;
    for (QString *text : {&registryValue, &expected, &recordedAfter})
        text->replace("<env>/", f.env.path(""));
    QDir().mkpath(f.env.path("cfg"));
    QDir().mkpath(f.env.path("inst/bin"));
    QDir().mkpath(f.env.path("inst/share/calvenor/Languages"));
    PathMacros installed(kMarker, f.env.path("inst/bin/"), QProcessEnvironment::systemEnvironment());
    if (registryValue != u"<none>")
        f.registry.WriteValue(kKey, "IniFileName", registryValue, cRegistry::TextValue);
    cSettings settings(f.env.profile(), installed, f.registry);
    settings.LocateSettingsFile();
    QCOMPARE(settings.SettingsFile(), expected);
    QVERIFY(settings.UnwritableSettingsFile().isEmpty());
    QCOMPARE(f.registry.ReadValue(kKey, "IniFileName"), recordedAfter);
    // The folder is made, so the first save works; bin/ gets nothing.
    settings.LoadSettings();
    QCOMPARE(settings.SaveSettings(), 0);
    QVERIFY(QFileInfo::exists(expected));
    QCOMPARE(QDir(f.env.path("inst/bin")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
}

void TestSettings::installedProgramFindsItsLanguageFiles_data()
{
    QTest::addColumn<QStringList>("files");    // under the test's folder
    QTest::addColumn<QString>("stored");       // <env> stands for the test's folder
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("saved");        // empty: as stored

    const QString shared = "inst/share/calvenor/Languages/Deutsch.lng";
    const QString macro = "vanteditors:\\Languages\\Deutsch.lng";
    QTest::newRow("macro form, file in share/") << QStringList {shared} << macro << "<env>/" + shared << QString();
    QTest::newRow("full path into bin/, file in share/")
        << QStringList {shared} << "<env>/inst/bin/Languages/Deutsch.lng" << "<env>/" + shared
        << "vanteditors:\\Languages/Deutsch.lng";
    QTest::newRow("file in neither place") << QStringList {shared} << "vanteditors:\\Languages\\Gone.lng"
                                           << "<env>/inst/bin/Languages\\Gone.lng" << QString();
    QTest::newRow("file beside the program wins") << QStringList {shared, "inst/bin/Languages/Deutsch.lng"} << macro
                                                  << "<env>/inst/bin/Languages\\Deutsch.lng" << QString();
    QTest::newRow("file elsewhere") << QStringList {shared, "mine/Deutsch.lng"} << "<env>/mine/Deutsch.lng"
                                    << "<env>/mine/Deutsch.lng" << QString();
}

void TestSettings::installedProgramFindsItsLanguageFiles()
{
    QFETCH(QStringList, files);
    QFETCH(QString, stored);
    QFETCH(QString, expected);
    QFETCH(QString, saved);
    Fixture f;
    stored.replace("<env>/", f.env.path(""));
    expected.replace("<env>/", f.env.path(""));
    QDir().mkpath(f.env.path("inst/bin"));
    for (const QString &file : std::as_const(files))
        f.env.writeFile(file, "[UserLanguage]\r\n");
    PathMacros installed(kMarker, f.env.path("inst/bin/"), QProcessEnvironment::systemEnvironment());
    cSettings settings(f.env.profile(), installed, f.registry);
    const QString file = f.env.writeFile("cfg/vantrel editors.ini", "[Common]\nLanguageFile=" + stored.toUtf8() + "\n");
    settings.setSettingsFile(file);
    settings.LoadSettings();
    QCOMPARE(settings.LanguageFile, expected);
    // The stored form names the same file, so a save keeps it (in macro form).
    QCOMPARE(settings.SaveSettings(), 0);
    const QByteArray line = "LanguageFile=" + (saved.isEmpty() ? stored : saved).toUtf8() + "\n";
    QVERIFY2(f.env.readFile(file).contains(line), f.env.readFile(file).constData());
}

void TestSettings::missingFileIsCreatedWithAnEmptyCommonSection()
{
    Fixture f;
    const QString file = f.env.path("app/new settings.ini");
    f.settings.setSettingsFile(file);
    f.settings.LoadSettings();
    QCOMPARE(f.env.readFile(file), QByteArray("[Common]\r\n"));
}

void TestSettings::findOptions()
{
    Fixture f;
    const QString file = f.load("[Calvenor]\nFindOptions=3,2,1\n");
    f.settings.ReadFindOptions();
    QCOMPARE(f.settings.FindOptionsEntry, 3);
    QCOMPARE(f.settings.FindOptionsColumn, 2);
    QVERIFY(f.settings.FindOptionsWholeWord);
    QCOMPARE(f.settings.SaveFindOptions(), 0);
    QVERIFY(f.env.readFile(file).contains("FindOptions=3,0,1"));
}

void TestSettings::keepRules()
{
    Fixture f;
    // By number, not by line; a gap is skipped, a name written twice is its first line,
    // a ";" is part of the pattern.
    const QString file = f.load("[Calvenor]\nKeepRule10=ten\nkeeprule2=two;2\nKeepRule2=again\nKeepRuleX=no\n"
                                "KeepRule5=  \nMaxItems=30\n");
    QCOMPARE(f.settings.KeepPatterns, QStringList({"two;2", "ten"}));
    // Written over the keys where they stand, the rest removed, a stale second line too.
    f.settings.KeepPatterns = QStringList {"a;b", " \"c\" ", ""};
    QCOMPARE(f.settings.SaveSettings(), 0);
    const QByteArray text = f.env.readFile(file);
    QVERIFY2(text.startsWith("[Calvenor]\nKeepRuleX=no\nMaxItems=30\n"), text.constData());
    QCOMPARE(text.count("KeepRule"), 3);
    QVERIFY(text.contains("\nKeepRule1=a;b\n") && text.contains("\nKeepRule2=\"\"c\"\"\n"));
    f.settings.LoadSettings();
    QCOMPARE(f.settings.KeepPatterns, QStringList({"a;b", "\"c\""}));
    // No rules, no keys: a file without any stays without.
    f.settings.KeepPatterns.clear();
    QCOMPARE(f.settings.SaveSettings(), 0);
    QVERIFY(!f.env.readFile(file).contains("KeepRule1"));
}

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
