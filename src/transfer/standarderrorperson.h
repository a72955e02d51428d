#pragma once

#include "core/personinterface.h"

#include <cstdio>

namespace calvenor {

// The person of a batch run: nobody is there. Messages go to standard error, every
// question and every chooser is taken as cancelled.
class StandardErrorPerson : public PersonInterface
{
public:
    explicit StandardErrorPerson(FILE *stream = stderr) : m_stream(stream) {}

    MessageAnswer ShowMessage(const QString &text, MessageIcon icon, MessageButtons buttons,
                              MessageAnswer defaultAnswer) override;
    using PersonInterface::ShowMessage;
    void Beep() override {}
    std::optional<QString> ChooseFile(const FileDialogRequest &) override { return std::nullopt; }
    std::optional<qint32> ChooseColor(qint32) override { return std::nullopt; }
    std::optional<FontChoice> ChooseFont(const FontChoice &) override { return std::nullopt; }

private:
    FILE *m_stream;
};

} // namespace calvenor
