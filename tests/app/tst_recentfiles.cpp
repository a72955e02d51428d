#include "app/crecentfiles.h"
#include "app/titlebar.h"
#include "support/scriptedperson.h"
#include "support/testenvironment.h"

#include <QtTest>

using namespace calvenor;
using calvenor::test::kMarker;
using calvenor::test::ScriptedPerson;
using calvenor::test::TestEnvironment;

namespace {

struct Fixture
{
    explicit Fixture(int max = 4)
        : recent(env.paths(), env.profile(), person)
    {
        recent.Setup(max, "No Recent Files", "Clear List", "Are you sure?", " <> ");
    }
    QStringList entries() const
    {
        QStringList list;
        for (int i = 1; i <= recent.Max(); ++i)
            list << (recent.ListItems(i) == kMarker ? QString("-") : recent.ListItems(i));
        return list;
    }
    TestEnvironment env;
    ScriptedPerson person;
    cRecentFiles recent;
};

} // namespace

class TestRecentFiles : public QObject
{
    Q_OBJECT
private slots:
    void shortening_data();
    void shortening();
    void titleBar();
    void addingMovesToTheTop();
    void theOldestFallsOff();
    void menuLayout();
    void clearAsksFirst();
    void savedAndReadInMacroForm();
};

void TestRecentFiles::shortening_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("shown");
    const QString long1 = "C:\\" + QString(90, u'a') + "0123456789abcdef";
    QTest::newRow("example of eight folders")
        << "D:\\Portable\\Tools\\File Manager\\Configuration Files\\Shared\\Profiles\\Default\\wincmd.ini" << 2
        << "D:\\Portable\\...\\Default\\wincmd.ini";
    QTest::newRow("short stays") << "C:\\tc\\wincmd.ini" << 2 << "C:\\tc\\wincmd.ini";
    QTest::newRow("one separator") << long1 << 2 << "C:\\" + QString(16, u'a') + "......" + "0123456789abcdef";
    QTest::newRow("two separators") << "C:\\" + QString(50, u'b') + "\\" + QString(40, u'c') + "END" << 2
                                    << "C:\\" + QString(16, u'b') + "\\...\\" + QString(13, u'c') + "END";
    QTest::newRow("three separators") << "C:\\" + QString(30, u'b') + "\\" + QString(30, u'c') + "\\" + QString(30, u'd') << 2
                                      << "C:\\" + QString(30, u'b') + "\\...\\" + QString(30, u'd');
    QTest::newRow("native path") << "/home/me/" + QString(40, u'x') + "/" + QString(40, u'y') + "/deep/wincmd.ini" << 2
                                 << "/home/.../deep/wincmd.ini";
    QTest::newRow("no separator at all") << QString(100, u'z') << 2 << QString(100, u'z');
    QTest::newRow("file name only") << "C:\\tc\\wincmd.ini" << 0 << "wincmd.ini";
    QTest::newRow("mode 1 unchanged") << long1 << 1 << long1;
}

void TestRecentFiles::shortening()
{
    QFETCH(QString, path);
    QFETCH(int, mode);
    QFETCH(QString, shown);
    QCOMPARE(ShortenPath(path, mode), shown);
}

void TestRecentFiles::titleBar()
{
    QCOMPARE(VersionText(2, 1, 7), QStringLiteral("2.17"));
    QCOMPARE(TitleBarCaption("C:\\tc\\wincmd.ini <> C:\\tc\\wcx_ftp.ini", "", "Calvenor", "0.10", 0, " <> "),
             QStringLiteral("Calvenor 0.10 - wincmd.ini <> wcx_ftp.ini"));
    QCOMPARE(TitleBarCaption("", "", "Calvenor", "0.10", 2, " <> "), QStringLiteral("Calvenor 0.10 - "));
}

void TestRecentFiles::addingMovesToTheTop()
{
    Fixture f;
    for (const char *entry : {"d <> 4", "c <> 3", "b <> 2", "a <> 1"})
        f.recent.AddFile(entry);
    QCOMPARE(f.entries(), QStringList({"a <> 1", "b <> 2", "c <> 3", "d <> 4"}));
    f.recent.AddFile("D <> 4");   // the same entry in other case
    QCOMPARE(f.entries(), QStringList({"D <> 4", "a <> 1", "b <> 2", "c <> 3"}));
    f.recent.PutAsFirstItem(3);
    QCOMPARE(f.entries(), QStringList({"b <> 2", "D <> 4", "a <> 1", "c <> 3"}));
    f.recent.RemoveFile(2, true);
    QCOMPARE(f.entries(), QStringList({"b <> 2", "a <> 1", "c <> 3", "-"}));
    // A pair reopened in other letter case moves up; it is not listed twice.
    f.recent.AddFile("c:\\tc\\wincmd.ini <> c:\\tc\\wcx_ftp.ini");
    f.recent.AddFile("a <> 1");
    f.recent.AddFile("C:\\TC\\WINCMD.INI <> C:\\TC\\Wcx_Ftp.ini");
    QCOMPARE(f.entries(), QStringList({"C:\\TC\\WINCMD.INI <> C:\\TC\\Wcx_Ftp.ini", "a <> 1", "b <> 2", "c <> 3"}));
}

void TestRecentFiles::theOldestFallsOff()
{
    Fixture f(2);
    f.recent.AddFile("1");
    f.recent.AddFile("2");
    f.recent.AddFile("3");
    QCOMPARE(f.entries(), QStringList({"3", "2"}));
}

void TestRecentFiles::menuLayout()
{
    Fixture f(3);
    int changes = 0;
    f.recent.setItemsChanged([&changes] { ++changes; });
    const auto &items = f.recent.MenuItems();
    QCOMPARE(items.size(), 6);
    QCOMPARE(items[1].caption, QStringLiteral("No Recent Files"));
    QVERIFY(items[1].visible && !items[1].enabled);
    QCOMPARE(items[4].caption, QStringLiteral("-"));
    QVERIFY(!items[5].enabled);
    const QString longPair = "D:\\Portable\\Tools\\File Manager\\Configuration Files\\Shared\\Profiles\\Default\\wincmd.ini"
                             " <> C:\\tc\\wcx_ftp.ini";
    f.recent.AddFile(longPair);
    QCOMPARE(items[1].caption, QStringLiteral("&1 D:\\Portable\\...\\Default\\wincmd.ini <> C:\\tc\\wcx_ftp.ini"));
    QCOMPARE(items[1].tag, longPair);   // opened in full
    QVERIFY(items[1].enabled);
    QVERIFY(!items[2].visible && !items[2].enabled);
    QCOMPARE(items[5].caption, QStringLiteral("Clear List"));
    QVERIFY(items[5].enabled);
    QCOMPARE(changes, 1);
}

void TestRecentFiles::clearAsksFirst()
{
    Fixture f;
    f.recent.AddFile("a");
    QVERIFY(!f.recent.Clear());   // no answer scripted: the default, No
    QCOMPARE(f.person.asked.last().buttons, MessageButtons::YesNo);
    QCOMPARE(f.person.asked.last().icon, MessageIcon::Question);
    QCOMPARE(f.entries().first(), QStringLiteral("a"));
    f.person.answerMessage(MessageAnswer::Yes);
    QVERIFY(f.recent.Clear());
    QCOMPARE(f.entries(), QStringList({"-", "-", "-", "-"}));
    QCOMPARE(f.recent.MenuItems()[1].caption, QStringLiteral("No Recent Files"));
    QVERIFY(!f.recent.MenuItems()[6].enabled);
}

void TestRecentFiles::savedAndReadInMacroForm()
{
    Fixture f;
    const QString app = f.env.paths().AppFolder();
    const QString settings = f.env.writeFile("settings.ini", "[Calvenor]\nRecentFiles4=stale\n");
    f.recent.AddFile("C:\\tc\\wincmd.ini <> C:\\tc\\wcx_ftp.ini");
    f.recent.AddFile(app + "mine/wincmd.ini <> " + app + "mine/wcx_ftp.ini");
    QCOMPARE(f.recent.SaveList(settings, "Calvenor", "RecentFiles"), 0);
    QCOMPARE(f.env.readFile(settings), QByteArray("[Calvenor]\nRecentFiles1=vanteditors:\\mine/wincmd.ini <> " + app.toUtf8()
                                                  + "mine/wcx_ftp.ini\nRecentFiles2=C:\\tc\\wincmd.ini <> C:\\tc\\wcx_ftp.ini\n"));
    cRecentFiles other(f.env.paths(), f.env.profile(), f.person);
    other.Setup(4, "No Recent Files", "Clear List", "Are you sure?", " <> ");
    other.ReadList(settings, "Calvenor", "RecentFiles");
    QCOMPARE(other.ListItems(1), app + "mine/wincmd.ini <> " + app + "mine/wcx_ftp.ini");
    QCOMPARE(other.ListItems(3), kMarker);
    // Every position filled: the oldest is there after a restart too.
    for (const char *entry : {"c <> 3", "b <> 2"})
        f.recent.AddFile(entry);
    QCOMPARE(f.recent.SaveList(settings, "Calvenor", "RecentFiles"), 0);
    other.ReadList(settings, "Calvenor", "RecentFiles");
    QCOMPARE(other.ListItems(4), QStringLiteral("C:\\tc\\wincmd.ini <> C:\\tc\\wcx_ftp.ini"));
}

QTEST_GUILESS_MAIN(TestRecentFiles)
#include "tst_recentfiles.moc"
