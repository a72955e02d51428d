#include "settings/datafolder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace calvenor;

class TestDataFolder : public QObject
{
    Q_OBJECT
private slots:
    void chosenFolder_data();
    void chosenFolder();
};

void TestDataFolder::chosenFolder_data()
{
    QTest::addColumn<QStringList>("entries");   // under the temporary folder; "/" ends a folder
    QTest::addColumn<QString>("appFolder");
    QTest::addColumn<QString>("expected");

    const QStringList installed {"prefix/bin/", "prefix/share/calvenor/Languages/"};
    QTest::newRow("build: languages beside the program")
        << QStringList {"prefix/bin/Languages/", "prefix/share/calvenor/"} << "prefix/bin/" << "prefix/bin/";
    QTest::newRow("build: only the guide beside the program")
        << QStringList {"prefix/bin/Readme.html", "prefix/share/calvenor/"} << "prefix/bin/" << "prefix/bin/";
    QTest::newRow("installed") << installed << "prefix/bin/" << "prefix/share/calvenor/";
    QTest::newRow("installed, no trailing slash") << installed << "prefix/bin" << "prefix/share/calvenor/";
    QTest::newRow("installed, folder given with ..") << installed << "prefix/lib/../bin/" << "prefix/share/calvenor/";
    QTest::newRow("nothing anywhere") << QStringList {"prefix/bin/"} << "prefix/bin/" << "prefix/bin/";
    QTest::newRow("share/calvenor is a file")
        << QStringList {"prefix/bin/", "prefix/share/calvenor"} << "prefix/bin/" << "prefix/bin/";
    QTest::newRow("Languages beside is a file")
        << QStringList {"prefix/bin/Languages", "prefix/share/calvenor/"} << "prefix/bin/" << "prefix/share/calvenor/";
    QTest::newRow("Readme.html beside is a folder")
        << QStringList {"prefix/bin/Readme.html/", "prefix/share/calvenor/"} << "prefix/bin/" << "prefix/share/calvenor/";
}

void TestDataFolder::chosenFolder()
{
    QFETCH(QStringList, entries);
    QFETCH(QString, appFolder);
    QFETCH(QString, expected);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString root = dir.path() + u'/';
    for (const QString &entry : std::as_const(entries)) {
        if (entry.endsWith(u'/')) {
            QVERIFY(QDir().mkpath(root + entry));
        } else {
            QVERIFY(QDir().mkpath(QFileInfo(root + entry).absolutePath()));
            QFile file(root + entry);
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
    }
    QCOMPARE(DataFolder(root + appFolder), root + expected);
}

QTEST_GUILESS_MAIN(TestDataFolder)
#include "tst_datafolder.moc"
