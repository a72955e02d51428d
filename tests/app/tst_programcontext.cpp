#include "app/programcontext.h"
#include "support/scriptedperson.h"
#include "support/testenvironment.h"

#include <QtTest>

using namespace calvenor;
using calvenor::test::kMarker;
using calvenor::test::ScriptedPerson;
using calvenor::test::TestEnvironment;

class TestProgramContext : public QObject
{
    Q_OBJECT
private slots:
    void settingsFallbackIsToldOnce();
};

void TestProgramContext::settingsFallbackIsToldOnce()
{
    TestEnvironment env;
    const QString app = env.path("app");
    QDir().mkpath(app);
    const QString key = "HKEY_CURRENT_USER\\Software\\VantrelEditors\\Common";
    cRegistry registry(kMarker, cRegistry::defaultStoreFile(), env.path("prefix"));
    // A settings file recorded beside a read-only installation.
    registry.WriteValue(key, "IniFileName", "/proc/vantrel editors.ini", cRegistry::TextValue);
    const QString fallback = env.path("home/.config/calvenor/vantrel editors.ini");
    for (int start = 0; start < 2; ++start) {
        ScriptedPerson person;
        ProgramContext context(person, app);
        QCOMPARE(context.settings.SettingsFile(), fallback);
        if (start == 0) {
            QCOMPARE(person.messages().size(), 1);
            QVERIFY(person.messages().first().contains("/proc/vantrel editors.ini"));
            QVERIFY(person.messages().first().contains(fallback));
        } else {
            QVERIFY(person.asked.isEmpty());
        }
    }
    // Another unwritable file is news again.
    registry.WriteValue(key, "IniFileName", "/proc/other.ini", cRegistry::TextValue);
    ScriptedPerson person;
    ProgramContext context(person, app);
    QCOMPARE(person.messages().size(), 1);
}

QTEST_GUILESS_MAIN(TestProgramContext)
#include "tst_programcontext.moc"
