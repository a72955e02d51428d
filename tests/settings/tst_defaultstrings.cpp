#include "settings/cdefaultstrings.h"

#include <QtTest>

using namespace calvenor;

// The built-in English texts, and the German language file shipped beside the program,
// which must translate every one of them.
class TestDefaultStrings : public QObject
{
    Q_OBJECT
private slots:
    void defaultText_data();
    void defaultText();
    void tableIsWellFormed();
    void germanFileEncoding();
    void germanFileCoversTable();
};

static QByteArray germanFileBytes()
{
    QFile file(QStringLiteral(CALVENOR_LANGUAGES_DIR "/Deutsch.lng"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void TestDefaultStrings::defaultText_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("text");

    QTest::newRow("first") << 101 << "&File";
    QTest::newRow("dots") << 103 << "&Open...";
    QTest::newRow("accelerator inside") << 130 << "Move Dow&n";
    QTest::newRow("long option") << 1121 << "Auto &restart Total Commander after saving changes";
    QTest::newRow("title") << 3081 << "Total Commander History";
    QTest::newRow("limit message") << 3093 << "Only 20 items can be added to a section.";
    QTest::newRow("last") << 3253 << "Exporting... Please wait.";
    QTest::newRow("zero") << 0 << QString();
    QTest::newRow("negative") << -1 << QString();
    QTest::newRow("gap in the ids") << 102 << QString();
    QTest::newRow("past the end") << 99999 << QString();
}

void TestDefaultStrings::defaultText()
{
    QFETCH(int, id);
    QFETCH(QString, text);
    QCOMPARE(cDefaultStrings().GetDefaultString(id), text);
}

void TestDefaultStrings::tableIsWellFormed()
{
    const QList<int> ids = cDefaultStrings::ids();
    QCOMPARE(ids.size(), cDefaultStrings::count());
    QCOMPARE(cDefaultStrings::count(), 107 + 92);   // the common table and the program's own

    const cDefaultStrings strings;
    QSet<int> seen;
    for (int id : ids) {
        QVERIFY2(!seen.contains(id), qPrintable(QString::number(id)));
        seen.insert(id);
        const QString text = strings.GetDefaultString(id);
        QVERIFY2(!text.isEmpty(), qPrintable(QString::number(id)));
        // A language file stores texts unquoted; blanks at either end would be lost.
        QCOMPARE(text.trimmed(), text);
    }
}

void TestDefaultStrings::germanFileEncoding()
{
    const QByteArray bytes = germanFileBytes();
    // The program decodes an INI file as UTF-8 only when it carries the BOM.
    QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
    QVERIFY(bytes.endsWith("\r\n"));
    QCOMPARE(bytes.count('\n'), bytes.count("\r\n"));
    QCOMPARE(bytes.count('\r'), bytes.count("\r\n"));
    const QString text = QString::fromUtf8(bytes.mid(3));
    QVERIFY(!text.contains(QChar::ReplacementCharacter));
    QVERIFY(text.startsWith("; Calvenor language file: Deutsch\r\n"));
}

void TestDefaultStrings::germanFileCoversTable()
{
    const QStringList lines = QString::fromUtf8(germanFileBytes().mid(3)).split("\r\n");
    QHash<QString, QString> values;
    QString section;
    for (const QString &line : std::as_const(lines)) {
        if (line.isEmpty() || line.startsWith(';'))
            continue;
        if (line.startsWith('[')) {
            section = line;
            continue;
        }
        QCOMPARE(section, "[UserLanguage]");
        const qsizetype equals = line.indexOf('=');
        QVERIFY2(equals > 0, qPrintable(line));
        const QString key = line.left(equals);
        QVERIFY2(!values.contains(key), qPrintable(key));
        values.insert(key, line.mid(equals + 1));
    }
    QCOMPARE(values.take("RightToLeftLanguage"), "0");
    QCOMPARE(values.take("LanguageCode"), "de");
    // The program puts the configured limit in place of this number.
    QVERIFY(values.value("3093").contains("20"));

    const cDefaultStrings strings;
    for (int id : cDefaultStrings::ids()) {
        const QString key = QString::number(id);
        const QString value = values.take(key);
        const QString english = strings.GetDefaultString(id);
        QVERIFY2(!value.isEmpty(), qPrintable(key));
        // Unquoted values lose blanks at either end when read.
        QCOMPARE(value.trimmed(), value);
        // Whatever has an accelerator or opens a dialog in English does so in German.
        QVERIFY2(value.count('&') == english.count('&'), qPrintable(key + '=' + value));
        QVERIFY2(value.endsWith("...") == english.endsWith("..."), qPrintable(key + '=' + value));
    }
    QVERIFY2(values.isEmpty(), qPrintable(QStringList(values.keys()).join(',')));
}

QTEST_GUILESS_MAIN(TestDefaultStrings)
#include "tst_defaultstrings.moc"
