#pragma once

#include <QDialog>

#include <functional>

namespace calvenor {

class PersonInterface;
class ProgramContext;

// The about box: the program's name and version, its makers and licence, a link that
// opens the user guide, and a button that tells where the settings file is when it is
// not the usual one beside the program.
class frmAbout : public QDialog
{
    Q_OBJECT
public:
    // openGuide opens the user guide (the window's Help Topics).
    frmAbout(ProgramContext &context, PersonInterface &person, const QString &version,
             std::function<void()> openGuide, QWidget *parent = nullptr);

    // Whether the settings file is not "vantrel editors.ini" in the program's folder.
    static bool SettingsFileIsUnusual(const QString &settingsFile, const QString &appFolder);
};

} // namespace calvenor
