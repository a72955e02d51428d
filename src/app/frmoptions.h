#pragma once

#include <QDialog>

#include <array>
#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QToolButton;

namespace calvenor {

class KeepRulesPage;
class PersonInterface;
class ProgramContext;

// The options: colours, grid lines, borders, flat look and font (Layout), automatic
// restart of the file manager (Operation), the language file (Language) and the
// patterns of entries the bulk removals keep (Keep). It shows
// what the settings file holds; Apply and OK take the values into the settings, let
// the main window show them and store the settings file.
class frmOptions : public QDialog
{
    Q_OBJECT
public:
    // applyLook shows the new settings in the main window.
    frmOptions(ProgramContext &context, PersonInterface &person, std::function<void()> applyLook,
               QWidget *parent = nullptr);

    // Settings from the controls, the look shown, the settings file stored (a failure
    // is told); Apply is then unavailable until the next change.
    void ApplyOptions();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *layoutPage();
    QWidget *operationPage();
    QWidget *languagePage();
    void loadStoredSettings();
    void showSwatch(int index);
    void chooseColour(int index);
    void chooseFont();
    void showFont();   // the font in use beside "Change..."
    void browseLanguageFile();
    void languageOptionChanged();
    void changed();

    ProgramContext &m_context;
    PersonInterface &m_person;
    std::function<void()> m_applyLook;
    QTabWidget *m_tabs;
    std::array<QToolButton *, 3> m_swatches {};
    std::array<qint32, 3> m_colours {};
    QCheckBox *m_gridLines = nullptr;
    QCheckBox *m_fixedBorders = nullptr;
    QCheckBox *m_flat = nullptr;
    QCheckBox *m_alwaysRestart = nullptr;
    QCheckBox *m_reviewBeforeSave = nullptr;
    QLabel *m_fontSample = nullptr;
    QRadioButton *m_defaultLanguage = nullptr;
    QRadioButton *m_otherLanguage = nullptr;
    QLineEdit *m_languageFile = nullptr;
    QPushButton *m_browseLanguage = nullptr;
    KeepRulesPage *m_keepRules = nullptr;
    QPushButton *m_apply = nullptr;
    bool m_loading = false;
};

} // namespace calvenor
