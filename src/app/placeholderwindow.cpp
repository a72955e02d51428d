#include "placeholderwindow.h"

#include "core/csectionsdata.h"
#include "core/historysections.h"

#include <QPlainTextEdit>

namespace calvenor {

PlaceholderWindow::PlaceholderWindow(cProfile &profile, const QString &wincmdPath, const QString &wcxftpPath,
                                     const QString &caption, QWidget *parent)
    : QMainWindow(parent)
{
    setWindowTitle(caption);
    auto *view = new QPlainTextEdit(this);
    view->setObjectName(QStringLiteral("historyText"));
    view->setReadOnly(true);
    setCentralWidget(view);
    resize(800, 600);

    HistoryRowStore store;
    HistorySections sections(profile, store);
    const int error = sections.ReadAllHistorySections(wincmdPath, wcxftpPath);
    const QString &marker = profile.paths().MissingValueMarker();
    QString text;
    if (error != 0)
        text += QStringLiteral("Reading stopped with error %1\n\n").arg(error);
    for (int i = 0; i < cSectionsData::SectionsCount; ++i) {
        const auto &rows = store.SectionRows(i);
        text += QStringLiteral("[%1]  %2 entries\n").arg(cSectionsData::SectionsList(i)).arg(rows.size());
        for (const HistoryRow &row : rows)
            text += QStringLiteral("        %1\t%2\n").arg(row.Text, row.col(2) == marker ? QString() : row.col(2));
    }
    view->setPlainText(text);
}

} // namespace calvenor
