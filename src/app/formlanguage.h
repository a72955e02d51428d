#pragma once

#include <QDialogButtonBox>
#include <QString>

class QLabel;
class QObject;
class QPushButton;
class QWidget;

namespace calvenor {

class cLanguage;
class PersonInterface;
class QtTranslations;

// A widget, action or tab page carries the language id of its text in this property;
// ApplyFormLanguage gives it that text (a caption, or the tooltip of a toolbar button).
inline constexpr char kLanguageIdProperty[] = "languageId";
void SetLanguageId(QObject *object, int lngId);

// Gives a whole window its language: the reading direction (asking the person once
// when the chosen language file is gone), its caption, every tagged widget's text,
// every tagged action's text, tab captions, and the background colour of labels,
// check and option boxes and text boxes when the settings ask for one. Qt picks a
// font per script itself, so the stored font script changes nothing here. Returns
// whether the window now reads right to left.
bool ApplyFormLanguage(QWidget &form, cLanguage &language, PersonInterface &person);

// Puts Qt's own texts (shortcut names in menus, standard buttons and dialogs) in the
// language in use. A menu keeps the layout of its items, shortcut texts included,
// until one of them changes: after a change of Qt's language every menu of the form
// lays out its items again, even where its own texts stay the same.
void ApplyQtLanguage(QWidget &form, const cLanguage &language, QtTranslations &translations);

// A button of a dialog's button row, named and carrying its language id.
QPushButton *AddDialogButton(QDialogButtonBox &buttons, QDialogButtonBox::ButtonRole role, const char *name,
                             int lngId);

// A label of a window, named and carrying its language id; with a buddy, the label's
// "&" key moves the focus there.
QLabel *AddLanguageLabel(const char *name, int lngId, QWidget *buddy = nullptr);
// An entry shown in a mirrored window keeps its own reading direction: a path stays
// "C:\Temp\" rather than having its last backslash thrown to the left.
QString IsolatedDirection(const QString &text);

} // namespace calvenor
