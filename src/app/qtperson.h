#pragma once

#include "core/personinterface.h"

class QString;
class QWidget;

namespace calvenor {

// The text with a place to break after every path separator, for a message box that
// wraps long paths.
QString BreakableAtSeparators(const QString &text);

// The person interface of the window program: Qt's message boxes and standard
// file, colour and font dialogs, owned by the main window.
class QtPerson : public PersonInterface
{
public:
    explicit QtPerson(QWidget *owner = nullptr) : m_owner(owner) {}
    void setOwner(QWidget *owner) { m_owner = owner; }

    MessageAnswer ShowMessage(const QString &text, MessageIcon icon, MessageButtons buttons,
                              MessageAnswer defaultAnswer) override;
    using PersonInterface::ShowMessage;
    MessageAnswer ShowChoice(const QString &text, MessageIcon icon, const ButtonTexts &buttons,
                             MessageAnswer defaultAnswer) override;
    void Beep() override;
    std::optional<QString> ChooseFile(const FileDialogRequest &request) override;
    std::optional<qint32> ChooseColor(qint32 initialColor) override;
    std::optional<FontChoice> ChooseFont(const FontChoice &preset) override;

private:
    MessageAnswer ask(const QString &text, MessageIcon icon, MessageButtons buttons, MessageAnswer defaultAnswer,
                      const ButtonTexts *texts);

    QWidget *m_owner;
};

} // namespace calvenor
