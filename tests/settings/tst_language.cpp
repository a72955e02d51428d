#include "settings/clanguage.h"
#include "settings/csettings.h"
#include "settings/qttranslations.h"
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
    explicit Fixture(const QByteArray &languageFile, const QString &name = QStringLiteral("test.lng"))
        : registry(kMarker, env.path("store.reg"), QString())
        , settings(env.profile(), env.paths(), registry)
        , language(env.profile(), settings)
    {
        settings.setSettingsFile(env.writeFile("vantrel editors.ini", "[Calvenor]\nUseDefaultLanguage=0\n"));
        settings.LoadSettings();
        settings.LanguageFile = env.writeFile("Languages/" + name, languageFile);
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
    void languageCode_data();
    void languageCode();
    void qtTranslations();
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

void TestLanguage::languageCode_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<QString>("expected");
    const QByteArray none = "[UserLanguage]\n101=x\n";
    QTest::newRow("stated") << "Mine.lng" << QByteArray("[UserLanguage]\nLanguageCode=de\n") << "de_DE";
    QTest::newRow("stated with a territory") << "Deutsch.lng" << QByteArray("[UserLanguage]\nLanguageCode= pt_BR \n") << "pt_BR";
    QTest::newRow("stated by name") << "x.lng" << QByteArray("[UserLanguage]\nLanguageCode=French\n") << "fr_FR";
    QTest::newRow("stated wins over the name") << "Deutsch.lng" << QByteArray("[UserLanguage]\nLanguageCode=ru\n") << "ru_RU";
    QTest::newRow("stated, unknown") << "Deutsch.lng" << QByteArray("[UserLanguage]\nLanguageCode=Elvish\n") << "";
    QTest::newRow("native name") << "Deutsch.lng" << none << "de_DE";
    QTest::newRow("English name, any case") << "GERMAN.LNG" << none << "de_DE";
    QTest::newRow("native name with accents") << QString::fromUtf8("Français.lng") << none << "fr_FR";
    QTest::newRow("native name without accents") << "Francais.lng" << none << "fr_FR";
    QTest::newRow("code") << "ru.lng" << none << "ru_RU";
    QTest::newRow("code with a territory") << "de_AT.lng" << none << "de_AT";
    QTest::newRow("no extension") << "Deutsch" << none << "de_DE";
    QTest::newRow("names no language") << "test.lng" << none << "";
}

void TestLanguage::languageCode()
{
    QFETCH(QString, fileName);
    QFETCH(QByteArray, contents);
    QFETCH(QString, expected);
    Fixture f(contents, fileName);
    QCOMPARE(f.language.LanguageCode(), expected);
    // English, whatever the file says, when the built-in texts are in use or it is gone.
    f.settings.UseDefaultLanguage = true;
    QCOMPARE(f.language.LanguageCode(), QString());
    f.settings.UseDefaultLanguage = false;
    QFile::remove(f.settings.LanguageFile);
    QCOMPARE(f.language.LanguageCode(), QString());
}

void TestLanguage::qtTranslations()
{
    QtTranslations translations;
    const auto shortcutName = [] { return QCoreApplication::translate("QShortcut", "Ctrl"); };
    if (!translations.Use("de_DE") || translations.File().isEmpty())
        QSKIP("Qt's German translation is not installed (qt6-translations-l10n)");
    QVERIFY(translations.File().endsWith("/qtbase_de.qm"));
    QCOMPARE(shortcutName(), QStringLiteral("Strg"));
    QVERIFY(!translations.Use("de_DE"));   // unchanged: nothing to lay out again
    QVERIFY(translations.Use("de_AT"));    // falls back to the language's own file
    QVERIFY(translations.File().endsWith("/qtbase_de.qm"));
    QVERIFY(translations.Use("pt_BR"));
    QVERIFY(translations.File().endsWith("/qtbase_pt_BR.qm"));
    QVERIFY(translations.Use("eo_001"));   // none for Esperanto: Qt's English
    QCOMPARE(translations.File(), QString());
    QCOMPARE(shortcutName(), QStringLiteral("Ctrl"));
    {
        QtTranslations german;
        german.Use("de_DE");
        QCOMPARE(shortcutName(), QStringLiteral("Strg"));
    }
    QCOMPARE(shortcutName(), QStringLiteral("Ctrl"));   // gone with its owner
    QVERIFY(translations.Use("de_DE"));
    QVERIFY(translations.Use(QString()));
    QCOMPARE(shortcutName(), QStringLiteral("Ctrl"));
}

QTEST_GUILESS_MAIN(TestLanguage)
#include "tst_language.moc"
