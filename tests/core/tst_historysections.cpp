#include "core/csectionsdata.h"
#include "core/historysections.h"
#include "core/tabssection.h"
#include "support/testenvironment.h"

#include <QFile>
#include <QtTest>

using namespace calvenor;
using calvenor::test::kMarker;
using calvenor::test::TestEnvironment;

namespace {

class RecordingProgress : public ProgressHost
{
public:
    void ShowProgressBar(const QString &caption, int maximum) override { log << caption + u':' + QString::number(maximum); }
    void IncreaseProgress() override { ++steps; }
    void HideProgressBar() override { log << QStringLiteral("hide"); }
    QStringList log;
    int steps = 0;
};

// A loaded pair of files in a private folder.
struct Fixture
{
    explicit Fixture(const QByteArray &wincmdText, const QByteArray &wcxftpText = QByteArray())
        : wincmd(env.writeFile("wincmd.ini", wincmdText))
        , wcxftp(env.writeFile("wcx_ftp.ini", wcxftpText))
        , sections(env.profile(), store)
    {
        sections.setProgressHost(&progress);
        loadError = sections.ReadAllHistorySections(wincmd, wcxftp);
    }
    QStringList texts(const QString &section, int column = 0) const
    {
        QStringList result;
        for (const HistoryRow &row : store.SectionRows(cSectionsData::GetSectionIndex(section)))
            result << (column == 0 ? row.Text : row.col(column));
        return result;
    }
    int save(const QString &section)
    {
        store.SetSaveFlag(section);
        return sections.SaveAllHistorySections(wincmd, wcxftp);
    }
    QByteArray file() const { return env.readFile(wincmd); }

    TestEnvironment env;
    QString wincmd;
    QString wcxftp;
    HistoryRowStore store;
    RecordingProgress progress;
    HistorySections sections;
    int loadError = -1;
};

} // namespace

class TestHistorySections : public QObject
{
    Q_OBJECT
private slots:
    void numberedSectionsRead_data();
    void numberedSectionsRead();
    void numberedSectionSaveRenumbersInPlace();
    void valuesKeepTheirMeaningThroughASave();
    void longListsAreReadWhole();
    void emptySelectionDropsUserSpec();
    void keyedSections();
    void keyedSectionOddKeys();
    void tabSections_data();
    void tabSections();
    void tabSectionSave();
    void lockedTabsAreColoured();
    void emptyTabSectionLeavesThePanelAlone();
    void loadingEmptyFilesGivesTheFrame();
    void savingUnflaggedSectionsWritesNothing();
    void flagsChooseTheFiles();
    void failedFileKeepsItsSectionsFlagged();
    void loadingTwiceGivesTheSameKeys();
    void progressIsReported();
    void examplesSurviveASaveOfEverySection();
    void savedSectionsReadBackWhateverTheLayout_data();
    void savedSectionsReadBackWhateverTheLayout();
    void templateNamesMatchIgnoringAsciiCase();
    void emptiedSectionsFilledAgainGoBackToTheirPlace();
    void sectionSaveFailingHalfWayWritesNothing_data();
    void sectionSaveFailingHalfWayWritesNothing();
};

void TestHistorySections::numberedSectionsRead_data()
{
    QTest::addColumn<QByteArray>("lines");
    QTest::addColumn<QStringList>("values");
    QTest::newRow("gap ends the list") << QByteArray("0=a\n1=b\n3=d\n") << QStringList({"a", "b"});
    QTest::newRow("no item 0") << QByteArray("1=a\n2=b\n") << QStringList();
    QTest::newRow("out of order") << QByteArray("1=b\n0=a\n2=c\n") << QStringList();
    QTest::newRow("second equals sign") << QByteArray("0=x\n1=y\n2=a=b\n") << QStringList({"x", "y", "a=b"});
    QTest::newRow("comments and plain lines skipped") << QByteArray(";c\n0=a\nplain\n1=b\n") << QStringList({"a", "b"});
    QTest::newRow("empty value") << QByteArray("0=\n1=b\n") << QStringList({"", "b"});
    QTest::newRow("spacing around key") << QByteArray(" 0 = a \n1=b\n") << QStringList({"a", "b"});
    QTest::newRow("value as the file manager reads it") << QByteArray("0=\"  x  \"\n1=\"\"q\"\n") << QStringList({"  x  ", "\"q"});
    QTest::newRow("tab and connection name") << QByteArray("0=c:\\p\\\t#03,name\n") << QStringList({"c:\\p\\\t#03,name"});
}

void TestHistorySections::numberedSectionsRead()
{
    QFETCH(QByteArray, lines);
    QFETCH(QStringList, values);
    Fixture f("[LeftHistory]\n" + lines);
    QCOMPARE(f.loadError, 0);
    QCOMPARE(f.texts("LeftHistory", 2), values);
    for (const HistoryRow &row : f.store.SectionRows(12)) {
        QCOMPARE(row.Tag, QStringLiteral("LeftHistory"));
        QCOMPARE(row.col(6), QStringLiteral("-"));
    }
}

void TestHistorySections::numberedSectionSaveRenumbersInPlace()
{
    Fixture f("[LeftHistory]\n;note\n0=a\nplain\n1=b\nx=1\n3=d\n[Other]\no=1\n");
    QCOMPARE(f.save("LeftHistory"), 0);
    // The section stays where it stood (a dotfiles diff shows only what changed), its
    // comment stays, and its keys are renumbered from 0.
    QCOMPARE(f.file(), QByteArray("[LeftHistory]\n;note\n0=a\n1=b\n[Other]\no=1\n"));
    QVERIFY(!f.store.SaveFlag("LeftHistory"));
}

void TestHistorySections::valuesKeepTheirMeaningThroughASave()
{
    const QByteArray text = "[SearchText]\r\n0=\"  x  \"\r\n1=\"\"q\"\r\n2=\xef\xbb\xbf\xe4\xb8\xad\r\n3=a=b\r\n";
    Fixture f(text);
    QCOMPARE(f.save("SearchText"), 0);
    QCOMPARE(f.file(), text);
}

void TestHistorySections::longListsAreReadWhole()
{
    QByteArray text = "[RightHistory]\n";
    for (int i = 0; i < 400; ++i)
        text += QByteArray::number(i) + "=c:\\" + QByteArray(200, 'p') + "\\\n";
    Fixture f(text);
    QCOMPARE(f.texts("RightHistory").size(), 400);
    QCOMPARE(f.save("RightHistory"), 0);
    QCOMPARE(f.file(), text);
}

void TestHistorySections::emptySelectionDropsUserSpec()
{
    Fixture f("[Left]\npath=c:\\\nuserspec=*.txt\n[Right]\nuserspec=*.doc\n[Selection]\n[MkDirHistory]\n");
    f.store.SetSaveFlag("MkDirHistory");
    QCOMPARE(f.save("Selection"), 0);
    QCOMPARE(f.file(), QByteArray("[Left]\npath=c:\\\n[Right]\n"));

    // Only an empty list drops them.
    Fixture g("[Left]\nuserspec=*.txt\n[Right]\nuserspec=*.doc\n[Selection]\n0=*.c\n");
    g.store.Row(g.store.GetStartEnd("Selection").start).col(2) = QStringLiteral("*.h");
    QCOMPARE(g.save("Selection"), 0);
    QCOMPARE(g.file(), QByteArray("[Left]\nuserspec=*.txt\n[Right]\nuserspec=*.doc\n[Selection]\n0=*.h\n"));
}

void TestHistorySections::keyedSections()
{
    Fixture f("[Rename]\n1_name=n1\n1_ext=e1\n0_name=n0\n[SyncOptions]\nmy_sync_L=l\nmy_sync_R=r\n"
              "[AttrPlugin]\nArchive=attr\n[Searches]\nImages_SearchFor=*.png\nImages_SearchIn=\"c:\\ pics\"\n");
    QCOMPARE(f.texts("Rename"), QStringList({"0", "1"}));
    const HistoryRow &one = f.store.SectionRows(9)[1];
    QCOMPARE(one.col(2), QStringLiteral("n1"));
    QCOMPARE(one.col(3), QStringLiteral("e1"));
    QCOMPARE(one.col(4), kMarker);
    QCOMPARE(one.col(6), kMarker);
    QCOMPARE(f.texts("SyncOptions"), QStringList({"my_sync"}));
    QVERIFY(f.store.SectionRows(15)[0].col(6).isNull());   // SyncOptions has no col6
    QCOMPARE(f.texts("AttrPlugin"), QStringList({"Archive"}));
    QCOMPARE(f.texts("AttrPlugin", 2), QStringList({"attr"}));
    QCOMPARE(f.texts("Searches", 3), QStringList({"c:\\ pics"}));

    // Lines that still say the same keep their place; a changed value takes its own line.
    f.store.Row(f.store.GetStartEnd("Rename").start).col(2) = QStringLiteral("m0");
    f.store.SetSaveFlag("Rename");
    f.store.SetSaveFlag("Searches");
    QCOMPARE(f.save("SyncOptions"), 0);
    QCOMPARE(f.file(), QByteArray("[Rename]\n1_name=n1\n1_ext=e1\n0_name=m0\n"
                                  "[SyncOptions]\nmy_sync_L=l\nmy_sync_R=r\n[AttrPlugin]\nArchive=attr\n"
                                  "[Searches]\nImages_SearchFor=*.png\nImages_SearchIn=\"c:\\ pics\"\n"));
}

void TestHistorySections::keyedSectionOddKeys()
{
    Fixture f("[Searches]\nNoUnderscore=1\nImages_Other=2\n_SearchFor=3\n[AttrPlugin]\n");
    QCOMPARE(f.texts("Searches"), QStringList({"", "Images"}));
    const HistoryRow &images = f.store.SectionRows(5)[1];
    for (int column = 2; column <= 6; ++column)
        QCOMPARE(images.col(column), kMarker);
    f.store.SetSaveFlag("AttrPlugin");
    QCOMPARE(f.save("Searches"), 0);
    QCOMPARE(f.file(), QByteArray("[Searches]\n_SearchFor=3\n"));
}

void TestHistorySections::tabSections_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QStringList>("rows");   // Text of each row, "*" before the active-tab row
    QTest::newRow("active between tabs") << QByteArray("[LeftTabs]\n0_path=a\\\n1_path=b\\\nActiveTab=1\n") << QStringList({"0", "*1", "1"});
    QTest::newRow("active after all tabs") << QByteArray("[LeftTabs]\n0_path=a\\\n1_path=b\\\nActiveTab=2\n") << QStringList({"0", "1", "*2"});
    QTest::newRow("active beyond the tabs goes last") << QByteArray("[LeftTabs]\n0_path=a\\\nActiveTab=7\n") << QStringList({"0", "*1"});
    QTest::newRow("negative active goes last") << QByteArray("[LeftTabs]\n0_path=a\\\nActiveTab=-1\n") << QStringList({"0", "*1"});
    QTest::newRow("gap in numbers") << QByteArray("[LeftTabs]\n0_path=a\\\n2_path=c\\\n") << QStringList({"0"});
    QTest::newRow("only the active tab") << QByteArray("[LeftTabs]\nActiveTab=0\n") << QStringList({"*0"});
}

void TestHistorySections::tabSections()
{
    QFETCH(QByteArray, text);
    QFETCH(QStringList, rows);
    Fixture f(text);
    QStringList shown;
    for (const HistoryRow &row : f.store.SectionRows(10))
        shown << (row.Tag == u"LeftTabs_ActiveTabMark" ? u'*' + row.Text : row.Text);
    QCOMPARE(shown, rows);
}

void TestHistorySections::tabSectionSave()
{
    Fixture f("[LeftTabs]\n0_path=c:\\a\\\n0_options=1|0|0|0|0|2|0\n1_path=c:\\b\\\n1_caption=Bee\nActiveTab=1\n"
              "ActiveCaption=Act\nActiveLocked=1\n"
              "[Left]\npath=c:\\act\\\nSortOrder=3\nViewMode=7\n");
    const auto &rows = f.store.SectionRows(10);
    QCOMPARE(rows.size(), size_t(3));
    QCOMPARE(rows[0].Key, QStringLiteral("Key_1"));
    QCOMPARE(rows[1].Key, QStringLiteral("Key_3"));   // the number of the last, failed probe
    QCOMPARE(rows[2].Key, QStringLiteral("Key_2"));
    const HistoryRow &active = rows[1];
    QVERIFY(active.Ghosted);
    QCOMPARE(active.col(2), QStringLiteral("c:\\act\\"));
    QCOMPARE(active.col(3), QStringLiteral("1|3|0|0|0|1|0"));
    QCOMPARE(active.col(4), QStringLiteral("Act"));
    QCOMPARE(active.col(5), QStringLiteral("1"));
    QCOMPARE(rows[0].col(4), kMarker);
    QCOMPARE(rows[2].col(3), kMarker);

    // Both sections stay where they stand; the tab section is rewritten in place.
    QCOMPARE(f.save("LeftTabs"), 0);
    QCOMPARE(f.file(), QByteArray("[LeftTabs]\n0_path=c:\\a\\\n0_options=1|0|0|0|0|2|0\n1_path=c:\\b\\\n1_caption=Bee\n"
                                  "ActiveTab=1\nActiveCaption=Act\nActiveLocked=1\n"
                                  "[Left]\npath=c:\\act\\\nSortOrder=3\nViewMode=7\nShowAllDetails=1\n"
                                  "negative Sortorder=0\ncustomsortorder=0\n"));
}

void TestHistorySections::lockedTabsAreColoured()
{
    Fixture f("[RightTabs]\n0_path=a\\\n0_options=1|0|0|0|0|2|0\n1_path=b\\\n1_options=1|0|0|0|0|0|0\nActiveTab=2\n"
              "ActiveLocked=1\n[Right]\n");
    const auto &rows = f.store.SectionRows(11);
    QCOMPARE(rows[0].ForeColor, std::optional<qint32>(255));
    QVERIFY(!rows[1].ForeColor);
    QCOMPARE(rows[2].ForeColor, std::optional<qint32>(255));
    QCOMPARE(rows[2].col(3), QStringLiteral("1|0|0|0|0|1|0"));
}

void TestHistorySections::emptyTabSectionLeavesThePanelAlone()
{
    Fixture f("[Left]\npath=c:\\x\\\n[LeftTabs]\n");
    QCOMPARE(f.save("LeftTabs"), 0);
    QCOMPARE(f.file(), QByteArray("[Left]\npath=c:\\x\\\n"));
}

void TestHistorySections::loadingEmptyFilesGivesTheFrame()
{
    Fixture f("", "");
    QCOMPARE(f.loadError, 0);
    QCOMPARE(f.store.Count(), 20);
    Fixture missing("");
    QFile::remove(missing.wincmd);
    QCOMPARE(missing.sections.ReadAllHistorySections(missing.wincmd, missing.wcxftp), 0);
    QCOMPARE(missing.store.Count(), 20);
}

void TestHistorySections::savingUnflaggedSectionsWritesNothing()
{
    Fixture f("[LeftHistory]\n0=a\n", "[OldConnections]\n0=ftp\n");
    const QDateTime before = QFileInfo(f.wincmd).lastModified();
    QCOMPARE(f.sections.SaveAllHistorySections(f.wincmd, f.wcxftp), 0);
    QCOMPARE(f.file(), QByteArray("[LeftHistory]\n0=a\n"));
    QCOMPARE(QFileInfo(f.wincmd).lastModified(), before);
}

void TestHistorySections::flagsChooseTheFiles()
{
    Fixture f("[LeftHistory]\n0=a\n[Other]\n", "[OldConnections]\n0=ftp\n[General]\n");
    QCOMPARE(f.save("OldConnections"), 0);
    QCOMPARE(f.file(), QByteArray("[LeftHistory]\n0=a\n[Other]\n"));
    QCOMPARE(f.env.readFile(f.wcxftp), QByteArray("[OldConnections]\n0=ftp\n[General]\n"));
    QCOMPARE(f.save("RootNode"), 0);
    QCOMPARE(f.file(), QByteArray("[LeftHistory]\n0=a\n[Other]\n"));
}

void TestHistorySections::failedFileKeepsItsSectionsFlagged()
{
    Fixture f("[LeftHistory]\n0=a\n", "[OldConnections]\n0=ftp\n");
    QFile::setPermissions(f.wcxftp, QFile::ReadOwner);
    f.store.Row(f.store.GetStartEnd("OldConnections").start).col(2) = QStringLiteral("sftp");
    f.store.SetSaveFlag("LeftHistory");
    QCOMPARE(f.save("OldConnections"), int(errPermissionDenied));
    QVERIFY(f.store.SaveFlag("OldConnections"));
    QVERIFY(!f.store.SaveFlag("LeftHistory"));
    QCOMPARE(f.file(), QByteArray("[LeftHistory]\n0=a\n"));
    QCOMPARE(f.env.readFile(f.wcxftp), QByteArray("[OldConnections]\n0=ftp\n"));

    // A section whose target cannot be written stops the save; nothing of it is written.
    Fixture g("[LeftHistory]\nRedirectSection=q:\\nowhere.ini\n0=a\n[RightHistory]\n0=r\n[MkDirHistory]\n0=s\n");
    g.store.SetSaveFlag("Command line history");
    g.store.SetSaveFlag("MkDirHistory");
    QCOMPARE(g.save("LeftHistory"), int(errPathNotFound));
    QVERIFY(g.store.SaveFlag("LeftHistory"));
    QVERIFY(g.store.SaveFlag("MkDirHistory"));
    QVERIFY(!g.store.SaveFlag("Command line history"));
    QCOMPARE(g.file(), QByteArray("[LeftHistory]\nRedirectSection=q:\\nowhere.ini\n0=a\n[RightHistory]\n0=r\n[MkDirHistory]\n0=s\n"));
}

void TestHistorySections::loadingTwiceGivesTheSameKeys()
{
    Fixture f("[LeftHistory]\n0=a\n1=b\n[LeftTabs]\n0_path=x\\\nActiveTab=0\n[Rename]\nt_name=n\n");
    QStringList first;
    for (int p = 1; p <= f.store.Count(); ++p)
        first << f.store.Row(p).Key;
    QCOMPARE(f.sections.ReadAllHistorySections(f.wincmd, f.wcxftp), 0);
    QStringList second;
    for (int p = 1; p <= f.store.Count(); ++p)
        second << f.store.Row(p).Key;
    QCOMPARE(second, first);
    QVERIFY(first.contains("Key_1"));
}

void TestHistorySections::progressIsReported()
{
    Fixture f("[LeftHistory]\n0=a\n1=b\n");
    QCOMPARE(f.progress.log, QStringList({"Reading... Please wait.:500", "hide"}));
    QVERIFY(f.progress.steps >= 2);
    f.progress.log.clear();
    struct German : LanguageSource
    {
        QString GetLanguageString(int id) const override { return id == 3251 ? QStringLiteral("Speichern") : QString(); }
    } german;
    f.sections.setLanguage(&german);
    f.save("LeftHistory");
    QCOMPARE(f.progress.log, QStringList({"Speichern:32", "hide"}));
}

void TestHistorySections::examplesSurviveASaveOfEverySection()
{
    TestEnvironment env;
    const QString wincmd = env.writeFile("wincmd.ini", TestEnvironment::exampleFile("wincmd.ini"));
    const QString wcxftp = env.writeFile("wcx_ftp.ini", TestEnvironment::exampleFile("wcx_ftp.ini"));
    HistoryRowStore store;
    HistorySections sections(env.profile(), store);
    QCOMPARE(sections.ReadAllHistorySections(wincmd, wcxftp), 0);
    auto snapshot = [&store] {
        QStringList rows;
        for (int p = 1; p <= store.Count(); ++p) {
            const HistoryRow &row = store.Row(p);
            rows << QStringList({row.Text, row.col(2), row.col(3), row.col(4), row.col(5), row.col(6)}).join(u'|');
        }
        return rows;
    };
    const QStringList before = snapshot();
    for (int i = 0; i < cSectionsData::SectionsCount; ++i) {
        QVERIFY2(!store.SectionRows(i).empty(), qPrintable(cSectionsData::SectionsList(i)));
        store.SetSaveFlag(cSectionsData::SectionsList(i));
    }
    QCOMPARE(sections.SaveAllHistorySections(wincmd, wcxftp), 0);

    // Every line outside the history sections is still there.
    const QByteArray saved = env.readFile(wincmd);
    for (const QByteArray &line : TestEnvironment::exampleFile("wincmd.ini").split('\n')) {
        if (line.startsWith(';') || line.startsWith("[Configuration]") || line.startsWith("SetEncoding"))
            QVERIFY2(saved.contains(line), line.constData());
    }
    QCOMPARE(sections.ReadAllHistorySections(wincmd, wcxftp), 0);
    QCOMPARE(snapshot(), before);
}

void TestHistorySections::savedSectionsReadBackWhateverTheLayout_data()
{
    // %ALT% and %DIR% stand for the alternate file and the test's folder.
    QTest::addColumn<QByteArray>("wincmd");
    QTest::addColumn<QByteArray>("alternate");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QStringList>("values");

    const QByteArray configuration = "[Configuration]\nAlternateUserIni=%ALT%\n";
    QTest::newRow("kept RedirectSection=0 before the keys")
        << configuration + "[LeftHistory]\nRedirectSection=0\n0=a\n1=b\n" << QByteArray("[LeftHistory]\n0=alt\n")
        << "LeftHistory" << QStringList({"a", "b"});
    QTest::newRow("kept RedirectSection=0 after the keys")
        << configuration + "[LeftHistory]\n0=a\n1=b\nRedirectSection=0\n" << QByteArray()
        << "LeftHistory" << QStringList({"a", "b"});
    QTest::newRow("kept line in an empty list")
        << configuration + "[LeftHistory]\nRedirectSection=0\n" << QByteArray() << "LeftHistory" << QStringList();
    QTest::newRow("alternate file")
        << configuration << QByteArray("[LeftHistory]\n0=a\n1=b\n") << "LeftHistory" << QStringList({"a", "b"});
    QTest::newRow("redirected into a file not made yet")
        << QByteArray("[LeftHistory]\nRedirectSection=%DIR%\\history.ini\n") << QByteArray()
        << "LeftHistory" << QStringList();
    QTest::newRow("kept line among plugin attributes")
        << configuration + "[AttrPlugin]\nRedirectSection=0\nArchive=x\n" << QByteArray() << "AttrPlugin" << QStringList({"x"});
}

void TestHistorySections::savedSectionsReadBackWhateverTheLayout()
{
    QFETCH(QByteArray, wincmd);
    QFETCH(QByteArray, alternate);
    QFETCH(QString, section);
    QFETCH(QStringList, values);
    TestEnvironment env;
    const QString alt = env.writeFile("alt.ini", alternate);
    wincmd.replace("%ALT%", alt.toUtf8()).replace("%DIR%", env.path("").toUtf8());
    const QString main = env.writeFile("wincmd.ini", wincmd);
    HistoryRowStore store;
    HistorySections sections(env.profile(), store);
    auto values2 = [&] {
        QStringList result;
        for (const HistoryRow &row : store.SectionRows(cSectionsData::GetSectionIndex(section)))
            result << row.col(2);
        return result;
    };
    QCOMPARE(sections.ReadAllHistorySections(main, env.path("wcx_ftp.ini")), 0);
    QCOMPARE(values2(), values);
    // Saved and read again, twice: the same entries every time, and a new one survives.
    for (int round = 0; round < 2; ++round) {
        store.SetSaveFlag(section);
        QCOMPARE(sections.SaveAllHistorySections(main, env.path("wcx_ftp.ini")), 0);
        QCOMPARE(sections.ReadAllHistorySections(main, env.path("wcx_ftp.ini")), 0);
        QCOMPARE(values2(), values);
    }
    if (section == u"LeftHistory") {
        HistoryRow row;
        row.Key = store.NextKey();
        row.Tag = section;
        row.Text = QString::number(values.size());
        row.col(2) = QStringLiteral("new");
        QCOMPARE(store.InsertRow(store.GetStartEnd(section).end + 1, std::move(row)), 0);
        store.SetSaveFlag(section);
        QCOMPARE(sections.SaveAllHistorySections(main, env.path("wcx_ftp.ini")), 0);
        QCOMPARE(sections.ReadAllHistorySections(main, env.path("wcx_ftp.ini")), 0);
        QCOMPARE(values2(), values + QStringList({"new"}));
    }
}

void TestHistorySections::templateNamesMatchIgnoringAsciiCase()
{
    // foo_L and Foo_R are one template; \u00c4pfel and \u00e4pfel are two, as the file
    // manager reads them, and both survive a save.
    Fixture f("[SyncOptions]\nFoo_R=r\nfoo_L=l\n\xc4pfel_L=1\n\xe4pfel_L=2\n");
    QCOMPARE(f.texts("SyncOptions"), QStringList({"foo", "\u00c4pfel", "\u00e4pfel"}));
    QCOMPARE(f.texts("SyncOptions", 3), QStringList({"r", kMarker, kMarker}));
    f.store.Row(f.store.GetStartEnd("SyncOptions").start).col(4) = QStringLiteral("w");
    QCOMPARE(f.save("SyncOptions"), 0);
    QCOMPARE(f.file(), QByteArray("[SyncOptions]\nFoo_R=r\nfoo_L=l\n\xc4pfel_L=1\n\xe4pfel_L=2\nfoo_Wcs=w\n"));
}

void TestHistorySections::emptiedSectionsFilledAgainGoBackToTheirPlace()
{
    const QByteArray text = "[LeftHistory]\r\n0=a\r\n\r\n[RightHistory]\r\n0=r\r\n\r\n[MkDirHistory]\r\n0=m\r\n"
                            "\r\n[Other]\r\no=1\r\n";
    Fixture f(text);
    const int right = cSectionsData::GetSectionIndex("RightHistory");
    const int mkdir = cSectionsData::GetSectionIndex("MkDirHistory");
    const std::vector<HistoryRow> rightRows = f.store.SectionRows(right);
    const std::vector<HistoryRow> mkdirRows = f.store.SectionRows(mkdir);
    QCOMPARE(f.store.ClearSection("RightHistory"), 0);
    QCOMPARE(f.save("RightHistory"), 0);
    QCOMPARE(f.file(), QByteArray("[LeftHistory]\r\n0=a\r\n\r\n[MkDirHistory]\r\n0=m\r\n\r\n[Other]\r\no=1\r\n"));
    // Undone and saved: the file is as it was.
    QCOMPARE(f.store.ReplaceRows(right, 0, 0, rightRows), 0);
    QCOMPARE(f.save("RightHistory"), 0);
    QCOMPARE(f.file(), text);

    // Two neighbours emptied, the file rewritten by another program, then both filled again.
    f.store.ClearSection("RightHistory");
    f.store.ClearSection("MkDirHistory");
    f.store.SetSaveFlag("MkDirHistory");
    QCOMPARE(f.save("RightHistory"), 0);
    QCOMPARE(f.file(), QByteArray("[LeftHistory]\r\n0=a\r\n\r\n[Other]\r\no=1\r\n"));
    f.env.writeFile("wincmd.ini", "[LeftHistory]\r\n0=a\r\n\r\n[Other]\r\no=22\r\n");
    f.store.ReplaceRows(right, 0, 0, rightRows);
    f.store.ReplaceRows(mkdir, 0, 0, mkdirRows);
    f.store.SetSaveFlag("MkDirHistory");
    QCOMPARE(f.save("RightHistory"), 0);
    QCOMPARE(f.file(), QByteArray(text).replace("o=1", "o=22"));
}

void TestHistorySections::sectionSaveFailingHalfWayWritesNothing_data()
{
    // %FOLDER% stands for a file that cannot be read: a folder.
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("section");
    QTest::newRow("tabs whose panel section lives in it")
        << QByteArray("[LeftTabs]\n0_path=a\n1_path=b\nActiveTab=1\n[Left]\nRedirectSection=%FOLDER%\npath=x\n")
        << "LeftTabs";
    QTest::newRow("emptied selection, the right panel's selection living in it")
        << QByteArray("[Selection]\n[Left]\nuserspec=*.c\n[Right]\nRedirectSection=%FOLDER%\nuserspec=*.d\n")
        << "Selection";
}

void TestHistorySections::sectionSaveFailingHalfWayWritesNothing()
{
    // One write of the section's save fails after others were made: nothing of it
    // reaches the disk.
    QFETCH(QByteArray, text);
    QFETCH(QString, section);
    TestEnvironment env;
    QDir().mkpath(env.path("folder.ini"));
    text.replace("%FOLDER%", env.path("folder.ini").toUtf8());
    const QString main = env.writeFile("wincmd.ini", text);
    HistoryRowStore store;
    HistorySections sections(env.profile(), store);
    QCOMPARE(sections.ReadAllHistorySections(main, env.path("wcx_ftp.ini")), 0);
    if (store.GetStartEnd(section).start >= 0)
        store.Row(store.GetStartEnd(section).start).col(2) = QStringLiteral("changed");
    store.SetSaveFlag(section);
    QCOMPARE(sections.SaveAllHistorySections(main, env.path("wcx_ftp.ini")), int(errPathFileAccess));
    QCOMPARE(env.readFile(main), text);
    QVERIFY(store.SaveFlag(section));
}

QTEST_GUILESS_MAIN(TestHistorySections)
#include "tst_historysections.moc"
