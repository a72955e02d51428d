#include "core/csectionsdata.h"
#include "editor/findhistory.h"
#include "editor/historylist.h"
#include "editor/historylistmodel.h"
#include "settings/clanguage.h"
#include "settings/csettings.h"
#include "support/scriptedperson.h"
#include "support/testenvironment.h"

#include <QApplication>
#include <QListView>
#include <QtTest>

using namespace calvenor;
using calvenor::test::kMarker;
using calvenor::test::ScriptedPerson;
using calvenor::test::TestEnvironment;

namespace {

class NoHost : public HistoryListHost
{
public:
    void SetUpDownButtonsState(bool) override {}
    void SetButtonsState(const QString &) override {}
    void SelectTreeNode(const QString &) override {}
    QList<SectionTreeNode> RootChildren() const override { return {}; }
};

struct Fixture
{
    explicit Fixture(const QByteArray &settingsText = QByteArray())
        : registry(kMarker, env.path("store.reg"), QString())
        , settings(env.profile(), env.paths(), registry)
        , language(env.profile(), settings)
        , list(env.profile(), settings, language, person, host)
        , find(list, settings, person, language)
    {
        settings.setSettingsFile(env.writeFile("settings.ini", settingsText));
        const QString wincmd = env.writeFile("wincmd.ini", "[SearchText]\r\n0=TODO first\r\n1=nothing\r\n2=a todo too\r\n");
        list.ReadAllHistorySections(wincmd, env.path("wcx_ftp.ini"));
        list.ShowSelectedSection("SearchText", false);
        find.Load();
    }
    TestEnvironment env;
    ScriptedPerson person;
    NoHost host;
    cRegistry registry;
    cSettings settings;
    cLanguage language;
    HistoryList list;
    FindHistory find;
};

} // namespace

class TestFindHistory : public QObject
{
    Q_OBJECT
private slots:
    void walksThroughAllMatchesAndStartsAgain();
    void emptyTextBeeps();
    void historyKeepsTwentyNewestFirst();
    void optionsAndClearing();
    void aListViewShowsTheSameRows();
};

void TestFindHistory::walksThroughAllMatchesAndStartsAgain()
{
    Fixture f;
    f.find.setText("TODO");
    f.find.FindNextString();
    QCOMPARE(f.list.currentRow(), 0);
    f.find.FindNextString();
    QCOMPARE(f.list.currentRow(), 2);   // a match in the last row: no message
    QVERIFY(f.person.asked.isEmpty());
    f.find.FindNextString();
    QCOMPARE(f.person.messages(), QStringList({"Cannot find \"TODO\""}));
    QCOMPARE(f.find.mlngSearchStartPosition, 1L);
    f.find.FindNextString();
    QCOMPARE(f.list.currentRow(), 0);
}

void TestFindHistory::emptyTextBeeps()
{
    Fixture f;
    QVERIFY(!f.find.findNextEnabled());
    f.find.FindNextString();
    QCOMPARE(f.person.asked.last().kind, QStringLiteral("beep"));
}

void TestFindHistory::historyKeepsTwentyNewestFirst()
{
    Fixture f;
    for (int i = 1; i <= 21; ++i) {
        f.find.setText("text " + QString::number(i));
        f.find.FindNextClicked();
    }
    QCOMPARE(f.find.entries().size(), 20);
    QCOMPARE(f.find.entries().first(), QStringLiteral("text 21"));
    QCOMPARE(f.find.entries().last(), QStringLiteral("text 2"));
    f.find.setText("TEXT 5");   // known in another case: not added again
    f.find.FindNextClicked();
    QCOMPARE(f.find.entries().size(), 20);
    QCOMPARE(f.settings.Read("Calvenor", "Find1", kMarker), QStringLiteral("text 21"));
    QCOMPARE(f.settings.Read("Calvenor", "Find20", kMarker), QStringLiteral("text 2"));
}

void TestFindHistory::optionsAndClearing()
{
    Fixture f("[Calvenor]\r\nFind1=newest\r\nFind3=older\r\nFindOptions=1,2,1\r\n");
    QCOMPARE(f.find.entries(), QStringList({"newest", "older"}));
    QCOMPARE(f.find.text(), QStringLiteral("older"));
    QVERIFY(f.find.wholeWord());
    f.find.selectEntry(0);
    f.find.Unload();
    QVERIFY(f.env.readFile("settings.ini").contains("FindOptions=0,0,1"));
    f.find.ClearList();   // No is the default answer
    QCOMPARE(f.find.entries().size(), 2);
    f.person.answerMessage(MessageAnswer::Yes);
    f.find.ClearList();
    QVERIFY(f.find.entries().isEmpty() && f.find.text().isEmpty());
    QVERIFY(!f.find.clearListEnabled() && !f.find.findNextEnabled());
    QVERIFY(!f.env.readFile("settings.ini").contains("Find1="));
}

void TestFindHistory::aListViewShowsTheSameRows()
{
    Fixture f;
    QListView view;
    view.setModel(f.list.model());
    view.show();
    QCOMPARE(view.model()->rowCount(), 3);
    QCOMPARE(view.model()->index(2, 0).data().toString(), QStringLiteral("a todo too"));
    f.list.ShowSelectedSection("RootNode", false);
    QCOMPARE(view.model()->rowCount(), f.list.mlngListCount);
    f.list.ShowSelectedSection("SearchText", false);
    f.list.AddNewItem("SearchText");
    QCOMPARE(view.model()->rowCount(), 4);
    QCOMPARE(view.model()->index(3, 0).data().toString(), QStringLiteral("Text 4"));
    QVERIFY(view.model()->flags(view.model()->index(3, 0)) & Qt::ItemIsDragEnabled);
}

QTEST_MAIN(TestFindHistory)
#include "tst_findhistory.moc"
