#include "app/formlanguage.h"
#include "app/frmmain.h"
#include "app/programcontext.h"
#include "app/qtperson.h"
#include "app/sectiontree.h"
#include "core/csectionsdata.h"
#include "editor/historylist.h"
#include "editor/visiblerow.h"
#include "platform/filemanagerprocess.h"
#include "windowfixture.h"
#include "transfer/filemanagerrestarter.h"

#include <QAccessible>
#include <QAction>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QLibraryInfo>
#include <QListView>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QProgressDialog>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QTextLayout>
#include <QToolBar>
#include <QTreeWidget>
#include <QtTest>

using namespace calvenor;
using calvenor::test::Fixture;
using calvenor::test::kWincmd;
using calvenor::test::ScriptedPerson;
using calvenor::test::TestEnvironment;


class TestMainWindow : public QObject
{
    Q_OBJECT
private slots:
    void enableRules_data();
    void enableRules();
    void overviewRefusesEdits();
    void ctrlUpMovesTheItemNotTheSelection();
    void editsMakeSaveAvailableAndSaveWritesOnlyThem();
    void closingWithPendingChanges_data();
    void closingWithPendingChanges();
    void layoutSettingsAtStart();
    void titleBar_data();
    void titleBar();
    void progressWindow();
    void languageSwitchRelabels();
    void qtOwnTextsFollowTheLanguage();
    void rightToLeftLanguageMirrorsTheWindow();
    void splitterRules();
    void recentFilesOpenAPair();
    void saveAndRestartStartsTheFileManagerOnTheSavedFiles();
    void dropOnTheListViewMovesTheRow();
    void filterShowsMatchesAndCommandsActOnTheRealRows();
    void secondClickOnTheCurrentRowEditsIt();
    void listPaneFitsTheDefaultSizeInEveryLanguage();
    void screenReadersHearNamesAndStates();
    void everyPictureNamesOneThing();
};

void TestMainWindow::enableRules_data()
{
    QTest::addColumn<QString>("section");
    QTest::addColumn<bool>("add");
    QTest::addColumn<bool>("move");
    QTest::newRow("folder tabs move, no add") << "LeftTabs" << false << true;
    QTest::newRow("right tabs, empty: neither") << "RightTabs" << false << false;
    QTest::newRow("stored searches neither") << "Searches" << false << false;
    QTest::newRow("command line both") << "Command line history" << true << true;
    QTest::newRow("an empty section adds but cannot move") << "MkDirHistory" << true << false;
    QTest::newRow("the overview neither") << "RootNode" << false << false;
}

void TestMainWindow::enableRules()
{
    QFETCH(QString, section);
    QFETCH(bool, add);
    QFETCH(bool, move);
    Fixture f;
    f.select(section);
    QCOMPARE(f.item("mnuEditAddItem")->isEnabled(), add);
    QCOMPARE(f.item("mnuEditMoveUp")->isEnabled(), move);
    QCOMPARE(f.item("mnuEditMoveDown")->isEnabled(), move);
    QVERIFY(f.item("mnuEditDelete")->isEnabled() && f.item("mnuEditRename")->isEnabled());
    QVERIFY(!f.item("mnuFileSave")->isEnabled());
    // With the file manager not running, Save and restart is never offered.
    QVERIFY(!f.item("mnuFileSavenRestartTC")->isEnabled());
}

void TestMainWindow::overviewRefusesEdits()
{
    Fixture f;
    f.select("RootNode");
    f.item("mnuEditDelete")->trigger();
    QTest::keyClick(&f.window, Qt::Key_F2);
    QCOMPARE(f.person.messages(), QStringList({"Preview panel. No edit here!", "Preview panel. No edit here!"}));
    QVERIFY(!f.window.savePending());
    QCOMPARE(f.window.historyList().store().SectionRows(0).size(), size_t(2));
    // Help Topics without a guide beside the program says so.
    f.item("mnuHelpHelpTopics")->trigger();
    QCOMPARE(f.person.messages().last(), QStringLiteral("File not found."));
    QCOMPARE(f.person.asked.last().icon, MessageIcon::Error);
}

void TestMainWindow::ctrlUpMovesTheItemNotTheSelection()
{
    Fixture f;
    f.select("LeftHistory");
    auto *view = f.window.findChild<QListView *>(QStringLiteral("ListView1"));
    view->setCurrentIndex(view->model()->index(1, 0));
    QTest::keyClick(view, Qt::Key_Up, Qt::ControlModifier);
    QCOMPARE(view->model()->index(0, 0).data().toString(), QStringLiteral("c:\\b\\"));
    QCOMPARE(view->currentIndex().row(), 0);   // the moved item stays current, and only moved once
    QCOMPARE(f.window.historyList().currentRow(), 0);
}

void TestMainWindow::editsMakeSaveAvailableAndSaveWritesOnlyThem()
{
    Fixture f;
    f.select("Command line history");
    f.window.historyList().ClickRow(1);
    f.item("mnuEditDelete")->trigger();
    QVERIFY(f.window.savePending());
    QVERIFY(f.item("mnuFileSave")->isEnabled() && f.item("mnuFileReviewChanges")->isEnabled());
    QVERIFY(f.window.historyList().store().SaveFlag("Command line history"));
    QVERIFY(!f.window.historyList().store().SaveFlag("LeftHistory"));
    f.item("mnuFileSave")->trigger();
    QVERIFY(!f.window.savePending() && !f.item("mnuFileSave")->isEnabled());
    QVERIFY(!f.item("mnuFileReviewChanges")->isEnabled());
    QByteArray expected = kWincmd;
    expected.replace("1=git status\r\n", "");
    QCOMPARE(f.env.readFile(f.wincmd), expected);
}

void TestMainWindow::closingWithPendingChanges_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("readOnly");   // wincmd.ini cannot be written
    QTest::addColumn<bool>("closes");
    QTest::addColumn<bool>("written");
    QTest::addColumn<QString>("review");   // reviewed before every save: the button pressed there
    QTest::newRow("cancel keeps the window and the changes") << int(MessageAnswer::Cancel) << false << false << false << "";
    QTest::newRow("no closes without writing") << int(MessageAnswer::No) << false << true << false << "";
    QTest::newRow("yes saves") << int(MessageAnswer::Yes) << false << true << true << "";
    QTest::newRow("yes, and the save fails: the window stays") << int(MessageAnswer::Yes) << true << false << false << "";
    QTest::newRow("yes, reviewed and saved") << int(MessageAnswer::Yes) << false << true << true << "cmdSave";
    QTest::newRow("yes, but the review is closed: the window stays")
        << int(MessageAnswer::Yes) << false << false << false << "cmdClose";
}

void TestMainWindow::closingWithPendingChanges()
{
    QFETCH(int, answer);
    QFETCH(bool, readOnly);
    QFETCH(bool, closes);
    QFETCH(bool, written);
    QFETCH(QString, review);
    Fixture f(review.isEmpty() ? QByteArray() : QByteArray("ReviewBeforeSave=1\r\n"));
    f.window.show();
    f.select("LeftHistory");
    f.item("mnuEditDelete")->trigger();
    f.person.answerMessage(MessageAnswer(answer));
    bool reviewed = false;
    if (!review.isEmpty()) {
        calvenor::test::WhenDialogOpens<QDialog>("frmSaveReview", [&](QDialog *dialog) {
            reviewed = true;
            dialog->findChild<QPushButton *>(review)->click();
        });
    }
    if (readOnly)
        QFile::setPermissions(f.wincmd, QFile::ReadOwner);
    QCOMPARE(f.window.close(), closes);
    if (readOnly)
        QVERIFY(f.person.messages().last().contains(f.wincmd));   // the failure is told
    QVERIFY(f.person.messages().size() >= 1);
    QCOMPARE(f.person.messages().first(), "Save changes to\n" + f.wincmd + u'\n' + f.wcxftp);
    QCOMPARE(BreakableAtSeparators(QStringLiteral("C:\\a b\\c/")), QStringLiteral("C:\\\u200Ba b\\\u200Bc/"));
    QCOMPARE(f.window.savePending(), !closes || !written);
    QCOMPARE(f.env.readFile(f.wincmd) != kWincmd, written);
    QCOMPARE(reviewed, !review.isEmpty());
}

void TestMainWindow::layoutSettingsAtStart()
{
    Fixture side("VerticalPanels=1\r\n");
    QCOMPARE(side.window.findChild<QSplitter *>("picSpliterContainer")->orientation(), Qt::Horizontal);
    QVERIFY(side.item("mnuViewVerticalPanels")->isChecked());
    Fixture stacked("VerticalPanels=2\r\nToolbarVisible=0\r\n");
    QCOMPARE(stacked.window.findChild<QSplitter *>("picSpliterContainer")->orientation(), Qt::Vertical);
    QVERIFY(!stacked.item("mnuViewVerticalPanels")->isChecked());
    QVERIFY(!stacked.item("mnuViewToolbar")->isChecked());
    QVERIFY(stacked.window.findChild<QToolBar *>("Toolbar1")->isHidden());
    // The View commands switch them, and the settings follow.
    stacked.item("mnuViewVerticalPanels")->trigger();
    QCOMPARE(stacked.context.settings.VerticalPanels, 1);
    stacked.item("mnuViewToolbar")->trigger();
    QVERIFY(stacked.context.settings.ToolbarVisible);
}

void TestMainWindow::titleBar_data()
{
    QTest::addColumn<int>("length");     // of the wincmd.ini path
    QTest::addColumn<bool>("shortened");
    QTest::newRow("80 characters are shown whole") << 80 << false;
    QTest::newRow("81 characters lose their middle folders") << 81 << true;
}

void TestMainWindow::titleBar()
{
    QFETCH(int, length);
    QFETCH(bool, shortened);
    Fixture f;
    const QString folder = f.env.path("t/");
    const QString name = QStringLiteral("wincmd.ini");
    const int fill = length - int(folder.size()) - int(name.size()) - 1;
    QVERIFY(fill > 0);
    const QString path = f.env.writeFile("t/" + QString(fill, u'x') + "/wincmd.ini", kWincmd);
    QCOMPARE(path.size(), length);
    f.window.OpenIniFiles(path, f.wcxftp);
    QCOMPARE(f.window.windowTitle().contains(path), !shortened);
    QVERIFY(f.window.windowTitle().contains("wincmd.ini"));
}

void TestMainWindow::progressWindow()
{
    Fixture f;
    f.window.show();
    QApplication::setActiveWindow(&f.window);
    auto *tree = f.window.findChild<QTreeWidget *>("TreeView1");
    tree->setFocus();
    QTRY_VERIFY(tree->hasFocus());
    f.window.ShowProgressBar("Reading... Please wait.", 3);
    auto *progress = f.window.findChild<QProgressDialog *>("frmProgress");
    QVERIFY(progress);
    QCOMPARE(progress->maximum(), 10);   // at least 10
    const QPoint middle = progress->screen()->availableGeometry().center();
    QVERIFY2((progress->frameGeometry().center() - middle).manhattanLength() <= 2, "centred on the screen");
    QVERIFY(!f.window.findChild<QTreeWidget *>("TreeView1")->isEnabled());
    for (int i = 0; i < 10; ++i)
        f.window.IncreaseProgress();
    QCOMPARE(progress->maximum(), 310);   // raised by 300 when the steps outrun it
    f.window.HideProgressBar();
    QVERIFY(tree->isEnabled());
    QApplication::setActiveWindow(&f.window);
    QTRY_VERIFY(tree->hasFocus());   // the focus is back where it was
}

void TestMainWindow::languageSwitchRelabels()
{
    Fixture f;
    QCOMPARE(f.window.findChild<QMenu *>("mnuFile")->title(), QStringLiteral("&File"));
    const QString german = QFINDTESTDATA("../../Languages/Deutsch.lng");
    QVERIFY(!german.isEmpty());
    f.context.settings.UseDefaultLanguage = false;
    f.context.settings.LanguageFile = german;
    f.window.ApplyLanguage();
    QCOMPARE(f.window.findChild<QMenu *>("mnuFile")->title(), QStringLiteral("&Datei"));
    // Toolbar tooltips show the command's text without its accelerator mark.
    auto *toolbar = f.window.findChild<QToolBar *>("Toolbar1");
    QStringList tips;
    for (QAction *button : toolbar->actions()) {
        if (!button->isSeparator())
            tips << toolbar->widgetForAction(button)->toolTip();
    }
    QVERIFY(tips.contains(QStringLiteral("Speichern")));
    QVERIFY(!tips.join(QString()).contains(u'&'));
    auto *tree = f.window.findChild<QTreeWidget *>("TreeView1");
    QCOMPARE(tree->topLevelItem(0)->text(0), QStringLiteral("Total Commander-Verlauf"));
    QCOMPARE(tree->topLevelItem(0)->child(0)->text(0), QStringLiteral("Befehlszeile"));
}

void TestMainWindow::qtOwnTextsFollowTheLanguage()
{
    if (!QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + "/qtbase_de.qm"))
        QSKIP("Qt's German translation is not installed (qt6-translations-l10n)");
    Fixture f;
    const auto saveShortcut = [&] { return f.item("mnuFileSave")->shortcut().toString(QKeySequence::NativeText); };
    const auto buttonTexts = [] {
        QDialogButtonBox buttons(QDialogButtonBox::Cancel);
        QMessageBox box;
        box.setStandardButtons(QMessageBox::No);
        return QStringList {buttons.button(QDialogButtonBox::Cancel)->text(), box.button(QMessageBox::No)->text()};
    };
    // A menu laid out afresh over the same items: what the Edit menu must look like.
    auto *edit = f.window.findChild<QMenu *>("mnuEdit");
    const auto freshSize = [edit] {
        QMenu fresh;
        fresh.addActions(edit->actions());
        return fresh.sizeHint();
    };
    QCOMPARE(saveShortcut(), "Ctrl+S");
    QCOMPARE(edit->sizeHint(), freshSize());
    // A file that names its language and translates nothing: only Qt's texts change,
    // and the menus make room for the longer German key names.
    f.context.settings.UseDefaultLanguage = false;
    f.context.settings.LanguageFile = f.env.writeFile("Languages/x.lng", "[UserLanguage]\r\nLanguageCode=de\r\n");
    f.window.ApplyLanguage();
    QCOMPARE(saveShortcut(), "Strg+S");
    QCOMPARE(buttonTexts(), QStringList({"Abbrechen", "&Nein"}));
    QCOMPARE(edit->sizeHint(), freshSize());
    // Back to the built-in texts: Qt's English too.
    f.context.settings.UseDefaultLanguage = true;
    f.window.ApplyLanguage();
    QCOMPARE(saveShortcut(), "Ctrl+S");
    QCOMPARE(buttonTexts(), QStringList({"Cancel", "&No"}));
    QCOMPARE(edit->sizeHint(), freshSize());
}

void TestMainWindow::rightToLeftLanguageMirrorsTheWindow()
{
    Fixture f("BackgroundColor=255\r\n[Common]\r\nShowBkColor=1\r\n");
    f.context.settings.UseDefaultLanguage = false;
    f.context.settings.LanguageFile = f.env.writeFile("Languages/rtl.lng", "\xEF\xBB\xBF[UserLanguage]\r\nRightToLeftLanguage=1\r\n"
                                                                          "3096=\xD7\xA8\xD7\x99\xD7\xA7\r\n");
    f.window.ApplyLanguage();
    QCOMPARE(f.window.layoutDirection(), Qt::RightToLeft);
    auto *label = f.window.findChild<QLabel *>("lblTabCaption");
    QCOMPARE(label->layoutDirection(), Qt::RightToLeft);
    QVERIFY(label->alignment() & Qt::AlignRight);   // on the reading side, whatever its text
    // A label whose own text reads right to left (Hebrew) sits on the right too.
    auto *empty = f.window.findChild<QLabel *>("lblEmpty");
    QCOMPARE(empty->text(), QString::fromUtf8("\xD7\xA8\xD7\x99\xD7\xA7"));
    empty->setAlignment(empty->alignment() & ~Qt::AlignHCenter);
    f.window.ApplyLanguage();
    empty->setFixedSize(300, 40);
    const QImage picture = empty->grab().toImage();
    const int background = qGray(picture.pixel(picture.width() / 2, 0));
    int leftmostInk = picture.width();
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            if (qAbs(qGray(picture.pixel(x, y)) - background) > 60)
                leftmostInk = qMin(leftmostInk, x);
        }
    }
    QVERIFY2(leftmostInk > picture.width() / 2, qPrintable(QString::number(leftmostInk)));
    QCOMPARE(label->palette().color(QPalette::Window), QColor(Qt::red));   // the settings' background
    // Text boxes keep their direction; list entries keep their own in the mirrored list.
    QCOMPARE(f.window.findChild<QLineEdit *>("txtTabCaption")->layoutDirection(), Qt::LeftToRight);
    QTextLayout layout(IsolatedDirection(QStringLiteral("C:\\Temp\\")));
    QTextOption option;
    option.setTextDirection(Qt::RightToLeft);
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    layout.endLayout();
    // Inside the isolate the path runs left to right: the closing backslash (from
    // position 8) stays right of the drive letter (up to position 2).
    QVERIFY(line.cursorToX(8) > line.cursorToX(2));

    f.context.settings.UseDefaultLanguage = true;
    f.window.ApplyLanguage();
    QCOMPARE(f.window.layoutDirection(), Qt::LeftToRight);
    QVERIFY(label->alignment() & Qt::AlignLeft);
}

void TestMainWindow::splitterRules()
{
    // The first start keeps a stored position beyond the window; switching the panes'
    // direction puts the bar in the middle; closing stores where it stands.
    Fixture f("SplitPosition=99000\r\nVerticalPanels=1\r\n");
    f.window.resize(800, 600);
    f.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.window));
    f.item("mnuViewVerticalPanels")->trigger();
    auto *splitter = f.window.findChild<QSplitter *>("picSpliterContainer");
    QCOMPARE(splitter->orientation(), Qt::Vertical);
    const int half = splitter->height() / 2;
    QVERIFY2(qAbs(splitter->sizes().first() - half) <= 2, qPrintable(QString::number(splitter->sizes().first())));
    QVERIFY(f.window.close());
    QVERIFY(qAbs(f.context.settings.SplitPosition - half * 15) <= 30);
    // The placement is kept in twips for the next start.
    QCOMPARE(f.context.settings.MainWindowPosition.width, f.window.normalGeometry().width() * 15);
    QVERIFY(!f.context.settings.MainWindowMaxmized);
}

void TestMainWindow::recentFilesOpenAPair()
{
    Fixture f;
    // The pair located at start is opened without going into the list.
    f.context.settings.UserDefinedWincmd = f.wincmd;
    f.context.settings.UserDefinedWcxftp = f.wcxftp;
    f.person.answerMessage(MessageAnswer::Yes);
    QVERIFY(f.window.recentFiles().Clear());
    f.window.OpenLocatedFiles();
    QCOMPARE(f.window.windowTitle().count(QStringLiteral("wincmd.ini")), 1);
    QCOMPARE(f.window.recentFiles().ListItems(1), f.context.paths.MissingValueMarker());
    f.window.OpenIniFiles(f.wincmd, f.wcxftp);
    const QString other = f.env.writeFile("other/wincmd.ini", "[LeftHistory]\r\n0=x:\\\r\n");
    const QString otherFtp = f.env.writeFile("other/wcx_ftp.ini", "");
    f.window.OpenIniFiles(other, otherFtp);
    QCOMPARE(f.window.recentFiles().ListItems(1), other + " <> " + otherFtp);
    // The older pair, second in the menu, opens again and moves to the top.
    f.item("mnuFileRecentFiles_2")->trigger();
    QVERIFY(f.window.windowTitle().contains("tc"));
    QCOMPARE(f.window.recentFiles().ListItems(1), f.wincmd + " <> " + f.wcxftp);
    QVERIFY(QFile::exists(f.context.settings.SettingsFile()));
    QVERIFY(f.env.readFile(f.context.settings.SettingsFile()).contains("RecentFiles2="));
    // A pair whose file has gone is reported with that file's path and removed.
    QFile::remove(otherFtp);
    f.item("mnuFileRecentFiles_2")->trigger();
    QVERIFY(f.person.messages().last().contains(otherFtp));
    QCOMPARE(f.window.recentFiles().ListItems(2), f.context.paths.MissingValueMarker());
}

void TestMainWindow::saveAndRestartStartsTheFileManagerOnTheSavedFiles()
{
    Fixture f;
    QList<int> waits;
    f.restarter.setSleeper([&waits](std::chrono::milliseconds wait) { waits << int(wait.count()); });
    // A native stand-in that notes how it was started.
    const QString standIn = f.env.writeFile("prefix/drive_c/tcstub/TOTALCMD.EXE",
        "#!/bin/sh\nprintf 'started %s\\n' \"$*\" >> \"$(dirname \"$0\")/started.log\"\n");
    QFile::setPermissions(standIn, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    f.context.paths.setTCInstallDir("C:\\tcstub\\");
    f.select("LeftHistory");
    f.item("mnuEditDelete")->trigger();
    f.window.run(Command::SaveAndRestart);
    QVERIFY(!f.window.savePending());
    QVERIFY(f.env.readFile(f.wincmd) != kWincmd);
    QVERIFY(f.window.isEnabled());
    QTRY_VERIFY(f.env.readFile(f.env.path("prefix/drive_c/tcstub/started.log")).contains("started /f="));
    const QByteArray log = f.env.readFile(f.env.path("prefix/drive_c/tcstub/started.log"));
    QVERIFY2(log.contains("wincmd.ini") && log.contains("/i="), log.constData());
    QCOMPARE(waits, QList<int>({500, 500}));
    QTRY_VERIFY(TestEnvironment::RunningStandIns().isEmpty());
}

void TestMainWindow::dropOnTheListViewMovesTheRow()
{
    // The view's own drop handling: a row dragged onto the first row goes before it.
    Fixture f;
    f.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.window));
    f.select("LeftHistory");
    auto *view = f.window.findChild<QListView *>(QStringLiteral("ListView1"));
    QAbstractItemModel *model = view->model();
    view->setCurrentIndex(model->index(1, 0));
    std::unique_ptr<QMimeData> data(model->mimeData({model->index(1, 0)}));
    const QPoint at = view->visualRect(model->index(0, 0)).center();
    QDragEnterEvent enter(at, Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(view->viewport(), &enter);
    QDragMoveEvent move(at, Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(view->viewport(), &move);
    QDropEvent drop(QPointF(at), Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(view->viewport(), &drop);
    QCOMPARE(model->index(0, 0).data().toString(), QStringLiteral("c:\\b\\"));
    QCOMPARE(model->index(1, 0).data().toString(), QStringLiteral("c:\\a\\"));
    QVERIFY(f.window.savePending());
}

void TestMainWindow::filterShowsMatchesAndCommandsActOnTheRealRows()
{
    Fixture f;
    f.env.writeFile("tc/wincmd.ini", "[Command line history]\r\n0=notepad c:\\x.txt\r\n1=ping -n 3 nas.local\r\n"
                                     "2=cmd /c dir /s *.iso\r\n3=ping 192.168.178.1\r\n"
                                     "4=7z a \"D:\\Backup\\Fotos 2024.7z\" D:\\Fotos\\2024\r\n5=git status\r\n");
    f.window.OpenIniFiles(f.wincmd, f.wcxftp);
    f.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.window));
    f.select("Command line history");
    const HistoryList &list = f.window.historyList();
    auto texts = [&list] {
        QStringList all;
        for (const HistoryRow &row : list.store().SectionRows(0))
            all << row.col(2);
        return all;
    };
    auto *view = f.window.findChild<QListView *>(QStringLiteral("ListView1"));
    auto *filter = f.window.findChild<QLineEdit *>(QStringLiteral("txtFilter"));
    auto click = [view](int shownRow) {
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(view->model()->index(shownRow, 0)).center());
    };
    QTest::keyClicks(filter, "PING");
    QCOMPARE(view->model()->rowCount(), 2);   // ignoring case
    // Delete takes the row shown current; the row now shown at that place (here the
    // last shown) becomes current, never a hidden one.
    click(1);
    QCOMPARE(list.currentRow(), 3);
    QTest::keyClick(view, Qt::Key_Delete);
    QVERIFY(!texts().contains(QStringLiteral("ping 192.168.178.1")));
    QCOMPARE(view->currentIndex().data().toString(), QStringLiteral("ping -n 3 nas.local"));
    QTest::keyClick(view, Qt::Key_Delete);
    QCOMPARE(texts(), QStringList({"notepad c:\\x.txt", "cmd /c dir /s *.iso",
                                   "7z a \"D:\\Backup\\Fotos 2024.7z\" D:\\Fotos\\2024", "git status"}));
    // Nothing shown: no current row, and the commands that need one do nothing.
    QVERIFY(!view->currentIndex().isValid());
    QTest::keyClick(view, Qt::Key_Delete);
    f.item("mnuEditMoveUp")->trigger();
    QCOMPARE(texts().size(), 4);

    // A filter that hides the current row leaves nothing to act on until it shows again.
    filter->clear();
    click(3);
    QTest::keyClicks(filter, "dir");
    QVERIFY(!view->currentIndex().isValid());
    f.item("mnuEditDelete")->trigger();
    QCOMPARE(texts().size(), 4);
    // Moves pass the rows the filter hides: Ctrl+Up puts the shown entry above the
    // shown one before it.
    filter->clear();
    QTest::keyClicks(filter, "s");   // cmd /c dir /s *.iso, 7z a "D:\Backup\Fotos...", git status
    click(2);
    QTest::keyClick(view, Qt::Key_Up, Qt::ControlModifier);
    QCOMPARE(texts().at(2), QStringLiteral("git status"));
    QCOMPARE(view->currentIndex().data().toString(), QStringLiteral("git status"));
    // A row renamed so that it no longer matches stays in sight until the filter changes.
    f.window.historyList().FinishEdit(QStringLiteral("git log"));
    QCOMPARE(view->model()->rowCount(), 3);
    QCOMPARE(view->currentIndex().data().toString(), QStringLiteral("git log"));
    // Clearing the filter shows the whole section with the current row kept.
    filter->clear();
    QCOMPARE(view->model()->rowCount(), 4);
    QCOMPARE(view->currentIndex().data().toString(), QStringLiteral("git log"));
    // A new entry the filter would hide is shown for naming.
    QTest::keyClicks(filter, "notepad");
    f.item("mnuEditAddItem")->trigger();
    QVERIFY(filter->text().isEmpty());
    QCOMPARE(view->model()->rowCount(), 5);
}

void TestMainWindow::secondClickOnTheCurrentRowEditsIt()
{
    Fixture f;
    f.window.show();
    QApplication::setActiveWindow(&f.window);
    QVERIFY(QTest::qWaitForWindowExposed(&f.window));
    auto *view = f.window.findChild<QListView *>(QStringLiteral("ListView1"));
    auto clickTwice = [view](int row) {
        const QPoint at = view->visualRect(view->model()->index(row, 0)).center();
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
        QTest::qWait(QApplication::doubleClickInterval() + 50);   // not a double click
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
        QTest::qWait(QApplication::doubleClickInterval() + 50);
    };
    f.select("Command line history");
    // The click that brings the focus to the list is a first click, also on the row
    // already current.
    f.window.findChild<QWidget *>(QStringLiteral("TreeView1"))->setFocus();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(view->model()->index(0, 0)).center());
    QTest::qWait(QApplication::doubleClickInterval() + 50);
    QVERIFY(!view->indexWidget(view->currentIndex()));
    clickTwice(1);
    QTRY_VERIFY(view->indexWidget(view->currentIndex()));
    auto *editor = qobject_cast<QLineEdit *>(view->indexWidget(view->currentIndex()));
    QVERIFY(editor);
    editor->selectAll();
    QTest::keyClicks(editor, "git log");
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_COMPARE(f.window.historyList().store().SectionRows(0)[1].col(2), QStringLiteral("git log"));
    QVERIFY(f.window.savePending());
    // Saving while a name is being typed saves what is typed.
    clickTwice(0);
    QTRY_VERIFY(view->indexWidget(view->currentIndex()));
    editor = qobject_cast<QLineEdit *>(view->indexWidget(view->currentIndex()));
    editor->selectAll();
    QTest::keyClicks(editor, "make");
    f.item("mnuFileSave")->trigger();
    QVERIFY(f.env.readFile(f.wincmd).contains("[Command line history]\r\n0=make\r\n1=git log\r\n"));
    QVERIFY(!f.window.savePending());
    // Not in the overview.
    f.select("RootNode");
    clickTwice(1);
    QVERIFY(!view->indexWidget(view->currentIndex()));
}

void TestMainWindow::listPaneFitsTheDefaultSizeInEveryLanguage()
{
    for (const bool german : {false, true}) {
        Fixture f;
        if (german) {
            f.context.settings.UseDefaultLanguage = false;
            f.context.settings.LanguageFile = QFINDTESTDATA("../../Languages/Deutsch.lng");
            f.window.ApplyLanguage();
        }
        f.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.window));
        QCOMPARE(f.window.size(), QSize(733, 533));   // the default MainWindowPosition
        f.select("LeftTabs");
        QCoreApplication::processEvents();
        // The tree keeps the stored split position; the caption box has room for a caption.
        auto *tree = f.window.findChild<QWidget *>("TreeView1");
        QCOMPARE(tree->width(), 4000 / 15);
        auto *caption = f.window.findChild<QLineEdit *>("txtTabCaption");
        QVERIFY2(caption->width() >= caption->fontMetrics().averageCharWidth() * 25,
                 qPrintable(QString::number(caption->width())));
        for (const char *box : {"chkLockTab", "chkLockButTab"}) {
            auto *widget = f.window.findChild<QWidget *>(box);
            QVERIFY2(widget->width() >= widget->sizeHint().width(), box);   // whole, on a line of their own
        }
        // The overview's rows, headings and entries, are one height with room for an icon.
        f.select("RootNode");
        auto *view = f.window.findChild<QListView *>("ListView1");
        const int height = view->visualRect(view->model()->index(0, 0)).height();
        QVERIFY(height >= view->style()->pixelMetric(QStyle::PM_ListViewIconSize));
        QCOMPARE(view->visualRect(view->model()->index(1, 0)).height(), height);
    }
}

void TestMainWindow::screenReadersHearNamesAndStates()
{
    Fixture f;
    f.env.writeFile("tc/wincmd.ini", "[LeftTabs]\r\n0_path=C:\\\r\n1_path=D:\\\r\n1_options=1|0|0|0|0|1|0\r\n"
                                     "2_path=E:\\\r\n2_options=1|0|0|0|0|2|0\r\nActiveTab=0\r\n"
                                     "[Command line history]\r\n0=cmd\r\n");
    f.window.OpenIniFiles(f.wincmd, f.wcxftp);
    f.window.show();
    auto nameOf = [&f](const char *object) {
        QAccessibleInterface *control = QAccessible::queryAccessibleInterface(f.window.findChild<QWidget *>(object));
        return control ? control->text(QAccessible::Name) : QString();
    };
    QCOMPARE(nameOf("TreeView1"), QStringLiteral("Sections"));
    QCOMPARE(nameOf("txtFilter"), QStringLiteral("Filter the list"));
    f.select("LeftTabs");
    QCOMPARE(nameOf("ListView1"), QStringLiteral("Entries of Left Tabs"));
    // Each row's state is in its description (and tooltip), not in its colour alone.
    auto *view = f.window.findChild<QListView *>("ListView1");
    QStringList states;
    for (int row = 0; row < view->model()->rowCount(); ++row)
        states << view->model()->index(row, 0).data(Qt::AccessibleDescriptionRole).toString();
    QCOMPARE(states, QStringList({"Active tab", "", "Locked tab", "Locked tab, directory changes allowed"}));
    QCOMPARE(view->model()->index(2, 0).data(Qt::ToolTipRole).toString(), QStringLiteral("Locked tab"));
    // In the overview a heading is told from its entries by name, not by blanks.
    f.select("RootNode");
    QCOMPARE(view->model()->index(0, 0).data(Qt::AccessibleDescriptionRole).toString(), QStringLiteral("Section heading"));
    QCOMPARE(view->model()->index(1, 0).data(Qt::AccessibleTextRole).toString(), QStringLiteral("cmd"));
    QVERIFY(view->model()->index(1, 0).data(Qt::AccessibleDescriptionRole).isNull());
}

void TestMainWindow::everyPictureNamesOneThing()
{
    Fixture f;
    auto picture = [](const QIcon &icon) { return icon.pixmap(24, 24).toImage(); };
    const QImage undo = picture(f.item("mnuEditUndo")->icon());
    const QImage redo = picture(f.item("mnuEditRedo")->icon());
    const QImage options = picture(f.item("mnuViewOptions")->icon());
    QVERIFY(!undo.isNull() && !options.isNull());
    QVERIFY(picture(SectionIcon("left")) != undo);
    QVERIFY(picture(SectionIcon("right")) != redo);
    QVERIFY(picture(SectionIcon("left")) != picture(SectionIcon("right")));
    QVERIFY(picture(SectionIcon("attrplugin")) != options);
    // Split Sizes is not a blank page.
    QVERIFY(picture(SectionIcon("splitperfile")) != picture(f.window.style()->standardIcon(QStyle::SP_FileIcon)));
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
