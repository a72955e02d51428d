#include "settings/clanguage.h"
#include "settings/csettings.h"
#include "support/scriptedperson.h"
#include "support/testenvironment.h"

#include <QFile>
#include <QtTest>

using namespace calvenor;
using calvenor::test::kMarker;
using calvenor::test::ScriptedPerson;
using calvenor::test::TestEnvironment;

namespace {

struct Fixture
{
    explicit Fixture(const QByteArray &languageFile)
        : registry(kMarker, env.path("store.reg"), QString())
        , settings(env.profile(), env.paths(), registry)
        , language(env.profile(), settings)
    {
        settings.setSettingsFile(env.writeFile("vantrel editors.ini", "[Calvenor]\nUseDefaultLanguage=0\n"));
        settings.LoadSettings();
        settings.LanguageFile = env.writeFile("Languages/test.lng", languageFile);
    }
    TestEnvironment env;
    cRegistry registry;
    cSettings settings;
    cLanguage language;
};

QByteArray germanFile()
{
    QFile in(QStringLiteral(CALVENOR_LANGUAGES_DIR "/Deutsch.lng"));
    return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
}

} // namespace

class TestLanguage : public QObject
{
    Q_OBJECT
private slots:
    void languageStrings_data();
    void languageStrings();
    void theGermanFileTranslatesEveryText();
    void builtInTextsWhenAsked();
    void missingLanguageFile();
    void controlRules();
};

void TestLanguage::languageStrings_data()
{
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("translated") << QByteArray("Nur 20 Einträge") << "Nur 20 Einträge";
    QTest::newRow("/E with blanks falls back") << QByteArray("\"  /E  \"") << "Only 20 items can be added to a section.";
    QTest::newRow("/e falls back") << QByteArray("/e") << "Only 20 items can be added to a section.";
    QTest::newRow("empty falls back") << QByteArray("") << "Only 20 items can be added to a section.";
    QTest::newRow("kept as read") << QByteArray("\" x \"") << " x ";
}

void TestLanguage::languageStrings()
{
    QFETCH(QByteArray, value);
    QFETCH(QString, expected);
    Fixture f("\xef\xbb\xbf[UserLanguage]\r\n3093=" + value + "\r\n");
    QCOMPARE(f.language.GetLanguageString(3093), expected);
    QCOMPARE(f.language.GetLanguageString(101), QStringLiteral("&File"));   // absent: built-in
    QCOMPARE(f.language.GetLanguageString(4242), QString());                // nobody knows it
}

void TestLanguage::theGermanFileTranslatesEveryText()
{
    Fixture f(germanFile());
    QCOMPARE(f.language.GetLanguageString(101), QStringLiteral("&Datei"));
    for (const int id : cDefaultStrings::ids()) {
        const QString text = f.language.GetLanguageString(id);
        QVERIFY2(!text.isEmpty(), qPrintable(QString::number(id)));
    }
    QVERIFY(f.language.GetLanguageString(3093).contains("20"));
}

void TestLanguage::builtInTextsWhenAsked()
{
    Fixture f(germanFile());
    f.settings.UseDefaultLanguage = true;
    QCOMPARE(f.language.GetLanguageString(3093), QStringLiteral("Only 20 items can be added to a section."));
    ScriptedPerson person;
    QVERIFY(!f.language.PrepareForm(person));
    QVERIFY(person.asked.isEmpty());
}

void TestLanguage::missingLanguageFile()
{
    Fixture f("[UserLanguage]\nRightToLeftLanguage=1\n101=ملف\n");
    ScriptedPerson person;
    QVERIFY(f.language.PrepareForm(person));
    QVERIFY(person.asked.isEmpty());
    QFile::remove(f.settings.LanguageFile);
    QVERIFY(!f.language.PrepareForm(person));
    QCOMPARE(person.messages(), QStringList({"Cannot find language file!"}));
    QCOMPARE(person.asked.first().icon, MessageIcon::Error);
    QVERIFY(f.settings.UseDefaultLanguage);
    QCOMPARE(f.settings.Read("Calvenor", "UseDefaultLanguage", kMarker), QStringLiteral("1"));
    QVERIFY(!f.language.PrepareForm(person));
    QCOMPARE(person.messages().size(), 1);   // said once: the built-in texts are in use now
}

void TestLanguage::controlRules()
{
    Fixture f("[UserLanguage]\n101=Fichier\n3094=&Titre:\n");
    f.settings.ShowBkColor = true;
    f.settings.BackgroundColor = 0x123456;
    f.settings.FontScript = 204;
    using Kind = cLanguage::ControlKind;
    const auto label = f.language.ForControl(Kind::Label, 3094, "x", true);
    QCOMPARE(label.caption, std::optional<QString>("&Titre:"));
    QCOMPARE(label.rightToLeft, std::optional<bool>(true));
    QCOMPARE(label.backgroundColor, std::optional<qint32>(0x123456));
    QCOMPARE(label.fontScript, 204);
    const auto text = f.language.ForControl(Kind::TextBox, 0, "x", true);
    QVERIFY(!text.rightToLeft);   // text boxes keep their alignment
    QVERIFY(!text.caption);
    QVERIFY(text.backgroundColor);
    const auto button = f.language.ForControl(Kind::CommandButton, 1008, "x", false);
    QCOMPARE(button.rightToLeft, std::optional<bool>(false));
    QVERIFY(!button.backgroundColor);
    QCOMPARE(button.caption, std::optional<QString>("OK"));
    QVERIFY(!f.language.ForControl(Kind::MenuItem, 101, "-", false).caption);
    QCOMPARE(f.language.ForControl(Kind::MenuItem, 101, "&File", false).caption, std::optional<QString>("Fichier"));
    QCOMPARE(f.language.ForControl(Kind::ToolbarButton, 101, QString(), false).toolTip, std::optional<QString>("Fichier"));
    QCOMPARE(f.language.ForControl(Kind::Tab, 101, QString(), false).caption, std::optional<QString>("Fichier"));
}

QTEST_GUILESS_MAIN(TestLanguage)
#include "tst_language.moc"
