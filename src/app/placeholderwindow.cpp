#include "placeholderwindow.h"

#include "core/cprofile.h"
#include "core/csectionsdata.h"
#include "core/historysections.h"
#include "core/missingvaluemarker.h"

#include <QCoreApplication>
#include <QPlainTextEdit>

namespace calvenor {

PlaceholderWindow::PlaceholderWindow(const QString &wincmdPath, const QString &wcxftpPath, QWidget *parent)
    : QMainWindow(parent)
{
    setWindowTitle(QStringLiteral("Calvenor - ") + wincmdPath);
    auto *view = new QPlainTextEdit(this);
    view->setObjectName(QStringLiteral("historyText"));
    view->setReadOnly(true);
    setCentralWidget(view);
    resize(800, 600);

    const PathMacros paths(makeMissingValueMarker(), AddBackslash(QCoreApplication::applicationDirPath()));
    cProfile profile(paths, QString());
    HistoryRowStore store;
    HistorySections sections(profile, store);
    const int error = sections.ReadAllHistorySections(wincmdPath, wcxftpPath);

    QString text;
    if (error != 0)
        text += QStringLiteral("Reading stopped with error %1\n\n").arg(error);
    for (int i = 0; i < cSectionsData::SectionsCount; ++i) {
        const QString name = cSectionsData::SectionsList(i);
        const auto &rows = store.SectionRows(i);
        text += QStringLiteral("[%1]  %2 entries\n").arg(name).arg(rows.size());
        for (const HistoryRow &row : rows)
            text += QStringLiteral("        %1\t%2\n").arg(row.Text, row.col(2) == paths.MissingValueMarker() ? QString() : row.col(2));
    }
    view->setPlainText(text);
}

} // namespace calvenor
