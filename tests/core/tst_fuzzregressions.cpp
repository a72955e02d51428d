#include "inidocumentcheck.h"

#include <QDir>
#include <QtTest>

// Every input the fuzzer ever found a fault with, replayed through the same checks.
class TestFuzzRegressions : public QObject
{
    Q_OBJECT
private slots:
    void replay_data();
    void replay();
};

void TestFuzzRegressions::replay_data()
{
    QTest::addColumn<QString>("file");
    for (const char *folder : {CALVENOR_FUZZ_DIR "/regressions", CALVENOR_FUZZ_DIR "/corpus"}) {
        const QDir dir(QString::fromUtf8(folder));
        for (const QString &name : dir.entryList(QDir::Files))
            QTest::newRow(qPrintable(name)) << dir.filePath(name);
    }
}

void TestFuzzRegressions::replay()
{
    QFETCH(QString, file);
    QFile in(file);
    QVERIFY(in.open(QIODevice::ReadOnly));
    const QString failure = calvenor::fuzz::checkIniDocument(in.readAll());
    QVERIFY2(failure.isEmpty(), qPrintable(failure));
}

QTEST_GUILESS_MAIN(TestFuzzRegressions)
#include "tst_fuzzregressions.moc"
