#pragma once

#include "core/personinterface.h"

#include <QStringList>

#include <deque>

namespace calvenor::test {

// A person for tests: answers come from scripts, one queue per kind of question, in
// order, and every question is recorded. A question its queue does not answer gets the
// default answer (a message) or a cancel (a chooser).
class ScriptedPerson : public PersonInterface
{
public:
    struct Asked
    {
        QString kind;      // "message", "beep", "file", "color", "font"
        QString text;      // message text, or the dialog's title
        MessageIcon icon = MessageIcon::Information;
        MessageButtons buttons = MessageButtons::Ok;
        FileDialogRequest file;
        qint32 color = 0;
        FontChoice font;
        ButtonTexts buttonTexts;   // a choice's buttons
    };
    void answerMessage(MessageAnswer answer) { m_messages.push_back(answer); }
    // An answer of nothing is a cancel.
    void answerFile(const std::optional<QString> &file) { m_files.push_back({file.has_value(), file.value_or(QString())}); }
    void answerColor(const std::optional<qint32> &color) { m_colors.push_back({color.has_value(), color.value_or(0)}); }
    void answerFont(const std::optional<FontChoice> &font) { m_fonts.push_back({font.has_value(), font.value_or(FontChoice())}); }

    MessageAnswer ShowMessage(const QString &text, MessageIcon icon, MessageButtons buttons,
                              MessageAnswer defaultAnswer) override;
    using PersonInterface::ShowMessage;
    MessageAnswer ShowChoice(const QString &text, MessageIcon icon, const ButtonTexts &buttons,
                             MessageAnswer defaultAnswer) override;
    void Beep() override;
    std::optional<QString> ChooseFile(const FileDialogRequest &request) override;
    std::optional<qint32> ChooseColor(qint32 initialColor) override;
    std::optional<FontChoice> ChooseFont(const FontChoice &preset) override;

    QList<Asked> asked;
    QStringList messages() const;   // the texts of the messages shown, in order

private:
    // Choices are queued as (given, value) pairs: optionals of Qt types in a queue trip
    // a false uninitialised-use warning of g++ 12.
    template<typename T>
    static std::optional<T> next(std::deque<std::pair<bool, T>> &queue)
    {
        if (queue.empty())
            return std::nullopt;
        const std::pair<bool, T> answer = queue.front();
        queue.pop_front();
        if (!answer.first)
            return std::nullopt;
        return answer.second;
    }
    std::deque<MessageAnswer> m_messages;
    std::deque<std::pair<bool, QString>> m_files;
    std::deque<std::pair<bool, qint32>> m_colors;
    std::deque<std::pair<bool, FontChoice>> m_fonts;
};

} // namespace calvenor::test
