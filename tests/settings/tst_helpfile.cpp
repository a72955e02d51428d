#include "settings/helpfile.h"
#include "support/testenvironment.h"

#include <QDir>
#include <QFile>
#include <QtTest>

using namespace calvenor;
using calvenor::test::kMarker;
using calvenor::test::TestEnvironment;

class TestHelpFile : public QObject
{
    Q_OBJECT
private slots:
    void chosenGuide_data();
    void chosenGuide();
    void theBuiltProgramHasItsGuide();
};

void TestHelpFile::chosenGuide_data()
{
    QTest::addColumn<QStringList>("guides");   // files in the program's folder; "/" ends a folder
    QTest::addColumn<bool>("useDefaultLanguage");
    QTest::addColumn<QString>("languageFile");
    QTest::addColumn<QString>("expected");     // file name in the program's folder, or empty

    const QStringList both {"Readme.html", "Readme Deutsch.html"};
    QTest::newRow("default language") << both << true << "Languages/Deutsch.lng" << "Readme.html";
    QTest::newRow("language with its own guide") << both << false << "/opt/calvenor/Languages/Deutsch.lng"
                                                 << "Readme Deutsch.html";
    QTest::newRow("macro form") << both << false << "vanteditors:\\Languages\\Deutsch.lng" << "Readme Deutsch.html";
    QTest::newRow("Windows path") << both << false << "C:\\Program Files\\Calvenor\\Languages\\Deutsch.lng"
                                  << "Readme Deutsch.html";
    QTest::newRow("dot in a folder, no extension") << both << false << "C:\\tc.d/Languages\\Deutsch"
                                                   << "Readme Deutsch.html";
    QTest::newRow("language without a guide") << both << false << "Languages/German.lng" << "Readme.html";
    QTest::newRow("no language file named") << both << false << kMarker << "Readme.html";
    QTest::newRow("extension only") << QStringList {"Readme.html", "Readme .html"} << false << "Languages/.lng"
                                    << "Readme.html";
    QTest::newRow("no guide at all") << QStringList() << false << "Languages/Deutsch.lng" << QString();
    QTest::newRow("only the translated guide") << QStringList {"Readme Deutsch.html"} << true
                                               << "Languages/Deutsch.lng" << QString();
    QTest::newRow("guide names a folder") << QStringList {"Readme.html/"} << true << QString() << QString();
}

void TestHelpFile::chosenGuide()
{
    QFETCH(QStringList, guides);
    QFETCH(bool, useDefaultLanguage);
    QFETCH(QString, languageFile);
    QFETCH(QString, expected);

    TestEnvironment env;
    const QString appFolder = env.paths().AppFolder();
    QDir().mkpath(appFolder);
    for (const QString &guide : std::as_const(guides)) {
        if (guide.endsWith(u'/'))
            QDir().mkpath(appFolder + guide);
        else
            env.writeFile("app/" + guide, "<html></html>");
    }
    QCOMPARE(HelpFilePath(appFolder, useDefaultLanguage, languageFile),
             expected.isEmpty() ? QString() : appFolder + expected);
}

// The build puts the guide into the program's folder; it opens offline in any browser.
void TestHelpFile::theBuiltProgramHasItsGuide()
{
    const QString guide = HelpFilePath(QStringLiteral(CALVENOR_APP_DIR), true, QString());
    QVERIFY2(!guide.isEmpty(), CALVENOR_APP_DIR);
    QFile in(guide);
    QVERIFY(in.open(QIODevice::ReadOnly));
    const QByteArray html = in.readAll().toLower();
    QVERIFY(html.startsWith("<!doctype html>"));
    QVERIFY(!html.contains("<script"));
    QVERIFY(!html.contains("://"));
}

QTEST_GUILESS_MAIN(TestHelpFile)
#include "tst_helpfile.moc"
