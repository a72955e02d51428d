#include "core/ansicodepage.h"
#include "core/initextcodec.h"

#include <QtTest>

using namespace calvenor;

class TestIniText : public QObject
{
    Q_OBJECT
private slots:
    void everyAnsiByteSurvives_data();
    void everyAnsiByteSurvives();
};

void TestIniText::everyAnsiByteSurvives_data()
{
    QTest::addColumn<int>("codePage");
    for (const int page : {874, 1250, 1251, 1252, 1253, 1254, 1255, 1256, 1257, 1258})
        QTest::addRow("cp%d", page) << page;
}

void TestIniText::everyAnsiByteSurvives()
{
    QFETCH(int, codePage);
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    const AnsiCodePage &page = AnsiCodePage::get(codePage);
    const QString text = page.decode(all);
    QVERIFY(page.canEncode(text));
    QCOMPARE(page.encode(text), all);
}

QTEST_GUILESS_MAIN(TestIniText)
#include "tst_initext.moc"
