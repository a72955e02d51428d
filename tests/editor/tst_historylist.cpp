#include "core/csectionsdata.h"
#include "editor/historylist.h"
#include "editor/historylistmodel.h"
#include "settings/clanguage.h"
#include "settings/csettings.h"
#include "support/scriptedperson.h"
#include "support/testenvironment.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QtTest>

using namespace calvenor;
using calvenor::test::kMarker;
using calvenor::test::ScriptedPerson;
using calvenor::test::TestEnvironment;

namespace {

class RecordingHost : public HistoryListHost
{
public:
    void SetUpDownButtonsState(bool enabled) override { log << QStringLiteral("updown:%1").arg(enabled); }
    void SetButtonsState(const QString &section) override { log << "buttons:" + section; }
    void SelectTreeNode(const QString &key) override { log << "select:" + key; }
    QList<SectionTreeNode> RootChildren() const override
    {
        QList<SectionTreeNode> nodes;
        for (const auto &node : cSectionsData::TreeOrder())
            nodes.append({QString::fromUtf16(node.key), QString::fromUtf16(node.defaultText), QString::fromUtf16(node.imageKey)});
        return nodes;
    }
    QStringList log;
};

const QByteArray kWincmd =
    "[Command line history]\r\n"
    "[LeftHistory]\r\n0=c:\\a\\\r\n1=c:\\b\\\r\n2=c:\\c\\\r\n3=c:\\d\\\r\n4=c:\\e\\\r\n"
    "[SplitPerFile]\r\n0=1\r\n1=2\r\n2=3\r\n"
    "[Rename]\r\nzeta_name=z\r\nAlpha_name=a\r\n"
    "[LeftTabs]\r\n0_path=C:\\Work\\Data\\\r\n0_options=1|0|0|0|0|0|0\r\n1_path=C:\\\r\n1_options=1|0|0|0|0|1|0\r\n"
    "1_caption=Root\r\n2_path=D:\\x\\\r\nActiveTab=1\r\n"
    "[Left]\r\npath=E:\\active\\\r\n";

struct Fixture
{
    explicit Fixture(const QByteArray &wincmdText = kWincmd)
        : registry(kMarker, env.path("store.reg"), QString())
        , settings(env.profile(), env.paths(), registry)
        , language(env.profile(), settings)
        , list(env.profile(), settings, language, person, host)
        , tester(list.model(), QAbstractItemModelTester::FailureReportingMode::QtTest)
    {
        wincmd = env.writeFile("wincmd.ini", wincmdText);
        wcxftp = env.writeFile("wcx_ftp.ini", "[OldConnections]\r\n0=ftp1\r\n1=ftp2\r\n2=ftp3\r\n");
        list.ReadAllHistorySections(wincmd, wcxftp);
    }
    QStringList texts() const
    {
        QStringList result;
        for (const VisibleRow &row : list.visibleRows())
            result << row.text;
        return result;
    }
    QStringList storeValues(const QString &section) const
    {
        QStringList result;
        for (const HistoryRow &row : list.store().SectionRows(cSectionsData::GetSectionIndex(section)))
            result << row.col(2);
        return result;
    }

    TestEnvironment env;
    ScriptedPerson person;
    RecordingHost host;
    cRegistry registry;
    cSettings settings;
    cLanguage language;
    HistoryList list;
    QAbstractItemModelTester tester;
    QString wincmd;
    QString wcxftp;
};

} // namespace

class TestHistoryList : public QObject
{
    Q_OBJECT
private slots:
    void showsSectionsByFamily();
    void showingTwiceWithoutRefreshKeepsTheCurrentRow();
    void overview();
    void addNewItem_data();
    void addNewItem();
    void addingAtTheLimit();
    void finishingAnEdit();
    void deleting();
    void moving();
    void dropping_data();
    void dropping();
    void keys();
    void tabPanel();
    void clearingASection();
    void activeTabStaysTheOneShown_data();
    void activeTabStaysTheOneShown();
    void overviewStartsOnItsFirstRow();
    void find();
    void eventsAndTexts();
};

void TestHistoryList::showsSectionsByFamily()
{
    Fixture f;
    f.list.ShowSelectedSection("LeftHistory", false);
    QCOMPARE(f.texts(), QStringList({"c:\\a\\", "c:\\b\\", "c:\\c\\", "c:\\d\\", "c:\\e\\"}));
    QCOMPARE(f.list.mlngListCount, 5);
    QVERIFY(f.list.mblnDragAllowed);
    QCOMPARE(f.list.currentRow(), 0);
    QCOMPARE(f.list.visibleRows()[0].iconKey, QStringLiteral("righthistory"));
    QVERIFY(!f.list.tabPanel().visible);

    f.list.ShowSelectedSection("rename", false);
    QCOMPARE(f.texts(), QStringList({"Alpha", "zeta"}));   // sorted, whatever the file's order
    QVERIFY(!f.list.mblnDragAllowed);

    f.list.ShowSelectedSection("LeftTabs", false);
    QCOMPARE(f.texts(), QStringList({"C:\\Work\\Data\\", "E:\\active\\", "C:\\", "D:\\x\\"}));
    QVERIFY(f.list.tabPanel().visible && f.list.tabPanel().enabled);
    QVERIFY(f.list.visibleRows()[1].ghosted);
    QCOMPARE(f.list.visibleRows()[2].foreColor, std::optional<qint32>(255));   // locked

    f.list.ShowSelectedSection("MkDirHistory", false);
    QCOMPARE(f.list.mlngListCount, 0);
    QVERIFY(f.list.tabPanel().emptyBoxVisible);
    // With nothing shown, the panel and edits touch no row of another section.
    f.list.CaptionEdited("stray");
    f.list.LockTabClicked(true);
    QCOMPARE(f.list.FinishEdit("stray"), int(errInvalidCall));
    for (const HistoryRow &row : f.list.store().SectionRows(10))
        QVERIFY(row.col(4) != u"stray");

    f.settings.UseSectionIcon = false;
    f.list.ShowSelectedSection("RightHistory", true);
    f.list.ShowSelectedSection("LeftHistory", true);
    QCOMPARE(f.list.visibleRows()[0].iconKey, QStringLiteral("item"));
}

void TestHistoryList::showingTwiceWithoutRefreshKeepsTheCurrentRow()
{
    Fixture f;
    f.list.ShowSelectedSection("LeftHistory", false);
    f.list.ClickRow(3);
    f.list.ShowSelectedSection("lefthistory", false);
    QCOMPARE(f.list.currentRow(), 3);
    f.list.ShowSelectedSection("LeftHistory", true);
    QCOMPARE(f.list.currentRow(), 0);
}

void TestHistoryList::overview()
{
    Fixture f;
    f.list.ShowSelectedSection("RootNode", false);
    const auto &rows = f.list.visibleRows();
    QCOMPARE(rows[0].text, QStringLiteral("Command Line"));
    QVERIFY(rows[0].bold && rows[0].ghosted);   // empty section: one dimmed header
    QCOMPARE(rows[1].text, QStringLiteral("Selection"));
    QVERIFY(!f.list.renameAllowed() && !f.list.mblnDragAllowed);
    const QStringList texts = f.texts();
    const qsizetype left = texts.indexOf("Left history");
    QVERIFY(left > 0);
    QCOMPARE(texts[left + 1], QStringLiteral("        c:\\a\\"));
    QVERIFY(!rows[size_t(left)].ghosted);
    // Enter opens the section of the current row with that row current.
    f.list.ClickRow(int(left) + 3);
    f.list.SwitchToSectionWindow();
    QCOMPARE(f.list.mstrCurrentSection, QStringLiteral("LeftHistory"));
    QCOMPARE(f.list.currentRow(), 2);
    QVERIFY(f.host.log.contains("select:LeftHistory"));
    QVERIFY(f.host.log.contains("buttons:LeftHistory"));
}

void TestHistoryList::addNewItem_data()
{
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("text");
    QTest::newRow("empty command line") << "Command line history" << "Line 1";
    QTest::newRow("split sizes") << "SplitPerFile" << "10485764";
    QTest::newRow("old connections") << "OldConnections" << "http://www.4";
}

void TestHistoryList::addNewItem()
{
    QFETCH(QString, section);
    QFETCH(QString, text);
    Fixture f;
    f.list.ShowSelectedSection(section, false);
    QSignalSpy changes(&f.list, &HistoryList::ListChange);
    QSignalSpy edits(&f.list, &HistoryList::EditRequested);
    QCOMPARE(f.list.AddNewItem(section), 0);
    QCOMPARE(f.texts().last(), text);
    QCOMPARE(changes.size(), 1);
    QCOMPARE(edits.size(), 1);
    QCOMPARE(f.list.currentRow(), f.list.mlngListCount - 1);
    const HistoryRow &row = f.list.store().Row(f.list.currentStorePosition());
    QCOMPARE(row.col(2), text);
    QCOMPARE(row.Text, QString::number(f.list.mlngListCount));
    QCOMPARE(row.col(6), QStringLiteral("-"));
    QCOMPARE(f.list.currentStorePosition(), f.list.store().GetStartEnd(section).end);
    QVERIFY(f.host.log.contains("updown:1"));
}

void TestHistoryList::addingAtTheLimit()
{
    Fixture f;
    f.list.ShowSelectedSection("SplitPerFile", false);
    while (f.list.mlngListCount < 20)
        f.list.AddNewItem("SplitPerFile");
    QCOMPARE(f.list.AddNewItem("SplitPerFile"), 0);
    QCOMPARE(f.list.mlngListCount, 20);
    QCOMPARE(f.person.messages(), QStringList({"Only 20 items can be added to a section."}));
    QCOMPARE(f.person.asked.last().icon, MessageIcon::Information);
    f.settings.MaxItems = 30;
    while (f.list.mlngListCount < 30)
        f.list.AddNewItem("SplitPerFile");
    f.list.AddNewItem("SplitPerFile");
    QCOMPARE(f.person.messages().last(), QStringLiteral("Only 30 items can be added to a section."));
}

void TestHistoryList::finishingAnEdit()
{
    Fixture f;
    f.list.ShowSelectedSection("LeftTabs", false);
    f.list.ClickRow(3);
    QSignalSpy changes(&f.list, &HistoryList::ListChange);
    QVERIFY(f.list.model()->setData(f.list.model()->index(3), "D:\\new"));
    QCOMPARE(f.texts()[3], QStringLiteral("D:\\new\\"));
    QCOMPARE(f.list.store().Row(f.list.currentStorePosition()).col(2), QStringLiteral("D:\\new\\"));
    QCOMPARE(changes.size(), 1);
    QVERIFY(f.list.model()->setData(f.list.model()->index(3), "D:\\kept\\"));
    QCOMPARE(f.texts()[3], QStringLiteral("D:\\kept\\"));

    f.list.ShowSelectedSection("Rename", false);
    f.list.ClickRow(0);
    f.list.FinishEdit("Beta");
    const HistoryRow &row = f.list.store().Row(f.list.currentStorePosition());
    QCOMPARE(row.Text, QStringLiteral("Beta"));
    QCOMPARE(row.col(2), QStringLiteral("a"));
    // A name the file could not hold as a key is refused with a beep, and kept.
    QCOMPARE(f.list.FinishEdit("a=b"), int(errInvalidCall));
    QCOMPARE(f.list.FinishEdit("[old]"), int(errInvalidCall));
    QCOMPARE(row.Text, QStringLiteral("Beta"));
    QCOMPARE(f.person.asked.last().kind, QStringLiteral("beep"));
}

void TestHistoryList::deleting()
{
    Fixture f;
    f.list.ShowSelectedSection("LeftHistory", false);
    f.list.ClickRow(4);
    f.list.DeleteSelectedItem();
    QCOMPARE(f.list.currentRow(), 3);
    QCOMPARE(f.storeValues("LeftHistory"), QStringList({"c:\\a\\", "c:\\b\\", "c:\\c\\", "c:\\d\\"}));

    f.list.ShowSelectedSection("SplitPerFile", false);
    while (f.list.mlngListCount > 1)
        f.list.DeleteSelectedItem();
    QVERIFY(f.person.asked.isEmpty());
    f.list.DeleteSelectedItem();
    QCOMPARE(f.person.asked.size(), 1);
    QCOMPARE(f.person.asked.last().kind, QStringLiteral("beep"));
    QVERIFY(f.host.log.contains("updown:0"));
    QVERIFY(!f.list.tabPanel().enabled && f.list.tabPanel().emptyBoxVisible);
    f.list.DeleteSelectedItem();   // nothing left: another beep, nothing else
    QCOMPARE(f.person.asked.size(), 2);

    f.list.ShowSelectedSection("LeftTabs", false);
    f.list.ClickRow(1);   // the active tab
    f.list.DeleteSelectedItem();
    const HistoryRow &first = f.list.store().SectionRows(10)[0];
    QCOMPARE(first.Tag, QStringLiteral("LeftTabs_ActiveTabMark"));
    QCOMPARE(first.col(5), QStringLiteral("0"));
    QVERIFY(f.list.visibleRows()[0].ghosted);
}

void TestHistoryList::moving()
{
    Fixture f;
    f.list.ShowSelectedSection("LeftHistory", false);
    f.list.ClickRow(3);   // the row before the last
    f.list.MoveSelectedItemDown();
    QCOMPARE(f.texts(), QStringList({"c:\\a\\", "c:\\b\\", "c:\\c\\", "c:\\e\\", "c:\\d\\"}));
    QCOMPARE(f.storeValues("LeftHistory"), f.texts());
    QCOMPARE(f.list.currentRow(), 4);
    QCOMPARE(f.list.store().FindKey("nnn"), 0);
    f.list.MoveSelectedItemDown();   // already last
    QCOMPARE(f.person.asked.last().kind, QStringLiteral("beep"));
    f.list.ClickRow(0);
    f.list.MoveSelectedItemUp();
    QCOMPARE(f.person.asked.size(), 2);
    f.list.ClickRow(2);
    f.list.MoveSelectedItemUp();
    QCOMPARE(f.texts().mid(0, 3), QStringList({"c:\\a\\", "c:\\c\\", "c:\\b\\"}));
    QCOMPARE(f.storeValues("LeftHistory"), f.texts());
    // Every row is still found by its key.
    for (const VisibleRow &row : f.list.visibleRows())
        QCOMPARE(f.list.store().Row(f.list.store().FindKey(row.key)).col(2), row.text);

    // The active tab's number follows its position.
    f.list.ShowSelectedSection("LeftTabs", false);
    f.list.ClickRow(1);
    f.list.MoveSelectedItemDown();
    f.list.MoveSelectedItemDown();
    const auto &rows = f.list.store().SectionRows(10);
    QCOMPARE(rows[3].Tag, QStringLiteral("LeftTabs_ActiveTabMark"));
    QCOMPARE(rows[3].col(5), QStringLiteral("3"));
}

void TestHistoryList::dropping_data()
{
    QTest::addColumn<int>("dragged");
    QTest::addColumn<int>("target");
    QTest::addColumn<QString>("order");
    QTest::newRow("row 2 on row 3 swaps") << 1 << 2 << "a c b d e";
    QTest::newRow("row 4 on row 2 goes before it") << 3 << 1 << "a d b c e";
    QTest::newRow("row 1 on row 2") << 0 << 1 << "b a c d e";
    QTest::newRow("row 3 on row 1") << 2 << 0 << "c a b d e";
    QTest::newRow("row 1 on the last") << 0 << 4 << "b c d a e";
    QTest::newRow("on itself") << 2 << 2 << "a b c d e";
}

void TestHistoryList::dropping()
{
    QFETCH(int, dragged);
    QFETCH(int, target);
    QFETCH(QString, order);
    Fixture f;
    f.list.ShowSelectedSection("LeftHistory", false);
    QSignalSpy changes(&f.list, &HistoryList::ListChange);
    f.list.ClickRow(dragged);
    QVERIFY(f.list.StartDrag());
    QVERIFY(f.list.DragOver(target));
    QVERIFY(!f.list.DragOver(9));
    QVERIFY(f.list.DragOver(target));
    QCOMPARE(f.list.Drop(), 0);
    QStringList expected;
    for (const QString &letter : order.split(' '))
        expected << "c:\\" + letter + "\\";
    QCOMPARE(f.texts(), expected);
    QCOMPARE(f.storeValues("LeftHistory"), expected);
    QCOMPARE(changes.size(), 1);

    f.list.ShowSelectedSection("Rename", false);
    QVERIFY(!f.list.StartDrag());   // no dragging among templates
    f.list.ShowSelectedSection("RootNode", false);
    QVERIFY(!f.list.StartDrag());
}

void TestHistoryList::keys()
{
    Fixture f;
    f.list.ShowSelectedSection("LeftHistory", false);
    f.list.ClickRow(4);
    QVERIFY(f.list.HandleKeyDown(40, 2));   // Ctrl+Down on the last row: consumed, beeps
    QCOMPARE(f.person.asked.last().kind, QStringLiteral("beep"));
    QCOMPARE(f.list.currentRow(), 4);
    QVERIFY(f.list.HandleKeyDown(38, 2));
    QCOMPARE(f.list.currentRow(), 3);
    QVERIFY(!f.list.HandleKeyDown(38, 0));  // without Ctrl the list moves its selection itself
    f.list.ShowSelectedSection("Rename", false);
    QVERIFY(!f.list.HandleKeyDown(40, 2));
    f.list.ShowSelectedSection("RootNode", false);
    QVERIFY(!f.list.HandleKeyDown(40, 2));
}

void TestHistoryList::tabPanel()
{
    Fixture f;
    QSignalSpy changes(&f.list, &HistoryList::ListChange);
    f.list.ShowSelectedSection("LeftTabs", false);
    QCOMPARE(f.list.tabPanel().caption, QStringLiteral("Data"));   // no caption: the folder's name
    for (int row = 0; row < 4; ++row)
        f.list.ClickRow(row);
    QCOMPARE(changes.size(), 0);   // clicking through never changes anything
    f.list.ClickRow(2);
    QCOMPARE(f.list.tabPanel().caption, QStringLiteral("Root"));
    QVERIFY(f.list.tabPanel().lockChecked);
    f.list.ClickRow(0);
    f.list.CaptionEdited("Daten");
    QCOMPARE(f.list.store().Row(f.list.currentStorePosition()).col(4), QStringLiteral("Daten"));
    QCOMPARE(changes.size(), 1);
    f.list.LockTabClicked(true);
    f.list.LockButTabClicked(true);
    QVERIFY(!f.list.tabPanel().lockChecked && f.list.tabPanel().lockButChecked);
    HistoryRow &row = f.list.store().Row(f.list.currentStorePosition());
    QCOMPARE(row.col(3), QStringLiteral("1|0|0|0|0|2|0"));
    QCOMPARE(row.ForeColor, std::optional<qint32>(255));
    f.list.LockButTabClicked(false);
    QCOMPARE(row.col(3), QStringLiteral("1|0|0|0|0|0|0"));
    QCOMPARE(row.ForeColor, std::optional<qint32>(f.settings.ForegroundColor));
    f.list.ClickRow(3);
    f.list.CaptionEnter();   // after the last row comes the first
    QCOMPARE(f.list.currentRow(), 0);
    QCOMPARE(f.list.tabPanel().caption, QStringLiteral("Daten"));
    // A tab of C:\ without caption shows C:.
    f.list.ClickRow(2);
    f.list.store().Row(f.list.currentStorePosition()).col(4) = kMarker;
    f.list.ClickRow(2);
    QCOMPARE(f.list.tabPanel().caption, QStringLiteral("C:"));
}

void TestHistoryList::clearingASection()
{
    Fixture f;
    QSignalSpy changes(&f.list, &HistoryList::ListChange);
    QCOMPARE(f.list.DeleteSelectedSection("LeftTabs"), 0);
    const auto &rows = f.list.store().SectionRows(10);
    QCOMPARE(rows.size(), size_t(1));   // the locked tab stays
    QCOMPARE(rows[0].col(2), QStringLiteral("C:\\"));
    QCOMPARE(rows[0].Tag, QStringLiteral("LeftTabs_ActiveTabMark"));   // and becomes the active one
    QCOMPARE(rows[0].col(5), QStringLiteral("0"));
    QCOMPARE(f.list.DeleteSelectedSection("LeftTabs", 1), 0);
    QVERIFY(f.list.store().SectionRows(10).empty());
    QCOMPARE(f.list.DeleteSelectedSection("LeftHistory"), 0);
    QVERIFY(f.list.store().SectionRows(12).empty());
    QCOMPARE(changes.size(), 0);
}

// Tabs with locks above and below the active one: A (locked), B, the active tab (locked
// by ActiveLocked), C, D (locked, directory changes allowed).
const QByteArray kLockedTabs =
    "[LeftTabs]\r\n0_path=A\r\n0_options=1|0|0|0|0|1|0\r\n1_path=B\r\n2_path=C\r\n3_path=D\r\n"
    "3_options=1|0|0|0|0|2|0\r\nActiveTab=2\r\nActiveLocked=1\r\n[Left]\r\npath=ACTIVE\r\n";

void TestHistoryList::activeTabStaysTheOneShown_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("shown");   // the tab list, the active tab in brackets
    QTest::addColumn<QByteArray>("activeTab");

    const QByteArray tabs = kWincmd;   // C:\Work\Data\, [E:\active\], C:\ (locked), D:\x\ .
    QTest::newRow("delete a tab above the active one") << tabs << QStringList({"click 0", "delete"})
        << "[E:\\active\\] C:\\ D:\\x\\" << QByteArray("ActiveTab=0");
    QTest::newRow("delete the active tab") << tabs << QStringList({"click 1", "delete"})
        << "[C:\\Work\\Data\\] C:\\ D:\\x\\" << QByteArray("ActiveTab=0");
    QTest::newRow("move a tab from above to below") << tabs << QStringList({"click 0", "down", "down"})
        << "[E:\\active\\] C:\\ C:\\Work\\Data\\ D:\\x\\" << QByteArray("ActiveTab=0");
    QTest::newRow("drop the last tab above the active one") << tabs << QStringList({"click 3", "drop 0"})
        << "D:\\x\\ C:\\Work\\Data\\ [E:\\active\\] C:\\" << QByteArray("ActiveTab=2");
    QTest::newRow("clear keeping locked tabs, both lock kinds") << kLockedTabs << QStringList({"clear"})
        << "A [ACTIVE] D" << QByteArray("ActiveTab=1");
    QTest::newRow("clear everything") << kLockedTabs << QStringList({"clear all"}) << "" << QByteArray();
    QTest::newRow("clear everything but a kept tab") << kLockedTabs << QStringList({"keep c", "clear all"}) << "[C]"
                                                      << QByteArray("ActiveTab=0");
    QTest::newRow("clear keeping locked and kept tabs") << kLockedTabs << QStringList({"keep b", "clear"})
                                                        << "A B [ACTIVE] D" << QByteArray("ActiveTab=2");
    QTest::newRow("the rules keep the active tab by its folder") << kLockedTabs << QStringList({"keep act*;d", "clear all"})
                                                                 << "[ACTIVE] D" << QByteArray("ActiveTab=0");
    QTest::newRow("ActiveTab beyond the tabs read")
        << QByteArray("[LeftTabs]\r\n0_path=A\r\n1_path=B\r\nActiveTab=7\r\n[Left]\r\npath=ACTIVE\r\n")
        << QStringList() << "A B [ACTIVE]" << QByteArray("ActiveTab=2");
}

void TestHistoryList::activeTabStaysTheOneShown()
{
    QFETCH(QByteArray, file);
    QFETCH(QStringList, steps);
    QFETCH(QString, shown);
    QFETCH(QByteArray, activeTab);
    Fixture f(file);
    f.list.ShowSelectedSection("LeftTabs", false);
    KeepRules keep;
    for (const QString &step : std::as_const(steps)) {
        const QStringList words = step.split(u' ');
        if (words[0] == u"click") {
            f.list.ClickRow(words[1].toInt());
        } else if (words[0] == u"delete") {
            f.list.DeleteSelectedItem();
        } else if (words[0] == u"down") {
            f.list.MoveSelectedItemDown();
        } else if (words[0] == u"drop") {
            QVERIFY(f.list.StartDrag());
            QVERIFY(f.list.DragOver(words[1].toInt()));
            QCOMPARE(f.list.Drop(), 0);
        } else if (words[0] == u"keep") {
            keep = KeepRules(KeepRules::SplitList(words[1]));
        } else if (words[0] == u"clear") {
            f.list.DeleteSelectedSection("LeftTabs", words.size() > 1 ? 1 : 0, keep);
        }
    }
    auto describe = [&f] {
        f.list.ShowSelectedSection("LeftTabs", true);
        QStringList texts;
        for (const VisibleRow &row : f.list.visibleRows())
            texts << (row.ghosted ? u'[' + row.text + u']' : row.text);
        return texts.join(u' ');
    };
    QCOMPARE(describe(), shown);
    // Saved and read again, the same tab is the active one.
    f.list.SetSaveFlag("LeftTabs");
    QCOMPARE(f.list.SaveAllHistorySections(f.wincmd, f.wcxftp), 0);
    if (!activeTab.isEmpty())
        QVERIFY2(f.env.readFile(f.wincmd).contains(QByteArray(activeTab + "\r\n")), f.env.readFile(f.wincmd).constData());
    QCOMPARE(f.list.ReadAllHistorySections(f.wincmd, f.wcxftp), 0);
    QCOMPARE(describe(), shown);
}

void TestHistoryList::overviewStartsOnItsFirstRow()
{
    Fixture f;
    f.list.ShowSelectedSection("RootNode", false);
    QCOMPARE(f.list.currentRow(), 0);
    f.list.SwitchToSectionWindow();   // what Enter does
    QCOMPARE(f.list.mstrCurrentSection, QStringLiteral("Command line history"));
}

void TestHistoryList::find()
{
    Fixture f;
    f.list.ShowSelectedSection("LeftHistory", false);
    f.list.FinishEdit("c:\\my Alpha dir\\");   // row 0
    f.list.ClickRow(2);
    f.list.FinishEdit("c:\\x\\alpha\\");
    QCOMPARE(f.list.FindString("ALPHA", 1, 0), 2L);
    QCOMPARE(f.list.currentRow(), 0);
    QCOMPARE(f.list.FindString("ALPHA", 2, 0), 4L);
    QCOMPARE(f.list.currentRow(), 2);
    QCOMPARE(f.list.FindString("ALPHA", 4, 0), 7L);   // rows + 2: not found
    QCOMPARE(f.list.FindString("alpha", 1, 1), 2L);   // between blanks: a whole word
    QCOMPARE(f.list.FindString("x", 1, 1), 7L);       // between backslashes: not one
    QCOMPARE(f.list.FindString("C:\\MY", 1, 1), 2L);   // a whole word at the very start
    QCOMPARE(f.list.FindString("dir\\", 1, 1), 2L);    // and at the very end
    f.list.ShowSelectedSection("RootNode", false);
    QVERIFY(f.list.FindString("Left history", 1, 0) < long(f.list.mlngListCount) + 2);
}

void TestHistoryList::eventsAndTexts()
{
    Fixture f;
    f.list.ShowSelectedSection("LeftHistory", false);
    QSignalSpy mouse(&f.list, &HistoryList::MouseUp);
    QSignalSpy keyUp(&f.list, &HistoryList::KeyUp);
    QSignalSpy keyDown(&f.list, &HistoryList::KeyDown);
    QSignalSpy edits(&f.list, &HistoryList::EditRequested);
    f.list.ClickRow(1);
    f.list.StartDrag();
    f.list.DragOver(3);
    QCOMPARE(f.list.dropTargetRow(), 3);
    f.list.MouseButtonReleased(2, 0, 10, 20);
    QCOMPARE(f.list.dropTargetRow(), -1);
    QCOMPARE(mouse.size(), 1);
    QCOMPARE(mouse.first().at(0).toInt(), 2);
    f.list.KeyReleased(93, 0);
    f.list.HandleKeyDown(113, 0);
    QCOMPARE(keyUp.size(), 1);
    QCOMPARE(keyDown.size(), 1);
    f.list.RenameSelectedItem();
    QCOMPARE(edits.size(), 1);
    QCOMPARE(edits.first().at(0).toInt(), 1);
    f.list.ShowSelectedSection("RootNode", false);
    f.list.RenameSelectedItem();   // no editing in the overview
    QCOMPARE(edits.size(), 1);
    const HistoryList::PanelTexts texts = f.list.ChangeLanguage();
    QCOMPARE(texts.caption, QStringLiteral("&Caption:"));
    QCOMPARE(texts.lockButTab, QStringLiteral("Locked, &but directory changes allowed"));
    QCOMPARE(texts.empty, QStringLiteral("Empty"));
}

QTEST_GUILESS_MAIN(TestHistoryList)
#include "tst_historylist.moc"
