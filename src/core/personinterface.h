#pragma once

#include <QList>
#include <QPair>
#include <QString>

#include <optional>

namespace calvenor {

enum class MessageIcon { Information, Warning, Error, Question };
enum class MessageButtons { Ok, YesNo, YesNoCancel };
enum class MessageAnswer { Ok, Yes, No, Cancel };

// What a file chooser is asked to show.
struct FileDialogRequest
{
    bool save = false;
    QString title;
    QString folder;              // where it opens
    QString proposedName;        // pre-filled name
    QList<QPair<QString, QString>> filters;   // description, patterns ("*.ini;*.txt")
    bool fileMustExist = false;
    bool confirmOverwrite = false;
};

// A font as the font chooser shows and returns it.
struct FontChoice
{
    QString name;
    int script = 1;        // character set
    int sizeTenths = 100;  // tenths of a point
    int weight = 400;      // 700 is bold
    bool italic = false;
    bool strikeOut = false;
    bool underline = false;
};

// The texts of a question's three buttons (in the places of Yes, No and Cancel), where
// plain Yes, No and Cancel would not say what they do.
struct ButtonTexts
{
    QString yes;
    QString no;
    QString cancel;
};

// The one way logic asks a person something. The window implements it with real
// dialogs, the batch job with standard error (and every question cancelled), the
// tests with scripted answers. Logic never shows a window itself.
class PersonInterface
{
public:
    virtual ~PersonInterface() = default;

    virtual MessageAnswer ShowMessage(const QString &text, MessageIcon icon, MessageButtons buttons,
                                      MessageAnswer defaultAnswer) = 0;
    virtual void Beep() = 0;
    // The chosen file's full path; nothing when cancelled.
    virtual std::optional<QString> ChooseFile(const FileDialogRequest &request) = 0;
    // A colour number (red + 256 green + 65536 blue); nothing when cancelled.
    virtual std::optional<qint32> ChooseColor(qint32 initialColor) = 0;
    virtual std::optional<FontChoice> ChooseFont(const FontChoice &preset) = 0;

    // A question with three answers that say what they do; the answer is told as Yes,
    // No or Cancel by the button's place. Without button texts of its own a person is
    // asked the plain Yes/No/Cancel question.
    virtual MessageAnswer ShowChoice(const QString &text, MessageIcon icon, const ButtonTexts &buttons,
                                     MessageAnswer defaultAnswer)
    {
        Q_UNUSED(buttons);
        return ShowMessage(text, icon, MessageButtons::YesNoCancel, defaultAnswer);
    }

    MessageAnswer ShowMessage(const QString &text, MessageIcon icon)
    {
        return ShowMessage(text, icon, MessageButtons::Ok, MessageAnswer::Ok);
    }
};

} // namespace calvenor
