#include "core/csectionsdata.h"
#include "core/historysections.h"
#include "editor/entrydiff.h"
#include "editor/historylist.h"
#include "editor/savereview.h"
#include "editor/savereviewtext.h"
#include "settings/clanguage.h"
#include "settings/csettings.h"
#include "support/scriptedperson.h"
#include "support/testenvironment.h"

#include <QtTest>

using namespace calvenor;
using calvenor::test::kMarker;
using calvenor::test::ScriptedPerson;
using calvenor::test::TestEnvironment;

namespace {

class QuietHost : public HistoryListHost
{
public:
    void SetUpDownButtonsState(bool) override {}
    void SetButtonsState(const QString &) override {}
    void SelectTreeNode(const QString &) override {}
    QList<SectionTreeNode> RootChildren() const override { return {}; }
};

const QByteArray kWincmd =
    "[Command line history]\r\n0=git status\r\n1=make\r\n"
    "[LeftHistory]\r\n0=c:\\a\\\r\n1=c:\\b\\\r\n2=c:\\c\\\r\n3=c:\\d\\\r\n4=c:\\e\\\r\n"
    "[RightHistory]\r\n0=d:\\\r\n"
    "[Rename]\r\nzeta_name=z\r\nAlpha_name=a\r\n"
    "[LeftTabs]\r\n0_path=C:\\Work\\Data\\\r\n0_options=1|0|0|0|0|0|0\r\n1_path=C:\\\r\n1_options=1|0|0|0|0|1|0\r\n"
    "1_caption=Root\r\n2_path=D:\\x\\\r\nActiveTab=1\r\nActiveCaption=Now\r\n"
    "[Left]\r\npath=E:\\active\\\r\n";

// The editor on a pair of files; every change flags its section as the window does.
struct Fixture
{
    explicit Fixture(const QByteArray &wincmdText)
        : registry(kMarker, env.path("store.reg"), QString())
        , settings(env.profile(), env.paths(), registry)
        , language(env.profile(), settings)
        , list(env.profile(), settings, language, person, host)
    {
        wincmd = env.writeFile("wincmd.ini", QByteArray(wincmdText).replace("%DIR%", QByteArray(env.path("").toUtf8() + '/')));
        wcxftp = env.writeFile("wcx_ftp.ini", "[OldConnections]\r\n0=ftp1\r\n1=ftp2\r\n");
        list.ReadAllHistorySections(wincmd, wcxftp);
        QObject::connect(&list, &HistoryList::ListChange, [this] { list.SetSaveFlag(list.mstrCurrentSection); });
    }

    // Edits as a person makes them: "show LeftHistory; click 1; delete; rename c:\x\;
    // add c:\new\; up; down; caption Work; lock; flag; clear".
    void edit(const QString &script)
    {
        for (const QString &step : script.split(u';', Qt::SkipEmptyParts)) {
            const QString command = step.trimmed().section(u' ', 0, 0);
            const QString argument = step.trimmed().section(u' ', 1);
            if (command == u"show")
                list.ShowSelectedSection(argument, true);
            else if (command == u"click")
                list.ClickRow(argument.toInt());
            else if (command == u"delete")
                list.DeleteSelectedItem();
            else if (command == u"rename")
                list.RenameSelectedItem(), list.FinishEdit(argument);
            else if (command == u"add")
                list.AddNewItem(list.mstrCurrentSection), list.FinishEdit(argument);
            else if (command == u"up")
                list.MoveSelectedItemUp();
            else if (command == u"down")
                list.MoveSelectedItemDown();
            else if (command == u"caption")
                list.CaptionEdited(argument);
            else if (command == u"lock")
                list.LockTabClicked(true);
            else if (command == u"flag")
                list.SetSaveFlag(list.mstrCurrentSection);
            else if (command == u"clear")
                list.DeleteSelectedSection(list.mstrCurrentSection, 1), list.SetSaveFlag(list.mstrCurrentSection);
            else
                QFAIL(qPrintable("unknown step " + step));
        }
    }

    // The review as the dialog words it: per section its file's name and summary, then
    // its changes.
    QStringList review()
    {
        QStringList lines;
        for (const SectionReview &section : SaveReview(env.profile()).Review(list.store(), wincmd, wcxftp)) {
            lines << QFileInfo(section.file).fileName() + u' ' + SaveReviewText::Section(section, language);
            for (const ReviewChange &change : section.changes)
                lines << QStringLiteral("  ") + SaveReviewText::Change(change, language);
        }
        return lines;
    }

    TestEnvironment env;
    ScriptedPerson person;
    QuietHost host;
    cRegistry registry;
    cSettings settings;
    cLanguage language;
    HistoryList list;
    QString wincmd;
    QString wcxftp;
};

// What the list and the tab panel show of a section's rows, and what marks the active tab.
QStringList shownRows(const HistoryRowStore &store, int index, const QString &marker)
{
    QStringList result;
    // Only a template's Text is shown; other rows' is their number as read.
    const bool keyed = cSectionsData::familyOf(cSectionsData::SectionsList(index)) == SectionFamily::Keyed;
    for (const HistoryRow &row : store.SectionRows(index)) {
        QString line = row.Tag + u'|' + (keyed ? row.Text : QString());
        for (const QString &value : row.SubItems)
            line += u'|' + (value == marker ? QString() : value);
        result << line;
    }
    return result;
}

} // namespace

class TestSaveReview : public QObject
{
    Q_OBJECT
private slots:
    void reviewIsWhatTheSaveWrites_data();
    void reviewIsWhatTheSaveWrites();
    void orderedLists_data();
    void orderedLists();
};

void TestSaveReview::reviewIsWhatTheSaveWrites_data()
{
    QTest::addColumn<QByteArray>("wincmd");
    QTest::addColumn<QString>("edits");
    QTest::addColumn<QByteArray>("writtenMeanwhile");   // by another program, after the load
    QTest::addColumn<QStringList>("review");

    QTest::newRow("nothing pending") << kWincmd << "" << QByteArray() << QStringList();
    QTest::newRow("flagged but as on disk") << kWincmd << "show LeftHistory; flag" << QByteArray() << QStringList();
    QTest::newRow("deleted, added, moved")
        << kWincmd << "show LeftHistory; click 1; delete; add c:\\new\\; click 3; up" << QByteArray()
        << QStringList({"wincmd.ini Left history: 1 removed, 1 added, 1 moved", "  Removed: c:\\b\\",
                        "  Moved: c:\\e\\ (from place 5 to 3)", "  Added: c:\\new\\"});
    QTest::newRow("edited in place is renamed, replaced is not")
        << kWincmd << "show LeftHistory; click 2; rename c:\\cc\\; show Command line history; click 0; rename ls -l"
        << QByteArray()
        << QStringList({"wincmd.ini Command Line: 1 removed, 1 added", "  Removed: git status", "  Added: ls -l",
                        "wincmd.ini Left history: 1 renamed", "  Renamed: c:\\c\\ → c:\\cc\\"});
    QTest::newRow("emptied section") << kWincmd << "show Command line history; clear" << QByteArray()
                                     << QStringList({"wincmd.ini Command Line: 2 removed", "  Removed: git status",
                                                     "  Removed: make"});
    QTest::newRow("another program's entries in an edited section go, in others stay")
        << kWincmd << "show LeftHistory; click 0; delete"
        << QByteArray("[LeftHistory]\r\n0=c:\\tc\\\r\n1=c:\\a\\\r\n2=c:\\b\\\r\n3=c:\\c\\\r\n4=c:\\d\\\r\n5=c:\\e\\\r\n"
                      "[RightHistory]\r\n0=e:\\from tc\\\r\n")
        << QStringList({"wincmd.ini Left history: 2 removed", "  Removed: c:\\tc\\", "  Removed: c:\\a\\"});
    QTest::newRow("templates: renamed by name, changed by value")
        << kWincmd << "show Rename; click 1; rename omega"
        << QByteArray("[Rename]\r\nzeta_name=z\r\nAlpha_name=b\r\n")
        << QStringList({"wincmd.ini F2 Load/Save: 1 renamed, 1 changed", "  Changed: Alpha (b → a)",
                        "  Renamed: zeta → omega"});
    QTest::newRow("tab caption, lock and move")
        << kWincmd << "show LeftTabs; click 0; caption Work; lock; click 3; up" << QByteArray()
        << QStringList({"wincmd.ini Left Tabs: 1 moved, 2 changed",
                        "  Caption of C:\\Work\\Data\\: (no caption) → Work",
                        "  Lock of C:\\Work\\Data\\: not locked → locked", "  Moved: D:\\x\\ (from place 4 to 3)"});
    QTest::newRow("the file manager switched tabs meanwhile")
        << kWincmd << "show LeftTabs; click 2; caption Top"
        << QByteArray("[LeftTabs]\r\n0_path=C:\\Work\\Data\\\r\n0_options=1|0|0|0|0|0|0\r\n1_path=E:\\active\\\r\n"
                      "1_caption=Now\r\n1_options=1|0|0|0|0|0|0\r\nActiveTab=2\r\nActiveLocked=1\r\nActiveCaption=Root\r\n"
                      "2_path=D:\\x\\\r\n[Left]\r\npath=C:\\\r\n")
        << QStringList({"wincmd.ini Left Tabs: 2 changed", "  Caption of C:\\: Root → Top",
                        "  Active tab: C:\\ → E:\\active\\"});
    QTest::newRow("old connections live in wcx_ftp.ini")
        << kWincmd << "show OldConnections; click 0; delete" << QByteArray()
        << QStringList({"wcx_ftp.ini FTP Old Connections: 1 removed", "  Removed: ftp1"});
    QTest::newRow("a redirected section is told with the file it goes to")
        << QByteArray("[MkDirHistory]\r\nRedirectSection=%DIR%history.ini\r\n") << "show MkDirHistory; add new"
        << QByteArray() << QStringList({"history.ini New Directory: 1 added", "  Added: new"});
}

void TestSaveReview::reviewIsWhatTheSaveWrites()
{
    QFETCH(QByteArray, wincmd);
    QFETCH(QString, edits);
    QFETCH(QByteArray, writtenMeanwhile);
    QFETCH(QStringList, review);
    Fixture f(wincmd);
    f.edit(edits);
    if (!writtenMeanwhile.isEmpty()) {
        QTest::qWait(20);   // a later modification time
        f.env.writeFile("wincmd.ini", writtenMeanwhile);
    }
    QCOMPARE(f.review(), review);

    QList<int> flagged;
    for (int i = 0; i < cSectionsData::SectionsCount; ++i) {
        if (f.list.store().SaveFlag(cSectionsData::SectionsList(i)))
            flagged << i;
    }
    QCOMPARE(f.list.SaveAllHistorySections(f.wincmd, f.wcxftp), 0);
    // Read back by a program of its own: each section the save wrote is what the
    // editor shows, so the review left nothing out.
    cProfile profile(f.env.paths(), QString());
    HistoryRowStore store;
    HistorySections(profile, store).ReadAllHistorySections(f.wincmd, f.wcxftp);
    for (int i : flagged)
        QCOMPARE(shownRows(store, i, kMarker), shownRows(f.list.store(), i, kMarker));
    for (int i : flagged)
        f.list.store().SetSaveFlag(cSectionsData::SectionsList(i));
    QCOMPARE(f.review(), QStringList());
}

void TestSaveReview::orderedLists_data()
{
    QTest::addColumn<QStringList>("disk");
    QTest::addColumn<QStringList>("editor");
    QTest::addColumn<QString>("steps");   // k kept, r removed, a added, n renamed, m moved

    QTest::newRow("same") << QStringList({"a", "b"}) << QStringList({"a", "b"}) << "kk";
    QTest::newRow("both empty") << QStringList() << QStringList() << "";
    QTest::newRow("all new") << QStringList() << QStringList({"x", "y"}) << "aa";
    QTest::newRow("all gone") << QStringList({"x", "y"}) << QStringList() << "rr";
    QTest::newRow("last moved first") << QStringList({"a", "b", "c", "d"}) << QStringList({"d", "a", "b", "c"})
                                      << "mkkk";
    QTest::newRow("duplicates pair in order") << QStringList({"a", "a", "b"}) << QStringList({"a", "b", "a"}) << "kmk";
    QTest::newRow("one for one between the same neighbours")
        << QStringList({"c:\\a\\", "c:\\b\\", "c:\\c\\"}) << QStringList({"c:\\a\\", "c:\\bb\\", "c:\\c\\"}) << "knk";
    QTest::newRow("two for one is no rename")
        << QStringList({"c:\\a\\", "c:\\b\\", "c:\\c\\"}) << QStringList({"c:\\a\\", "c:\\b1\\", "c:\\b2\\", "c:\\c\\"})
        << "kraak";
    QTest::newRow("rename beside a move")
        << QStringList({"x", "c:\\a\\", "c:\\b\\", "y"}) << QStringList({"c:\\b\\", "x", "c:\\a2\\", "y"})
        << "mknk";
    QTest::newRow("a rename needs the same neighbours")
        << QStringList({"x", "c:\\a\\", "c:\\b\\"}) << QStringList({"c:\\a2\\", "x", "c:\\b\\"}) << "akrk";
}

void TestSaveReview::orderedLists()
{
    QFETCH(QStringList, disk);
    QFETCH(QStringList, editor);
    QFETCH(QString, steps);
    QString shown;
    QSet<int> diskSeen, editorSeen;
    for (const EntryDiff::Pairing &pair : EntryDiff::Compare(disk, editor)) {
        shown += QStringLiteral("kranm").at(int(pair.step));
        // Every entry of either side once, and a pair only of what the step says.
        QVERIFY(pair.disk < 0 || !diskSeen.contains(pair.disk));
        QVERIFY(pair.editor < 0 || !editorSeen.contains(pair.editor));
        diskSeen << pair.disk;
        editorSeen << pair.editor;
        if (pair.step == EntryDiff::Step::Kept || pair.step == EntryDiff::Step::Moved)
            QCOMPARE(disk[pair.disk], editor[pair.editor]);
    }
    QCOMPARE(shown, steps);
    diskSeen.remove(-1);
    editorSeen.remove(-1);
    QCOMPARE(diskSeen.size(), disk.size());
    QCOMPARE(editorSeen.size(), editor.size());
}

QTEST_GUILESS_MAIN(TestSaveReview)
#include "tst_savereview.moc"
