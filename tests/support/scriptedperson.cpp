#include "scriptedperson.h"

namespace calvenor::test {

MessageAnswer ScriptedPerson::ShowChoice(const QString &text, MessageIcon icon, const ButtonTexts &buttons,
                                         MessageAnswer defaultAnswer)
{
    const MessageAnswer answer = ShowMessage(text, icon, MessageButtons::YesNoCancel, defaultAnswer);
    asked.last().buttonTexts = buttons;
    return answer;
}

MessageAnswer ScriptedPerson::ShowMessage(const QString &text, MessageIcon icon, MessageButtons buttons,
                                          MessageAnswer defaultAnswer)
{
    Asked question;
    question.kind = QStringLiteral("message");
    question.text = text;
    question.icon = icon;
    question.buttons = buttons;
    asked.append(question);
    if (m_messages.empty())
        return defaultAnswer;
    const MessageAnswer answer = m_messages.front();
    m_messages.pop_front();
    return answer;
}

void ScriptedPerson::Beep()
{
    Asked question;
    question.kind = QStringLiteral("beep");
    asked.append(question);
}

std::optional<QString> ScriptedPerson::ChooseFile(const FileDialogRequest &request)
{
    Asked question;
    question.kind = QStringLiteral("file");
    question.text = request.title;
    question.file = request;
    asked.append(question);
    return next(m_files);
}

std::optional<qint32> ScriptedPerson::ChooseColor(qint32 initialColor)
{
    Asked question;
    question.kind = QStringLiteral("color");
    question.color = initialColor;
    asked.append(question);
    return next(m_colors);
}

std::optional<FontChoice> ScriptedPerson::ChooseFont(const FontChoice &preset)
{
    Asked question;
    question.kind = QStringLiteral("font");
    question.font = preset;
    asked.append(question);
    return next(m_fonts);
}

QStringList ScriptedPerson::messages() const
{
    QStringList texts;
    for (const Asked &question : asked) {
        if (question.kind == u"message")
            texts << question.text;
    }
    return texts;
}

} // namespace calvenor::test
