#include "inidocumentcheck.h"
#include "registrycheck.h"

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
    QTest::addColumn<bool>("registry");
    for (const char *folder : {CALVENOR_FUZZ_DIR "/regressions", CALVENOR_FUZZ_DIR "/corpus",
                               CALVENOR_FUZZ_DIR "/regressions-registry", CALVENOR_FUZZ_DIR "/corpus-registry"}) {
        const QDir dir(QString::fromUtf8(folder));
        for (const QString &name : dir.entryList(QDir::Files))
            QTest::newRow(qPrintable(dir.dirName() + u'/' + name)) << dir.filePath(name) << dir.dirName().endsWith(u"registry");
    }
}

void TestFuzzRegressions::replay()
{
    QFETCH(QString, file);
    QFETCH(bool, registry);
    QFile in(file);
    QVERIFY(in.open(QIODevice::ReadOnly));
    const QByteArray bytes = in.readAll();
    const QString failure = registry ? calvenor::fuzz::checkRegistryFile(bytes) : calvenor::fuzz::checkIniDocument(bytes);
    QVERIFY2(failure.isEmpty(), qPrintable(failure));
}

QTEST_GUILESS_MAIN(TestFuzzRegressions)
#include "tst_fuzzregressions.moc"
