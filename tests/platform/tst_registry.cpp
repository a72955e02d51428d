#include "platform/cregistry.h"
#include "platform/wineregistryfile.h"
#include "support/testenvironment.h"

#include <QtTest>

using namespace calvenor;
using calvenor::test::kMarker;
using calvenor::test::TestEnvironment;

// The registry on Linux: our own store in Wine's text format, with read-only fallback
// to the Wine prefix's hives.
class TestRegistry : public QObject
{
    Q_OBJECT
private slots:
    void parsesWineHives_data();
    void parsesWineHives();
    void writesAndReadsBack_data();
    void writesAndReadsBack();
    void readLimitAndRoots();
    void storeShadowsWineAndNeverWritesIt();
    void deleteKeyRemovesTheSubtree();
    void malformedFilesReadAsAbsent();
    void escapesRoundTrip();
};

static const QByteArray kUserReg =
    "WINE REGISTRY Version 2\n"
    ";; All keys relative to \\\\User\\\\S-1-5-21-0-0-0-1000\n"
    "\n"
    "#arch=win64\n"
    "\n"
    "[Software\\\\Ghisler\\\\Total Commander] 1733650000\n"
    "#time=1db4a7e3c1b2f30\n"
    "\"IniFileName\"=str(2):\"%APPDATA%\\\\GHISLER\\\\wincmd.ini\"\n"
    "\"InstallDir\"=\"C:\\\\totalcmd\"\n"
    "\"Count\"=dword:00000005\n"
    "\"Big\"=dword:ffffffff\n"
    "\"Blob\"=hex:01,ab,\\\n"
    "  ff\n"
    "\"Wide\"=hex(2):41,00,42,00,00,00\n"
    "@=\"default \\\"quoted\\\"\"\n"
    "\"Tabbed\"=\"a\\tb\\x00e4\"\n"
    "\n"
    "[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Explorer\\\\Shell Folders] 1733650000\n"
    "\"AppData\"=\"C:\\\\users\\\\me\\\\AppData\\\\Roaming\"\n";

void TestRegistry::parsesWineHives_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("expected");
    const QString tc = "HKEY_CURRENT_USER\\Software\\Ghisler\\Total Commander";
    QTest::newRow("expandable text, not expanded") << tc << "IniFileName" << "%APPDATA%\\GHISLER\\wincmd.ini";
    QTest::newRow("plain text") << tc << "InstallDir" << "C:\\totalcmd";
    QTest::newRow("number with three digits") << tc << "Count" << "005";
    QTest::newRow("number unsigned") << tc << "Big" << "4294967295";
    QTest::newRow("binary over continued lines") << tc << "Blob" << "01ABFF";
    QTest::newRow("hex(2) is text") << tc << "Wide" << "AB";
    QTest::newRow("default value") << tc << "" << "default \"quoted\"";
    QTest::newRow("escapes") << tc << "Tabbed" << "a\tbä";
    QTest::newRow("names ignore case") << "hkey_current_user\\SOFTWARE\\ghisler\\total commander" << "installdir" << "C:\\totalcmd";
    QTest::newRow("absent value") << tc << "Nothing" << kMarker;
    QTest::newRow("absent key") << "HKEY_CURRENT_USER\\Software\\Nobody" << "x" << kMarker;
    QTest::newRow("other root") << "HKEY_LOCAL_MACHINE\\Software\\Ghisler\\Total Commander" << "InstallDir" << kMarker;
    QTest::newRow("unknown root") << "HKEY_NOWHERE\\Software\\Ghisler\\Total Commander" << "InstallDir" << kMarker;
}

void TestRegistry::parsesWineHives()
{
    QFETCH(QString, key);
    QFETCH(QString, name);
    QFETCH(QString, expected);
    TestEnvironment env;
    env.writeFile("prefix/user.reg", kUserReg);
    const cRegistry registry(kMarker, env.path("store.reg"), env.path("prefix"));
    QCOMPARE(registry.ReadValue(key, name), expected);
}

void TestRegistry::writesAndReadsBack_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("expected");
    QTest::newRow("text") << QVariant("abc") << 1 << "abc";
    QTest::newRow("number") << QVariant(1234) << 4 << "1234";
    QTest::newRow("small number padded") << QVariant(7) << 4 << "007";
    QTest::newRow("negative number as unsigned") << QVariant(-1) << 4 << "4294967295";
    QTest::newRow("number given as text") << QVariant("42") << 4 << "042";
    QTest::newRow("text with quotes, backslashes, umlauts") << QVariant(".\\vantrel \"editors\".ini ä") << 1 << ".\\vantrel \"editors\".ini ä";
    QTest::newRow("empty text") << QVariant("") << 1 << "";
}

void TestRegistry::writesAndReadsBack()
{
    QFETCH(QVariant, value);
    QFETCH(int, type);
    QFETCH(QString, expected);
    TestEnvironment env;
    cRegistry registry(kMarker, env.path("config/calvenor/registry.reg"), env.path("prefix"));
    const QString key = "HKEY_CURRENT_USER\\Software\\VantrelEditors\\Common";
    QCOMPARE(registry.WriteValue(key, "IniFileName", value, quint32(type)), 0);
    QCOMPARE(registry.ReadValue(key, "IniFileName"), expected);
    // A second object sees the same store: nothing is kept in memory between calls.
    QCOMPARE(cRegistry(kMarker, env.path("config/calvenor/registry.reg"), QString()).ReadValue(key, "inifilename"), expected);
}

void TestRegistry::readLimitAndRoots()
{
    TestEnvironment env;
    cRegistry registry(kMarker, env.path("store.reg"), QString());
    const QString key = "hkey_local_machine\\Software\\Test";
    registry.WriteValue(key, "fits", QString(2047, u'x'), 1);
    registry.WriteValue(key, "toolong", QString(2048, u'x'), 1);
    QCOMPARE(registry.ReadValue(key, "fits").size(), 2047);
    QCOMPARE(registry.ReadValue(key, "toolong"), kMarker);
    QCOMPARE(registry.ReadValue("HKEY_LOCAL_MACHINE\\software\\TEST", "FITS").size(), 2047);
    QCOMPARE(registry.WriteValue("Software\\Test", "x", "y", 1), int(errPathNotFound));
    QCOMPARE(registry.ReadValue("Software\\Test", "x"), kMarker);
}

void TestRegistry::storeShadowsWineAndNeverWritesIt()
{
    TestEnvironment env;
    env.writeFile("prefix/user.reg", kUserReg);
    env.writeFile("prefix/system.reg", "WINE REGISTRY Version 2\n[Software\\\\Ghisler\\\\Total Commander] 1\n\"InstallDir\"=\"D:\\\\tc\"\n");
    cRegistry registry(kMarker, env.path("store.reg"), env.path("prefix"));
    const QString user = "HKEY_CURRENT_USER\\Software\\Ghisler\\Total Commander";
    QCOMPARE(registry.ReadValue("HKEY_LOCAL_MACHINE\\Software\\Ghisler\\Total Commander", "InstallDir"), QStringLiteral("D:\\tc"));
    QCOMPARE(registry.WriteValue(user, "InstallDir", "E:\\mine", 1), 0);
    QCOMPARE(registry.ReadValue(user, "InstallDir"), QStringLiteral("E:\\mine"));
    QCOMPARE(registry.ReadValue(user, "IniFileName"), QStringLiteral("%APPDATA%\\GHISLER\\wincmd.ini"));
    QCOMPARE(env.readFile("prefix/user.reg"), kUserReg);

    // Wine changed its hive meanwhile: the next read sees it.
    QCOMPARE(registry.ReadValue(user, "Count"), QStringLiteral("005"));
    QByteArray changed = kUserReg;
    changed.replace("dword:00000005", "dword:00000006");
    env.writeFile("prefix/user.reg", changed);
    QCOMPARE(registry.ReadValue(user, "Count"), QStringLiteral("006"));
}

void TestRegistry::deleteKeyRemovesTheSubtree()
{
    TestEnvironment env;
    cRegistry registry(kMarker, env.path("store.reg"), QString());
    registry.WriteValue("HKEY_CURRENT_USER\\A\\B", "v", "1", 1);
    registry.WriteValue("HKEY_CURRENT_USER\\A\\B\\C", "v", "2", 1);
    registry.WriteValue("HKEY_CURRENT_USER\\A\\Bee", "v", "3", 1);
    QCOMPARE(registry.Deletekey("HKEY_CURRENT_USER\\a\\b"), 0);
    QCOMPARE(registry.ReadValue("HKEY_CURRENT_USER\\A\\B", "v"), kMarker);
    QCOMPARE(registry.ReadValue("HKEY_CURRENT_USER\\A\\B\\C", "v"), kMarker);
    QCOMPARE(registry.ReadValue("HKEY_CURRENT_USER\\A\\Bee", "v"), QStringLiteral("3"));
}

void TestRegistry::malformedFilesReadAsAbsent()
{
    TestEnvironment env;
    env.writeFile("prefix/user.reg", QByteArray("\0\xff[Software\\\\X\n\"a\"=dword:zz\n\"b\"=hex:1g\n\"c\"=str(:\"x\n"
                                                "\"d\"=hex:01,\\\n", 48)
                                         + QByteArray(100000, '\\') + "\n[\n\"e\"\n=");
    cRegistry registry(kMarker, env.path("store.reg"), env.path("prefix"));
    for (const char *name : {"a", "b", "c", "d", "e"})
        QCOMPARE(registry.ReadValue("HKEY_CURRENT_USER\\Software\\X", name), kMarker);
    env.writeFile("store.reg", QByteArray(5000, '\0'));
    QCOMPARE(registry.ReadValue("HKEY_CURRENT_USER\\Software\\X", "a"), kMarker);
    QCOMPARE(registry.WriteValue("HKEY_CURRENT_USER\\Software\\X", "a", "ok", 1), 0);
    QCOMPARE(registry.ReadValue("HKEY_CURRENT_USER\\Software\\X", "a"), QStringLiteral("ok"));
}

void TestRegistry::escapesRoundTrip()
{
    const QString text = QString::fromUtf16(u"q\"b\\n\r\t\u00e4\u4e2d\x01 0x41");
    QCOMPARE(unescapeRegistryText(QString(escapeRegistryText(text) + u'"')), text);
    WineRegistryFile file;
    RegistryValue value;
    value.text = text;
    file.setValue("K\\Sub", "na\"me", value);
    const WineRegistryFile again = WineRegistryFile::parse(file.serialize());
    QVERIFY(again.value("k\\sub", "NA\"ME"));
    QCOMPARE(again.value("k\\sub", "NA\"ME")->text, text);
}

QTEST_GUILESS_MAIN(TestRegistry)
#include "tst_registry.moc"
