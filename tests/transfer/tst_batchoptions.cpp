#include "transfer/batchoptions.h"

#include <QtTest>

using namespace calvenor;

class TestBatchOptions : public QObject
{
    Q_OBJECT
private slots:
    void parses_data();
    void parses();
    void sectionNumbers_data();
    void sectionNumbers();
};

void TestBatchOptions::parses_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("wincmd");    // "<none>" when not given
    QTest::addColumn<QString>("backup");
    QTest::addColumn<qint64>("limit");
    QTest::addColumn<bool>("restart");
    QTest::addColumn<bool>("overwrite");
    const QString none = "<none>";
    QTest::newRow("all options") << QStringList({"/i=C:\\tc\\wincmd.ini", "/s=all", "/b=%TEMP%\\h.txt", "/r", "/o"})
                                 << "C:\\tc\\wincmd.ini" << "%TEMP%\\h.txt" << qint64(67108864) << true << true;
    QTest::newRow("keys ignore case") << QStringList({"/I=x", "/B=y", "/R", "/O"}) << "x" << "y" << qint64(67108864) << true << true;
    QTest::newRow("long switch names match nothing") << QStringList({"/restart", "/overwrite"}) << none << none
                                                     << qint64(67108864) << false << false;
    QTest::newRow("switch with blanks after it") << QStringList({"/r ", "/o  "}) << none << none << qint64(67108864) << true << true;
    QTest::newRow("split path joined again") << QStringList({"/b=/home/me/My", "Backups/h.txt", "/r"}) << none
                                             << "/home/me/My Backups/h.txt" << qint64(67108864) << true << false;
    QTest::newRow("native paths keep their slashes") << QStringList({"/i=/home/me/.wine/drive_c/tc/wincmd.ini"})
                                                     << "/home/me/.wine/drive_c/tc/wincmd.ini" << none << qint64(67108864) << false << false;
    QTest::newRow("values trimmed, quotes kept") << QStringList({"/i=  \"C:\\x y\\wincmd.ini\"  "}) << "\"C:\\x y\\wincmd.ini\"" << none
                                                 << qint64(67108864) << false << false;
    QTest::newRow("later replaces earlier") << QStringList({"/i=a", "/i=b"}) << "b" << none << qint64(67108864) << false << false;
    QTest::newRow("limit below the minimum") << QStringList({"/m=1000"}) << none << none << qint64(65536) << false << false;
    QTest::newRow("limit not a number") << QStringList({"/m=lots"}) << none << none << qint64(65536) << false << false;
    QTest::newRow("limit") << QStringList({"/m=100000"}) << none << none << qint64(100000) << false << false;
    QTest::newRow("text before the first option") << QStringList({"hello", "/r"}) << none << none << qint64(67108864) << true << false;
    QTest::newRow("nothing understood") << QStringList({"hello"}) << none << none << qint64(67108864) << false << false;
}

void TestBatchOptions::parses()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, wincmd);
    QFETCH(QString, backup);
    QFETCH(qint64, limit);
    QFETCH(bool, restart);
    QFETCH(bool, overwrite);
    const BatchOptions options = ParseBatchCommandLine(arguments);
    QCOMPARE(options.wincmd.value_or("<none>"), wincmd);
    QCOMPARE(options.backup.value_or("<none>"), backup);
    QCOMPARE(options.backupLimit, limit);
    QCOMPARE(options.restart, restart);
    QCOMPARE(options.overwrite, overwrite);
}

void TestBatchOptions::sectionNumbers_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QList<int>>("numbers");
    QList<int> all;
    for (int n = 1; n <= 19; ++n)
        all << n;
    QTest::newRow("all") << "all" << all;
    QTest::newRow("ALL") << "ALL" << all;
    QTest::newRow("in the order written") << "14;13;19" << QList<int>({14, 13, 19});
    QTest::newRow("rounded") << "12.6" << QList<int>({13});
    QTest::newRow("invalid ones left out") << "0;20;x;-1;5" << QList<int>({5});
    QTest::newRow("empty") << "" << QList<int>();
}

void TestBatchOptions::sectionNumbers()
{
    QFETCH(QString, value);
    QFETCH(QList<int>, numbers);
    BatchOptions options;
    options.sections = value;
    QCOMPARE(options.sectionNumbers(), numbers);
}

QTEST_GUILESS_MAIN(TestBatchOptions)
#include "tst_batchoptions.moc"
