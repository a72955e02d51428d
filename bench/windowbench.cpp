// The editor window on a screen-less platform: the time from process start until the
// window has shown its first list with a 1 MB pair loaded, the show of a large section
// in the real list view, every edit command on it with the view's update, and the
// review of a save that changes every one of its entries.

#include "windowbench.h"

#include "historyfilegenerator.h"

#include "app/frmmain.h"
#include "app/frmsavereview.h"
#include "app/programcontext.h"
#include "editor/historylist.h"
#include "editor/historylistmodel.h"
#include "editor/savereview.h"
#include "platform/filemanagerprocess.h"
#include "transfer/filemanagerrestarter.h"
#include "transfer/standarderrorperson.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QListView>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTreeWidget>

#include <algorithm>
#include <ctime>
#include <unistd.h>
#include <vector>

namespace calvenor::bench {
namespace {

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Milliseconds since this process started, from the kernel's record of its start.
double sinceProcessStart()
{
    QFile stat(QStringLiteral("/proc/self/stat"));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray text = stat.readAll();
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    const double startTicks = fields.value(19).toDouble();   // field 22 of the whole line
    timespec now {};
    clock_gettime(CLOCK_BOOTTIME, &now);
    return (double(now.tv_sec) + double(now.tv_nsec) / 1e9 - startTicks / double(sysconf(_SC_CLK_TCK))) * 1000.0;
}

void write(const QString &path, const QByteArray &bytes)
{
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

struct Window
{
    Window(const QString &folder)
        : context(person, folder + u'/')
        , restarter(context.paths, context.settings, process)
        , window(context, person, restarter)
    {
    }
    StandardErrorPerson person;   // never waits for an answer
    ProgramContext context;
    FileManagerProcess process;
    FileManagerRestarter restarter;
    frmMain window;
};

void settle(frmMain &window)
{
    QCoreApplication::processEvents();
    window.findChild<QListView *>(QStringLiteral("ListView1"))->viewport()->repaint();
}

} // namespace

bool isWindowBenchmark(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        if (qstrcmp(argv[i], "--window") == 0 || qstrcmp(argv[i], "--window-start") == 0
            || qstrcmp(argv[i], "--window-files") == 0)
            return true;
    }
    return false;
}

int runWindowBenchmark(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    QTextStream out(stdout);
    const qsizetype startAt = arguments.indexOf(QStringLiteral("--window-start"));
    if (startAt >= 0) {
        // The child: start, load, show the overview, and say how long that took.
        Window w(arguments.value(startAt + 1));
        w.window.show();
        // As at a real start: the pair found is not added to the recent files.
        w.window.OpenIniFiles(arguments.value(startAt + 2), arguments.value(startAt + 3), false);
        settle(w.window);
        out << sinceProcessStart() << Qt::endl;
        return 0;
    }

    const qsizetype filesAt = arguments.indexOf(QStringLiteral("--window-files"));
    if (filesAt >= 0) {
        // The 1 MB pair the start is timed on, for a profiler to start the child on.
        const GeneratedPair pair = generatePair(1024 * 1024, 5000);
        const QString into = arguments.value(filesAt + 1, QStringLiteral("."));
        write(into + QStringLiteral("/wincmd.ini"), pair.wincmd);
        write(into + QStringLiteral("/wcx_ftp.ini"), pair.wcxftp);
        return 0;
    }

    // Start-up on the 1 MB pair, and on a tiny one for what the window costs by itself.
    const GeneratedPair tiny {"[Command line history]\r\n0=cmd\r\n[LeftHistory]\r\n0=c:\\\r\n",
                              "[OldConnections]\r\n0=ftp://example.org\r\n", 2};
    for (const GeneratedPair &pair : {generatePair(1024 * 1024, 5000), tiny}) {
        QTemporaryDir folder;
        write(folder.filePath(QStringLiteral("wincmd.ini")), pair.wincmd);
        write(folder.filePath(QStringLiteral("wcx_ftp.ini")), pair.wcxftp);
        std::vector<double> starts;
        for (int run = 0; run < 7; ++run) {
            QProcess child;
            child.start(QCoreApplication::applicationFilePath(),
                        {QStringLiteral("--window-start"), folder.path(), folder.filePath(QStringLiteral("wincmd.ini")),
                         folder.filePath(QStringLiteral("wcx_ftp.ini"))});
            child.waitForFinished(60000);
            starts.push_back(child.readAllStandardOutput().trimmed().toDouble());
        }
        out << QStringLiteral("window, %1 pair: process start to the loaded overview shown, median %2 ms\n")
                   .arg(pair.wincmd.size() > 1000 ? QStringLiteral("1 MB") : QStringLiteral("tiny"))
                   .arg(median(starts), 0, 'f', 1);
    }

    QTemporaryDir folder;
    const int rows = 50000;
    QByteArray text = "[LeftHistory]\r\n";
    for (int i = 0; i < rows; ++i)
        text += QByteArray::number(i) + "=C:\\Users\\sam\\Projects\\calvenor\\folder " + QByteArray::number(i) + "\\\r\n";
    write(folder.filePath(QStringLiteral("big.ini")), text);
    write(folder.filePath(QStringLiteral("vantrel editors.ini")), "[Calvenor]\r\nMaxItems=999999\r\n");
    Window w(folder.path());
    w.context.settings.MaxItems = 2 * rows;   // the add command's limit is not what is measured
    w.window.resize(900, 600);
    w.window.show();
    w.window.OpenIniFiles(folder.filePath(QStringLiteral("big.ini")), folder.filePath(QStringLiteral("none.ini")), false);
    settle(w.window);
    auto *tree = w.window.findChild<QTreeWidget *>(QStringLiteral("TreeView1"));
    QTreeWidgetItem *root = tree->topLevelItem(0);
    QTreeWidgetItem *left = nullptr;
    QTreeWidgetItem *right = nullptr;
    for (int i = 0; i < root->childCount(); ++i) {
        if (root->child(i)->data(0, Qt::UserRole).toString() == u"LeftHistory")
            left = root->child(i);
        if (root->child(i)->data(0, Qt::UserRole).toString() == u"RightHistory")
            right = root->child(i);
    }
    auto time = [&](const auto &operation) {
        QElapsedTimer timer;
        timer.start();
        operation();
        settle(w.window);
        return double(timer.nsecsElapsed()) / 1e6;
    };
    HistoryList &list = w.window.historyList();
    QAbstractItemModel *model = list.model();
    std::vector<double> shows, adds, deletes, moves, renames, undos, redos, filters, unfilters;
    auto *filterBox = w.window.findChild<QLineEdit *>(QStringLiteral("txtFilter"));
    for (int run = 0; run < 7; ++run) {
        tree->setCurrentItem(right);
        settle(w.window);
        shows.push_back(time([&] { tree->setCurrentItem(left); }));
        list.ClickRow(rows / 2);
        moves.push_back(time([&] { w.window.run(Command::MoveDown); }));
        renames.push_back(time([&] { model->setData(model->index(list.currentRow(), 0), QStringLiteral("D:\\renamed\\")); }));
        adds.push_back(time([&] { w.window.run(Command::AddItem); }));
        list.ClickRow(rows / 3);
        deletes.push_back(time([&] { w.window.run(Command::Delete); }));
        undos.push_back(time([&] { w.window.run(Command::Undo); }));
        redos.push_back(time([&] { w.window.run(Command::Redo); }));
        // Typing "folder 4999" one key at a time, then clearing it.
        for (const QChar key : QStringLiteral("folder 4999"))
            filters.push_back(time([&] { filterBox->setText(filterBox->text() + key); }));
        unfilters.push_back(time([&] { filterBox->clear(); }));
    }
    out << QStringLiteral("window, section of %1 rows in the list view: show %2 ms; with the view's update: add %3 ms, "
                          "delete %4 ms, move %5 ms, rename %6 ms (medians)\n")
               .arg(rows).arg(median(shows), 0, 'f', 2).arg(median(adds), 0, 'f', 2).arg(median(deletes), 0, 'f', 2)
               .arg(median(moves), 0, 'f', 2).arg(median(renames), 0, 'f', 2);
    out << QStringLiteral("window, same section: undo of a delete %1 ms, redo %2 ms (medians, view's update included)\n")
               .arg(median(undos), 0, 'f', 2).arg(median(redos), 0, 'f', 2);
    // Every entry changed: the review lists each one.
    HistoryRowStore &store = list.store();
    for (int p = 1; p <= store.Count(); ++p) {
        if (store.Row(p).Tag == u"LeftHistory")
            store.Row(p).col(2) += u'~';
    }
    store.SetSaveFlag(QStringLiteral("LeftHistory"));
    std::vector<double> reviews, dialogs;
    size_t listed = 0;
    for (int run = 0; run < 5; ++run) {
        QElapsedTimer timer;
        timer.start();
        const std::vector<SectionReview> review =
            SaveReview(w.context.profile).Review(store, folder.filePath(QStringLiteral("big.ini")), QString());
        reviews.push_back(double(timer.nsecsElapsed()) / 1e6);
        listed = review.empty() ? 0 : review.front().changes.size();
        timer.restart();
        frmSaveReview dialog(review, w.context, w.person, &w.window);
        dialog.show();
        QCoreApplication::processEvents();
        dialog.tree()->viewport()->repaint();
        dialogs.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    out << QStringLiteral("window, same section, every entry changed: review %1 ms, its dialog made and shown %2 ms"
                          " (%3 changes; medians)\n")
               .arg(median(reviews), 0, 'f', 2).arg(median(dialogs), 0, 'f', 2).arg(listed);
    std::sort(filters.begin(), filters.end());
    out << QStringLiteral("window, same section: filter keystroke %1 ms median, %2 ms slowest; clearing %3 ms\n")
               .arg(median(filters), 0, 'f', 2).arg(filters.back(), 0, 'f', 2).arg(median(unfilters), 0, 'f', 2);
    return 0;
}

} // namespace calvenor::bench
