#include "core/missingvaluemarker.h"
#include "core/pathmacros.h"
#include "support/testenvironment.h"

#include <QRegularExpression>
#include <QtTest>

using namespace calvenor;
using calvenor::test::kMarker;

class TestPathMacros : public QObject
{
    Q_OBJECT
private slots:
    void expandPath_data();
    void expandPath();
    void unexpandPath_data();
    void unexpandPath();
    void smallHelpers();
    void markerShape();
};

static PathMacros makeMacros()
{
    QProcessEnvironment environment;
    environment.insert("APPDATA", "C:\\users\\me\\AppData\\Roaming");
    environment.insert("Commander_Path", "c:\\totalcmd");
    environment.insert("WINEPREFIX", "/nonexistent-prefix");
    PathMacros macros(kMarker, "/opt/calvenor/", environment);
    macros.setTCInstallDir("c:\\totalcmd\\");
    macros.setFallbackVariable("LOCALAPPDATA", "C:\\users\\me\\AppData\\Local");
    return macros;
}

void TestPathMacros::expandPath_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("expanded");
    QTest::newRow("empty") << "" << "";
    QTest::newRow("marker passes") << kMarker << kMarker;
    QTest::newRow("program folder prefix") << "vanteditors:\\Languages\\de.lng" << "/opt/calvenor/Languages\\de.lng";
    QTest::newRow("prefix ignores case") << "VantEditors:\\x.ini" << "/opt/calvenor/x.ini";
    QTest::newRow("environment reference") << "%APPDATA%\\GHISLER\\wincmd.ini" << "C:\\users\\me\\AppData\\Roaming\\GHISLER\\wincmd.ini";
    QTest::newRow("reference ignores case") << "%commander_path%\\wincmd.ini" << "c:\\totalcmd\\wincmd.ini";
    QTest::newRow("fallback for a variable the environment lacks") << "%LocalAppData%\\x" << "C:\\users\\me\\AppData\\Local\\x";
    QTest::newRow("unset variable stays") << "%NOPE%\\x" << "%NOPE%\\x";
    QTest::newRow("unset then set") << "%NOPE%%APPDATA%" << "%NOPE%C:\\users\\me\\AppData\\Roaming";
    QTest::newRow("single percent") << "100%" << "100%";
    QTest::newRow("NUL removed") << QString::fromUtf16(u"a\0b", 3) << "ab";
}

void TestPathMacros::expandPath()
{
    QFETCH(QString, stored);
    QFETCH(QString, expanded);
    QCOMPARE(makeMacros().ExpandPath(stored), expanded);
}

void TestPathMacros::unexpandPath_data()
{
    QTest::addColumn<int>("flags");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("stored");
    QTest::newRow("program folder") << 3 << "/opt/calvenor/de.lng" << "vanteditors:\\de.lng";
    QTest::newRow("program folder, other case") << 3 << "/OPT/Calvenor/de.lng" << "vanteditors:\\de.lng";
    QTest::newRow("install folder") << 3 << "C:\\TotalCmd\\wincmd.ini" << "%Commander_Path%\\wincmd.ini";
    QTest::newRow("install folder with slashes") << 2 << "c:/totalcmd/wincmd.ini" << "%Commander_Path%\\wincmd.ini";
    QTest::newRow("bit 1 off") << 2 << "/opt/calvenor/de.lng" << "/opt/calvenor/de.lng";
    QTest::newRow("bit 2 off") << 1 << "c:\\totalcmd\\wincmd.ini" << "c:\\totalcmd\\wincmd.ini";
    QTest::newRow("elsewhere") << 3 << "/home/me/wincmd.ini" << "/home/me/wincmd.ini";
    QTest::newRow("marker") << 3 << kMarker << kMarker;
}

void TestPathMacros::unexpandPath()
{
    QFETCH(int, flags);
    QFETCH(QString, path);
    QFETCH(QString, stored);
    PathMacros macros = makeMacros();
    macros.setUnExpandPaths(flags);
    QCOMPARE(macros.UnexpandPath(path), stored);
    if (stored.startsWith(u"vanteditors"))
        QCOMPARE(macros.ExpandPath(stored).toLower(), path.toLower());
}

void TestPathMacros::smallHelpers()
{
    QCOMPARE(AddBackslash("c:\\tc"), QStringLiteral("c:\\tc\\"));
    QCOMPARE(AddBackslash("c:\\tc\\"), QStringLiteral("c:\\tc\\"));
    QCOMPARE(AddBackslash("/home/me"), QStringLiteral("/home/me/"));
    QCOMPARE(AddBackslash("/home/me/"), QStringLiteral("/home/me/"));
    QVERIFY(GetTempFolder().endsWith(u'/'));
    QCOMPARE(folderOf("c:\\tc\\wincmd.ini"), QStringLiteral("c:\\tc\\"));
    QCOMPARE(folderOf("/a/b\\c.ini"), QStringLiteral("/a/b\\"));
    QCOMPARE(folderOf("wincmd.ini"), QStringLiteral("wincmd.ini"));
    QVERIFY(!FileExists(QString()));
    QVERIFY(FileExists("/"));
}

void TestPathMacros::markerShape()
{
    QRandomGenerator generator(42);
    const QRegularExpression shape("^[A-Z]{6}[0-9]{6}[a-z]{6}$");
    for (int i = 0; i < 200; ++i)
        QVERIFY(shape.match(makeMissingValueMarker(generator)).hasMatch());
    QVERIFY(shape.match(makeMissingValueMarker()).hasMatch());
}

QTEST_GUILESS_MAIN(TestPathMacros)
#include "tst_pathmacros.moc"
