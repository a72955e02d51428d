#include "editor/historycleanup.h"

#include <QtTest>

using namespace calvenor;

namespace {

HistoryRow row(const QString &section, const QString &text, int key)
{
    HistoryRow result;
    result.Key = QStringLiteral("Key_%1").arg(key);
    result.Tag = section;
    result.col(2) = text;
    return result;
}

} // namespace

class TestHistoryCleanup : public QObject
{
    Q_OBJECT
private slots:
    void duplicates_data();
    void duplicates();
    void theActiveTabStays();
};

void TestHistoryCleanup::duplicates_data()
{
    QTest::addColumn<QString>("section");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QStringList>("removed");   // keys
    QTest::addColumn<QStringList>("keep");      // keep rules
    const QStringList none;
    QTest::newRow("commands ignore case") << "Command line history" << QStringList {"git log", "GIT LOG", "make"}
                                          << QStringList {"Key_1"} << none;
    QTest::newRow("folders ignore the last backslash") << "LeftHistory"
                                                       << QStringList {"c:\\a\\", "C:\\A", "c:\\a\\b\\", "c:\\"}
                                                       << QStringList {"Key_1"} << none;
    QTest::newRow("texts keep their backslash") << "SearchText" << QStringList {"a\\", "a"} << QStringList {} << none;
    QTest::newRow("only later repeats go") << "MkDirHistory" << QStringList {"x", "y", "X", "Y", "x"}
                                          << QStringList {"Key_2", "Key_3", "Key_4"} << none;
    QTest::newRow("a root stays a root") << "RightHistory" << QStringList {"c:\\", "c:"} << QStringList {} << none;
    QTest::newRow("templates are never repeats") << "Searches" << QStringList {"a", "a"} << QStringList {} << none;
    QTest::newRow("kept repeats stay") << "MkDirHistory" << QStringList {"x", "y", "X", "Y"} << QStringList {"Key_3"}
                                       << QStringList {"x"};
    QTest::newRow("a repeat the rules miss goes") << "LeftHistory" << QStringList {"c:\\p\\", "C:\\P"}
                                                  << QStringList {"Key_1"} << QStringList {"*\\p\\"};
}

void TestHistoryCleanup::duplicates()
{
    QFETCH(QString, section);
    QFETCH(QStringList, texts);
    QFETCH(QStringList, removed);
    QFETCH(QStringList, keep);
    std::vector<HistoryRow> rows;
    for (int i = 0; i < texts.size(); ++i)
        rows.push_back(row(section, texts[i], i));
    QCOMPARE(HistoryCleanup::DuplicateKeys(section, rows, KeepRules(keep)), removed);
}

void TestHistoryCleanup::theActiveTabStays()
{
    // The active tab repeats an earlier tab and stays; a later plain repeat goes.
    std::vector<HistoryRow> rows {row("LeftTabs", "c:\\", 0), row("LeftTabs", "d:\\", 1),
                                  row("LeftTabs_ActiveTabMark", "C:\\", 2), row("LeftTabs", "d:\\", 3)};
    QCOMPARE(HistoryCleanup::DuplicateKeys("LeftTabs", rows), QStringList {"Key_3"});
    // Nor is it looked up as a missing folder, and neither is a kept tab.
    using Entry = QPair<QString, QString>;
    QCOMPARE(HistoryCleanup::FolderEntries("LeftTabs", rows, KeepRules(QStringList {"c:\\"})),
             QList<Entry>({{"Key_1", "d:\\"}, {"Key_3", "d:\\"}}));
    QVERIFY(HistoryCleanup::FolderEntries("Command line history", rows).isEmpty());
    QVERIFY(HistoryCleanup::IsFolderSection("lefttabs"));
    QVERIFY(!HistoryCleanup::IsFolderSection("Command line history"));
}

QTEST_MAIN(TestHistoryCleanup)
#include "tst_historycleanup.moc"
