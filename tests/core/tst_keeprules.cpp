#include "core/keeprules.h"

#include <QtTest>

using namespace calvenor;

class TestKeepRules : public QObject
{
    Q_OBJECT
private slots:
    void matches_data();
    void matches();
    void keepsByFamily();
};

void TestKeepRules::matches_data()
{
    QTest::addColumn<QStringList>("patterns");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("kept");
    const QStringList projects {"*\\Projects\\*"};
    QTest::newRow("star crosses backslashes, case ignored") << projects << "c:\\work\\PROJECTS\\calvenor\\src\\" << true;
    QTest::newRow("the whole text must match") << QStringList {"ssh *"} << "sudo ssh host" << false;
    QTest::newRow("star may be empty") << QStringList {"ssh *"} << "ssh " << true;
    QTest::newRow("question mark is one character") << QStringList {"c:\\?"} << "c:\\xy" << false;
    QTest::newRow("question mark is one code point") << QStringList {"?.txt"} << QString::fromUtf8("\xF0\x9D\x84\x9E.txt") << true;
    QTest::newRow("letters beyond ASCII fold too") << QStringList {"*ÄPFEL*"} << "d:\\äpfel\\" << true;
    QTest::newRow("a later star takes over") << QStringList {"*ab*c"} << "aabxabyc" << true;
    QTest::newRow("backtracking finds no false end") << QStringList {"*a?c"} << "abcab" << false;
    QTest::newRow("blanks around a pattern are trimmed") << QStringList {"  make  "} << "make" << true;
    QTest::newRow("empty patterns match nothing") << QStringList {"", "   "} << "" << false;
    QTest::newRow("any of several") << QStringList {"x", "y*"} << "yes" << true;
    // Linear, not exponential, in the stars.
    QTest::newRow("many stars on a long text") << QStringList {"*a*a*a*a*a*a*a*a*b"} << QString(20000, u'a') << false;
}

void TestKeepRules::matches()
{
    QFETCH(QStringList, patterns);
    QFETCH(QString, text);
    QFETCH(bool, kept);
    QCOMPARE(KeepRules(patterns).Matches(text), kept);
}

void TestKeepRules::keepsByFamily()
{
    const QString marker = QStringLiteral("ABCDEF123456abcdef");
    const KeepRules rules(QStringList {"*.md", "*1*", "c:\\work\\"});
    HistoryRow templ;
    templ.Text = QStringLiteral("Docs");
    templ.col(2) = QStringLiteral("*.md");
    QVERIFY(rules.Keeps("Rename", templ, marker));   // by a value
    templ.col(2) = marker;   // a value the file lacks is no value, though it holds a 1
    QVERIFY(!rules.Keeps("Rename", templ, marker));
    templ.Text = QStringLiteral("v1");
    QVERIFY(rules.Keeps("Rename", templ, marker));   // by the name
    HistoryRow tab;
    tab.Text = QStringLiteral("1");   // a tab's number is not what the list shows
    tab.col(2) = QStringLiteral("C:\\Work\\");
    QVERIFY(rules.Keeps("LeftTabs", tab, marker));
    tab.col(2) = QStringLiteral("D:\\");
    QVERIFY(!rules.Keeps("LeftTabs", tab, marker));
    QVERIFY(!KeepRules().Keeps("LeftHistory", tab, marker));
    // The batch job's own patterns come after the stored ones, each once.
    QCOMPARE(rules.united(KeepRules(KeepRules::SplitList("x;;*.md;y"))).Patterns(),
             QStringList({"*.md", "*1*", "c:\\work\\", "x", "y"}));
}

QTEST_GUILESS_MAIN(TestKeepRules)
#include "tst_keeprules.moc"
