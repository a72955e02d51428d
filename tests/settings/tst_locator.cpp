#include "settings/ccommondialog.h"
#include "settings/cdefaultstrings.h"
#include "settings/csettings.h"
#include "settings/filemanagerlocator.h"
#include "support/scriptedperson.h"
#include "support/testenvironment.h"

#include <QDir>
#include <QFile>
#include <QtTest>

#include <sys/stat.h>

using namespace calvenor;
using calvenor::test::kMarker;
using calvenor::test::ScriptedPerson;
using calvenor::test::TestEnvironment;

namespace {

class DefaultTexts : public LanguageSource
{
public:
    QString GetLanguageString(int lngId) const override { return cDefaultStrings().GetDefaultString(lngId); }
};

// A Wine prefix with a file manager in it, built by the test, and everything the
// locator needs around it.
struct Fixture
{
    explicit Fixture(const QByteArray &userReg = QByteArray(), const QByteArray &systemReg = QByteArray(),
                     const QHash<QString, QString> &variables = {})
    {
        env.writeFile("prefix/drive_c/windows/.keep", "");
        env.writeFile("app/.keep", "");
        m_oldTemp = qgetenv("TMPDIR");
        env.writeFile("prefix/user.reg", "WINE REGISTRY Version 2\n" + userReg);
        env.writeFile("prefix/system.reg", "WINE REGISTRY Version 2\n" + systemReg);
        qputenv("TMPDIR", QFile::encodeName(env.path("tmp")));
        QDir().mkpath(env.path("tmp"));
        QProcessEnvironment environment;
        environment.insert("WINEPREFIX", env.path("prefix"));
        environment.insert("HOME", env.path("home"));
        for (auto it = variables.cbegin(); it != variables.cend(); ++it)
            environment.insert(it.key(), it.value());
        paths = std::make_unique<PathMacros>(kMarker, env.path("app/"), environment);
        profile = std::make_unique<cProfile>(*paths, QString());
        registry = std::make_unique<cRegistry>(kMarker, env.path("store.reg"), env.path("prefix"));
        settings = std::make_unique<cSettings>(*profile, *paths, *registry);
        settings->setSettingsFile(env.path("app/vantrel editors.ini"));
        dialog = std::make_unique<cCommonDialog>(person, texts, registry.get());
        locator = std::make_unique<FileManagerLocator>(*paths, *registry, *settings, *profile, person, texts, *dialog);
        locator->LearnWineFolders();
    }
    ~Fixture() { qputenv("TMPDIR", m_oldTemp); }
    QString drive(const QString &relative) const
    {
        return QFileInfo(env.path("prefix/drive_c")).canonicalFilePath() + u'/' + relative;
    }

    TestEnvironment env;
    ScriptedPerson person;
    DefaultTexts texts;
    std::unique_ptr<PathMacros> paths;
    std::unique_ptr<cProfile> profile;
    std::unique_ptr<cRegistry> registry;
    std::unique_ptr<cSettings> settings;
    std::unique_ptr<cCommonDialog> dialog;
    std::unique_ptr<FileManagerLocator> locator;
    QByteArray m_oldTemp;
};

const QByteArray kShellFolders =
    "[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Explorer\\\\Shell Folders] 1\n"
    "\"AppData\"=\"C:\\\\users\\\\me\\\\AppData\\\\Roaming\"\n";

} // namespace

class TestLocator : public QObject
{
    Q_OBJECT
private slots:
    void findsAFileManagerInAWinePrefixWithNoSetting();
    void findsAPortableInstallation();
    void bareNameLivesInTheWindowsFolder();
    void machineValuesOfA32BitInstallation();
    void environmentWins_data();
    void environmentWins();
    void missingRegistryFileFallsThroughToTheUserSetting();
    void installFolderSources_data();
    void installFolderSources();
    void cancellingBothQuestionsLeavesPlaceholderFiles();
    void chosenFileIsStoredInMacroForm();
    void whatIsNoRegularFileIsRefused();
    void commonDialog();
};

void TestLocator::findsAFileManagerInAWinePrefixWithNoSetting()
{
    Fixture f("[Software\\\\Ghisler\\\\Total Commander] 1\n"
              "\"IniFileName\"=str(2):\"%APPDATA%\\\\GHISLER\\\\WINCMD.INI\"\n"
              "\"FtpIniName\"=\"%appdata%\\\\ghisler\\\\wcx_ftp.ini\"\n"
              "\"InstallDir\"=\"C:\\\\totalcmd\"\n" + kShellFolders);
    f.env.writeFile("prefix/drive_c/users/me/AppData/Roaming/GHISLER/wincmd.ini", "[Configuration]\n");
    f.env.writeFile("prefix/drive_c/users/me/AppData/Roaming/GHISLER/wcx_ftp.ini", "");
    QCOMPARE(f.locator->GetFileManagerFolder(), QStringLiteral("C:\\totalcmd\\"));
    QCOMPARE(f.locator->FindWincmdIni(), QStringLiteral("C:\\users\\me\\AppData\\Roaming\\GHISLER\\WINCMD.INI"));
    QCOMPARE(f.paths->nativePath(f.locator->FindWincmdIni()), f.drive("users/me/AppData/Roaming/GHISLER/wincmd.ini"));
    QCOMPARE(f.locator->FindWcxftpIni(), QStringLiteral("C:\\users\\me\\AppData\\Roaming\\ghisler\\wcx_ftp.ini"));
    QVERIFY(f.person.asked.isEmpty());
    // The folder found is remembered for runs where no source has it.
    QCOMPARE(f.settings->Read("Common", "TCInstallDir", kMarker), QStringLiteral("C:\\totalcmd"));
}

void TestLocator::findsAPortableInstallation()
{
    Fixture f("", "[Software\\\\Ghisler\\\\Total Commander] 1\n\"InstallDir\"=\"C:\\\\tc\"\n\"IniFileName\"=\".\\\\wincmd.ini\"\n");
    f.env.writeFile("prefix/drive_c/tc/wincmd.ini", "");
    f.paths->setTCInstallDir(f.locator->GetFileManagerFolder());
    QCOMPARE(f.locator->FindWincmdIni(), QStringLiteral("C:\\tc\\wincmd.ini"));
}

void TestLocator::bareNameLivesInTheWindowsFolder()
{
    Fixture f("[Software\\\\Ghisler\\\\Total Commander] 1\n\"IniFileName\"=\"wincmd.ini\"\n");
    f.env.writeFile("prefix/drive_c/windows/wincmd.ini", "");
    QCOMPARE(f.locator->FindWincmdIni(), QStringLiteral("C:\\windows\\wincmd.ini"));
}

void TestLocator::machineValuesOfA32BitInstallation()
{
    Fixture f("", "[Software\\\\Wow6432Node\\\\Ghisler\\\\Total Commander] 1\n\"InstallDir\"=\"C:\\\\Program Files\\\\totalcmd\"\n");
    QCOMPARE(f.locator->GetFileManagerFolder(), QStringLiteral("C:\\Program Files\\totalcmd\\"));
    QCOMPARE(f.paths->ExpandPath("%COMMANDER_PATH%\\x"), QStringLiteral("C:\\Program Files\\totalcmd\\x"));
}

void TestLocator::environmentWins_data()
{
    // Windows environment names ignore case; the file manager itself sets COMMANDER_PATH.
    QTest::addColumn<QString>("iniName");
    QTest::addColumn<QString>("pathName");
    QTest::newRow("documented spelling") << "Commander_INI" << "Commander_Path";
    QTest::newRow("as the file manager sets them") << "COMMANDER_INI" << "COMMANDER_PATH";
    QTest::newRow("small letters") << "commander_ini" << "commander_path";
}

void TestLocator::environmentWins()
{
    QFETCH(QString, iniName);
    QFETCH(QString, pathName);
    TestEnvironment scratch;
    const QString ini = scratch.writeFile("mine/wincmd.ini", "");
    Fixture f("[Software\\\\Ghisler\\\\Total Commander] 1\n\"IniFileName\"=\"C:\\\\x.ini\"\n\"InstallDir\"=\"C:\\\\a\"\n", "",
              {{iniName, ini}, {pathName, "/opt/tc"}});
    f.env.writeFile("prefix/drive_c/x.ini", "");
    QCOMPARE(f.locator->FindWincmdIni(), ini);
    QCOMPARE(f.locator->GetFileManagerFolder(), QStringLiteral("/opt/tc/"));

    Fixture missing("[Software\\\\Ghisler\\\\Total Commander] 1\n\"IniFileName\"=\"C:\\\\x.ini\"\n", "",
                    {{iniName, scratch.path("gone.ini")}});
    missing.env.writeFile("prefix/drive_c/x.ini", "");
    QCOMPARE(missing.locator->FindWincmdIni(), QStringLiteral("C:\\x.ini"));
}

void TestLocator::missingRegistryFileFallsThroughToTheUserSetting()
{
    // The current user's value names a missing file: the machine value is not tried.
    Fixture f("[Software\\\\Ghisler\\\\Total Commander] 1\n\"IniFileName\"=\"C:\\\\gone.ini\"\n",
              "[Software\\\\Ghisler\\\\Total Commander] 1\n\"IniFileName\"=\"C:\\\\machine.ini\"\n");
    f.env.writeFile("prefix/drive_c/machine.ini", "");
    const QString mine = f.env.writeFile("mine.ini", "");
    f.settings->Write("Common", "UserDefinedWincmd", mine);
    QCOMPARE(f.locator->FindWincmdIni(), mine);
}

void TestLocator::installFolderSources_data()
{
    QTest::addColumn<QByteArray>("settingsText");
    QTest::addColumn<QString>("expected");
    QTest::newRow("nothing anywhere") << QByteArray() << kMarker;
    QTest::newRow("remembered folder") << QByteArray("[Common]\nTCInstallDir=D:\\tc\n") << "D:\\tc\\";
}

void TestLocator::installFolderSources()
{
    QFETCH(QByteArray, settingsText);
    QFETCH(QString, expected);
    Fixture f;
    f.env.writeFile("app/vantrel editors.ini", settingsText);
    QCOMPARE(f.locator->GetFileManagerFolder(), expected);
}

void TestLocator::cancellingBothQuestionsLeavesPlaceholderFiles()
{
    Fixture f;
    const QString wincmd = f.locator->FindWincmdIni();
    const QString wcxftp = f.locator->FindWcxftpIni();
    QCOMPARE(f.person.messages(), QStringList({"Cannot find Total Commander settings file [Wincmd.ini]",
                                               "Cannot find Total Commander settings file [Wcx_ftp.ini]"}));
    QCOMPARE(f.person.asked[1].kind, QStringLiteral("file"));
    QCOMPARE(f.person.asked[1].file.proposedName, QStringLiteral("Wincmd.ini"));
    QCOMPARE(f.person.asked[1].file.filters.first().first, QStringLiteral("Wincmd.ini (*.ini)"));
    QCOMPARE(f.person.asked[3].file.proposedName, QStringLiteral("Wcx_ftp.ini"));
    QCOMPARE(wincmd, f.env.path("tmp/wincmd.ini"));
    QCOMPARE(f.env.readFile(wincmd), QByteArray("[Configuration]\r\nfirstmnu=512\r\nPanelsVertical=0\r\n"));
    QCOMPARE(f.env.readFile(wcxftp), QByteArray("[General]\r\n"));
    // The next start finds them through the settings, without asking.
    f.person.asked.clear();
    QCOMPARE(f.locator->FindWincmdIni(), wincmd);
    QCOMPARE(f.locator->FindWcxftpIni(), wcxftp);
    QVERIFY(f.person.asked.isEmpty());
}

void TestLocator::chosenFileIsStoredInMacroForm()
{
    Fixture f;
    const QString chosen = f.env.writeFile("app/inis/wincmd.ini", "");
    f.person.answerFile(chosen);
    QCOMPARE(f.locator->FindWincmdIni(), chosen);
    QCOMPARE(f.settings->Read("Common", "UserDefinedWincmd", kMarker), QStringLiteral("vanteditors:\\inis/wincmd.ini"));
}

void TestLocator::whatIsNoRegularFileIsRefused()
{
    // A pipe would block the reader for ever; a folder is no file either. Each is refused
    // with a message and counts as absent, down to the person's own choice.
    TestEnvironment scratch;
    const QString pipe = scratch.path("pipe.ini");
    QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    Fixture f("[Software\\\\Ghisler\\\\Total Commander] 1\n\"IniFileName\"=\"C:\\\\folder.ini\"\n", "",
              {{"COMMANDER_INI", pipe}});
    QDir().mkpath(f.env.path("prefix/drive_c/folder.ini"));
    const QString device = "/dev/null";
    f.person.answerFile(device);
    const QString wincmd = f.locator->FindWincmdIni();
    QCOMPARE(wincmd, f.env.path("tmp/wincmd.ini"));   // the placeholder, as when the question is cancelled
    const QStringList messages = f.person.messages();
    QCOMPARE(messages.size(), 4);
    QCOMPARE(messages[0], "Not a regular file: " + pipe);
    QCOMPARE(messages[1], QStringLiteral("Not a regular file: C:\\folder.ini"));
    QCOMPARE(messages[3], "Not a regular file: " + device);
}

void TestLocator::commonDialog()
{
    Fixture f;
    cCommonDialog &dialog = *f.dialog;
    dialog.Setup("/start");
    f.person.answerFile(QString());                              // confirmed without a name
    QCOMPARE(dialog.ShowOpenDialog("", "", 1, "", true), 0);
    QVERIFY(!dialog.Success);
    QCOMPARE(f.person.asked.last().file.folder, QStringLiteral("/start"));
    QCOMPARE(f.person.asked.last().file.title, QStringLiteral("Open"));
    f.person.answerFile(QString::fromUtf16(u"/data/one.ini\0junk", 18));
    dialog.ShowOpenDialog("", "", 2, "", true);
    QVERIFY(dialog.Success);
    QCOMPARE(dialog.FileName, QStringLiteral("/data/one.ini"));
    dialog.ShowSaveDialog("", "x.ini", 5, "");
    QCOMPARE(f.person.asked.last().file.folder, QStringLiteral("/data/"));
    QCOMPARE(f.person.asked.last().file.title, QStringLiteral("Save"));
    QVERIFY(f.person.asked.last().file.confirmOverwrite);
    QCOMPARE(dialog.ShowOpenDialog("", "", 14, "", true), int(errInvalidCall));
    QCOMPARE(cCommonDialog::Filter(11).size(), 1);
    QCOMPARE(cCommonDialog::Filter(10).size(), 2);

    f.registry->WriteValue("HKEY_CURRENT_USER\\Control Panel\\Colors", "Window", "255 128 0", 1);
    f.person.answerColor(qint32(0x80112233));
    dialog.ShowColorDialog(-2147483643, "Window");
    QCOMPARE(f.person.asked.last().color, 255 + 256 * 128);
    QCOMPARE(dialog.Color, QString::number(0x112233));

    dialog.FontName = "Sans";
    dialog.FontSize = 12;
    dialog.FontStyle = 1 | 8;
    FontChoice semibold;
    semibold.name = QString(40, u'n');
    semibold.sizeTenths = 105;
    semibold.weight = 600;
    semibold.italic = true;
    f.person.answerFont(semibold);
    dialog.ShowFontDialog();
    QCOMPARE(f.person.asked.last().font.sizeTenths, 120);
    QCOMPARE(f.person.asked.last().font.weight, 700);
    QVERIFY(f.person.asked.last().font.underline);
    QCOMPARE(dialog.FontName.size(), 31);
    QCOMPARE(dialog.FontSize, 11);
    QCOMPARE(dialog.FontStyle, 2);
}

QTEST_GUILESS_MAIN(TestLocator)
#include "tst_locator.moc"
