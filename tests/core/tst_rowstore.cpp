#include "core/csectionsdata.h"
#include "core/historyrowstore.h"
#include "core/leadingnumber.h"
#include "core/taboptions.h"

#include <QtTest>

using namespace calvenor;

// The section catalogue, the row store's positions and the small shared parsers.
class TestRowStore : public QObject
{
    Q_OBJECT
private slots:
    void catalogue();
    void frameHasTwentyStartRows();
    void startEndFollowsInsertsAndRemoves();
    void insertRefusesRowsOutsideTheirSection();
    void sectionFromTag_data();
    void sectionFromTag();
    void leadingNumbers_data();
    void leadingNumbers();
    void optionFields();
};

void TestRowStore::catalogue()
{
    QCOMPARE(cSectionsData::SectionsCount, 19);
    QCOMPARE(cSectionsData::GetSectionIndex("COMMAND LINE history"), 0);
    QCOMPARE(cSectionsData::GetSectionIndex("RootNode"), 19);
    int error = 0;
    QCOMPARE(cSectionsData::GetSectionIndex("Layout", &error), -1);
    QCOMPARE(error, 9);
    QCOMPARE(cSectionsData::SectionsList(20, &error), QString());
    QCOMPARE(error, 9);
    QCOMPARE(cSectionsData::SectionsList(18), cSectionsData::OldConnections());
    QCOMPARE(cSectionsData::familyOf("searches"), SectionFamily::Keyed);
    QCOMPARE(cSectionsData::familyOf("RightTabs"), SectionFamily::Tabs);
    QCOMPARE(cSectionsData::familyOf("SplitPerFile"), SectionFamily::Numbered);
    QCOMPARE(cSectionsData::familyOf("RootNode"), SectionFamily::None);
    QCOMPARE(cSectionsData::fileOf("oldconnections"), SectionFile::Wcxftp);
    QCOMPARE(cSectionsData::fileOf("LeftHistory"), SectionFile::Wincmd);
    // The tree shows every section once, Searches as "Load/Save".
    QSet<QString> keys;
    for (const auto &node : cSectionsData::TreeOrder())
        keys.insert(QString::fromUtf16(node.key));
    QCOMPARE(keys.size(), 19);
    QCOMPARE(QString::fromUtf16(cSectionsData::TreeOrder()[5].defaultText), QStringLiteral("Load/Save"));
    QCOMPARE(QString::fromUtf16(cSectionsData::RootTreeNode().key), QStringLiteral("RootNode"));
}

void TestRowStore::frameHasTwentyStartRows()
{
    HistoryRowStore store;
    store.BuildFrame();
    QCOMPARE(store.Count(), 20);
    QCOMPARE(store.Row(1).Key, QStringLiteral("Command line history"));
    QCOMPARE(store.Row(1).Tag, QStringLiteral("Command line history_Section_Start"));
    QVERIFY(store.Row(20).Bold);
    for (int i = 0; i < 19; ++i) {
        const auto range = store.GetStartEnd(cSectionsData::SectionsList(i));
        QCOMPARE(range.start, -1);
        QCOMPARE(range.end, i + 1);   // adjacent start rows: (-1, own start row)
        QVERIFY(!store.SaveFlag(cSectionsData::SectionsList(i)));
    }
    HistoryRowStore::StartEnd range;
    QCOMPARE(store.GetStartEnd("RootNode", range), 9);
    QCOMPARE(store.GetStartEnd("Layout", range), 9);
}

static HistoryRow item(HistoryRowStore &store, const QString &section, const QString &text)
{
    HistoryRow row;
    row.Key = store.NextKey();
    row.Text = text;
    row.Tag = section;
    return row;
}

void TestRowStore::startEndFollowsInsertsAndRemoves()
{
    HistoryRowStore store;
    store.BuildFrame();
    const QString old = cSectionsData::OldConnections();
    auto range = store.GetStartEnd(old);
    QCOMPARE(store.InsertRow(range.end + 1, item(store, old, "a")), 0);
    QCOMPARE(store.InsertRow(range.end + 2, item(store, old, "b")), 0);
    range = store.GetStartEnd(old);
    QCOMPARE(range.start, 20);
    QCOMPARE(range.end, 21);   // OldConnections ends just before the RootNode start row
    QCOMPARE(store.Row(22).Key, QStringLiteral("RootNode"));
    QCOMPARE(store.FindKey("Key_2"), 21);
    QCOMPARE(store.FindKey("RootNode"), 22);
    QCOMPARE(store.FindKey("Key_99"), 0);

    const QString first = cSectionsData::CommandLineHistory();
    QCOMPARE(store.InsertRow(2, item(store, first, "x")), 0);
    QCOMPARE(store.GetStartEnd(first).start, 2);
    QCOMPARE(store.GetStartEnd(old).start, 21);
    QCOMPARE(store.FindKey("Key_2"), 22);

    QCOMPARE(store.RemoveRow(21), 0);
    QCOMPARE(store.FindKey("Key_1"), 0);
    QCOMPARE(store.Row(21).Text, QStringLiteral("b"));
    QCOMPARE(store.RemoveRow(1), 9);   // start rows stay
    QCOMPARE(store.ClearSection(old), 0);
    QCOMPARE(store.GetStartEnd(old).start, -1);
    QCOMPARE(store.Count(), 21);

    QCOMPARE(store.SetSaveFlag("oldconnections"), 0);
    QVERIFY(store.SaveFlag(old));
    QCOMPARE(store.Row(store.FindKey(old)).col(2), QStringLiteral("1"));
}

void TestRowStore::insertRefusesRowsOutsideTheirSection()
{
    HistoryRowStore store;
    QCOMPARE(store.InsertRow(2, HistoryRow()), 9);   // no frame yet
    store.BuildFrame();
    QCOMPARE(store.InsertRow(2, item(store, "Selection", "x")), 5);
    QCOMPARE(store.InsertRow(21, item(store, "RootNode", "x")), 9);
    HistoryRow active = item(store, "LeftTabs", "0");
    active.Tag = "LeftTabs_ActiveTabMark";
    QCOMPARE(store.InsertRow(store.GetStartEnd("LeftTabs").end + 1, active), 0);
}

void TestRowStore::sectionFromTag_data()
{
    QTest::addColumn<QString>("tag");
    QTest::addColumn<QString>("section");
    QTest::newRow("active tab") << "LeftTabs_ActiveTabMark" << "LeftTabs";
    QTest::newRow("start row with blanks") << "Command line history_Section_Start" << "Command line history";
    QTest::newRow("item") << "SearchName" << "SearchName";
}

void TestRowStore::sectionFromTag()
{
    QFETCH(QString, tag);
    QFETCH(QString, section);
    QCOMPARE(HistoryRowStore::SectionFromTag(tag), section);
}

void TestRowStore::leadingNumbers_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("value");
    QTest::newRow("plain") << "12" << 12;
    QTest::newRow("leading blanks") << "  7x" << 7;
    QTest::newRow("no digits") << "abc" << 0;
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("sign") << "-3" << -3;
    QTest::newRow("fraction rounds half to even") << "2.5" << 2;
    QTest::newRow("fraction rounds") << "1.6" << 2;
    QTest::newRow("exponent") << "1e2" << 100;
    QTest::newRow("huge is kept in range") << "99999999999999" << 2147483647;
    QTest::newRow("dot alone") << "." << 0;
}

void TestRowStore::leadingNumbers()
{
    QFETCH(QString, text);
    QFETCH(int, value);
    QCOMPARE(leadingInteger(text), value);
}

void TestRowStore::optionFields()
{
    QCOMPARE(GetOptionField("1|0|0|0|0|2|0", 5), 2);
    QCOMPARE(GetOptionField("1|0|0|0|0|2", 5), 2);
    QCOMPARE(GetOptionField("1|0|0", 5), 0);
    QCOMPARE(GetOptionField("", 0), 0);
    QCOMPARE(GetOptionField("1|0|0|0|0|x|0", 5), 0);
    QCOMPARE(GetOptionField("255,0,0|1", 0), 255);
    QCOMPARE(SetOptionField("1|0|0|0|0|2|0", "1"), QStringLiteral("1|0|0|0|0|1|0"));
    QCOMPARE(SetOptionField("1|0|0", "1"), QStringLiteral("1|0|0"));
    QCOMPARE(LastFolderName("c:\\work\\project\\"), QStringLiteral("project"));
    QCOMPARE(LastFolderName("c:\\"), QStringLiteral("c:"));
}

QTEST_GUILESS_MAIN(TestRowStore)
#include "tst_rowstore.moc"
