#include "editor/historyrestore.h"
#include "core/csectionsdata.h"
#include "core/historyrowstore.h"
#include "core/tabssection.h"

#include <QtTest>

using namespace calvenor;

namespace {

// Entries in a few words: a folder or command; "*" before the active tab; "name=value"
// for a template.
HistoryRow row(const QString &section, const QString &entry)
{
    HistoryRow result;
    result.Tag = section;
    result.col(3) = result.col(4) = result.col(5) = result.col(6) = QStringLiteral("-");
    if (cSectionsData::familyOf(section) == SectionFamily::Keyed) {
        result.Text = entry.section(u'=', 0, 0);
        result.col(2) = entry.section(u'=', 1);
    } else if (entry.startsWith(u'*')) {
        result.Tag = ActiveTabTag(section);
        result.col(2) = entry.mid(1);
    } else {
        result.col(2) = entry;
    }
    return result;
}

QStringList entries(const HistoryRowStore &store, const QString &section)
{
    QStringList result;
    const bool keyed = cSectionsData::familyOf(section) == SectionFamily::Keyed;
    int number = 0;
    for (const HistoryRow &r : store.SectionRows(cSectionsData::GetSectionIndex(section))) {
        if (keyed) {
            result.append(r.Text + u'=' + r.col(2));
        } else if (r.Tag == ActiveTabTag(section)) {
            result.append(u'*' + r.col(2));
            if (r.col(5) != QString::number(number))
                result.append(QStringLiteral("(active tab numbered %1)").arg(r.col(5)));
        } else {
            // The numbers the file manager's keys will have.
            if (r.Text != QString::number(number++))
                result.append(QStringLiteral("(numbered %1)").arg(r.Text));
            result.append(r.col(2));
        }
    }
    return result;
}

} // namespace

class TestHistoryRestore : public QObject
{
    Q_OBJECT
private slots:
    void restore_data();
    void restore();
};

void TestHistoryRestore::restore_data()
{
    using Mode = HistoryRestore::Mode;
    QTest::addColumn<QString>("section");
    QTest::addColumn<QStringList>("present");
    QTest::addColumn<QStringList>("backup");
    QTest::addColumn<Mode>("mode");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<int>("added");
    const QString commands = QStringLiteral("Command line history");
    QTest::newRow("into a cleared section") << commands << QStringList {} << QStringList {"make", "ls"} << Mode::Add
                                            << QStringList {"make", "ls"} << 2;
    QTest::newRow("after new entries, repeats left out")
        << commands << QStringList {"git pull", "MAKE"} << QStringList {"make", "ls", "LS", "git pull", "top"} << Mode::Add
        << QStringList {"git pull", "MAKE", "ls", "top"} << 2;
    QTest::newRow("replacing new entries") << commands << QStringList {"git pull", "make"} << QStringList {"ls", "ls"}
                                           << Mode::Replace << QStringList {"ls", "ls"} << 2;
    QTest::newRow("folders repeat without their last backslash")
        << "LeftHistory" << QStringList {"c:\\work"} << QStringList {"C:\\WORK\\", "d:\\", "c:"} << Mode::Add
        << QStringList {"c:\\work", "d:\\", "c:"} << 2;
    QTest::newRow("tabs go after the tabs, the active tab stays")
        << "LeftTabs" << QStringList {"c:\\", "*d:\\"} << QStringList {"e:\\", "D:\\", "*x:\\", "c:\\"} << Mode::Add
        << QStringList {"c:\\", "*d:\\", "e:\\"} << 1;
    QTest::newRow("replaced tabs keep the active tab's place")
        << "RightTabs" << QStringList {"c:\\", "*d:\\", "e:\\"} << QStringList {"p:\\", "q:\\", "r:\\", "*x:\\"}
        << Mode::Replace << QStringList {"p:\\", "*d:\\", "q:\\", "r:\\"} << 3;
    QTest::newRow("templates only where the name is free")
        << "Rename" << QStringList {"tpl=new"} << QStringList {"TPL=old", "other=x", "Other=y"} << Mode::Add
        << QStringList {"tpl=new", "other=x"} << 1;
    QTest::newRow("templates replaced") << "Searches" << QStringList {"tpl=new"} << QStringList {"TPL=old"}
                                        << Mode::Replace << QStringList {"TPL=old"} << 1;
}

void TestHistoryRestore::restore()
{
    QFETCH(QString, section);
    QFETCH(QStringList, present);
    QFETCH(QStringList, backup);
    QFETCH(HistoryRestore::Mode, mode);
    QFETCH(QStringList, expected);
    QFETCH(int, added);
    HistoryRowStore store;
    store.BuildFrame();
    for (const QString &entry : present) {
        HistoryRow r = row(section, entry);
        r.Key = store.NextKey();
        r.Text = r.Text.isEmpty() ? QString::number(store.SectionRows(cSectionsData::GetSectionIndex(section)).size()) : r.Text;
        store.InsertRow(store.GetStartEnd(section).end + 1, r);
    }
    RenumberActiveTab(store, section);
    std::vector<HistoryRow> rows;
    for (const QString &entry : backup)
        rows.push_back(row(section, entry));
    // The neighbour section is never touched.
    HistoryRow neighbour = row("MkDirHistory", "x");
    neighbour.Text = QStringLiteral("0");
    store.InsertRow(store.GetStartEnd("MkDirHistory").end + 1, neighbour);

    QCOMPARE(HistoryRestore::Restore(store, section, rows, mode), added);
    QCOMPARE(entries(store, section), expected);
    QVERIFY(store.SaveFlag(section));
    QCOMPARE(entries(store, "MkDirHistory"), QStringList {"x"});
    QVERIFY(!store.SaveFlag("MkDirHistory"));
    QSet<QString> keys;
    for (const HistoryRow &r : store.SectionRows(cSectionsData::GetSectionIndex(section)))
        keys.insert(r.Key);
    QCOMPARE(keys.size(), expected.size());   // every row has a key of its own
}

QTEST_GUILESS_MAIN(TestHistoryRestore)
#include "tst_historyrestore.moc"
