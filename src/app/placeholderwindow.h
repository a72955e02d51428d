#pragma once

#include "core/cprofile.h"

#include <QMainWindow>

namespace calvenor {

// A stand-in main window: it loads the two INI files and lists each history section
// with its entries, read-only, until the real editor window exists.
class PlaceholderWindow : public QMainWindow
{
    Q_OBJECT
public:
    PlaceholderWindow(cProfile &profile, const QString &wincmdPath, const QString &wcxftpPath,
                      const QString &caption, QWidget *parent = nullptr);
};

} // namespace calvenor
